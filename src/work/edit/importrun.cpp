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

void ImportRun::SetVideoEntries(const std::vector<VideoEntry>& videos)
{
    m_videos = videos;
    m_videos.resize(m_entries.size());
}

ImportRun::Arrival ImportRun::Take(const wxString& path, int frameIndex, int fileDelay,
                                   int animationDelay)
{
    const Arrival arrival{m_insertAt < 0 ? -1 : m_insertAt + m_delivered, 0, 0, nullptr};
    ++m_delivered;
    for (size_t i = m_current; i < m_entries.size(); ++i)
    {
        const VideoEntry* video = i < m_videos.size() && m_videos[i].range ? &m_videos[i] : nullptr;
        if (video)
        {
            if (video->range->path != path || (video->frame >= 0 && video->frame != frameIndex))
                continue;
            m_gave[i] = true;
            m_current = video->frame < 0 ? i : i + 1;
            return Arrival{arrival.position, m_delays[i] > 0 ? m_delays[i] : fileDelay,
                           m_orientations[i], video->range};
        }
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
                       m_orientations[i], nullptr};
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
