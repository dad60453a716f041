#include "encode/nearestcolour.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>

namespace
{
const std::uint32_t kCacheSize = 1 << 14;
const std::uint32_t kNoKey = 0xFFFFFFFFu;
// The channel value of the entries that pad a palette to 256: no colour is near them.
const std::int32_t kFarAway = 4096;

int Square(int value)
{
    return value * value;
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
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i)
            m_channel[c][i] = i < m_count ? m_rgb[3 * i + c] : kFarAway;
    std::memcpy(m_rank, ranks, std::size_t(m_count));
    std::fill(m_cellStart.begin(), m_cellStart.end(), -1);
    m_candidates.clear();
    m_candidateBound.clear();
    std::fill(m_cacheKey.begin(), m_cacheKey.end(), kNoKey);
}

void NearestColour::BuildCell(int cell)
{
    const int low[3] = {(cell >> 8) * 16, ((cell >> 4) & 15) * 16, (cell & 15) * 16};
    // nearest: how near each entry comes to the cell. bound: the least
    // distance within which some entry lies from every colour of the cell,
    // the least of the entries' far distances; entries nearer than it are
    // the candidates.
    alignas(32) std::int32_t nearest[256];
    alignas(32) std::int32_t farthest[256];
    for (int i = 0; i < 256; ++i)
    {
        nearest[i] = 0;
        farthest[i] = 0;
    }
    for (int c = 0; c < 3; ++c)
    {
        const std::int32_t* value = m_channel[c];
        const std::int32_t first = low[c], last = low[c] + 15;
        for (int i = 0; i < 256; ++i)
        {
            const std::int32_t below = std::max(first - value[i], 0);
            const std::int32_t above = std::max(value[i] - last, 0);
            const std::int32_t near = below + above;
            const std::int32_t far = std::max(value[i] - first, last - value[i]);
            nearest[i] += near * near;
            farthest[i] += far * far;
        }
    }
    std::int32_t bound = INT_MAX;
    for (int i = 0; i < 256; ++i)
        bound = std::min(bound, farthest[i]);
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
