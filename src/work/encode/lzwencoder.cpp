#include "encode/lzwencoder.h"

#include <algorithm>
#include <new>
#include <utility>

namespace
{
const int kLargestCode = 4095;  // 12-bit codes; reaching it clears the table
const std::uint32_t kLastGeneration = 0xFFFFF;
const std::size_t kTableSlots = std::size_t(kLargestCode + 1) * 256;
}  // namespace

LzwEncoder::LzwEncoder()
    : m_table(static_cast<std::uint32_t*>(std::calloc(kTableSlots, sizeof(std::uint32_t))))
{
    if (!m_table)
        throw std::bad_alloc();
}

void LzwEncoder::ClearTable()
{
    if (++m_generation > kLastGeneration)
    {
        std::fill(m_table.get(), m_table.get() + kTableSlots, 0);
        m_generation = 1;
    }
}

void LzwEncoder::FlushBits()
{
    while (m_bitCount >= 8)
    {
        if (m_block[0] == 255)
        {
            m_out->insert(m_out->end(), m_block, m_block + 256);
            m_block[0] = 0;
        }
        m_block[++m_block[0]] = static_cast<std::uint8_t>(m_bits & 0xFF);
        m_bits >>= 8;
        m_bitCount -= 8;
    }
}

void LzwEncoder::Emit(int code)
{
    m_bits |= std::uint32_t(code) << m_bitCount;
    m_bitCount += m_codeBits;
    FlushBits();
    // The code width grows once the next code to be assigned no longer fits.
    if (m_nextCode >= m_codeLimit && code <= kLargestCode)
        m_codeLimit = 1 << ++m_codeBits;
}

void LzwEncoder::SetLossy(const std::uint8_t* palette, int count, int transparentIndex,
                          int maxError, int addedError, const std::uint8_t* target)
{
    m_lossy = maxError > 0 && count > 1;
    m_palette = palette;
    m_target = target;
    m_addedError = addedError;
    if (!m_lossy)
        return;
    count = std::min(count, 256);
    m_near.resize(std::size_t(256) * kMaxNear);
    std::fill(std::begin(m_nearCount), std::end(m_nearCount), 0);
    const int bound = maxError * maxError;
    std::vector<std::pair<int, int>> candidates;  // (squared distance, entry)
    for (int i = 0; i < count; ++i)
    {
        if (i == transparentIndex)
            continue;
        candidates.clear();
        const std::uint8_t* a = palette + 3 * i;
        for (int j = 0; j < count; ++j)
        {
            if (j == i || j == transparentIndex)
                continue;
            const std::uint8_t* b = palette + 3 * j;
            const int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
            const int distance = dr * dr + dg * dg + db * db;
            if (distance <= bound)
                candidates.emplace_back(distance, j);
        }
        const std::size_t kept = std::min<std::size_t>(candidates.size(), kMaxNear);
        std::partial_sort(candidates.begin(), candidates.begin() + kept, candidates.end());
        for (std::size_t k = 0; k < kept; ++k)
            m_near[std::size_t(i) * kMaxNear + k] = static_cast<std::uint8_t>(candidates[k].second);
        m_nearCount[i] = static_cast<std::uint8_t>(kept);
    }
}

// Lossy matching: continues the string prefix with the entry near pixel
// that the table holds a string for and that lands nearest the colour
// wanted at position. The pixel is then shown in that entry's colour. The
// error added may vary from pixel to pixel as long as the string's pixels
// on average add no more than allowed.
bool LzwEncoder::TakeNear(int& prefix, std::uint8_t pixel, std::size_t position)
{
    const std::uint8_t* near = m_near.data() + std::size_t(pixel) * kMaxNear;
    const std::size_t row = std::size_t(prefix) << 8;
    const std::uint8_t* wanted = m_target ? m_target + 3 * position : m_palette + 3 * pixel;
    auto error = [&](int entry)
    {
        const std::uint8_t* c = m_palette + 3 * entry;
        const int dr = c[0] - wanted[0], dg = c[1] - wanted[1], db = c[2] - wanted[2];
        return dr * dr + dg * dg + db * db;
    };
    const int exact = error(pixel);
    const long long allowed = (m_runLength + 1) * (long long)m_addedError - m_runAdded;
    int best = -1, bestError = 0;
    for (int k = 0; k < m_nearCount[pixel]; ++k)
    {
        const std::uint32_t slot = m_table[row | near[k]];
        if ((slot >> 12) != m_generation)
            continue;
        const int e = error(near[k]);
        if (e - exact <= allowed && (best < 0 || e < bestError))
        {
            best = int(slot & 0xFFF);
            bestError = e;
        }
    }
    if (best < 0)
        return false;
    prefix = best;
    m_runAdded += bestError - exact;
    ++m_runLength;
    return true;
}

void LzwEncoder::Encode(const std::uint8_t* indices, std::size_t count, int codeSize,
                        std::vector<std::uint8_t>& out)
{
    m_out = &out;
    m_block[0] = 0;
    m_bits = 0;
    m_bitCount = 0;
    const int clearCode = 1 << codeSize;
    const int endCode = clearCode + 1;
    m_codeBits = codeSize + 1;
    m_codeLimit = 1 << m_codeBits;
    m_nextCode = endCode + 1;
    ClearTable();

    out.push_back(static_cast<std::uint8_t>(codeSize));
    Emit(clearCode);
    if (count > 0)
    {
        int prefix = indices[0];
        m_runAdded = 0;
        m_runLength = 1;
        for (std::size_t i = 1; i < count; ++i)
        {
            const std::uint8_t pixel = indices[i];
            std::uint32_t& slot = m_table[(std::size_t(prefix) << 8) | pixel];
            if ((slot >> 12) == m_generation)
            {
                prefix = int(slot & 0xFFF);
                ++m_runLength;
                continue;
            }
            if (m_lossy && TakeNear(prefix, pixel, i))
                continue;
            m_runAdded = 0;
            m_runLength = 1;
            Emit(prefix);
            prefix = pixel;
            if (m_nextCode >= kLargestCode)
            {
                Emit(clearCode);
                m_nextCode = endCode + 1;
                m_codeBits = codeSize + 1;
                m_codeLimit = 1 << m_codeBits;
                ClearTable();
            }
            else
            {
                slot = (m_generation << 12) | std::uint32_t(m_nextCode++);
            }
        }
        Emit(prefix);
    }
    Emit(endCode);
    // The last partial byte, then the last sub-block and the terminator.
    if (m_bitCount > 0)
    {
        m_bitCount = 8;
        FlushBits();
    }
    if (m_block[0] > 0)
        out.insert(out.end(), m_block, m_block + 1 + m_block[0]);
    out.push_back(0);
    m_out = nullptr;
}
