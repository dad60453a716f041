#include "encode/fittedframes.h"

#include <wx/intl.h>

#include <new>

GifStreamResult ForEachFittedFrame(ExportSource& source, const GifExportSettings& settings,
                                   bool transparency, const FittedFrameSink& sink,
                                   const ExportProgress& progress, const CancelCheck& cancelled)
{
    GifStreamResult result;
    const int count = source.Count();
    const bool smooth = settings.options.optimised && settings.options.smooth;
    try
    {
        for (;;)
        {
            if (cancelled && cancelled())
            {
                result.outcome = GifStreamResult::Outcome::Cancelled;
                return result;
            }
            SourcePicture picture;
            wxString error;
            const ExportSource::Result next = source.Next(picture, error);
            if (next == ExportSource::Result::End)
                break;
            if (next == ExportSource::Result::Failed)
            {
                result.reason = error;
                return result;
            }
            if (picture.decode)
                picture.owned = picture.decode(error);
            const wxImage* image = picture.owned ? picture.owned.get() : picture.picture;
            if (!image)
            {
                result.reason = error;
                return result;
            }
            FittedFrame fitted;
            if (!fitted.Fit(*image, settings.width, settings.height, smooth, transparency) ||
                !fitted.AddCaptions(picture.captions))
                throw std::bad_alloc();
            if (!sink(fitted, picture.delay, error))
            {
                result.reason = error;
                return result;
            }
            ++result.frames;
            if (progress)
                progress(result.frames, count);
        }
    }
    catch (const std::bad_alloc&)
    {
        result.reason = _("there is not enough memory");
        return result;
    }
    if (result.frames == 0)
        result.reason = _("there are no frames");
    else
        result.outcome = GifStreamResult::Outcome::Written;
    return result;
}
