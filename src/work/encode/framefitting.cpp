#include "encode/framefitting.h"

#include "caption/captiondrawing.h"

#include "encode/gifexport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{
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
    wxImage view(source.GetWidth(), source.GetHeight(), source.GetData(), true);
    if (source.HasAlpha())
        view.SetAlpha(source.GetAlpha(), true);
    if (source.HasMask())
        view.SetMaskColour(source.GetMaskRed(), source.GetMaskGreen(), source.GetMaskBlue());
    return view;
}

// The size a picture is shrunk to so that it fits the canvas keeping its
// aspect ratio. The limiting side fills the canvas exactly (computed in
// integers, so no rounding error leaves a black line), and a sliver of a
// picture keeps at least one pixel.
wxSize ShrunkSize(long long sourceWidth, long long sourceHeight, int width, int height)
{
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
    return wxSize(std::max(scaledWidth, 1), std::max(scaledHeight, 1));
}

bool FitsWithoutShrinking(const wxImage& source, int width, int height)
{
    return source.GetWidth() <= width && source.GetHeight() <= height;
}

// A source pixel's share of an output pixel along one axis: source pixel i
// covers [i * outSize, (i + 1) * outSize) and output pixel o covers
// [o * inSize, (o + 1) * inSize) in units of 1 / (inSize * outSize).
struct Span
{
    int source;
    int output;
    double weight;
};

std::vector<Span> Spans(int inSize, int outSize)
{
    std::vector<Span> spans;
    for (int o = 0; o < outSize; ++o)
    {
        const long long start = (long long)o * inSize, end = (long long)(o + 1) * inSize;
        for (long long i = start / outSize; i * outSize < end; ++i)
        {
            const long long overlap =
                std::min(end, (i + 1) * outSize) - std::max(start, i * outSize);
            if (overlap > 0)
                spans.push_back({int(i), o, double(overlap)});
        }
    }
    return spans;
}
}  // namespace

wxImage PrepareFrame(const wxImage& source, int width, int height)
{
    if (!source.IsOk() || width <= 0 || height <= 0)
        return wxImage();
    wxImage canvas(width, height, true);
    if (!canvas.IsOk())
        return canvas;
    if (FitsWithoutShrinking(source, width, height))
    {
        DrawOnBlack(canvas, ViewOf(source), (width - source.GetWidth()) / 2,
                    (height - source.GetHeight()) / 2);
        return canvas;
    }
    const wxSize scaled = ShrunkSize(source.GetWidth(), source.GetHeight(), width, height);
    const wxImage shrunk = ViewOf(source).Scale(scaled.x, scaled.y, wxIMAGE_QUALITY_NORMAL);
    if (!shrunk.IsOk())
        return wxImage();
    DrawOnBlack(canvas, shrunk, (width - scaled.x) / 2, (height - scaled.y) / 2);
    return canvas;
}

wxImage ShrinkByAreaAveraging(const wxImage& source, int width, int height)
{
    const int sourceWidth = source.GetWidth();
    const int sourceHeight = source.GetHeight();
    wxImage result(width, height, false);
    if (!result.IsOk())
        return result;
    const unsigned char* alpha = source.HasAlpha() ? source.GetAlpha() : nullptr;
    const bool masked = source.HasMask();
    const unsigned char mask[3] = {masked ? source.GetMaskRed() : (unsigned char)0,
                                   masked ? source.GetMaskGreen() : (unsigned char)0,
                                   masked ? source.GetMaskBlue() : (unsigned char)0};

    // Colours are averaged premultiplied by their opacity, which is the
    // picture blended onto black.
    const std::vector<Span> columns = Spans(sourceWidth, width);
    const std::vector<Span> rows = Spans(sourceHeight, height);
    const double area = double(sourceWidth) * double(sourceHeight);
    std::vector<double> rowSum(std::size_t(width) * 3), sum(std::size_t(width) * 3);
    std::size_t r = 0;
    for (int y = 0; y < height; ++y)
    {
        std::fill(sum.begin(), sum.end(), 0.0);
        for (; r < rows.size() && rows[r].output == y; ++r)
        {
            const int sy = rows[r].source;
            const unsigned char* in = source.GetData() + std::size_t(sy) * sourceWidth * 3;
            const unsigned char* a = alpha ? alpha + std::size_t(sy) * sourceWidth : nullptr;
            std::fill(rowSum.begin(), rowSum.end(), 0.0);
            for (const Span& column : columns)
            {
                const unsigned char* p = in + std::size_t(column.source) * 3;
                double opacity = a ? a[column.source] / 255.0 : 1.0;
                if (masked && p[0] == mask[0] && p[1] == mask[1] && p[2] == mask[2])
                    opacity = 0;
                const double w = column.weight * opacity;
                double* s = &rowSum[std::size_t(column.output) * 3];
                s[0] += w * p[0];
                s[1] += w * p[1];
                s[2] += w * p[2];
            }
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i] += rows[r].weight * rowSum[i];
        }
        unsigned char* out = result.GetData() + std::size_t(y) * width * 3;
        for (std::size_t i = 0; i < sum.size(); ++i)
            out[i] = static_cast<unsigned char>(std::min(255.0, std::floor(sum[i] / area + 0.5)));
    }
    return result;
}

