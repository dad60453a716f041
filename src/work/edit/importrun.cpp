#include "edit/importrun.h"

#include "decode/picturedecoder.h"

int OwnDelayFromFile(int fileDelay, int animationDelay)
{
    return fileDelay == animationDelay ? 0 : fileDelay;
}

ImportRun::ImportRun(const wxArrayString& entries, const std::vector<int>& delays, int insertAt,
                     const std::vector<int>& orientations)
    : m_entries(entries),
      m_delays(delays),
      m_orientations(orientations),
      m_gave(entries.size(), false),
      m_insertAt(insertAt)
{
    m_delays.resize(entries.size(), 0);
    m_orientations.resize(entries.size(), 0);
}

ImportRun::Arrival ImportRun::Take(const wxString& path, int frameIndex, int fileDelay,
                                   int animationDelay)
{
    const Arrival arrival{m_insertAt < 0 ? -1 : m_insertAt + m_delivered, 0, 0};
    ++m_delivered;
    for (size_t i = m_current; i < m_entries.size(); ++i)
    {
        const PictureEntry entry = DescribePictureEntry(m_entries[i]);
        const bool names = entry.path == path && (entry.kind != PictureEntryKind::FrameReference ||
                                                  entry.frameIndex == frameIndex);
        if (!names)
            continue;
        m_gave[i] = true;
        // A whole GIF file goes on giving frames; any other entry gives one.
        m_current = entry.kind == PictureEntryKind::WholeGif ? i : i + 1;
        return Arrival{arrival.position,
                       m_delays[i] > 0 ? m_delays[i] : OwnDelayFromFile(fileDelay, animationDelay),
                       m_orientations[i]};
    }
    return arrival;
}

wxArrayString ImportRun::GetUnreadable() const
{
    wxArrayString unreadable;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (!m_gave[i] && !refusals.Contains(m_entries[i]))
            unreadable.push_back(m_entries[i]);
    return unreadable;
}
