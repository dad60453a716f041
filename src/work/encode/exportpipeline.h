#ifndef LOOPFORGE_WORK_EXPORTPIPELINE_H
#define LOOPFORGE_WORK_EXPORTPIPELINE_H

#include "encode/exportsource.h"
#include "encode/gifoptions.h"
#include "files/cancelcheck.h"

#include <wx/string.h>

#include <cstddef>
#include <cstdint>
#include <functional>

class wxOutputStream;

// Called after each frame is handled (written, or joined to the frame before
// it) with the number handled so far and the total (-1 while the source
// cannot tell).
using ExportProgress = std::function<void(int framesDone, int frameCount)>;

struct GifExportSettings
{
    int width = 0;
    int height = 0;
    GifOptions options;
    int workers = 0;  // threads that decode, fit and reduce; 0: one per processor core
};

struct GifStreamResult
{
    enum class Outcome
    {
        Written,
        Cancelled,
        Failed
    };
    Outcome outcome = Outcome::Failed;
    wxString reason;  // for Failed: what went wrong, in a few words
    int frames = 0;   // frames written to the file
};

// Writes the pictures of source to out as one animated GIF, streaming:
// worker threads decode, fit and reduce several frames at once while this
// thread writes them in order, so memory holds only the frames in flight
// (about two per worker), never the whole animation. The bytes do not
// depend on the number of workers. In the optimised profile a frame showing
// the same pixels as the one before it only lengthens that one's delay.
// cancelled is asked before each frame is written. On failure or
// cancellation out holds an incomplete file.
GifStreamResult WriteGifStream(ExportSource& source, const GifExportSettings& settings,
                               wxOutputStream& out, const ExportProgress& progress = {},
                               const CancelCheck& cancelled = {});

// The worker count a setting of 0 stands for.
int DefaultExportWorkers();

// Frames the shared palette of an optimised export is chosen from.
constexpr int kSharedPaletteSamples = 8;

// Whether two fitted frames of count pixels look the same: the same pixels
// opaque, and the same colour in each opaque one (a null opacity is all
// opaque). An optimised export joins such a frame to the one before it.
bool FramesShowTheSame(const std::uint8_t* pixels, const std::uint8_t* opacity,
                       const std::uint8_t* otherPixels, const std::uint8_t* otherOpacity,
                       std::size_t count);

#endif
