#ifndef LOOPFORGE_WORK_VIDEOSEQUENCE_H
#define LOOPFORGE_WORK_VIDEOSEQUENCE_H

#include "decode/picturedecoder.h"
#include "decode/videoclip.h"

#include <wx/gdicmn.h>
#include <wx/image.h>

#include <cstddef>
#include <map>
#include <memory>

// An import entry that is part of a video clip: every frame of a range, or
// one frame of it.
struct VideoEntry
{
    VideoRangeRef range;  // null: the entry is no video entry
    int frame = -1;       // the frame's index in the range; -1: every frame
};

// The frames of video entries as a picture sequence asks for them. The last
// clip's ffmpeg stays open, so frames of one range asked for in order (a
// project's frames after another) read the clip once; frames asked for
// backwards come from blocks read ahead, at most kMaxKeptBytes of them.
// Usable on any thread, by one at a time.
class VideoSequence
{
public:
    static constexpr std::size_t kMaxKeptBytes = std::size_t(64) << 20;

    // Frame index of the range.
    PictureDecodeStatus Frame(const VideoRange& range, int index, const CancelCheck& cancelled,
                              std::unique_ptr<wxImage>& image);

    // Starts a walk over every frame of the range; then NextOfRange gives them.
    PictureDecodeStatus StartRange(const VideoRange& range);
    // The next frame of the walk and its index; false at its end or when
    // the walk failed (Failed() says so) or was cancelled.
    bool NextOfRange(std::unique_ptr<wxImage>& image, int& index, const CancelCheck& cancelled);
    bool Failed() const { return !m_error.empty(); }

    // How much of the range being read has been read, from 0 to 1.
    double FractionRead() const;
    // Why the last frame or range could not be read; empty when it could.
    const wxString& Error() const { return m_error; }

private:
    bool Probe(const wxString& path);
    bool Open(const VideoRange& range, int first);

    VideoFrameReader m_reader;
    wxString m_probedPath;
    wxString m_probeError;  // why m_probedPath cannot be read; empty when it can
    wxSize m_clipSize;
    wxString m_error;
    // Frames of m_keptRange read before the one a backwards walk asked for.
    std::map<int, wxImage> m_kept;
    VideoRange m_keptRange;
};

#endif
