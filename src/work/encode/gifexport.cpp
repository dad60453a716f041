#include "encode/gifexport.h"

#include "decode/picturesize.h"
#include "encode/classicreduction.h"
#include "encode/giftargetsize.h"
#include "encode/pictureorientation.h"
#include "files/atomicfileoutput.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/palette.h>

#include <cstdint>
#include <memory>

wxString CannotWrite(const wxString& name, const wxString& reason)
{
    return wxString::Format(_("Cannot write %s: %s"), name, reason);
}

GifExportResult ConcludeExport(const GifStreamResult& written, const wxString& name, int error)
{
    GifExportResult result;
    switch (written.outcome)
    {
        case GifStreamResult::Outcome::Written:
            result.ok = error == 0;
            break;
        case GifStreamResult::Outcome::Cancelled:
            result.error = wxString::Format(_("Saving %s was cancelled."), name);
            return result;
        case GifStreamResult::Outcome::Failed:
            break;
    }
    if (!result.ok)
        result.error =
            CannotWrite(name, error != 0 || written.reason.empty() ? wxSysErrorMsgStr(error)
                                                                   : written.reason);
    return result;
}

GifExportResult WriteFileAtomically(const wxString& path,
                                    const std::function<GifStreamResult(wxOutputStream&)>& write)
{
    AtomicFileOutputStream out(path);
    GifStreamResult written;
    if (out.IsOk())
        written = write(out);
    GifExportResult result = ConcludeExport(written, path, out.GetErrno());
    if (result.ok && !out.Commit())
    {
        result.ok = false;
        result.error = CannotWrite(path, wxSysErrorMsgStr(out.GetErrno()));
    }
    if (!result.ok)
        out.Discard();
    return result;
}

wxImage ReduceColours(const wxImage& image)
{
    ClassicReduction reduction;
    if (!image.IsOk() || !reduction.Reduce(image.GetData(), image.GetWidth(), image.GetHeight()))
        return wxImage();
    const GifPalette& palette = reduction.Palette();
    wxImage reduced(image.GetWidth(), image.GetHeight(), false);
    if (!reduced.IsOk())
        return reduced;
    unsigned char* out = reduced.GetData();
    for (std::uint8_t index : reduction.Indices())
    {
        std::copy(palette.rgb + 3 * index, palette.rgb + 3 * index + 3, out);
        out += 3;
    }
    unsigned char red[256], green[256], blue[256];
    for (int i = 0; i < 256; ++i)
    {
        red[i] = palette.rgb[3 * i];
        green[i] = palette.rgb[3 * i + 1];
        blue[i] = palette.rgb[3 * i + 2];
    }
    reduced.SetPalette(wxPalette(256, red, green, blue));
    return reduced;
}

void ExportFrameSource::SetPicture(const ExportFrame& frame, SourcePicture& picture)
{
    const int orientation = frame.orientation;
    if (!frame.picture)
    {
        // Loaded from the stored copy on the worker, so only the frames in
        // flight are decoded.
        const StoredPicture stored = frame.stored;
        const wxRect crop = frame.crop;
        picture.decode = [stored, orientation, crop](wxString&)
        {
            wxImage loaded = stored.Load();
            if (loaded.IsOk() && !crop.IsEmpty() && crop != wxRect(wxPoint(0, 0), loaded.GetSize()))
                loaded = loaded.GetSubImage(crop);
            if (loaded.IsOk() && orientation != kUprightOrientation)
                loaded = OrientPicture(loaded, orientation);
            return std::make_unique<wxImage>(loaded);
        };
        return;
    }
    const bool cropped = !frame.crop.IsEmpty() &&
                         frame.crop != wxRect(wxPoint(0, 0), frame.picture->GetSize());
    if (frame.orientation == kUprightOrientation && !cropped)
    {
        picture.picture = frame.picture;
        return;
    }
    // Cut and turned where the export reads it, so only the frames in flight
    // are copies.
    const wxImage* source = frame.picture;
    const wxRect crop = cropped ? frame.crop : wxRect();
    picture.decode = [source, orientation, crop](wxString&)
    {
        return std::make_unique<wxImage>(
            OrientPicture(crop.IsEmpty() ? *source : source->GetSubImage(crop), orientation));
    };
}

