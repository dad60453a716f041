#include "decode/gifcomposer.h"

#include <wx/image.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
const unsigned char kMask[3] = {255, 0, 255};

bool IsMask(const unsigned char* rgb)
{
    return rgb[0] == kMask[0] && rgb[1] == kMask[1] && rgb[2] == kMask[2];
}

bool Allocate(std::vector<unsigned char>& buffer, std::size_t bytes)
{
    try
    {
        buffer.resize(bytes);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}
}  // namespace

GifComposer::GifComposer(const wxSize& screen, unsigned long long maxPixels)
    : m_screen(screen), m_maxPixels(maxPixels)
{
}

void GifComposer::ComposeWithin(const wxRect& area)
{
    m_within = area;
    m_origin = area.GetTopLeft();
}

GifComposer::DrawResult GifComposer::SizeCanvas(const GifStoredFrame& first)
{
    long long width = std::max<long long>(m_screen.x, (long long)first.left + first.width);
    long long height = std::max<long long>(m_screen.y, (long long)first.top + first.height);
    if (!m_within.IsEmpty())
    {
        width = m_within.width;
        height = m_within.height;
    }
    if (width <= 0 || height <= 0 ||
        static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) >
            m_maxPixels)
        return DrawResult::TooLarge;
    m_canvasSize = wxSize(int(width), int(height));
    return DrawResult::Drawn;
}

GifComposer::DrawResult GifComposer::StartCanvas(const GifStoredFrame& first)
{
    const DrawResult sized = SizeCanvas(first);
    if (sized != DrawResult::Drawn)
        return sized;
    const std::size_t bytes = std::size_t(m_canvasSize.x) * std::size_t(m_canvasSize.y) * 3;
    if (!Allocate(m_canvas, bytes))
    {
        m_canvasSize = wxSize();
        return DrawResult::OutOfMemory;
    }
    Area whole;
    whole.right = m_canvasSize.x;
    whole.bottom = m_canvasSize.y;
    Fill(whole);
    return DrawResult::Drawn;
}

GifComposer::Area GifComposer::Clip(const GifStoredFrame& frame) const
{
    auto clamp = [](long long value, int limit)
    { return int(std::clamp<long long>(value, 0, limit)); };
    Area area;
    area.left = clamp(FrameLeft(frame), m_canvasSize.x);
    area.top = clamp(FrameTop(frame), m_canvasSize.y);
    area.right = clamp(FrameLeft(frame) + frame.width, m_canvasSize.x);
    area.bottom = clamp(FrameTop(frame) + frame.height, m_canvasSize.y);
    return area;
}

void GifComposer::Fill(const Area& area)
{
    for (int y = area.top; y < area.bottom; ++y)
    {
        unsigned char* out = m_canvas.data() + (std::size_t(y) * m_canvasSize.x + area.left) * 3;
        for (int x = area.left; x < area.right; ++x, out += 3)
            std::memcpy(out, kMask, 3);
    }
}

// Copies the area between the canvas and a buffer of exactly its pixels.
void GifComposer::CopyArea(const Area& area, const unsigned char* from, unsigned char* to,
                           bool toCanvas)
{
    const std::size_t rowBytes = std::size_t(area.right - area.left) * 3;
    for (int y = area.top; y < area.bottom; ++y)
    {
        const std::size_t canvasOffset = (std::size_t(y) * m_canvasSize.x + area.left) * 3;
        const std::size_t bufferOffset = std::size_t(y - area.top) * rowBytes;
        if (toCanvas)
            std::memcpy(to + canvasOffset, from + bufferOffset, rowBytes);
        else
            std::memcpy(to + bufferOffset, from + canvasOffset, rowBytes);
    }
}

void GifComposer::DrawPixels(const GifStoredFrame& frame, const Area& area)
{
    // Colours as the canvas holds them: indices beyond the table (damaged
    // data) are black, and only transparency may look like the mask colour.
    unsigned char colours[256 * 3] = {};
    std::memcpy(colours, frame.colours, std::size_t(frame.colourCount) * 3);
    for (int i = 0; i < 256; ++i)
        if (IsMask(colours + 3 * i))
            colours[3 * i + 2] = kMask[2] - 1;

    const int width = area.right - area.left;
    for (int y = area.top; y < area.bottom; ++y)
    {
        const unsigned char* in = frame.indices.data() +
                                  std::size_t(y - FrameTop(frame)) * frame.width +
                                  std::size_t(area.left - FrameLeft(frame));
        unsigned char* out = m_canvas.data() + (std::size_t(y) * m_canvasSize.x + area.left) * 3;
        for (int x = 0; x < width; ++x, out += 3)
        {
            const int index = in[x];
            if (index != frame.transparentIndex)
                std::memcpy(out, colours + 3 * index, 3);
        }
    }
}

GifComposer::DrawResult GifComposer::Place(const GifStoredFrame& frame)
{
    return m_canvasSize == wxSize() ? SizeCanvas(frame) : DrawResult::Drawn;
}

GifComposer::DrawResult GifComposer::Draw(const GifStoredFrame& frame)
{
    if (m_canvas.empty())
    {
        const DrawResult started = StartCanvas(frame);
        if (started != DrawResult::Drawn)
            return started;
    }

    if (m_lastDisposal == GifDisposal::Background)
        Fill(m_lastArea);
    else if (m_lastDisposal == GifDisposal::Previous && !m_lastArea.Empty())
        // An area wholly off the canvas saved nothing (m_saved may be null).
        CopyArea(m_lastArea, m_saved.data(), m_canvas.data(), true);

    const Area area = Clip(frame);
    if (frame.disposal == GifDisposal::Previous && !area.Empty())
    {
        if (area.Pixels() * 3 > m_saved.size() && !Allocate(m_saved, area.Pixels() * 3))
            return DrawResult::OutOfMemory;
        CopyArea(area, m_canvas.data(), m_saved.data(), false);
    }
    DrawPixels(frame, area);
    m_lastArea = area;
    m_lastDisposal = frame.disposal;
    return DrawResult::Drawn;
}

bool GifComposer::Picture(wxImage& picture, const std::string& comment) const
{
    if (m_canvas.empty() || !picture.Create(m_canvasSize.x, m_canvasSize.y, false) || !picture.IsOk())
        return false;
    const std::size_t bytes = std::size_t(m_canvasSize.x) * m_canvasSize.y * 3;
    std::memcpy(picture.GetData(), m_canvas.data(), bytes);
    for (std::size_t i = 0; i < bytes; i += 3)
        if (IsMask(m_canvas.data() + i))
        {
            picture.SetMaskColour(kMask[0], kMask[1], kMask[2]);
            break;
        }
    AttachGifComment(picture, comment);
    return true;
}
