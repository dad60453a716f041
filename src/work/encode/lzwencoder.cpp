#include "encode/lzwencoder.h"

#include <algorithm>
#include <new>

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
        for (std::size_t i = 1; i < count; ++i)
        {
            const std::uint8_t pixel = indices[i];
            std::uint32_t& slot = m_table[(std::size_t(prefix) << 8) | pixel];
            if ((slot >> 12) == m_generation)
            {
                prefix = int(slot & 0xFFF);
                continue;
            }
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
