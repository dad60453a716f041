#ifndef LOOPFORGE_WORK_NEARESTCOLOUR_H
#define LOOPFORGE_WORK_NEARESTCOLOUR_H

#include <cstdint>
#include <vector>

// Finds the palette entry nearest to a colour (squared distance in RGB; the
// lowest index among equals), exactly, without comparing against every
// entry: colour space is cut into 16 x 16 x 16 cells, and each cell lists,
// sorted by how near they can come, only the entries that can be nearest to
// some colour inside it. Cells are worked out on first use. Reusable: Reset
// for each new palette keeps the memory.
class NearestColour
{
public:
    NearestColour();

    // rgb holds count entries (at most 256) as red, green, blue triples.
    // rank, when given, breaks ties between equally near entries instead
    // of their index (lowest rank first), so that a palette can be put in
    // another order without changing the colour any pixel gets. The same
    // palette again keeps what was worked out for it.
    void Reset(const std::uint8_t* rgb, int count, const std::uint8_t* rank = nullptr);

    int Find(int red, int green, int blue, int* distance = nullptr);

    int Count() const { return m_count; }
    const std::uint8_t* Entry(int index) const { return &m_rgb[3 * index]; }

private:
    static constexpr int kCells = 16 * 16 * 16;

    void BuildCell(int cell);

    int m_count = 0;
    std::uint8_t m_rgb[256 * 3] = {};
    std::uint8_t m_rank[256] = {};
    // The entries by channel, padded to 256 with entries far outside colour
    // space, so that the loops over them have a fixed length and vectorise.
    alignas(32) std::int32_t m_channel[3][256] = {};
    std::vector<std::int32_t> m_cellStart;  // -1 until built
    std::vector<std::uint16_t> m_cellLength;
    std::vector<std::uint8_t> m_candidates;
    std::vector<std::int32_t> m_candidateBound;  // the nearest distance each candidate can have
    // The last answers, by colour: pictures repeat colours a lot.
    std::vector<std::uint32_t> m_cacheKey;
    std::vector<std::uint8_t> m_cacheIndex;
    std::vector<std::int32_t> m_cacheDistance;
};

#endif
