#include "encode/nearestcolour.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>

namespace
{
const std::uint32_t kCacheSize = 1 << 14;
const std::uint32_t kNoKey = 0xFFFFFFFFu;

int Square(int value)
{
    return value * value;
}

// Squared distance from value to the span [low, high] of one channel, and to its far end.
int NearSquare(int value, int low, int high)
{
    return value < low ? Square(low - value) : value > high ? Square(value - high) : 0;
}

int FarSquare(int value, int low, int high)
{
    return Square(std::max(value - low, high - value));
}
}  // namespace

NearestColour::NearestColour()
    : m_cellStart(kCells, -1),
      m_cellLength(kCells, 0),
      m_cacheKey(kCacheSize, kNoKey),
      m_cacheIndex(kCacheSize, 0),
      m_cacheDistance(kCacheSize, 0)
{
}

void NearestColour::Reset(const std::uint8_t* rgb, int count, const std::uint8_t* rank)
{
    std::uint8_t ranks[256];
    count = std::clamp(count, 0, 256);
    if (rank)
        std::memcpy(ranks, rank, std::size_t(count));
    else
        std::iota(ranks, ranks + count, 0);
    // Frames that share a palette share the cells and answers worked out so far.
    if (count == m_count && std::memcmp(m_rgb, rgb, std::size_t(m_count) * 3) == 0 &&
        std::memcmp(m_rank, ranks, std::size_t(m_count)) == 0)
        return;
    m_count = count;
    std::memcpy(m_rgb, rgb, std::size_t(m_count) * 3);
    std::memcpy(m_rank, ranks, std::size_t(m_count));
    std::fill(m_cellStart.begin(), m_cellStart.end(), -1);
    m_candidates.clear();
    m_candidateBound.clear();
    std::fill(m_cacheKey.begin(), m_cacheKey.end(), kNoKey);
}

void NearestColour::BuildCell(int cell)
{
    const int low[3] = {(cell >> 8) * 16, ((cell >> 4) & 15) * 16, (cell & 15) * 16};
    // bound: the least distance within which some entry lies from every
    // colour of the cell. Only an entry nearer to the cell than the bound so
    // far can lower it, so the far distances of the others are never needed.
    int nearest[256];
    int closest = 0;
    for (int i = 0; i < m_count; ++i)
    {
        const std::uint8_t* entry = Entry(i);
        nearest[i] = NearSquare(entry[0], low[0], low[0] + 15) +
                     NearSquare(entry[1], low[1], low[1] + 15) +
                     NearSquare(entry[2], low[2], low[2] + 15);
        if (nearest[i] < nearest[closest])
            closest = i;
    }
    auto farthest = [&](int i)
    {
        const std::uint8_t* entry = Entry(i);
        return FarSquare(entry[0], low[0], low[0] + 15) + FarSquare(entry[1], low[1], low[1] + 15) +
               FarSquare(entry[2], low[2], low[2] + 15);
    };
    int bound = farthest(closest);
    for (int i = 0; i < m_count; ++i)
        if (nearest[i] < bound)
            bound = std::min(bound, farthest(i));
    std::uint8_t order[256];
    int length = 0;
    for (int i = 0; i < m_count; ++i)
        if (nearest[i] <= bound)
            order[length++] = static_cast<std::uint8_t>(i);
    std::sort(order, order + length,
              [&](std::uint8_t a, std::uint8_t b) {
                  return nearest[a] != nearest[b] ? nearest[a] < nearest[b] : m_rank[a] < m_rank[b];
              });
    m_cellStart[cell] = static_cast<std::int32_t>(m_candidates.size());
    m_cellLength[cell] = static_cast<std::uint16_t>(length);
    for (int i = 0; i < length; ++i)
    {
        m_candidates.push_back(order[i]);
        m_candidateBound.push_back(nearest[order[i]]);
    }
}

int NearestColour::Find(int red, int green, int blue, int* distance)
{
    if (m_count == 0)
    {
        if (distance)
            *distance = 0;
        return 0;
    }
    const std::uint32_t key = (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | blue;
    const std::uint32_t slot = (key * 2654435761u) >> 18;
    if (m_cacheKey[slot] == key)
    {
        if (distance)
            *distance = m_cacheDistance[slot];
        return m_cacheIndex[slot];
    }

    const int cell = ((red >> 4) << 8) | ((green >> 4) << 4) | (blue >> 4);
    if (m_cellStart[cell] < 0)
        BuildCell(cell);
    const std::uint8_t* candidate = m_candidates.data() + m_cellStart[cell];
    const std::int32_t* bound = m_candidateBound.data() + m_cellStart[cell];
    const int length = m_cellLength[cell];
    int best = candidate[0];
    int bestDistance = INT_MAX;
    for (int i = 0; i < length; ++i)
    {
        if (bound[i] > bestDistance)
            break;
        const std::uint8_t* entry = Entry(candidate[i]);
        const int d = Square(entry[0] - red) + Square(entry[1] - green) + Square(entry[2] - blue);
        if (d < bestDistance || (d == bestDistance && m_rank[candidate[i]] < m_rank[best]))
        {
            best = candidate[i];
            bestDistance = d;
        }
    }
    m_cacheKey[slot] = key;
    m_cacheIndex[slot] = static_cast<std::uint8_t>(best);
    m_cacheDistance[slot] = bestDistance;
    if (distance)
        *distance = bestDistance;
    return best;
}
