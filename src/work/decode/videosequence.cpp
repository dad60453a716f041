#include "decode/videosequence.h"

#include <algorithm>

bool VideoSequence::Probe(const wxString& path)
{
    // A clip that cannot be probed is asked once, however many of its
    // frames a project lists.
    if (path == m_probedPath)
    {
        m_error = m_probeError;
        return m_probeError.empty();
    }
    VideoClipInfo info;
    m_probedPath = path;
    m_probeError.clear();
    ProbeVideoClip(path, info, m_probeError);
    m_clipSize = wxSize(info.width, info.height);
    m_error = m_probeError;
    return m_probeError.empty();
}

bool VideoSequence::Open(const VideoRange& range, int first)
{
    m_error.clear();
    return Probe(range.path) && m_reader.Open(range, m_clipSize, first, m_error);
}

PictureDecodeStatus VideoSequence::Frame(const VideoRange& range, int index,
                                         const CancelCheck& cancelled,
                                         std::unique_ptr<wxImage>& image)
{
    if (m_keptRange == range)
    {
        const auto kept = m_kept.find(index);
        if (kept != m_kept.end())
        {
            // Handed on whole: the picture may go to another thread.
            image = std::make_unique<wxImage>(kept->second);
            m_kept.erase(kept);
            return PictureDecodeStatus::Decoded;
        }
    }
    m_kept.clear();
    // Starting again at a frame decodes the clip from the range's start up
    // to it, so reading on is never slower.
    const bool sameRange = m_reader.IsOpen() && m_reader.Range() == range;
    const bool readOn = sameRange && m_reader.NextIndex() <= index;
    // Walking a range backwards (a reversed or yo-yo strip) starts ffmpeg
    // once per block of frames before the one asked for, kept up to a bound.
    int first = std::max(0, index);
    if (!readOn && sameRange && index < m_reader.NextIndex())
    {
        const wxSize size = VideoFrameSize(m_clipSize, range.width);
        const std::size_t frameBytes = std::size_t(size.x) * size.y * 3 + 1;
        first = std::max(0, index + 1 - int(std::max<std::size_t>(1, kMaxKeptBytes / frameBytes)));
    }
    if (!readOn && !Open(range, first))
        return PictureDecodeStatus::Unreadable;
    m_keptRange = range;
    wxImage picture;
    while (m_reader.Next(picture, m_error, cancelled))
    {
        if (m_reader.NextIndex() > index)
        {
            image = std::make_unique<wxImage>(picture);
            return PictureDecodeStatus::Decoded;
        }
        if (!readOn)
            m_kept[m_reader.NextIndex() - 1] = picture;
    }
    m_kept.clear();
    return PictureDecodeStatus::Unreadable;
}

PictureDecodeStatus VideoSequence::StartRange(const VideoRange& range)
{
    return Open(range, 0) ? PictureDecodeStatus::Decoded : PictureDecodeStatus::Unreadable;
}

bool VideoSequence::NextOfRange(std::unique_ptr<wxImage>& image, int& index,
                                const CancelCheck& cancelled)
{
    index = m_reader.NextIndex();
    wxImage picture;
    if (!m_reader.Next(picture, m_error, cancelled))
        return false;
    image = std::make_unique<wxImage>(picture);
    return true;
}

double VideoSequence::FractionRead() const
{
    const int expected = ExpectedVideoFrameCount(m_reader.Range());
    return expected > 0 ? std::min(1.0, double(m_reader.NextIndex()) / expected) : 0.0;
}
