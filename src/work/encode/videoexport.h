#ifndef LOOPFORGE_WORK_VIDEOEXPORT_H
#define LOOPFORGE_WORK_VIDEOEXPORT_H

#include "encode/exportformat.h"
#include "encode/exportpipeline.h"

#include <wx/gdicmn.h>
#include <wx/string.h>

class wxOutputStream;

// Whether videos can be written: the ffmpeg program is on PATH.
bool CanWriteVideo();

// What a user without the ffmpeg program is told, ready to show.
wxString VideoNeedsFfmpeg();

// The size a video of width x height is made at: H.264 (MP4) needs even
// sides, so an odd side gains one black row or column; WebM keeps any size.
wxSize VideoSize(ExportFormat format, int width, int height);

// Writes the pictures of source to out as an MP4 (H.264) or WebM (VP9)
// video, through the ffmpeg program run as a separate process and fed the
// frames a GIF export would show (see ForEachFittedFrame) with their own
// times: each frame starts when the delays before it add up to, and a
// closing copy of the last frame, a millisecond long, marks where the last
// delay ends. ffmpeg writes a temporary file that is copied to out once
// complete, so a failure or cancellation writes nothing to out.
GifStreamResult WriteVideoStream(ExportSource& source, const GifExportSettings& settings,
                                 ExportFormat format, wxOutputStream& out,
                                 const ExportProgress& progress = {},
                                 const CancelCheck& cancelled = {});

#endif
