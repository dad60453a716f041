#ifndef LOOPFORGE_WORK_GIFEXPORT_H
#define LOOPFORGE_WORK_GIFEXPORT_H

#include "work/cancelcheck.h"

#include <wx/image.h>
#include <wx/string.h>

#include <functional>
#include <vector>

// The export pipeline shared by the export thread and the renderer. It never
// copies or changes the source images (they may belong to another thread):
// it reads their pixels and builds new images.

// Fits a picture into a width x height canvas the way drawing it on a black
// memory DC would: shrunk with nearest-neighbour scaling to fit while keeping
// its aspect ratio, never enlarged, centred on black. Masked pixels stay
// black and alpha is blended onto black, including when the shrunk picture
// fills the whole canvas. The result is an RGB image of exactly that size.
wxImage PrepareFrame(const wxImage& source, int width, int height);

// Reduces a picture to at most 256 colours with the toolkit's IJG quantiser,
// exactly as its 8-bit BMP writer does (236 colours, Floyd-Steinberg), and
// attaches the 256-entry palette it produced: every pixel colour is in it.
// Entries past the last one any pixel uses are black (the quantiser leaves
// them undefined when the picture has few colours).
wxImage ReduceColours(const wxImage& image);

struct GifExportResult
{
    bool ok = false;
    wxString error;  // for a failure: what went wrong, naming the file, ready to show
};

// One frame to export: its picture (read in place, never copied or changed)
// and how long it shows, in hundredths of a second.
struct ExportFrame
{
    const wxImage* picture = nullptr;
    int delay = 10;
};

// Called after each written frame with the number written so far and the total.
using ExportProgress = std::function<void(int framesDone, int frameCount)>;

// Writes the frames as one looping animated GIF, every frame prepared,
// reduced and written one at a time with its own delay (clamped to what the
// file can store). The file goes to a temporary name beside path and replaces
// path only once complete. A width or height below 1, no frames, a
// cancellation (asked before each frame) or a failed write leave path
// untouched and return the reason.
GifExportResult ExportGif(const std::vector<ExportFrame>& frames, const wxString& path,
                          int width, int height, const ExportProgress& progress = ExportProgress(),
                          const CancelCheck& cancelled = CancelCheck());

// The same with one delay for every frame.
GifExportResult ExportGif(const std::vector<const wxImage*>& pictures, const wxString& path,
                          int delay, int width, int height,
                          const ExportProgress& progress = ExportProgress(),
                          const CancelCheck& cancelled = CancelCheck());

#endif
