#include "decode/gifanimationreader.h"

#include "decode/picturesize.h"

#include <algorithm>

namespace
{
// A logical screen up to this size is composed whole, as viewers show it.
const unsigned long long kWholeScreenPixels = 1ull << 22;
// A larger one is cut to the area its frames draw when that is at most
// this fraction of it.
const unsigned long long kDrawnAreaShare = 4;

unsigned long long Pixels(long long width, long long height)
{
    return width > 0 && height > 0 ? (unsigned long long)width * (unsigned long long)height : 0;
}

// The area of the canvas the usable frames of a file cover (the screen,
// widened to the first frame as GifComposer does), when a canvas of the
// whole screen would be far larger than that; empty otherwise. Reads the
// frames as the sizes-only scan does, so both come to the same area.
wxRect DrawnAreaOfLargeScreen(const std::vector<unsigned char>& data)
{
    GifFrameReader reader(data.data(), data.size(), kMaxPicturePixels);
    const wxSize screen = reader.ScreenSize();
    if (Pixels(screen.x, screen.y) <= kWholeScreenPixels)
        return wxRect();
    long long canvasWidth = 0, canvasHeight = 0;
    long long left = 0, top = 0, right = 0, bottom = 0;
    bool sized = false, any = false;
    GifStoredFrame frame;
    for (;;)
    {
        const GifFrameReader::Result result = reader.SkipFrame(frame);
        if (result == GifFrameReader::Result::End || result == GifFrameReader::Result::OutOfMemory)
            break;
        if (result != GifFrameReader::Result::Frame)
            continue;
        if (!sized)
        {
            sized = true;
            canvasWidth = std::max<long long>(screen.x, (long long)frame.left + frame.width);
            canvasHeight = std::max<long long>(screen.y, (long long)frame.top + frame.height);
        }
        const long long frameLeft = std::clamp<long long>(frame.left, 0, canvasWidth);
        const long long frameTop = std::clamp<long long>(frame.top, 0, canvasHeight);
        const long long frameRight =
            std::clamp<long long>((long long)frame.left + frame.width, 0, canvasWidth);
        const long long frameBottom =
            std::clamp<long long>((long long)frame.top + frame.height, 0, canvasHeight);
        if (frameLeft >= frameRight || frameTop >= frameBottom)
            continue;
        left = any ? std::min(left, frameLeft) : frameLeft;
        top = any ? std::min(top, frameTop) : frameTop;
        right = any ? std::max(right, frameRight) : frameRight;
        bottom = any ? std::max(bottom, frameBottom) : frameBottom;
        any = true;
    }
    if (!any ||
        Pixels(right - left, bottom - top) * kDrawnAreaShare > Pixels(canvasWidth, canvasHeight))
        return wxRect();
    return wxRect(int(left), int(top), int(right - left), int(bottom - top));
}
}  // namespace

int GifShownDelay(int stored)
{
    if (stored < 0)
        return 0;
    return stored <= 1 ? 10 : stored;
}

GifAnimationReader::GifAnimationReader(std::vector<unsigned char> data, Reading reading)
    : m_data(std::move(data)),
      m_sizesOnly(reading == Reading::SizesOnly),
      m_reader(m_data.data(), m_data.size(), kMaxPicturePixels),
      m_composer(m_reader.ScreenSize(), kMaxPicturePixels)
{
    const wxRect drawn = DrawnAreaOfLargeScreen(m_data);
    if (!drawn.IsEmpty())
        m_composer.ComposeWithin(drawn);
}

GifFrameReader::Result GifAnimationReader::EndForMemory()
{
    m_hasFrame = false;
    m_ended = true;
    m_outOfMemory = true;
    return GifFrameReader::Result::OutOfMemory;
}

GifFrameReader::Result GifAnimationReader::Next()
{
    m_hasFrame = false;
    if (m_ended)
        return GifFrameReader::Result::End;
    const GifFrameReader::Result result =
        m_sizesOnly ? m_reader.SkipFrame(m_frame) : m_reader.ReadFrame(m_frame);
    if (result == GifFrameReader::Result::End)
    {
        m_ended = true;
        return result;
    }
    ++m_index;
    if (result == GifFrameReader::Result::OutOfMemory)
        return EndForMemory();
    if (result != GifFrameReader::Result::Frame)
        return result;
    // Only an animation is composed; a lone image keeps its own size.
    if (!m_composing)
        m_composing = m_index > 0 || m_reader.HasAnotherFrame();
    if (m_composing)
    {
        switch (m_sizesOnly ? m_composer.Place(m_frame) : m_composer.Draw(m_frame))
        {
            case GifComposer::DrawResult::Drawn:
                break;
            case GifComposer::DrawResult::TooLarge:
                // A canvas no picture may be ends the file like damage would.
                m_ended = true;
                return GifFrameReader::Result::End;
            case GifComposer::DrawResult::OutOfMemory:
                return EndForMemory();
        }
    }
    m_hasFrame = true;
    return result;
}

wxSize GifAnimationReader::PictureSize() const
{
    if (!m_hasFrame)
        return wxSize();
    return m_composing ? m_composer.CanvasSize() : wxSize(m_frame.width, m_frame.height);
}

int GifAnimationReader::Delay() const
{
    return m_hasFrame && m_composing ? GifShownDelay(m_frame.delay) : 0;
}

std::unique_ptr<wxImage> GifAnimationReader::Picture()
{
    if (!m_hasFrame || m_sizesOnly)
        return nullptr;
    auto picture = std::make_unique<wxImage>();
    const bool made = m_composing ? m_composer.Picture(*picture, m_frame.comment)
                                  : GifFrameReader::ConvertToImage(m_frame, *picture);
    if (!made || !picture->IsOk())
    {
        EndForMemory();
        return nullptr;
    }
    return picture;
}

double GifAnimationReader::FractionRead() const
{
    return m_data.empty() ? 1.0 : double(m_reader.BytesRead()) / double(m_data.size());
}

std::unique_ptr<GifAnimationReader::Checkpoint> GifAnimationReader::SaveCheckpoint() const
{
    // After the first frame no image descriptor has been read ahead, so the
    // reader stands where the next record starts.
    if (!m_hasFrame || !m_composing || m_index < 1 || m_sizesOnly)
        return nullptr;
    try
    {
        auto checkpoint = std::make_unique<Checkpoint>();
        checkpoint->index = m_index;
        checkpoint->offset = m_reader.BytesRead();
        checkpoint->composer = std::make_unique<GifComposer>(m_composer);
        return checkpoint;
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

bool GifAnimationReader::Resume(const Checkpoint& checkpoint)
{
    m_hasFrame = false;
    try
    {
        m_composer = *checkpoint.composer;
    }
    catch (const std::bad_alloc&)
    {
        EndForMemory();
        return false;
    }
    m_index = checkpoint.index;
    m_composing = true;
    m_outOfMemory = false;
    m_ended = !m_reader.ResumeAt(checkpoint.offset);
    return !m_ended;
}