ExportSource::Result ExportFrameSource::Next(SourcePicture& picture, wxString&)
{
    if (m_next == m_frames.size())
        return Result::End;
    const ExportFrame& frame = m_frames[m_next++];
    SetPicture(frame, picture);
    picture.delay = frame.delay;
    picture.ownEdits = frame.ownEdits;
    picture.captions = frame.captions;
    return Result::Picture;
}

void ExportFrameSource::Sample(int count, std::vector<SourcePicture>& samples)
{
    samples.clear();
    for (std::size_t index : SpreadIndices(m_frames.size(), count))
    {
        SourcePicture picture;
        SetPicture(m_frames[index], picture);
        picture.captions = m_frames[index].captions;
        samples.push_back(std::move(picture));
    }
}

wxString CheckGifSize(int width, int height)
{
    if (width < 1 || height < 1)
        return wxString::Format(_("the output size %d x %d has no pixels"), width, height);
    // A size no picture may have (a project file or the size controls can
    // ask for one) would exhaust the memory instead of failing cleanly; the
    // file stores 16 bits per side.
    if (width > 0xFFFF || height > 0xFFFF ||
        std::uint64_t(width) * std::uint64_t(height) > kMaxPicturePixels)
        return wxString::Format(_("the output size %d x %d is too large"), width, height);
    return wxString();
}

GifExportResult ExportGif(ExportSource& source, const wxString& path,
                          const GifExportSettings& settings, const ExportProgress& progress,
                          const CancelCheck& cancelled)
{
    GifExportResult result;
    if (source.Count() == 0)
    {
        result.error = CannotWrite(path, _("there are no frames"));
        return result;
    }
    const wxString badSize = CheckGifSize(settings.width, settings.height);
    if (!badSize.empty())
    {
        result.error = CannotWrite(path, badSize);
        return result;
    }

    return WriteFileAtomically(
        path, [&](wxOutputStream& out)
        { return WriteGifStream(source, settings, out, progress, cancelled); });
}

GifExportResult ExportGifToStream(ExportSource& source, wxOutputStream& out, const wxString& name,
                                  const GifExportSettings& settings,
                                  const ExportProgress& progress, const CancelCheck& cancelled)
{
    const wxString badSize = CheckGifSize(settings.width, settings.height);
    if (!badSize.empty())
    {
        GifExportResult result;
        result.error = CannotWrite(name, badSize);
        return result;
    }
    GifStreamResult written = WriteGifStream(source, settings, out, progress, cancelled);
    if (written.outcome == GifStreamResult::Outcome::Failed && written.reason.empty())
        written.reason = _("the output could not be written");
    return ConcludeExport(written, name, 0);
}

GifExportResult ExportGif(const std::vector<ExportFrame>& frames, const wxString& path,
                          const GifExportSettings& settings, const ExportProgress& progress,
                          const CancelCheck& cancelled)
{
    if (settings.options.optimised && settings.options.maxBytes > 0)
        return ExportGifWithinSize([&frames]
                                   { return std::make_unique<ExportFrameSource>(frames); },
                                   path, settings, progress, cancelled);
    ExportFrameSource source(frames);
    return ExportGif(source, path, settings, progress, cancelled);
}

GifExportResult ExportGif(const std::vector<ExportFrame>& frames, const wxString& path,
                          int width, int height, const ExportProgress& progress,
                          const CancelCheck& cancelled)
{
    GifExportSettings settings;
    settings.width = width;
    settings.height = height;
    return ExportGif(frames, path, settings, progress, cancelled);
}

GifExportResult ExportGif(const std::vector<const wxImage*>& pictures, const wxString& path,
                          int delay, int width, int height, const ExportProgress& progress,
                          const CancelCheck& cancelled)
{
    std::vector<ExportFrame> frames;
    frames.reserve(pictures.size());
    for (const wxImage* picture : pictures)
        frames.push_back({picture, delay});
    return ExportGif(frames, path, width, height, progress, cancelled);
}
