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
    // Starting again at a frame decodes the clip from the range's start up
    // to it, so reading on is never slower.
    const bool readOn =
        m_reader.IsOpen() && m_reader.Range() == range && m_reader.NextIndex() <= index;
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
