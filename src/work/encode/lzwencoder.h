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

    // Lossy matching for the blocks encoded from now on: where the table
    // lacks the string of the next pixel, a string ending in another entry
    // of palette (count colours) no farther than maxError from the pixel's
    // entry (distance in RGB) serves instead, so strings grow longer. Of
    // those, the one nearest the colour wanted there (target, RGB per
    // index to be encoded; null: the pixel's entry) is taken, and only when
    // it adds at most addedError squared to that pixel's squared error. The
    // transparent entry (-1: none) is never given nor taken for another. A
    // maxError of 0 turns it off: the codes are exact again.
    void SetLossy(const std::uint8_t* palette, int count, int transparentIndex, int maxError,
                  int addedError, const std::uint8_t* target);

private:
    void ClearTable();
    void Emit(int code);
    void FlushBits();
    bool TakeNear(int& prefix, std::uint8_t pixel, std::size_t position);

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

    // For lossy matching, the entries that may stand for each entry, nearest
    // first: m_near[i * kMaxNear ...], m_nearCount[i] of them.
    static constexpr int kMaxNear = 24;
    bool m_lossy = false;
    const std::uint8_t* m_palette = nullptr;
    const std::uint8_t* m_target = nullptr;
    int m_addedError = 0;
    long long m_runAdded = 0;  // squared error the lossy codes added to the current string
    long long m_runLength = 0;
    std::vector<std::uint8_t> m_near;
    std::uint8_t m_nearCount[256] = {};
};

#endif
