#include "decode/videosequence.h"

#include <algorithm>

namespace
{
// Frames further ahead than this are reached by starting ffmpeg again at
// them rather than by reading on.
const int kMaxFramesReadPast = 4;
}  // namespace

bool VideoSequence::Probe(const wxString& path)
{
    if (path == m_probedPath && m_error.empty())
        return true;
    VideoClipInfo info;
    m_probedPath.clear();
    if (!ProbeVideoClip(path, info, m_error))
        return false;
    m_probedPath = path;
    m_clipSize = wxSize(info.width, info.height);
    return true;
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
    const bool readOn = m_reader.IsOpen() && m_reader.Range() == range &&
                        m_reader.NextIndex() <= index &&
                        index - m_reader.NextIndex() <= kMaxFramesReadPast;
    if (!readOn && !Open(range, std::max(0, index)))
        return PictureDecodeStatus::Unreadable;
    wxImage picture;
    while (m_reader.Next(picture, m_error, cancelled))
        if (m_reader.NextIndex() > index)
        {
            image = std::make_unique<wxImage>(picture);
            return PictureDecodeStatus::Decoded;
        }
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