std::size_t FittedFrame::HeldBytes() const
{
    const std::size_t canvas =
        m_canvas.IsOk() ? std::size_t(m_canvas.GetWidth()) * std::size_t(m_canvas.GetHeight()) * 3
                        : 0;
    return canvas + m_opacity.size();
}

void FittedFrame::Clear()
{
    m_canvas = wxImage();
    m_pixels = nullptr;
    m_opacity.clear();
}

// Fits a grey picture of the source's transparency (255 where transparent)
// the way the colours were fitted, so that the black canvas around the
// picture counts as opaque, then restores the colours of partly transparent
// pixels that stay opaque.
bool FittedFrame::FitTransparency(const wxImage& source, int width, int height, bool smooth)
{
    const int sourceWidth = source.GetWidth();
    const int sourceHeight = source.GetHeight();
    wxImage transparency(sourceWidth, sourceHeight, false);
    if (!transparency.IsOk())
        return false;
    const unsigned char* alpha = source.HasAlpha() ? source.GetAlpha() : nullptr;
    const bool masked = source.HasMask();
    const unsigned char mask[3] = {masked ? source.GetMaskRed() : (unsigned char)0,
                                   masked ? source.GetMaskGreen() : (unsigned char)0,
                                   masked ? source.GetMaskBlue() : (unsigned char)0};
    const unsigned char* in = source.GetData();
    unsigned char* out = transparency.GetData();
    const std::size_t pixels = std::size_t(sourceWidth) * sourceHeight;
    bool any = false;
    for (std::size_t i = 0; i < pixels; ++i, in += 3, out += 3)
    {
        unsigned char t = alpha ? static_cast<unsigned char>(255 - alpha[i]) : 0;
        if (masked && in[0] == mask[0] && in[1] == mask[1] && in[2] == mask[2])
            t = 255;
        out[0] = out[1] = out[2] = t;
        any = any || t != 0;
    }
    if (!any)
        return true;

    FittedFrame fitted;
    if (!fitted.Fit(transparency, width, height, smooth))
        return false;
    const std::size_t canvasPixels = std::size_t(width) * height;
    m_opacity.assign(canvasPixels, 1);
    const std::uint8_t* t = fitted.Pixels();
    unsigned char* rgb = m_canvas.GetData();
    bool transparent = false;
    for (std::size_t i = 0; i < canvasPixels; ++i, t += 3, rgb += 3)
    {
        const unsigned a = 255u - t[0];
        if (a < kOpaqueAlpha)
        {
            m_opacity[i] = 0;
            transparent = true;
        }
        else if (a < 255)
        {
            for (int c = 0; c < 3; ++c)
                rgb[c] = static_cast<unsigned char>(std::min(255u, (rgb[c] * 255u + a / 2) / a));
        }
    }
    if (!transparent)
        m_opacity.clear();
    return true;
}

bool FittedFrame::Fit(const wxImage& source, int width, int height, bool smooth, bool transparency)
{
    Clear();
    if (!source.IsOk() || width <= 0 || height <= 0)
        return false;
    m_width = width;
    m_height = height;
    if (source.GetWidth() == width && source.GetHeight() == height && !source.HasAlpha() &&
        !source.HasMask())
    {
        m_pixels = source.GetData();
        return true;
    }
    if (!smooth || FitsWithoutShrinking(source, width, height))
    {
        m_canvas = PrepareFrame(source, width, height);
    }
    else
    {
        const wxSize scaled = ShrunkSize(source.GetWidth(), source.GetHeight(), width, height);
        const wxImage shrunk = ShrinkByAreaAveraging(source, scaled.x, scaled.y);
        if (shrunk.IsOk() && scaled == wxSize(width, height))
            m_canvas = shrunk;
        else if (shrunk.IsOk() && m_canvas.Create(width, height, true))
            DrawOnBlack(m_canvas, shrunk, (width - scaled.x) / 2, (height - scaled.y) / 2);
    }
    if (!m_canvas.IsOk())
        return false;
    m_pixels = m_canvas.GetData();
    if (transparency && (source.HasAlpha() || source.HasMask()) &&
        !FitTransparency(source, width, height, smooth))
    {
        Clear();
        return false;
    }
    return true;
}

bool FittedFrame::AddCaptions(const FrameCaptions& captions)
{
    if (captions.empty() || !m_pixels)
        return m_pixels != nullptr;
    if (!m_canvas.IsOk())
    {
        if (!m_canvas.Create(m_width, m_height, false))
            return false;
        std::copy_n(m_pixels, std::size_t(m_width) * std::size_t(m_height) * 3, m_canvas.GetData());
        m_pixels = m_canvas.GetData();
    }
    DrawCaptions(captions, m_canvas.GetData(), m_width, m_height,
                 m_opacity.empty() ? nullptr : m_opacity.data());
    return true;
}
