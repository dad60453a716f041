#include "encode/animationexport.h"

#include "encode/videoexport.h"
#include "encode/webpexport.h"

#include <wx/intl.h>
#include <wx/log.h>

namespace
{
// A WebP stores each side in 14 bits.
const int kMaxWebPSide = 16383;

// Empty when the file can be made, otherwise the reason, before anything is written.
wxString CheckOutput(ExportFormat format, const GifExportSettings& settings)
{
    const wxString badSize = CheckGifSize(settings.width, settings.height);
    if (!badSize.empty())
        return badSize;
    if (format == ExportFormat::WebP &&
        (settings.width > kMaxWebPSide || settings.height > kMaxWebPSide))
        return wxString::Format(_("the output size %d x %d is too large for a WebP (at most "
                                  "%d pixels a side)"),
                                settings.width, settings.height, kMaxWebPSide);
    if (IsVideoFormat(format) && !CanWriteVideo())
        return VideoNeedsFfmpeg();
    return wxString();
}

GifStreamResult WriteStream(ExportSource& source, const GifExportSettings& settings,
                            wxOutputStream& out, const ExportProgress& progress,
                            const CancelCheck& cancelled)
{
    const ExportFormat format = settings.options.format;
    if (format == ExportFormat::WebP)
        return WriteWebPStream(source, settings, out, progress, cancelled);
    return WriteVideoStream(source, settings, format, out, progress, cancelled);
}

void AddWarnings(const GifExportSettings& settings, GifExportResult& result)
{
    const ExportFormat format = settings.options.format;
    const wxSize size = VideoSize(format, settings.width, settings.height);
    if (result.ok && IsVideoFormat(format) && size != wxSize(settings.width, settings.height))
        result.warnings.push_back(wxString::Format(
            _("MP4 videos need even sides: the video is %d x %d, with a black edge added"),
            size.x, size.y));
}
}  // namespace

ExportFormat ExportFormatFor(const wxString& path, ExportFormat chosen)
{
    ExportFormat format = chosen;
    return ExportFormatOfPath(path, format) ? format : chosen;
}

GifExportResult ExportAnimation(ExportSource& source, const wxString& path,
                                const GifExportSettings& settings, const ExportProgress& progress,
                                const CancelCheck& cancelled)
{
    const ExportFormat format = settings.options.format;
    if (format == ExportFormat::Gif)
        return ExportGif(source, path, settings, progress, cancelled);
    GifExportResult result;
    const wxString refusal =
        source.Count() == 0 ? wxString(_("there are no frames")) : CheckOutput(format, settings);
    if (!refusal.empty())
    {
        result.error = CannotWrite(path, refusal);
        return result;
    }
    result =
        WriteFileAtomically(path, [&](wxOutputStream& out)
                            { return WriteStream(source, settings, out, progress, cancelled); });
    AddWarnings(settings, result);
    return result;
}

GifExportResult ExportAnimation(const std::vector<ExportFrame>& frames, const wxString& path,
                                const GifExportSettings& settings, const ExportProgress& progress,
                                const CancelCheck& cancelled)
{
    ExportFrameSource source(frames);
    return ExportAnimation(source, path, settings, progress, cancelled);
}

GifExportResult ExportAnimationToStream(ExportSource& source, wxOutputStream& out,
                                        const wxString& name, const GifExportSettings& settings,
                                        const ExportProgress& progress,
                                        const CancelCheck& cancelled)
{
    const ExportFormat format = settings.options.format;
    if (format == ExportFormat::Gif)
        return ExportGifToStream(source, out, name, settings, progress, cancelled);
    GifExportResult result;
    const wxString refusal = CheckOutput(format, settings);
    if (!refusal.empty())
    {
        result.error = CannotWrite(name, refusal);
        return result;
    }
    GifStreamResult written = WriteStream(source, settings, out, progress, cancelled);
    if (written.outcome == GifStreamResult::Outcome::Failed && written.reason.empty())
        written.reason = _("the output could not be written");
    result = ConcludeExport(written, name, 0);
    AddWarnings(settings, result);
    return result;
}
