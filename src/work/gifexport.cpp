#include "work/gifexport.h"

#include "window/gif_gifhandler.h"
#include "work/atomicfileoutput.h"
#include "work/memorycheck.h"
#include "work/picturesize.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/palette.h>
#include <wx/quantize.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace
{
// The toolkit's 8-bit BMP writer asks its quantiser for this many colours.
const int kQuantiserColours = 236;
// The quantiser's histogram and tables, with room to spare.
const std::size_t kQuantiserWorkBytes = std::size_t(1) << 20;

// Alpha blending onto black, rounded as the drawing back end does it.
unsigned char OverBlack(unsigned char colour, unsigned char alpha)
{
    const unsigned t = unsigned(colour) * alpha + 0x80;
    return static_cast<unsigned char>(((t >> 8) + t) >> 8);
}

// Draws picture onto the black canvas at (left, top), as a masked bitmap would be drawn.
void DrawOnBlack(wxImage& canvas, const wxImage& picture, int left, int top)
{
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    const unsigned char* alpha = picture.HasAlpha() ? picture.GetAlpha() : nullptr;
    const bool masked = picture.HasMask();
    const unsigned char maskRed = masked ? picture.GetMaskRed() : 0;
    const unsigned char maskGreen = masked ? picture.GetMaskGreen() : 0;
    const unsigned char maskBlue = masked ? picture.GetMaskBlue() : 0;

    for (int y = 0; y < height; ++y)
    {
        const unsigned char* in = picture.GetData() + std::size_t(y) * width * 3;
        unsigned char* out =
            canvas.GetData() + (std::size_t(top + y) * canvas.GetWidth() + left) * 3;
        if (!alpha && !masked)
        {
            std::memcpy(out, in, std::size_t(width) * 3);
            continue;
        }
        const unsigned char* a = alpha ? alpha + std::size_t(y) * width : nullptr;
        for (int x = 0; x < width; ++x, in += 3, out += 3)
        {
            if (masked && in[0] == maskRed && in[1] == maskGreen && in[2] == maskBlue)
                continue;
            if (a)
            {
                out[0] = OverBlack(in[0], a[x]);
                out[1] = OverBlack(in[1], a[x]);
                out[2] = OverBlack(in[2], a[x]);
            }
            else
                std::memcpy(out, in, 3);
        }
    }
}

// A view of source's pixels as an image of its own: reading through it never
// touches source's shared data or reference count.
wxImage ViewOf(const wxImage& source)
{
    wxImage view(source.GetWidth(), source.GetHeight(),
                 const_cast<unsigned char*>(source.GetData()), true);
    if (source.HasAlpha())
        view.SetAlpha(const_cast<unsigned char*>(source.GetAlpha()), true);
    if (source.HasMask())
        view.SetMaskColour(source.GetMaskRed(), source.GetMaskGreen(), source.GetMaskBlue());
    return view;
}

wxString CannotWrite(const wxString& path, const wxString& reason)
{
    return wxString::Format(_("Cannot write %s: %s"), path, reason);
}
}  // namespace

wxImage PrepareFrame(const wxImage& source, int width, int height)
{
    if (!source.IsOk() || width <= 0 || height <= 0)
        return wxImage();
    wxImage canvas(width, height, true);
    if (!canvas.IsOk())
        return canvas;
    const long long sourceWidth = source.GetWidth();
    const long long sourceHeight = source.GetHeight();

    if (sourceWidth <= width && sourceHeight <= height)
    {
        DrawOnBlack(canvas, ViewOf(source), int((width - sourceWidth) / 2),
                    int((height - sourceHeight) / 2));
        return canvas;
    }

    // Shrink by the smaller factor; the limiting side fills the canvas exactly
    // (computed in integers, so no rounding error leaves a black line).
    int scaledWidth, scaledHeight;
    if (width * sourceHeight <= height * sourceWidth)
    {
        scaledWidth = width;
        scaledHeight = int(sourceHeight * width / sourceWidth);
    }
    else
    {
        scaledHeight = height;
        scaledWidth = int(sourceWidth * height / sourceHeight);
    }
    // A sliver of a picture keeps at least one pixel.
    scaledWidth = std::max(scaledWidth, 1);
    scaledHeight = std::max(scaledHeight, 1);
    const wxImage scaled = ViewOf(source).Scale(scaledWidth, scaledHeight, wxIMAGE_QUALITY_NORMAL);
    if (!scaled.IsOk())
        return wxImage();
    DrawOnBlack(canvas, scaled, (width - scaledWidth) / 2, (height - scaledHeight) / 2);
    return canvas;
}

