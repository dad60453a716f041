#ifndef LOOPFORGE_WORK_PALETTEMAPPER_H
#define LOOPFORGE_WORK_PALETTEMAPPER_H

#include "encode/gifoptions.h"

#include <cstdint>
#include <vector>

class NearestColour;

// A rectangle of an RGB frame to map to palette indices. Where keep is
// given (one byte per pixel of the rectangle), pixels marked 1 are left to
// what is already on screen and get the transparent index.
struct MapRegion
{
    const std::uint8_t* rgb = nullptr;  // the whole frame
    int frameWidth = 0;
    int left = 0, top = 0, width = 0, height = 0;
    const std::uint8_t* keep = nullptr;
    int transparentIndex = -1;
    int firstColour = 0;  // the table index of the search's entry 0
};

// Maps pixels to the entries of the palette search was last reset to, with
// the chosen dithering. Colours the palette holds exactly are never
// dithered, so flat areas stay flat and still areas stay still.
class PaletteMapper
{
public:
    void Map(const MapRegion& region, NearestColour& search, GifDither dither,
             std::vector<std::uint8_t>& indices);

    // The mean squared error per channel of mapping every step-th pixel
    // that is not kept to its nearest entry, counting only pixels the
    // palette does not hold exactly; 0 when every pixel is held exactly.
    static double InexactError(const MapRegion& region, NearestColour& search, int step);

private:
    void Diffuse(const MapRegion& region, NearestColour& search, std::uint8_t* out);
    void Ordered(const MapRegion& region, NearestColour& search, std::uint8_t* out);

    std::vector<int> m_errors;  // two rows of per-channel errors, in sixteenths
};

#endif
