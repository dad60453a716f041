#include "work/picturesequence.h"

#include "work/gifanimationreader.h"

#include <vector>

PictureSequence::PictureSequence(const wxArrayString& entries) : m_entries(entries) {}

PictureSequence::~PictureSequence() = default;

bool PictureSequence::Stop(const CancelCheck& cancelled)
{
    if (!m_stopped && cancelled && cancelled())
        m_stopped = true;
    return m_stopped;
}

bool PictureSequence::OpenGif(const wxString& path)
{
    m_gif.reset();
    m_gifPath.clear();
    std::vector<unsigned char> data;
    if (!ReadPictureFile(path, data))
        return false;
    m_gif = std::make_unique<GifAnimationReader>(std::move(data));
    m_gifPath = path;
    return true;
}

bool PictureSequence::NextGifFrame(std::unique_ptr<wxImage>& image, int& index,
                                   const CancelCheck& cancelled)
{
    while (!Stop(cancelled))
    {
        const GifFrameReader::Result result = m_gif->Next();
        if (result == GifFrameReader::Result::End)
            return false;
        if (result == GifFrameReader::Result::Skipped)
            continue;
        image = m_gif->Picture();
        index = m_gif->Index();
        return image != nullptr;
    }
    return false;
}

bool PictureSequence::NextOfWholeGif(SequencePicture& picture, const CancelCheck& cancelled)
{
    if (!m_heldFrame && !NextGifFrame(m_heldFrame, m_heldIndex, cancelled))
    {
        m_walkingGif = false;
        return false;
    }
    std::unique_ptr<wxImage> following;
    int followingIndex = 0;
    const bool more = NextGifFrame(following, followingIndex, cancelled);
    if (m_stopped)
        return false;
    picture.image = std::move(m_heldFrame);
    picture.entry = m_gifEntry;
    picture.kind = PictureEntryKind::WholeGif;
    picture.path = m_gifPath;
    picture.frameIndex = m_heldIndex;
    picture.lastOfEntry = !more;
    m_heldFrame = std::move(following);
    m_heldIndex = followingIndex;
    m_walkingGif = more;
    return true;
}

std::unique_ptr<wxImage> PictureSequence::FrameOfGif(const wxString& path, int frameIndex,
                                                     const CancelCheck& cancelled)
{
    // The open file serves when the frame still lies ahead of it (or is the one just read).
    if (!m_gif || m_gifPath != path || m_gif->Index() > frameIndex)
    {
        if (!OpenGif(path))
            return nullptr;
    }
    while (m_gif->Index() < frameIndex)
    {
        if (Stop(cancelled) || m_gif->Next() == GifFrameReader::Result::End)
            return nullptr;
    }
    return m_gif->Index() == frameIndex ? m_gif->Picture() : nullptr;
}

bool PictureSequence::Next(SequencePicture& picture, const CancelCheck& cancelled)
{
    for (;;)
    {
        if (m_walkingGif)
        {
            if (NextOfWholeGif(picture, cancelled))
                return true;
            if (m_stopped)
                return false;
            continue;
        }
        if (m_next >= m_entries.size() || Stop(cancelled))
            return false;

        const std::size_t entry = m_next++;
        const PictureEntry described = DescribePictureEntry(m_entries[entry]);
        std::unique_ptr<wxImage> image;
        switch (described.kind)
        {
            case PictureEntryKind::WholeGif:
                if (OpenGif(described.path))
                {
                    m_walkingGif = true;
                    m_gifEntry = entry;
                }
                continue;
            case PictureEntryKind::FrameReference:
                image = FrameOfGif(described.path, described.frameIndex, cancelled);
                break;
            case PictureEntryKind::Picture:
            {
                std::vector<unsigned char> data;
                if (ReadPictureFile(described.path, data))
                    image = DecodeStillPicture(data);
                break;
            }
        }
        if (!image)
            continue;
        picture.image = std::move(image);
        picture.entry = entry;
        picture.kind = described.kind;
        picture.path = described.path;
        picture.frameIndex = described.frameIndex;
        picture.lastOfEntry = true;
        return true;
    }
}

double PictureSequence::Position() const
{
    if (m_walkingGif && m_gif)
        return double(m_gifEntry) + m_gif->FractionRead();
    return double(m_next);
}
