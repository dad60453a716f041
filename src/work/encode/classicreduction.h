#ifndef LOOPFORGE_WORK_CLASSICREDUCTION_H
#define LOOPFORGE_WORK_CLASSICREDUCTION_H

#include "encode/gifblocks.h"

#include <cstdint>
#include <vector>

// The classic colour reduction: the toolkit's IJG quantiser exactly as its
// 8-bit BMP writer uses it (236 colours, Floyd-Steinberg), giving a
// 256-entry palette whose entries past the last one any pixel uses are black
// (the quantiser leaves them undefined when the picture has few colours).
// Each index names the first entry of its colour, as a search of the palette
// for the pixel's colour would find it. Reusable: buffers stay between frames.
class ClassicReduction
{
public:
    // rgb holds width x height pixels. False when the quantiser could not run
    // for want of memory (the buffers of our own throw std::bad_alloc).
    bool Reduce(const std::uint8_t* rgb, int width, int height);

    const GifPalette& Palette() const { return m_palette; }
    const std::vector<std::uint8_t>& Indices() const { return m_indices; }

private:
    GifPalette m_palette;
    std::vector<std::uint8_t> m_indices;
    std::vector<unsigned char*> m_inRows, m_outRows;
};

#endif
