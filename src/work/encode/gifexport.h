#ifndef LOOPFORGE_WORK_GIFEXPORT_H
#define LOOPFORGE_WORK_GIFEXPORT_H

#include "files/cancelcheck.h"
#include "decode/storedpicture.h"
#include "encode/exportpipeline.h"

#include <wx/image.h>
#include <wx/arrstr.h>
#include <wx/string.h>

#include <functional>
#include <utility>
#include <vector>

// The export shared by the export thread, the renderer and the size
// estimate. It never copies or changes the source images (they may belong
// to another thread): it reads their pixels and builds new images.

// Fits a picture into a width x height canvas the way drawing it on a black
// memory DC would: shrunk with nearest-neighbour scaling to fit while keeping
// its aspect ratio, never enlarged, centred on black. Masked pixels stay
// black and alpha is blended onto black, including when the shrunk picture
// fills the whole canvas. The result is an RGB image of exactly that size.
wxImage PrepareFrame(const wxImage& source, int width, int height);

// Reduces a picture to at most 256 colours as the classic export does (see
// ClassicReduction) and attaches the 256-entry palette: every pixel colour
// is in it.
wxImage ReduceColours(const wxImage& image);

struct GifExportResult
{
    bool ok = false;
    wxString error;  // for a failure: what went wrong, naming the file, ready to show
    wxArrayString warnings;  // what the user should know of a GIF that was written, one a line
};

// "Cannot write NAME: REASON".
wxString CannotWrite(const wxString& name, const wxString& reason);

// The result of a stream written under name, as written says; error is the
// stream's own error (errno), 0 for none.
GifExportResult ConcludeExport(const GifStreamResult& written, const wxString& name, int error);

// Writes a file through write: to a temporary name beside path, moved into
// place only once complete; any failure leaves path untouched and returns the
// reason, naming the file.
GifExportResult WriteFileAtomically(const wxString& path,
                                    const std::function<GifStreamResult(wxOutputStream&)>& write);

// One frame to export: its picture (read in place, never copied or changed)
// and how long it shows, in hundredths of a second.
struct ExportFrame
{
    ExportFrame(const wxImage* picture_ = nullptr, int delay_ = 10, FrameCaptions captions_ = {})
        : picture(picture_), delay(delay_), captions(std::move(captions_))
    {
    }

    const wxImage* picture;  // read in place; null: loaded from stored
    StoredPicture stored;
    int delay;
    FrameCaptions captions;  // drawn onto the frame at the output size
    bool ownEdits = false;    // see SourcePicture
    int orientation = 0;      // how the picture is turned and mirrored (pictureorientation.h)
    wxRect crop = wxRect();  // the part of the picture kept, before it is turned; empty: all

    // The picture, in place or loaded into holder; any thread.
    const wxImage& Read(wxImage& holder) const
    {
        if (picture)
            return *picture;
        holder = stored.Load();
        return holder;
    }
};

// An export source over pictures held in memory.
class ExportFrameSource : public ExportSource
{
public:
    explicit ExportFrameSource(const std::vector<ExportFrame>& frames) : m_frames(frames) {}
    Result Next(SourcePicture& picture, wxString& error) override;
    int Count() const override { return static_cast<int>(m_frames.size()); }
    void Sample(int count, std::vector<SourcePicture>& samples) override;

private:
    // The picture as is, or turned by a decode step when it has an orientation.
    static void SetPicture(const ExportFrame& frame, SourcePicture& picture);

    const std::vector<ExportFrame>& m_frames;
    std::size_t m_next = 0;
};

// Writes the source's pictures as one animated GIF (see WriteGifStream),
// each with its own delay (clamped to what the file can store). The file
// goes to a temporary name beside path and replaces path only once
// complete. A width or height below 1, no frames, a cancellation (asked
// before each frame) or a failed write leave path untouched and return the
// reason.
GifExportResult ExportGif(ExportSource& source, const wxString& path,
                          const GifExportSettings& settings,
                          const ExportProgress& progress = ExportProgress(),
                          const CancelCheck& cancelled = CancelCheck());

// The same for pictures in memory.
GifExportResult ExportGif(const std::vector<ExportFrame>& frames, const wxString& path,
                          const GifExportSettings& settings,
                          const ExportProgress& progress = ExportProgress(),
                          const CancelCheck& cancelled = CancelCheck());

// The classic export of pictures in memory at width x height.
GifExportResult ExportGif(const std::vector<ExportFrame>& frames, const wxString& path,
                          int width, int height, const ExportProgress& progress = ExportProgress(),
                          const CancelCheck& cancelled = CancelCheck());

// The same with one delay for every frame.
GifExportResult ExportGif(const std::vector<const wxImage*>& pictures, const wxString& path,
                          int delay, int width, int height,
                          const ExportProgress& progress = ExportProgress(),
                          const CancelCheck& cancelled = CancelCheck());

// Checks the output size before anything is written: empty when a GIF of
// width x height can be made, otherwise the reason.
wxString CheckGifSize(int width, int height);

// Writes to standard output or any other open stream instead of a file; the
// stream gets whatever was written before a failure. error reads "Cannot
// write <name>: reason".
GifExportResult ExportGifToStream(ExportSource& source, wxOutputStream& out, const wxString& name,
                                  const GifExportSettings& settings,
                                  const ExportProgress& progress = ExportProgress(),
                                  const CancelCheck& cancelled = CancelCheck());

#endif
