#include "decode/damagedframes.h"

#include <wx/intl.h>

void DamagedFrames::Add(const wxString& gifPath, int frameIndex)
{
    if (m_files.empty() || m_files.back().first != gifPath)
        m_files.emplace_back(gifPath, std::vector<int>());
    m_files.back().second.push_back(frameIndex);
}

wxArrayString DamagedFrames::Describe() const
{
    wxArrayString lines;
    for (const auto& [path, frames] : m_files)
    {
        // Runs of frames in a row are written as one range.
        wxString numbers;
        for (std::size_t i = 0; i < frames.size();)
        {
            std::size_t end = i + 1;
            while (end < frames.size() && frames[end] == frames[end - 1] + 1)
                ++end;
            if (!numbers.empty())
                numbers += wxS(", ");
            numbers += wxString::Format(wxS("%d"), frames[i] + 1);
            if (end - i > 1)
                numbers += wxString::Format(wxS("-%d"), frames[end - 1] + 1);
            i = end;
        }
        const int count = int(frames.size());
        lines.push_back(wxString::Format(wxPLURAL("%s: frame %s is damaged and was left out",
                                                  "%s: frames %s are damaged and were left out",
                                                  count),
                                         path, numbers));
    }
    return lines;
}
