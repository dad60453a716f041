#include "encode/paletteindex.h"

#include <algorithm>

PaletteIndex::PaletteIndex(const unsigned char* rgb, int count)
{
    std::fill(m_keys, m_keys + kSlots, kEmpty);
    count = std::min(count, 256);
    for (int i = 0; i < count; ++i)
    {
        const std::uint32_t key = Key(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
        std::uint32_t slot = Slot(key);
        while (m_keys[slot] != kEmpty && m_keys[slot] != key)
            slot = (slot + 1) & (kSlots - 1);
        // A later duplicate never replaces the first entry of its colour.
        if (m_keys[slot] == kEmpty)
        {
            m_keys[slot] = key;
            m_indices[slot] = static_cast<unsigned char>(i);
        }
    }
}
