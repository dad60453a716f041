#include "encode/palettemapper.h"

#include "encode/nearestcolour.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
// Diffused error is limited so that one bad match cannot smear across a row.
const int kErrorLimit = 40 * 16;

// The 8 x 8 Bayer threshold matrix.
const std::uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

int Clamp(int value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

const std::uint8_t* PixelAt(const MapRegion& region, int x, int y)
{
    return region.rgb +
           (std::size_t(region.top + y) * region.frameWidth + std::size_t(region.left + x)) * 3;
}

bool Kept(const MapRegion& region, int x, int y)
{
    return region.keep && region.keep[std::size_t(y) * region.width + x];
}

// Typical distance between neighbouring palette entries: how far ordered
// dithering must push a colour to reach the next entry.
double EntrySpacing(const NearestColour& search)
{
    const int count = search.Count();
    if (count < 2)
        return 0;
    double total = 0;
    for (int i = 0; i < count; ++i)
    {
        int best = INT_MAX;
        const std::uint8_t* a = search.Entry(i);
        for (int j = 0; j < count; ++j)
        {
            const std::uint8_t* b = search.Entry(j);
            const int d = (a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                          (a[2] - b[2]) * (a[2] - b[2]);
            if (j != i && d > 0)
                best = std::min(best, d);
        }
        if (best != INT_MAX)
            total += std::sqrt(double(best));
    }
    return std::min(total / count, 48.0);
}
}  // namespace

void PaletteMapper::Map(const MapRegion& region, NearestColour& search, GifDither dither,
                        std::vector<std::uint8_t>& indices)
{
    indices.resize(std::size_t(region.width) * region.height);
    std::uint8_t* out = indices.data();
    switch (dither)
    {
        case GifDither::Diffuse:
            Diffuse(region, search, out);
            return;
        case GifDither::Ordered:
            Ordered(region, search, out);
            return;
        case GifDither::None:
            break;
    }
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x, ++out)
        {
            if (Kept(region, x, y))
            {
                *out = static_cast<std::uint8_t>(region.transparentIndex);
                continue;
            }
            const std::uint8_t* p = PixelAt(region, x, y);
            *out = static_cast<std::uint8_t>(region.firstColour + search.Find(p[0], p[1], p[2]));
        }
}

void PaletteMapper::Ordered(const MapRegion& region, NearestColour& search, std::uint8_t* out)
{
    const double spacing = EntrySpacing(search);
    int offset[64];
    for (int i = 0; i < 64; ++i)
        offset[i] = int(std::lround(((i + 0.5) / 64.0 - 0.5) * spacing));
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x, ++out)
        {
            if (Kept(region, x, y))
            {
                *out = static_cast<std::uint8_t>(region.transparentIndex);
                continue;
            }
            const std::uint8_t* p = PixelAt(region, x, y);
            int distance = 0;
            const int exact = search.Find(p[0], p[1], p[2], &distance);
            if (distance == 0)
            {
                *out = static_cast<std::uint8_t>(region.firstColour + exact);
                continue;
            }
            // The threshold follows the frame's own position, so a still
            // area dithers the same way in every frame.
            const int t = offset[kBayer[(region.top + y) & 7][(region.left + x) & 7]];
            *out = static_cast<std::uint8_t>(region.firstColour + search.Find(Clamp(p[0] + t),
                                                                              Clamp(p[1] + t),
                                                                              Clamp(p[2] + t)));
        }
}

void PaletteMapper::Diffuse(const MapRegion& region, NearestColour& search, std::uint8_t* out)
{
    // Floyd-Steinberg, alternating direction row by row. Each row keeps
    // (width + 2) * 3 errors: one guard column on either side.
    const int width = region.width;
    const std::size_t rowLength = std::size_t(width + 2) * 3;
    m_errors.assign(rowLength * 2, 0);
    for (int y = 0; y < region.height; ++y)
    {
        int* current = m_errors.data() + (y & 1) * rowLength;
        int* next = m_errors.data() + ((y + 1) & 1) * rowLength;
        std::fill(next, next + rowLength, 0);
        const bool forward = (y & 1) == 0;
        const int step = forward ? 1 : -1;
        std::uint8_t* row = out + std::size_t(y) * width;
        for (int i = 0; i < width; ++i)
        {
            const int x = forward ? i : width - 1 - i;
            if (Kept(region, x, y))
            {
                row[x] = static_cast<std::uint8_t>(region.transparentIndex);
                continue;
            }
            const std::uint8_t* p = PixelAt(region, x, y);
            int distance = 0;
            const int exact = search.Find(p[0], p[1], p[2], &distance);
            if (distance == 0)
            {
                row[x] = static_cast<std::uint8_t>(region.firstColour + exact);
                continue;
            }
            int* e = current + std::size_t(x + 1) * 3;
            const int wanted[3] = {Clamp(p[0] + (e[0] + 8) / 16), Clamp(p[1] + (e[1] + 8) / 16),
                                   Clamp(p[2] + (e[2] + 8) / 16)};
            const int chosen = search.Find(wanted[0], wanted[1], wanted[2]);
            row[x] = static_cast<std::uint8_t>(region.firstColour + chosen);
            const std::uint8_t* entry = search.Entry(chosen);
            for (int c = 0; c < 3; ++c)
            {
                const int error =
                    std::clamp((wanted[c] - entry[c]) * 16, -kErrorLimit, kErrorLimit);
                current[std::size_t(x + 1 + step) * 3 + c] += error * 7 / 16;
                next[std::size_t(x + 1 - step) * 3 + c] += error * 3 / 16;
                next[std::size_t(x + 1) * 3 + c] += error * 5 / 16;
                next[std::size_t(x + 1 + step) * 3 + c] += error / 16;
            }
        }
    }
}

double PaletteMapper::InexactError(const MapRegion& region, NearestColour& search, int step)
{
    double total = 0;
    std::size_t counted = 0;
    std::size_t position = 0;
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x, ++position)
        {
            if (position % step != 0 || Kept(region, x, y))
                continue;
            const std::uint8_t* p = PixelAt(region, x, y);
            int distance = 0;
            search.Find(p[0], p[1], p[2], &distance);
            if (distance == 0)
                continue;
            total += distance;
            ++counted;
        }
    return counted ? total / (3.0 * counted) : 0.0;
}
