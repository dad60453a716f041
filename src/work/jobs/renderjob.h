#ifndef LOOPFORGE_WORK_RENDERJOB_H
#define LOOPFORGE_WORK_RENDERJOB_H

#include "caption/caption.h"
#include "decode/videosequence.h"
#include "encode/gifexport.h"
#include "encode/gifoptions.h"
#include "jobs/renderoptions.h"

#include <wx/arrstr.h>
#include <wx/string.h>

#include <cstdint>
#include <optional>
#include <vector>

// One GIF for loopforge-render to make: pictures in strip order, their
// delays, one output size and how the file is written.
struct RenderJob
{
    wxArrayString inputs;  // picture paths and frame references
    // Per input (it may be shorter): the part of a video clip the input is;
    // its text is then the clip's path.
    std::vector<VideoEntry> videos;
    wxString output;
    int delay = 10;           // hundredths of a second
    std::vector<int> delays;  // per input, replacing delay where above 0
    // Whether the frames of a whole GIF file (an input ending in ".gif")
    // without a delay in delays show for the delays the file gives them.
    bool fileDelays = true;
    std::vector<int> orientations;  // per input (encode/pictureorientation.h); none: upright
    // The part of every frame kept, before it is turned; a rectangle without
    // a reference size lies in the first frame.
    CropArea crop;
    // Edits of the frame order and timing, applied in this order.
    bool reverse = false;
    bool yoyo = false;
    int speed = 0;                // percent; 0 leaves the delays
    double dedupeTolerance = -1;  // below 0: every frame stays
    int width = 0;   // 0 x 0: the size the main window would choose from the frames
    int height = 0;
    wxString project;  // the project file the job was read from, for messages
    GifOptions options;
    int workers = 0;  // 0: one per processor core
    // Captions per input, drawn on each of its frames, and captions drawn on
    // every frame after those.
    std::vector<FrameCaptions> captions;
    FrameCaptions everyFrameCaptions;
};

// The GIF a project renders to when no output is given: the project's GIF
// name beside the project file, or with no GIF name the project's own name
// with ".gif" (the format's ending) in place of ".xml". Only the file-name
// part of the stored name counts, and it always ends in ".gif" or the ending
// of another format, so a project can never make the renderer write outside
// its folder or over the project itself.
wxString ProjectDefaultOutput(const wxString& projectPath, const wxString& gifName,
                              ExportFormat format = ExportFormat::Gif);

// Reads a saved project into a job: its frames, its delay (kept inside the
// range the window's delay control allows), its stored size (or the size
// from the frames when the stored one is not a GIF size, as the window does)
// and its GIF options.
// output, when not empty, replaces the default; format, when given, replaces
// the project's own (and the default output's ending). On failure returns false with
// a one-line reason naming the project.
bool ReadProjectRenderJob(const wxString& projectPath, const wxString& output, RenderJob& job,
                          wxString& error,
                          const std::optional<ExportFormat>& format = std::nullopt);

// Makes each input of the job that names a video clip (IsVideoClipPath) the
// part of it the command line asks for: from --start (default 0) to --end
// (default and at most the clip's end), at --fps (at most the clip's own
// rate), --width wide. On failure (a clip that cannot be read, a part that
// lies outside it) returns false with a one-line reason.
bool TakeVideoClipInputs(const RenderOptions& options, RenderJob& job, wxString& error);

// Applies the edits of the command line to the job's frames.
void ApplyRenderEdits(const RenderOptions& options, RenderJob& job);

// Writes the GIF (or the format job.options.format names, see
// ExportAnimation) as the window's Save does, streaming (never over the
// project or a file the frames are read from, see FindOverwrittenSource): pictures are decoded
// as the export reaches them, so memory holds only the frames in flight, and
// a GIF file that frame references in a row name is decoded once. Inputs
// that give no picture are all named and nothing is written; an input that
// is no regular file or too large for the memory available stops the job
// with that reason. An output of "-" is standard output. With a size limit
// in the options (optimised), see ExportGifWithinSize. With estimate, no
// file is written: it gets the estimated size of the file in bytes.
GifExportResult RunRenderJob(const RenderJob& job,
                             const ExportProgress& progress = ExportProgress(),
                             std::uint64_t* estimate = nullptr);

#endif
