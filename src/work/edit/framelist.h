#ifndef LOOPFORGE_WORK_FRAMELIST_H
#define LOOPFORGE_WORK_FRAMELIST_H

#include "caption/caption.h"
#include "decode/storedpicture.h"
#include "decode/videosequence.h"
#include "encode/gifexport.h"
#include "encode/picturecrop.h"
#include "encode/pictureorientation.h"

#include <wx/arrstr.h>
#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>

#include <cstdint>
#include <memory>
#include <vector>

// A picture of the strip and where it came from. Made once on the GUI
// thread and never changed; the frame list, its undo history and a running
// export share it. The pixels are kept compressed, exactly as imported
// (decode/storedpicture.h); the decoded picture is loaded on demand and kept
// for a while in the shared picture cache (edit/picturecache.h), so a long
// strip holds only the pictures used last. A worker never asks for the
// picture: it loads its own copy from `stored`.
struct FrameSource
{
    FrameSource();
    ~FrameSource();
    FrameSource(const FrameSource&) = delete;
    FrameSource& operator=(const FrameSource&) = delete;

    // The decoded picture, from the cache or loaded again; GUI thread only.
    wxImage Picture() const;
    bool IsOk() const { return stored.IsOk(); }
    wxSize GetSize() const { return stored.GetSize(); }

    StoredPicture stored;
    wxString name;       // the picture's path, or "<file>.gif_<n>" for frame n of a GIF file
    int frameIndex = 0;  // the frame inside its GIF file or video range; 0 for other pictures
    // For a frame of a video clip (name is then the clip's path): the part
    // of the clip it was imported from; frameIndex is its place there.
    VideoRangeRef video;
    const std::uint64_t key;  // the picture's key in the cache, never reused
};

// One frame of the strip: its picture, its own delay and the captions shown
// on it. The captions belong to the frame, so they move with it.
struct StripFrame
{
    std::shared_ptr<const FrameSource> source;
    int delay = 0;  // hundredths of a second; 0 shows it for the animation's delay
    // How the picture is turned and mirrored where it is shown and exported
    // (encode/pictureorientation.h); fits beside the delay, so a frame in
    // the undo history costs no more.
    std::uint8_t orientation = 0;
    FrameCaptions captions;
};

// A frame as the import delivers it: the picture, the file it came from and
// its frame index. A path ending in ".gif" (any case) names the frame by its frame
// reference (path, "_", index). The picture goes into the picture cache; it
// is compressed here unless the stored copy comes with it. A frame of a video
// range keeps the range.
StripFrame MakeStripFrame(const wxImage& picture, const wxString& path, int frameIndex,
                          int delay = 0, StoredPicture stored = StoredPicture(),
                          VideoRangeRef video = nullptr);

// The delays a frame can have of its own, in hundredths of a second.
const int kMinFrameDelay = 1;
const int kMaxFrameDelay = 0xFFFF;

// The frames of the strip in order. The strip shows it, the editing commands
// change it, the undo history keeps copies of it (copies share the pictures)
// and Save, Save Project and the export read it. Indices out of range are
// ignored by every edit.
class FrameList
{
public:
    int GetCount() const { return int(m_frames.size()); }
    bool IsEmpty() const { return m_frames.empty(); }
    const StripFrame& Get(int index) const { return m_frames[size_t(index)]; }
    const std::vector<StripFrame>& GetFrames() const { return m_frames; }

    // How long a frame shows, in hundredths: its own delay, else the default.
    int GetDelay(int index, int defaultDelay) const;
    // When each frame starts, in hundredths of a second after the first.
    std::vector<long long> GetStartTimes(int defaultDelay) const;

    // Inserts frames before pos (-1 or past the end: at the end); returns the
    // position of the first inserted frame.
    int Insert(int pos, const std::vector<StripFrame>& frames);
    // Removes the frames at the indices, given in any order.
    bool Remove(const std::vector<int>& indices);
    // Takes the frames at the indices out and puts them back together, in
    // their strip order, before the frame that stood at `before` (GetCount():
    // at the end). Returns their new indices; empty when the order is the same.
    std::vector<int> Move(const std::vector<int>& indices, int before);
    // Moves every frame of the indices one place left (step -1) or right
    // (+1) past a neighbour that is not among them; frames already at that
    // end of the strip, or behind one that is, stay. Returns the indices the
    // frames have afterwards; empty when nothing moved.
    std::vector<int> Shift(const std::vector<int>& indices, int step);
    // Gives the frames their own delay (0: back to the default delay).
    bool SetOwnDelay(const std::vector<int>& indices, int delay);
    // The frames at the indices in strip order; they share their pictures.
    std::vector<StripFrame> Copy(const std::vector<int>& indices) const;
    // Puts a copy of each run of consecutive frames among the indices right
    // after that run. Returns the indices of the copies.
    std::vector<int> Duplicate(const std::vector<int>& indices);
    // Reverses the order of the frames at the indices among their places;
    // false when fewer than two are there.
    bool Reverse(const std::vector<int>& indices);
    // Appends the frames before the last one back to the second in reverse
    // order, so the animation plays forth and back without repeating a frame
    // at either end; false when there are fewer than three frames.
    bool AppendReversed();
    // Turns or mirrors the frames at the indices on top of their orientation.
    bool Orient(const std::vector<int>& indices, OrientationEdit edit);
    void Clear() { m_frames.clear(); }

    // The captions of the strip, each once, in the order they first show.
    // Where captions overlap, they are drawn in this order, the first at the
    // bottom, so the window and a saved project draw them alike.
    FrameCaptions GetCaptions() const;
    // The captions of the frame at index in drawing order.
    FrameCaptions GetFrameCaptions(int index) const;
    // The frames a caption shows on, ascending.
    std::vector<int> GetCaptionFrames(const CaptionRef& caption) const;
    // Shows a new caption on the frames at the indices (after the captions
    // they have). False when none of them exists.
    bool AddCaption(const CaptionRef& caption, const std::vector<int>& indices);
    // Puts updated in the place of caption, on the frames at the indices
    // only (where it was, it stays in the same order among the frame's
    // captions; elsewhere it goes last). False when nothing changed.
    bool ReplaceCaption(const CaptionRef& caption, const CaptionRef& updated,
                        const std::vector<int>& indices);
    // Takes the caption off every frame. False when no frame had it.
    bool RemoveCaption(const CaptionRef& caption);

    // What the files read.
    wxArrayString GetNames() const;
    std::vector<int> GetOwnDelays() const;
    std::vector<int> GetOrientations() const;
    // Per frame, the part of a video clip it comes from and its place there;
    // empty when no frame comes from a clip.
    std::vector<VideoEntry> GetVideoEntries() const;
    // The frames' sizes as shown: cut to the crop, then turned.
    std::vector<wxSize> GetSizes(const CropArea& crop = CropArea()) const;
    // The pictures in strip order with the delay each shows for; each is
    // loaded from its stored copy where the export reads it.
    std::vector<ExportFrame> GetExportFrames(int defaultDelay,
                                             const CropArea& crop = CropArea()) const;

private:
    // The valid indices among the given ones, ascending and without repeats.
    std::vector<int> ValidIndices(const std::vector<int>& indices) const;

    std::vector<StripFrame> m_frames;
};

#endif
