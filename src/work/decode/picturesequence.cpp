#include "decode/picturesequence.h"

#include "decode/gifanimationreader.h"

#include <vector>

using Status = PictureDecodeStatus;

PictureSequence::PictureSequence(const wxArrayString& entries, EntryEndHandler onEntryEnd)
    : m_entries(entries), m_onEntryEnd(std::move(onEntryEnd))
{
}

PictureSequence::~PictureSequence() = default;

bool PictureSequence::Stop(const CancelCheck& cancelled)
{
    if (!m_stopped && cancelled && cancelled())
        m_stopped = true;
    return m_stopped;
}

void PictureSequence::EndEntry(std::size_t entry, PictureDecodeStatus status)
{
    if (m_onEntryEnd)
        m_onEntryEnd(entry, status);
}

PictureDecodeStatus PictureSequence::OpenGif(const wxString& path)
{
    m_gif.reset();
    m_gifPath.clear();
    std::vector<unsigned char> data;
    const Status read = ReadPictureFile(path, data);
    if (read != Status::Decoded)
        return read;
    m_gif = std::make_unique<GifAnimationReader>(std::move(data));
    m_gifPath = path;
    return Status::Decoded;
}

PictureDecodeStatus PictureSequence::GifEnding(bool gaveFrames) const
{
    if (m_gif->RanOutOfMemory())
        return Status::TooLargeForMemory;
    return gaveFrames ? Status::Decoded : Status::Unreadable;
}

bool PictureSequence::NextGifFrame(std::unique_ptr<wxImage>& image, int& index,
                                   const CancelCheck& cancelled)
{
    while (!Stop(cancelled))
    {
        switch (m_gif->Next())
        {
            case GifFrameReader::Result::Frame:
                image = m_gif->Picture();
                index = m_gif->Index();
                return image != nullptr;
            case GifFrameReader::Result::Skipped:
                continue;
            case GifFrameReader::Result::OutOfMemory:
            case GifFrameReader::Result::End:
                return false;
        }
    }
    return false;
}

bool PictureSequence::NextOfWholeGif(SequencePicture& picture, const CancelCheck& cancelled)
{
    if (!m_heldFrame && !NextGifFrame(m_heldFrame, m_heldIndex, cancelled))
    {
        m_walkingGif = false;
        if (!m_stopped)
            EndEntry(m_gifEntry, GifEnding(false));
        return false;
    }
    std::unique_ptr<wxImage> following;
    int followingIndex = 0;
    const bool more = NextGifFrame(following, followingIndex, cancelled);
    if (m_stopped)
        return false;
    if (!more)
        EndEntry(m_gifEntry, GifEnding(true));
    picture.image = std::move(m_heldFrame);
    picture.undecoded.clear();
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

PictureDecodeStatus PictureSequence::FrameOfGif(const wxString& path, int frameIndex,
                                                const CancelCheck& cancelled,
                                                std::unique_ptr<wxImage>& image)
{
    // The open file serves when the frame still lies ahead of it (or is the one just read).
    if (!m_gif || m_gifPath != path || m_gif->Index() > frameIndex)
    {
        const Status opened = OpenGif(path);
        if (opened != Status::Decoded)
            return opened;
    }
    while (m_gif->Index() < frameIndex && !Stop(cancelled))
    {
        if (m_gif->Next() == GifFrameReader::Result::End)
            break;
    }
    if (m_gif->Index() == frameIndex)
        image = m_gif->Picture();
    return GifEnding(image != nullptr);
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
        std::vector<unsigned char> data;
        Status status = Status::Unreadable;
        switch (described.kind)
        {
            case PictureEntryKind::WholeGif:
                status = OpenGif(described.path);
                if (status == Status::Decoded)
                {
                    m_walkingGif = true;
                    m_gifEntry = entry;
                    continue;
                }
                break;
            case PictureEntryKind::FrameReference:
                status = FrameOfGif(described.path, described.frameIndex, cancelled, image);
                break;
            case PictureEntryKind::Picture:
                status = ReadPictureFile(described.path, data);
                if (status == Status::Decoded && !m_leaveStillUndecoded)
                    status = DecodeStillPicture(data, image);
                break;
        }
        if (m_stopped)
            return false;
        EndEntry(entry, status);
        const bool undecoded = m_leaveStillUndecoded &&
                               described.kind == PictureEntryKind::Picture &&
                               status == Status::Decoded;
        if (!image && !undecoded)
            continue;
        picture.image = std::move(image);
        picture.undecoded = undecoded ? std::move(data) : std::vector<unsigned char>();
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
