#ifndef LOOPFORGE_WORK_GIFCOMPOSER_H
#define LOOPFORGE_WORK_GIFCOMPOSER_H

#include "decode/gifframereader.h"

#include <wx/gdicmn.h>

#include <cstddef>
#include <vector>

class wxImage;

// Composes the frames of an animated GIF into the pictures a viewer shows:
// each frame is drawn onto the canvas at its offset, its transparent pixels
// leaving what lies below, after the previous frame's area was disposed of
// (kept, made transparent, or put back as it was before that frame).
//
// The canvas is the logical screen, widened and heightened to hold the first
// frame drawn where that frame reaches beyond it (a screen of 0 x 0 thus
// becomes the first frame's extent). Parts of later frames outside the canvas
// are not shown. Pixels no frame has covered are transparent.
//
// A canvas can instead be a given area of the screen (ComposeWithin), for
// a screen far larger than anything its frames draw.
//
// A copy holds the whole state, so that composing can go on from it later
// (copying may throw std::bad_alloc).
class GifComposer
{
public:
    explicit GifComposer(const wxSize& screen, unsigned long long maxPixels);

    enum class DrawResult
    {
        Drawn,
        TooLarge,    // the canvas would have more than maxPixels pixels
        OutOfMemory  // no memory for the canvas or for what a frame must give back
    };

    // Makes the canvas this area of the screen instead, before the first
    // frame is drawn or placed; frames keep their screen positions.
    void ComposeWithin(const wxRect& area);

    // Disposes of the previous frame and draws this one.
    DrawResult Draw(const GifStoredFrame& frame);
    // Only sizes the canvas as Draw would, without pixels (for a frame read
    // with GifFrameReader::SkipFrame): never OutOfMemory, and no Picture().
    DrawResult Place(const GifStoredFrame& frame);

    // The canvas as it stands: RGB with transparent pixels in the mask colour
    // (255, 0, 255) (genuine (255, 0, 255) becomes (255, 0, 254)), with the
    // drawn frame's comment. False when the picture cannot be held.
    bool Picture(wxImage& picture, const std::string& comment) const;

    wxSize CanvasSize() const { return m_canvasSize; }
    // The memory the state takes.
    std::size_t HeldBytes() const { return m_canvas.size() + m_saved.size(); }

private:
    struct Area
    {
        int left = 0, top = 0, right = 0,
            bottom = 0;  // clipped to the canvas; right, bottom excluded
        bool Empty() const { return left >= right || top >= bottom; }
        std::size_t Pixels() const { return std::size_t(right - left) * std::size_t(bottom - top); }
    };

    DrawResult SizeCanvas(const GifStoredFrame& first);
    DrawResult StartCanvas(const GifStoredFrame& first);
    Area Clip(const GifStoredFrame& frame) const;
    void Fill(const Area& area);
    void CopyArea(const Area& area, const unsigned char* from, unsigned char* to, bool toCanvas);
    void DrawPixels(const GifStoredFrame& frame, const Area& area);

    // The frame's position on the canvas.
    long long FrameLeft(const GifStoredFrame& frame) const
    {
        return (long long)frame.left - m_origin.x;
    }
    long long FrameTop(const GifStoredFrame& frame) const
    {
        return (long long)frame.top - m_origin.y;
    }

    wxSize m_screen;
    unsigned long long m_maxPixels;
    wxRect m_within;   // the canvas's area of the screen, when ComposeWithin gave one
    wxPoint m_origin;  // where the canvas's top left lies on the screen
    wxSize m_canvasSize;
    std::vector<unsigned char> m_canvas;  // RGB, width x height
    std::vector<unsigned char> m_saved;   // what the last frame covered, for Previous
    Area m_lastArea;
    GifDisposal m_lastDisposal = GifDisposal::Keep;
};

#endif
