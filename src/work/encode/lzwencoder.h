#ifndef LOOPFORGE_WORK_LZWENCODER_H
#define LOOPFORGE_WORK_LZWENCODER_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

// Compresses palette indices into a GIF image-data block: the minimum code
// size byte, the LZW codes in data sub-blocks of up to 255 bytes and the
// zero-length terminator. With a code size of 8 the codes are the ones the
// toolkit's GIF encoder emits (same table growth, same clear points), so the
// classic export keeps its bytes. One encoder per thread; it keeps its table
// between calls to spare the allocation.
class LzwEncoder
{
public:
    LzwEncoder();

    // Appends the block for count indices to out. Every index must be below
    // 2^codeSize; codeSize is 2 to 8.
    void Encode(const std::uint8_t* indices, std::size_t count, int codeSize,
                std::vector<std::uint8_t>& out);

private:
    void ClearTable();
    void Emit(int code);
    void FlushBits();

    // The code of each (prefix code, pixel) string, one slot per pair, with
    // the table's generation above the code: clearing the table only starts
    // a new generation. Zeroed memory from the system, so that pages no
    // frame reaches are never touched.
    struct Free
    {
        void operator()(std::uint32_t* table) const { std::free(table); }
    };
    std::unique_ptr<std::uint32_t[], Free> m_table;
    std::uint32_t m_generation = 0;

    std::vector<std::uint8_t>* m_out = nullptr;
    std::uint8_t m_block[256];  // length byte and up to 255 data bytes
    std::uint32_t m_bits = 0;   // bits not yet written, lowest first
    int m_bitCount = 0;
    int m_codeBits = 0;
    int m_nextCode = 0;
    int m_codeLimit = 0;  // 1 << m_codeBits
};

#endif
