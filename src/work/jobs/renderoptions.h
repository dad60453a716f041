#ifndef LOOPFORGE_WORK_RENDEROPTIONS_H
#define LOOPFORGE_WORK_RENDEROPTIONS_H

#include "caption/caption.h"
#include "encode/gifoptions.h"
#include "encode/picturecrop.h"
#include "encode/pictureorientation.h"

#include <wx/arrstr.h>
#include <wx/string.h>

#include <cstdint>
#include <optional>
#include <vector>

// The command line of loopforge-render:
//   loopforge-render [-d DELAY] [-s WIDTHxHEIGHT] [GIF OPTIONS] -o OUT.gif INPUT...
//   loopforge-render [--start T] [--end T] [--fps N] [--width W] [GIF OPTIONS] -o OUT.gif CLIP
//   loopforge-render PROJECT.xml [-o OUT.gif] [GIF OPTIONS]
// A single input ending in ".xml" (in any case) is a project: no picture
// format the program reads has that ending. Long options take their value
// as the next argument or after "=".
struct RenderOptions
{
    int delay = 10;           // hundredths of a second
    bool delayGiven = false;  // -d was given: every frame shows for delay
    int width = 0;   // 0 x 0: the size the main window would choose from the frames
    int height = 0;
    wxString output;       // empty with a project: the project's own GIF; "-": standard output
    wxArrayString inputs;  // picture paths, frame references and video clips, in order
    wxString project;      // a project file to render instead of inputs
    bool help = false;     // -h or --help: print the help and do nothing else
    bool version = false;  // --version: print the version and do nothing else

    // The part of every video clip input taken: from clipStart to clipEnd
    // seconds (none: the whole clip), clipFrameRate frames a second (none:
    // DefaultGifFrameRate), scaled to clipWidth pixels wide (0: as it is).
    std::optional<double> clipStart;
    std::optional<double> clipEnd;
    std::optional<double> clipFrameRate;
    int clipWidth = 0;

    // GIF options given on the command line; the others stay as the
    // project (or the default) has them. --colors, --dither and --smooth
    // choose the optimised profile as well.
    std::optional<bool> optimised;
    std::optional<int> colours;
    std::optional<GifDither> dither;
    std::optional<bool> smooth;
    std::optional<int> loopCount;
    // The output's format and how a WebP is compressed (a quality, or
    // kWebpLossless for --webp-lossless).
    std::optional<ExportFormat> format;
    std::optional<int> webpQuality;
    std::optional<int> lossy;               // --lossy N
    std::optional<std::uint64_t> maxBytes;  // --max-size SIZE
    bool estimate = false;  // --estimate: print the estimated size in bytes, write nothing

    // Edits of the frames, on top of those a project stores.
    std::optional<wxRect> crop;             // --crop WxH+X+Y, in the first frame's pixels
    std::optional<OrientationEdit> rotate;  // --rotate 90|180|270 (clockwise)
    std::optional<OrientationEdit> flip;    // --flip h|v
    bool reverse = false;                   // --reverse
    bool yoyo = false;                      // --yoyo
    std::optional<int> speed;               // --speed PERCENT
    std::optional<double> dedupe;           // --dedupe[=TOLERANCE]

    // A caption on every frame (with a project: over the project's own), in
    // the default look where an option is not given.
    std::optional<wxString> captionText;
    std::optional<CaptionPlace> captionPlace;
    std::optional<int> captionSize;
    std::optional<CaptionColour> captionColour;
    std::optional<int> captionOutline;
    std::optional<CaptionColour> captionOutlineColour;
};

// The usage text, one line per form.
wxString RenderUsage();

// The --help text: the usage and what the arguments mean.
wxString RenderHelp();

// A time in a clip: seconds ("12.5"), or minutes and seconds ("1:05.5"),
// or hours too ("1:02:03"); false when the text is none.
bool ParseClipTime(const wxString& text, double& seconds);

// Whether an input names a project file rather than a picture.
bool IsProjectArgument(const wxString& input);

// Parses the arguments after the program name. On failure returns false with
// a one-line reason in error.
bool ParseRenderArguments(const std::vector<wxString>& arguments, RenderOptions& options,
                          wxString& error);

// A size limit such as "8M", "500K" or "120000" (bytes; K and M count
// 1024 and 1024 * 1024, in either case), from 1 byte to kMaxGifTargetBytes.
bool ParseByteSize(const wxString& text, std::uint64_t& bytes);

// Puts the GIF options given on the command line into gif.
void ApplyRenderGifOptions(const RenderOptions& options, GifOptions& gif);

// The format the output is written in: --format, else the one the output's
// ending names, else the stored one (a project's, or GIF).
ExportFormat RenderFormat(const RenderOptions& options, const wxString& output,
                          ExportFormat stored);

// The caption the command line asks for; null without --caption.
CaptionRef RenderCaption(const RenderOptions& options);

#endif
