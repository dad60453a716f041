#ifndef LOOPFORGE_TESTS_TEST_PICTURES_H
#define LOOPFORGE_TESTS_TEST_PICTURES_H

// Pictures made in code, in memory and as files.
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <wx/colour.h>
#include <wx/image.h>

#include <cmath>
#include <cstdint>

// A photo-like picture: smooth gradients with a little deterministic noise,
// so it has far more than 256 colours.
inline wxImage MakePhotoLike(int width, int height, unsigned seed)
{
    wxImage image(width, height, false);
    std::uint32_t state = seed * 2654435761u + 1;
    unsigned char* p = image.GetData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 28) - 8;
            const double fx = double(x) / width, fy = double(y) / height;
            auto clamp = [](double v) {
                return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
            };
            *p++ = clamp(255 * fx + noise);
            *p++ = clamp(127 + 120 * std::sin(6.0 * fy + seed) + noise);
            *p++ = clamp(255 * (1 - fx) * fy + noise);
        }
    return image;
}

// A picture of a few flat colour blocks.
inline wxImage MakeFlat(int width, int height)
{
    wxImage image(width, height, false);
    unsigned char* p = image.GetData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const int block = (x * 4 / width) + 4 * (y * 2 / height);
            *p++ = static_cast<unsigned char>(block * 30);
            *p++ = static_cast<unsigned char>(255 - block * 25);
            *p++ = static_cast<unsigned char>((block % 3) * 100);
        }
    return image;
}

inline wxImage SolidImage(int width, int height, const wxColour& colour)
{
    wxImage image(width, height, false);
    image.SetRGB(wxRect(0, 0, width, height), colour.Red(), colour.Green(), colour.Blue());
    return image;
}

// Writes a PNG of the given size and colour and returns its path.
inline wxString WritePng(const TempDir& dir, const wxString& name, int width, int height,
                         const wxColour& colour = *wxRED)
{
    const wxString path = dir.File(name);
    EXPECT_TRUE(SolidImage(width, height, colour).SaveFile(path, wxBITMAP_TYPE_PNG)) << name;
    return path;
}

#endif
