#ifndef LOOPFORGE_WORK_VIDEOCLIP_H
#define LOOPFORGE_WORK_VIDEOCLIP_H

#include "files/cancelcheck.h"

#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>

#include <memory>

class ChildProcess;

// Video clips are read by the ffmpeg and ffprobe programs, run as separate
// processes when they are installed; nothing of them is linked.

// Whether a path names a video clip by its ending (MP4, M4V, WebM, MKV, MOV,
// AVI; any case).
bool IsVideoClipPath(const wxString& path);

// Whether ffmpeg and ffprobe can be run; when not, message says what to
// install.
bool VideoToolsInstalled(wxString& message);

// What a probe tells of a clip's first video stream.
struct VideoClipInfo
{
    double duration = 0;  // seconds
    int width = 0;        // pixels, as stored
    int height = 0;
    double frameRate = 0;  // frames a second
};

// Runs ffprobe on the clip. On failure (no such file, no video stream,
// damaged, too large, not a clip at all) returns false with a message for
// the user.
bool ProbeVideoClip(const wxString& path, VideoClipInfo& info, wxString& error);

// The part of a clip imported as frames: from start to end seconds, at
// frameRate frames a second, scaled to width pixels wide keeping the aspect
// (0: the clip's own size). The same range always gives the same pictures.
struct VideoRange
{
    wxString path;
    double start = 0;
    double end = 0;
    double frameRate = 10;
    int width = 0;

    bool operator==(const VideoRange& other) const
    {
        return path == other.path && start == other.start && end == other.end &&
               frameRate == other.frameRate && width == other.width;
    }
    bool operator!=(const VideoRange& other) const { return !(*this == other); }
};
using VideoRangeRef = std::shared_ptr<const VideoRange>;

// The frame rates a GIF can show: a frame at most every two hundredths.
constexpr double kMaxVideoFrameRate = 50;
constexpr double kMinVideoFrameRate = 0.1;
// More frames than this are never taken from one clip.
constexpr int kMaxVideoFrames = 20000;

// The size of the range's frames for a clip of clipSize; empty when a
// frame would be larger than a picture may be.
wxSize VideoFrameSize(const wxSize& clipSize, int width);

// How many frames the range gives, as far as its length tells (the clip
// may give one more or less).
int ExpectedVideoFrameCount(const VideoRange& range);

// The frame rate a GIF made from a clip has unless the user chooses one:
// 10 frames a second, or the clip's own rate when it is lower.
double DefaultGifFrameRate(double clipRate);

// How long frame index of the range shows, in hundredths of a second: the
// delays of consecutive frames add up to the time the frames span, so that
// at 12 frames a second they run 8, 8, 9, 8, 8, 9...
int VideoFrameDelay(double frameRate, int index);

// The range's frames one at a time, in order, from a chosen frame on,
// through a pipe from ffmpeg. Usable on any thread, by one at a time.
class VideoFrameReader
{
public:
    VideoFrameReader();
    ~VideoFrameReader();
    VideoFrameReader(const VideoFrameReader&) = delete;
    VideoFrameReader& operator=(const VideoFrameReader&) = delete;

    // Starts reading the range at frame first, its frames clipSize
    // (the probed size) scaled as the range says. False with a message
    // when ffmpeg cannot be started or the size is too large.
    bool Open(const VideoRange& range, const wxSize& clipSize, int first, wxString& error);
    // The next frame; false at the end of the range, with error set when
    // reading failed (a damaged clip) or cancelled said to stop (error
    // empty then too).
    bool Next(wxImage& picture, wxString& error, const CancelCheck& cancelled = CancelCheck());
    // The index in the range of the frame Next gives.
    int NextIndex() const { return m_next; }
    const VideoRange& Range() const { return m_range; }
    bool IsOpen() const { return m_process != nullptr; }
    // Stops ffmpeg at once.
    void Close();

private:
    std::unique_ptr<ChildProcess> m_process;
    VideoRange m_range;
    wxSize m_size;
    int m_next = 0;
};

// How many frames the range gives, by reading them through (the pictures
// small); -1 with a message when the clip cannot be read.
int CountVideoFrames(const VideoRange& range, const wxSize& clipSize, wxString& error);

#endif
