#ifndef LOOPFORGE_WORK_PALETTEINDEX_H
#define LOOPFORGE_WORK_PALETTEINDEX_H

#include <cstdint>

// Finds the index of the first palette entry equal to a colour in red, green
// and blue: the same answer as a linear search from entry 0, without up to 256
// comparisons per pixel. A small open-addressing table built once per palette.
class PaletteIndex
{
public:
    // rgb holds count entries of red, green, blue; count is at most 256.
    PaletteIndex(const unsigned char* rgb, int count);

    // -1 when no entry equals the colour.
    int Find(unsigned char red, unsigned char green, unsigned char blue) const
    {
        const std::uint32_t key = Key(red, green, blue);
        for (std::uint32_t slot = Slot(key);; slot = (slot + 1) & (kSlots - 1))
        {
            if (m_keys[slot] == key)
                return m_indices[slot];
            if (m_keys[slot] == kEmpty)
                return -1;
        }
    }

private:
    static constexpr std::uint32_t kSlots = 1024;  // at most a quarter full
    static constexpr std::uint32_t kEmpty = 0;     // keys carry bit 24, so never 0

    static std::uint32_t Key(unsigned char red, unsigned char green, unsigned char blue)
    {
        return (1u << 24) | (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | blue;
    }
    static std::uint32_t Slot(std::uint32_t key) { return (key * 2654435761u) >> 22; }

    std::uint32_t m_keys[kSlots];
    unsigned char m_indices[kSlots];
};

#endif
