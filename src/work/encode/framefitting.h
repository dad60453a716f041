#ifndef LOOPFORGE_WORK_FRAMEFITTING_H
#define LOOPFORGE_WORK_FRAMEFITTING_H

#include "caption/caption.h"

#include <wx/image.h>

#include <cstdint>

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
    bool Fit(const wxImage& source, int width, int height, bool smooth);
    void Clear();
    // Draws the captions onto the fitted frame, first copying a picture that
    // was used in place. False when the copy could not be allocated.
    bool AddCaptions(const FrameCaptions& captions);

    const std::uint8_t* Pixels() const { return m_pixels; }

private:
    wxImage m_canvas;
    const std::uint8_t* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// The picture shrunk to width x height by area averaging, blended onto
// black where it is transparent (mask or alpha). An RGB image.
wxImage ShrinkByAreaAveraging(const wxImage& source, int width, int height);

#endif
