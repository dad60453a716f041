#ifndef LOOPFORGE_WORK_PICTURESEQUENCE_H
#define LOOPFORGE_WORK_PICTURESEQUENCE_H

#include "decode/picturedecoder.h"
#include "decode/videosequence.h"
#include "files/cancelcheck.h"

#include <wx/arrstr.h>
#include <wx/image.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class GifFrameAccess;

// One picture of an import list.
struct SequencePicture
{
    std::unique_ptr<wxImage> image;
    // A still picture's file when the sequence leaves decoding to the caller
    // (image is then null).
    std::vector<unsigned char> undecoded;
    std::size_t entry = 0;  // the list entry it comes from
    PictureEntryKind kind = PictureEntryKind::Picture;
    wxString path;       // the file it was read from (for a frame reference, the GIF file)
    // Inside its file: 0 for pictures that are not GIF frames; for a video
    // frame its index in its range.
    int frameIndex = 0;
    // The frame's own delay in hundredths as its whole GIF file stores it
    // (GifAnimationReader::Delay); 0 for other pictures and for frame
    // references, which show for the delay their project gives them. A
    // frame of a whole video range shows for its time in the clip
    // (VideoFrameDelay); a single video frame has 0 like a frame reference.
    int delay = 0;
    bool lastOfEntry = false;
};

// How an entry of the list ended: Decoded, Unreadable (it gave nothing), or
// the reason it was refused.
using EntryEndHandler = std::function<void(std::size_t entry, PictureDecodeStatus status)>;

// A frame of a whole GIF file left out because its pixel data is damaged.
using DamagedFrameHandler = std::function<void(std::size_t entry, int frameIndex)>;

// Walks a list of import entries (picture paths and frame references) and
// gives their pictures one at a time, in list order and within a GIF file
// in frame order, as DecodePictures describes them; entries that give nothing
// are passed over. Pictures are decoded as they are asked for, never
// collected. Only regular files are read.
//
// The end handler hears once of each entry the walk finishes, in list order:
// before the entry's last picture is handed out, or for an entry that gives
// none, before the walk goes on. An entry a stop interrupts has no end.
//
// The damage handler hears of each frame of a whole GIF file that is left
// out because its pixel data is damaged, as the walk passes it.
//
// The GIF file last read stays open, so frame references that follow one
// another through the same file (anim.gif_0, anim.gif_1, ...) decode it once
// and take frame after frame; references in any other order cost about as
// much (see GifFrameAccess). At most one file's data, with the checkpoints
// and composed frames GifFrameAccess keeps, and two pictures are held at
// any time. Usable on any thread, by one thread at a time.
class PictureSequence
{
public:
    explicit PictureSequence(const wxArrayString& entries, EntryEndHandler onEntryEnd = {},
                             DamagedFrameHandler onDamagedFrame = {});
    ~PictureSequence();
    PictureSequence(const PictureSequence&) = delete;
    PictureSequence& operator=(const PictureSequence&) = delete;

    // The next picture; false at the end of the list, or when cancelled
    // (asked before each entry and each GIF frame) says to stop.
    bool Next(SequencePicture& picture, const CancelCheck& cancelled = CancelCheck());

    // From now on a still picture (not a frame of a GIF file) comes as its
    // file's bytes, for the caller to decode with DecodeStillPicture, on any
    // thread, several at once. Its entry ends once the file is read.
    void LeaveStillPicturesUndecoded() { m_leaveStillUndecoded = true; }

    // Makes entries parts of video clips: videos runs parallel to the
    // entries (it may be shorter); an entry with a range gives its frames
    // (its text is then only the clip's path). Set before the first Next.
    void SetVideoEntries(std::vector<VideoEntry> videos) { m_videos = std::move(videos); }
    // Why the last video entry that gave nothing could not be read.
    const wxString& VideoError() const { return m_video.Error(); }

    // How far the walk has got, from 0 to the number of entries: whole
    // entries done plus the part of the current GIF file read.
    double Position() const;

    // How many GIF frames have been read from files so far, each time again.
    long GifFramesRead() const;

private:
    bool Stop(const CancelCheck& cancelled);
    void EndEntry(std::size_t entry, PictureDecodeStatus status);
    PictureDecodeStatus OpenGif(const wxString& path);
    // What the open GIF's frames ended with, when they ended.
    PictureDecodeStatus GifEnding(bool gaveFrames) const;
    bool NextGifFrame(std::unique_ptr<wxImage>& image, int& index, int& delay,
                      const CancelCheck& cancelled);
    bool NextOfWholeGif(SequencePicture& picture, const CancelCheck& cancelled);
    bool NextOfWholeVideo(SequencePicture& picture, const CancelCheck& cancelled);
    const VideoEntry* VideoEntryAt(std::size_t entry) const;
    PictureDecodeStatus FrameOfGif(const wxString& path, int frameIndex,
                                   const CancelCheck& cancelled, std::unique_ptr<wxImage>& image);

    wxArrayString m_entries;
    EntryEndHandler m_onEntryEnd;
    DamagedFrameHandler m_onDamagedFrame;
    std::size_t m_next = 0;  // the entry to start next
    bool m_stopped = false;
    bool m_leaveStillUndecoded = false;

    // The open GIF file: its path and frames.
    wxString m_gifPath;
    std::unique_ptr<GifFrameAccess> m_gif;
    long m_gifFramesReadBefore = 0;  // from the files read before it

    // A whole GIF file being walked: its entry and the frame held back until
    // the next one shows whether it is the last.
    bool m_walkingGif = false;
    std::size_t m_gifEntry = 0;
    std::unique_ptr<wxImage> m_heldFrame;
    int m_heldIndex = 0;
    int m_heldDelay = 0;

    // Video entries, and a whole range being walked (its frames held back
    // like a whole GIF file's).
    std::vector<VideoEntry> m_videos;
    VideoSequence m_video;
    bool m_walkingVideo = false;
    std::size_t m_videoEntry = 0;
};

#endif
