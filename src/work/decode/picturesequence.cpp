#include "decode/picturesequence.h"

#include "decode/gifframeaccess.h"

#include <algorithm>
#include <vector>

using Status = PictureDecodeStatus;

PictureSequence::PictureSequence(const wxArrayString& entries, EntryEndHandler onEntryEnd,
                                 DamagedFrameHandler onDamagedFrame)
    : m_entries(entries),
      m_onEntryEnd(std::move(onEntryEnd)),
      m_onDamagedFrame(std::move(onDamagedFrame))
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
    if (m_gif)
        m_gifFramesReadBefore += m_gif->FramesRead();
    m_gif.reset();
    m_gifPath.clear();
    std::vector<unsigned char> data;
    const Status read = ReadPictureFile(path, data);
    if (read != Status::Decoded)
        return read;
    m_gif = std::make_unique<GifFrameAccess>(std::move(data));
    m_gifPath = path;
    return Status::Decoded;
}

PictureDecodeStatus PictureSequence::GifEnding(bool gaveFrames) const
{
    if (m_gif->RanOutOfMemory())
        return Status::TooLargeForMemory;
    return gaveFrames ? Status::Decoded : Status::Unreadable;
}

bool PictureSequence::NextGifFrame(std::unique_ptr<wxImage>& image, int& index, int& delay,
                                   const CancelCheck& cancelled)
{
    while (!Stop(cancelled))
    {
        switch (m_gif->Next())
        {
            case GifFrameReader::Result::Frame:
                image = m_gif->Picture();
                index = m_gif->Index();
                delay = m_gif->Delay();
                return image != nullptr;
            case GifFrameReader::Result::Damaged:
                if (m_onDamagedFrame)
                    m_onDamagedFrame(m_gifEntry, m_gif->Index());
                continue;
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
    if (!m_heldFrame && !NextGifFrame(m_heldFrame, m_heldIndex, m_heldDelay, cancelled))
    {
        m_walkingGif = false;
        if (!m_stopped)
            EndEntry(m_gifEntry, GifEnding(false));
        return false;
    }
    std::unique_ptr<wxImage> following;
    int followingIndex = 0, followingDelay = 0;
    const bool more = NextGifFrame(following, followingIndex, followingDelay, cancelled);
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
    picture.delay = m_heldDelay;
    picture.lastOfEntry = !more;
    m_heldFrame = std::move(following);
    m_heldIndex = followingIndex;
    m_heldDelay = followingDelay;
    m_walkingGif = more;
    return true;
}

const VideoEntry* PictureSequence::VideoEntryAt(std::size_t entry) const
{
    return entry < m_videos.size() && m_videos[entry].range ? &m_videos[entry] : nullptr;
}

bool PictureSequence::NextOfWholeVideo(SequencePicture& picture, const CancelCheck& cancelled)
{
    const CancelCheck stop = [&] { return Stop(cancelled); };
    if (!m_heldFrame && !m_video.NextOfRange(m_heldFrame, m_heldIndex, stop))
    {
        m_walkingVideo = false;
        if (!m_stopped)
            EndEntry(m_videoEntry, Status::Unreadable);
        return false;
    }
    std::unique_ptr<wxImage> following;
    int followingIndex = 0;
    const bool more = m_video.NextOfRange(following, followingIndex, stop);
    if (m_stopped)
        return false;
    // A range that fails part way gives the frames read before.
    if (!more)
        EndEntry(m_videoEntry, Status::Decoded);
    const VideoRange& range = *m_videos[m_videoEntry].range;
    picture.image = std::move(m_heldFrame);
    picture.undecoded.clear();
    picture.entry = m_videoEntry;
    picture.kind = PictureEntryKind::WholeVideo;
    picture.path = range.path;
    picture.frameIndex = m_heldIndex;
    picture.delay = VideoFrameDelay(range.frameRate, m_heldIndex);
    picture.lastOfEntry = !more;
    m_heldFrame = std::move(following);
    m_heldIndex = followingIndex;
    m_walkingVideo = more;
    return true;
}

PictureDecodeStatus PictureSequence::FrameOfGif(const wxString& path, int frameIndex,
                                                const CancelCheck& cancelled,
                                                std::unique_ptr<wxImage>& image)
{
    if (!m_gif || m_gifPath != path)
    {
        const Status opened = OpenGif(path);
        if (opened != Status::Decoded)
            return opened;
    }
    image = m_gif->Frame(frameIndex, [&] { return Stop(cancelled); });
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
        if (m_walkingVideo)
        {
            if (NextOfWholeVideo(picture, cancelled))
                return true;
            if (m_stopped)
                return false;
            continue;
        }
        if (m_next >= m_entries.size() || Stop(cancelled))
            return false;

        const std::size_t entry = m_next++;
        PictureEntry described = DescribePictureEntry(m_entries[entry]);
        if (const VideoEntry* video = VideoEntryAt(entry))
            described = PictureEntry{
                video->frame < 0 ? PictureEntryKind::WholeVideo : PictureEntryKind::VideoFrame,
                video->range->path, std::max(0, video->frame)};
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
            case PictureEntryKind::WholeVideo:
                status = m_video.StartRange(*VideoEntryAt(entry)->range);
                if (status == Status::Decoded)
                {
                    m_walkingVideo = true;
                    m_videoEntry = entry;
                    continue;
                }
                break;
            case PictureEntryKind::VideoFrame:
                status = m_video.Frame(
                    *VideoEntryAt(entry)->range, described.frameIndex,
                    [&] { return Stop(cancelled); }, image);
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
        picture.delay = 0;
        picture.lastOfEntry = true;
        return true;
    }
}

double PictureSequence::Position() const
{
    if (m_walkingGif && m_gif)
        return double(m_gifEntry) + m_gif->FractionRead();
    if (m_walkingVideo)
        return double(m_videoEntry) + m_video.FractionRead();
    return double(m_next);
}

long PictureSequence::GifFramesRead() const
{
    return m_gifFramesReadBefore + (m_gif ? m_gif->FramesRead() : 0);
}
