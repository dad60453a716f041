#include "decode/bmpcheck.h"

#include <cstdint>

namespace
{
const int kCompressionNone = 0;
const int kCompressionRle8 = 1;
const int kCompressionRle4 = 2;

std::uint32_t LittleEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) |
           p[0];
}

// Walks a run-length stream the way the toolkit's reader consumes it.
class RleWalker
{
public:
    RleWalker(const unsigned char* data, std::size_t size, std::size_t pos, long width,
              int bitsPerPixel, unsigned colourCount)
        : m_data(data),
          m_size(size),
          m_pos(pos),
          m_width(width),
          m_rle4(bitsPerPixel == 4),
          m_colourCount(colourCount)
    {
    }

    bool IsSafe()
    {
        long column = 0;
        unsigned char first = 0, second = 0;
        // Data that ends early is safe: the reader then stops or repeats bounded runs.
        while (Next(first) && Next(second))
        {
            if (column >= m_width)
                column = 0;  // a full row continues on the next one
            if (first != 0)
            {
                // Encoded run: the reader stops it at the row's end.
                if (!IndexKnown(m_rle4 ? second >> 4 : second) ||
                    (m_rle4 && first > 1 && !IndexKnown(second & 0x0F)))
                    return false;
                column += first;
                continue;
            }
            if (second == 0)
                column = 0;  // end of row
            else if (second == 1)
                return true;  // end of picture
            else if (second == 2)
            {
                unsigned char dx = 0, dy = 0;
                if (!Next(dx) || !Next(dy))
                    return true;
                column += dx;
                if (dy != 0 || column > m_width)
                    return false;
            }
            else if (!LiteralRun(second, column))
                return false;
        }
        return true;
    }

private:
    bool Next(unsigned char& byte)
    {
        if (m_pos >= m_size)
            return false;
        byte = m_data[m_pos++];
        return true;
    }

    bool IndexKnown(unsigned index) const { return index < m_colourCount; }

    bool LiteralRun(unsigned count, long& column)
    {
        if (column + static_cast<long>(count) > m_width)
            return false;
        const unsigned bytes = m_rle4 ? (count + 1) / 2 : count;
        for (unsigned i = 0; i < bytes; ++i)
        {
            unsigned char byte = 0;
            if (!Next(byte))
                return true;
            if (m_rle4)
            {
                const bool secondNibbleUsed = 2 * i + 1 < count;
                if (!IndexKnown(byte >> 4) || (secondNibbleUsed && !IndexKnown(byte & 0x0F)))
                    return false;
            }
            else if (!IndexKnown(byte))
                return false;
        }
        column += count;
        if (bytes % 2 == 1)
            m_pos++;  // runs are padded to an even number of bytes
        return true;
    }

    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_pos;
    long m_width;
    bool m_rle4;
    unsigned m_colourCount;
};

bool UncompressedIndicesKnown(const unsigned char* data, std::size_t size, std::size_t pos,
                              long width, long height, int bitsPerPixel, unsigned colourCount)
{
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
    const unsigned mask = (1u << bitsPerPixel) - 1;
    for (long y = 0; y < height; ++y)
    {
        const std::size_t rowStart = pos + static_cast<std::size_t>(y) * rowBytes;
        for (long x = 0; x < width; ++x)
        {
            const std::size_t bit = static_cast<std::size_t>(x) * bitsPerPixel;
            if (rowStart + bit / 8 >= size)
                return true;  // the reader stops at the end of the data
            const unsigned byte = data[rowStart + bit / 8];
            const unsigned index = (byte >> (8 - bitsPerPixel - bit % 8)) & mask;
            if (index >= colourCount)
                return false;
        }
    }
    return true;
}
}  // namespace

bool IsBmpSafeToDecode(const unsigned char* data, std::size_t size)
{
    if (size < 30 || data[0] != 'B' || data[1] != 'M')
        return false;
    const std::uint32_t pixelOffset = LittleEndian32(data + 10);
    const std::uint32_t headerSize = LittleEndian32(data + 14);
    if (headerSize == 12)
        return true;  // the oldest header: uncompressed, full colour tables
    if (headerSize < 40 || size < 14 + 40)
        return false;

    const long width = static_cast<std::int32_t>(LittleEndian32(data + 18));
    const long height = static_cast<std::int32_t>(LittleEndian32(data + 22));
    const int bitsPerPixel = data[28] | (data[29] << 8);
    const int compression = static_cast<int>(LittleEndian32(data + 30));
    const std::uint32_t coloursUsed = LittleEndian32(data + 46);
    if (width <= 0 || height == 0)
        return false;
    if (bitsPerPixel > 8)
        return compression != kCompressionRle4 && compression != kCompressionRle8;
    // The toolkit reads 1, 4 and 8 bits per pixel only; other depths (whose
    // pixels may straddle bytes) are not walked at all.
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8)
        return false;

    const unsigned fullTable = 1u << bitsPerPixel;
    const unsigned colourCount =
        coloursUsed == 0 || coloursUsed > fullTable ? fullTable : coloursUsed;
    if (pixelOffset >= size)
        return true;  // no pixel data: the reader finds nothing to decode

    if (compression == kCompressionRle8 || compression == kCompressionRle4)
    {
        const int expectedBits = compression == kCompressionRle8 ? 8 : 4;
        if (bitsPerPixel != expectedBits || height < 0)
            return false;
        return RleWalker(data, size, pixelOffset, width, bitsPerPixel, colourCount).IsSafe();
    }
    if (compression != kCompressionNone || colourCount == fullTable)
        return true;
    return UncompressedIndicesKnown(data, size, pixelOffset, width, height < 0 ? -height : height,
                                    bitsPerPixel, colourCount);
}
