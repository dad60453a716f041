#ifndef LOOPFORGE_WORK_FRAMEFITTING_H
#define LOOPFORGE_WORK_FRAMEFITTING_H

#include "caption/caption.h"

#include <wx/image.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture fitted into the output canvas (see PrepareFrame): RGB rows of
// exactly the canvas size. A picture that already has the canvas size and
// nothing to blend is used in place, without a copy, so it must outlive the
// fitted frame.
class FittedFrame
{
public:
    // With smooth, a picture larger than the canvas is shrunk by averaging
    // the area each output pixel covers instead of picking the nearest
    // source pixel. False when the canvas could not be allocated.
    //
    // With transparency, the frame also tells which of its pixels are
    // transparent: those of the mask colour, or whose alpha, fitted as the
    // colours are, is below kOpaqueAlpha. Pixels kept opaque that were
    // partly transparent get their own colour back rather than the colour
    // blended onto black. The canvas around the picture stays black.
    bool Fit(const wxImage& source, int width, int height, bool smooth, bool transparency = false);
    void Clear();
    // Draws the captions onto the fitted frame, first copying a picture that
    // was used in place. False when the copy could not be allocated.
    bool AddCaptions(const FrameCaptions& captions);

    const std::uint8_t* Pixels() const { return m_pixels; }
    // One byte per pixel, 0 where transparent and 1 where opaque; null when
    // every pixel is opaque or transparency was not asked for.
    const std::uint8_t* Opacity() const { return m_opacity.empty() ? nullptr : m_opacity.data(); }
    // The memory the fitted frame holds of its own (none when used in place).
    std::size_t HeldBytes() const;

    // Alpha from this value up is opaque in a GIF, below it transparent.
    static constexpr unsigned char kOpaqueAlpha = 128;

private:
    bool FitTransparency(const wxImage& source, int width, int height, bool smooth);

    wxImage m_canvas;
    const std::uint8_t* m_pixels = nullptr;
    std::vector<std::uint8_t> m_opacity;
    int m_width = 0;
    int m_height = 0;
};

// The picture shrunk to width x height by area averaging, blended onto
// black where it is transparent (mask or alpha). An RGB image.
wxImage ShrinkByAreaAveraging(const wxImage& source, int width, int height);

#endif
