#ifndef LOOPFORGE_TESTS_REFERENCE_EXPORT_H
#define LOOPFORGE_TESTS_REFERENCE_EXPORT_H

// The straightforward routes the engine replaced, kept as references for its
// output: colour reduction by an 8-bit BMP round trip through memory streams,
// the classic export's reduction as it was written before the export handed
// indices to the encoder, and palette lookup by a linear search for the
// first equal entry.

#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/palette.h>
#include <wx/quantize.h>

#include <algorithm>
#include <vector>

inline wxImage ReduceColoursByBmpRoundTrip(const wxImage& image)
{
    wxImage copy = image;
    copy.SetOption(wxIMAGE_OPTION_BMP_FORMAT, wxBMP_8BPP);
    wxMemoryOutputStream out;
    if (!copy.SaveFile(out, wxBITMAP_TYPE_BMP))
        return wxImage();
    wxMemoryInputStream in(out);
    wxImage reduced;
    reduced.LoadFile(in, wxBITMAP_TYPE_BMP, -1);
    return reduced;
}

// The toolkit's quantiser as the BMP writer calls it, with the palette
// entries past the highest index any pixel uses made black.
inline wxImage ReduceColoursAsBefore(const wxImage& image)
{
    wxImage reduced;
    wxPalette* quantised = nullptr;
    unsigned char* indices = nullptr;
    if (!wxQuantize::Quantize(image, reduced, &quantised, 236, &indices,
                              wxQUANTIZE_FILL_DESTINATION_IMAGE | wxQUANTIZE_RETURN_8BIT_DATA))
        return wxImage();
    const size_t pixels = size_t(image.GetWidth()) * image.GetHeight();
    const unsigned char highest = *std::max_element(indices, indices + pixels);
    delete[] indices;
    unsigned char red[256] = {}, green[256] = {}, blue[256] = {};
    for (int i = 0; i <= highest; ++i)
        quantised->GetRGB(i, &red[i], &green[i], &blue[i]);
    delete quantised;
    reduced.SetPalette(wxPalette(256, red, green, blue));
    return reduced;
}

inline int FindFirstEqualEntry(const unsigned char* rgb, int count, unsigned char red,
                               unsigned char green, unsigned char blue)
{
    for (int i = 0; i < count; ++i)
        if (rgb[3 * i] == red && rgb[3 * i + 1] == green && rgb[3 * i + 2] == blue)
            return i;
    return -1;
}

// The palette of an image as packed RGB triples.
inline std::vector<unsigned char> PaletteBytes(const wxImage& image)
{
    std::vector<unsigned char> rgb;
    const wxPalette& palette = image.GetPalette();
    for (int i = 0; i < palette.GetColoursCount(); ++i)
    {
        unsigned char r = 0, g = 0, b = 0;
        palette.GetRGB(i, &r, &g, &b);
        rgb.insert(rgb.end(), {r, g, b});
    }
    return rgb;
}

#endif