wxImage ReduceColours(const wxImage& image)
{
    if (!image.IsOk())
        return wxImage();
    // The quantiser fills a destination it was given, and does not check the
    // allocations of its own: the one-byte-per-pixel indices, a row table and
    // tables of about a megabyte.
    const std::size_t width = image.GetWidth(), height = image.GetHeight();
    wxImage reduced(image.GetWidth(), image.GetHeight(), false);
    if (!reduced.IsOk() ||
        !CanAllocate(width * height + height * 2 * sizeof(void*) + kQuantiserWorkBytes))
        return wxImage();
    wxPalette* quantised = nullptr;
    unsigned char* indices = nullptr;
    bool done = false;
    try
    {
        done =
            wxQuantize::Quantize(image, reduced, &quantised, kQuantiserColours, &indices,
                                 wxQUANTIZE_FILL_DESTINATION_IMAGE | wxQUANTIZE_RETURN_8BIT_DATA);
    }
    catch (const std::bad_alloc&)
    {
        // Another thread took the memory after the check.
    }
    if (!done)
    {
        delete quantised;
        delete[] indices;
        return wxImage();
    }
    const std::size_t pixels = std::size_t(image.GetWidth()) * image.GetHeight();
    const unsigned char highest = pixels ? *std::max_element(indices, indices + pixels) : 0;
    delete[] indices;

    unsigned char red[256] = {}, green[256] = {}, blue[256] = {};
    for (int i = 0; i <= highest; ++i)
        quantised->GetRGB(i, &red[i], &green[i], &blue[i]);
    delete quantised;
    reduced.SetPalette(wxPalette(256, red, green, blue));
    return reduced;
}

GifExportResult ExportGif(const std::vector<ExportFrame>& frames, const wxString& path,
                          int width, int height, const ExportProgress& progress,
                          const CancelCheck& cancelled)
{
    GifExportResult result;
    if (frames.empty())
    {
        result.error = CannotWrite(path, _("there are no frames"));
        return result;
    }
    if (width < 1 || height < 1)
    {
        result.error = CannotWrite(
            path, wxString::Format(_("the output size %d x %d has no pixels"), width, height));
        return result;
    }
    // A size no picture may have (a project file or the size controls can
    // ask for one) would exhaust the memory instead of failing cleanly.
    if (std::uint64_t(width) * std::uint64_t(height) > kMaxPicturePixels)
    {
        result.error = CannotWrite(
            path, wxString::Format(_("the output size %d x %d is too large"), width, height));
        return result;
    }

    AtomicFileOutputStream out(path);
    const int frameCount = static_cast<int>(frames.size());
    MyGifHandler::SetOutputStream(&out);
    for (int i = 0; i < frameCount && out.IsOk(); ++i)
    {
        if (cancelled && cancelled())
        {
            result.error = wxString::Format(_("Saving %s was cancelled."), path);
            break;
        }
        const wxImage prepared = PrepareFrame(*frames[i].picture, width, height);
        if (!prepared.IsOk())
        {
            result.error = CannotWrite(path, _("there is not enough memory"));
            break;
        }
        const wxImage reduced = ReduceColours(prepared);
        if (!reduced.IsOk())
        {
            result.error = CannotWrite(path, _("there is not enough memory"));
            break;
        }
        // The file stores 16 bits of hundredths.
        const int delayMs = std::clamp(frames[i].delay, 0, 0xFFFF) * 10;
        MyGifHandler handler;
        if (!handler.SaveFrame(reduced, delayMs, frameCount, i))
        {
            if (out.GetErrno() == 0)
                result.error =
                    CannotWrite(path, wxString::Format(_("frame %d could not be encoded"), i + 1));
            break;
        }
        if (progress)
            progress(i + 1, frameCount);
    }
    MyGifHandler::SetOutputStream(nullptr);

    result.ok = result.error.empty() && out.GetErrno() == 0 && out.Commit();
    if (!result.ok && result.error.empty())
        result.error = CannotWrite(path, wxSysErrorMsgStr(out.GetErrno()));
    if (!result.ok)
        out.Discard();
    return result;
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
