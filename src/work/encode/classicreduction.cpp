#include "encode/classicreduction.h"

#include "files/memorycheck.h"

#include <wx/quantize.h>

#include <algorithm>
#include <cstring>

namespace
{
// The toolkit's 8-bit BMP writer asks its quantiser for this many colours.
const int kQuantiserColours = 236;
// The quantiser's histogram and tables, with room to spare.
const std::size_t kQuantiserWorkBytes = std::size_t(1) << 20;
}  // namespace

bool ClassicReduction::Reduce(const std::uint8_t* rgb, int width, int height)
{
    if (!rgb || width <= 0 || height <= 0)
        return false;
    const std::size_t pixels = std::size_t(width) * height;
    m_indices.resize(pixels);
    m_inRows.resize(height);
    m_outRows.resize(height);
    for (int y = 0; y < height; ++y)
    {
        // The quantiser only reads its input rows.
        m_inRows[y] = const_cast<unsigned char*>(rgb + std::size_t(y) * width * 3);
        m_outRows[y] = m_indices.data() + std::size_t(y) * width;
    }
    // The quantiser does not check the allocations of its own tables.
    if (!CanAllocate(kQuantiserWorkBytes))
        return false;
    unsigned char quantised[256 * 3];
    wxQuantize::DoQuantize(unsigned(width), unsigned(height), m_inRows.data(), m_outRows.data(),
                           quantised, kQuantiserColours);

    const int highest = *std::max_element(m_indices.begin(), m_indices.end());
    m_palette = GifPalette();
    m_palette.count = 256;
    std::memcpy(m_palette.rgb, quantised, std::size_t(highest + 1) * 3);

    // Duplicate entries: every pixel takes the first entry of its colour.
    std::uint8_t first[256];
    for (int i = 0; i <= highest; ++i)
    {
        first[i] = static_cast<std::uint8_t>(i);
        for (int j = 0; j < i; ++j)
            if (std::memcmp(&m_palette.rgb[3 * j], &m_palette.rgb[3 * i], 3) == 0)
            {
                first[i] = static_cast<std::uint8_t>(j);
                break;
            }
    }
    for (std::uint8_t& index : m_indices)
        index = first[index];
    return true;
}
