#ifndef LOOPFORGE_WORK_CAPTIONDRAWING_H
#define LOOPFORGE_WORK_CAPTIONDRAWING_H

#include "caption/caption.h"

#include <wx/gdicmn.h>
#include <wx/image.h>

#include <cstdint>

// Captions are laid out by Pango and drawn by Cairo into image surfaces with
// fixed font options (greyscale antialiasing, no hinting) and a fixed
// language, never through a display: the window and the renderer draw the
// same pixels. Fonts are found by fontconfig; a family that is missing falls
// back as the system's configuration says. Safe to call from any thread;
// a drawn caption is kept for the next frame of the same size.

// The rectangle a caption covers on a width x height frame (its outline and
// box included); it may reach past the frame's edges.
wxRect CaptionBounds(const Caption& caption, int width, int height);

// Draws the captions, in order, onto RGB pixels (rows of width * 3 bytes).
// With opacity (a byte per pixel, 0 where transparent), a caption drawn over
// transparent pixels makes them opaque where it is mostly opaque itself.
void DrawCaptions(const FrameCaptions& captions, std::uint8_t* rgb, int width, int height,
                  std::uint8_t* opacity = nullptr);

// The same onto an image (its colour channels; an alpha channel is left as it is).
void DrawCaptions(const FrameCaptions& captions, wxImage& image);

// How many characters of the caption no installed font has (each would show
// as a box), laid out for a width x height frame.
int CaptionMissingGlyphs(const Caption& caption, int width, int height);

#endif
