#ifndef LOOPFORGE_WORK_PALETTEBUILDER_H
#define LOOPFORGE_WORK_PALETTEBUILDER_H

#include "encode/gifblocks.h"

#include <cstdint>
#include <vector>

class NearestColour;

// Chooses a palette for a set of pixels: their own colours when there are
// few enough, otherwise a reduced palette (median cut on a histogram, then
// refined by a few rounds of k-means, which puts entries where the pixels
// are and lowers the error well below a median cut alone). Reusable: the
// histogram memory stays between frames.
class PaletteBuilder
{
public:
    // Starts a new set; the palette will hold at most maxColours entries (1 to 256).
    void Reset(int maxColours, std::size_t expectedPixels);
    void Add(const std::uint8_t* rgb);

    // Fills palette, the most used entries first; true when it holds every
    // colour exactly. search is working space for the refinement.
    bool Build(GifPalette& palette, NearestColour& search);

private:
    struct Cell
    {
        std::uint32_t count, red, green, blue;
    };
    struct Point
    {
        float rgb[3];
        float weight;
    };

    void AddToCells(const std::uint8_t* rgb, std::uint32_t count);
    void MoveColoursToCells();
    void MedianCut(std::vector<Point>& points, int colours, std::vector<float>& entries) const;

    int m_maxColours = 256;
    std::uint32_t m_sampleStep = 1;  // very large sets are sampled
    std::uint32_t m_sampleCountdown = 0;

    // The distinct colours with their counts, while there are not too many.
    std::vector<std::uint32_t> m_colourKeys;  // open addressing; 0 is empty, keys carry bit 24
    std::vector<std::uint32_t> m_colourCounts;
    std::vector<std::uint32_t> m_usedSlots;
    bool m_tooManyColours = false;

    // Then a histogram of 6 bits per channel, with the sums that give each
    // cell's mean colour.
    std::vector<Cell> m_cells;
    std::vector<std::uint32_t> m_touched;
};

#endif
