#include "encode/palettebuilder.h"

#include "encode/nearestcolour.h"

#include <algorithm>
#include <cmath>

namespace
{
// Up to this many distinct colours are kept exactly, with their counts.
const std::size_t kMaxDistinctColours = 16384;
const std::uint32_t kColourSlots = 32768;
const std::uint32_t kCellCount = 1u << 18;
// Sums of a cell stay within 32 bits up to this many samples.
const std::size_t kMaxSamples = 16u << 20;
const int kRefinements = 4;
// Boxes of more points than this are only cut across their widest channel.
const std::size_t kLargeBox = 4096;

std::uint32_t ColourKey(const std::uint8_t* rgb)
{
    return (1u << 24) | (std::uint32_t(rgb[0]) << 16) | (std::uint32_t(rgb[1]) << 8) | rgb[2];
}

std::uint32_t CellOf(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return ((red >> 2) << 12) | ((green >> 2) << 6) | (blue >> 2);
}

int BinOf(float value)
{
    return std::clamp(static_cast<int>(value), 0, 255);
}

// Rounds half away from zero, as std::lround, which costs far more; exact
// for every float, since a float plus 0.5 is exact in double.
std::uint8_t ToChannel(float value)
{
    if (!(value > 0))
        return 0;
    if (value >= 255)
        return 255;
    return static_cast<std::uint8_t>(static_cast<int>(double(value) + 0.5));
}

// A box of the median cut: a range of points and its spread.
struct Box
{
    std::size_t begin, end;
    double weight;
    double mean[3];
    double error[3];  // weighted sum of squared deviations per channel
    double gain = 0;  // how much error the best cut removes
    int cutChannel = 0;
    int cutBin = 0;  // the cut keeps whole values up to this one on the first side

    double Total() const { return error[0] + error[1] + error[2]; }
};

template <typename It>
Box Measure(It first, std::size_t begin, std::size_t end)
{
    Box box{begin, end, 0, {0, 0, 0}, {0, 0, 0}, 0, 0, 0};
    double sum[3] = {0, 0, 0}, squares[3] = {0, 0, 0};
    for (std::size_t i = begin; i < end; ++i)
    {
        const auto& point = first[i];
        box.weight += point.weight;
        for (int c = 0; c < 3; ++c)
        {
            sum[c] += point.weight * point.rgb[c];
            squares[c] += point.weight * point.rgb[c] * point.rgb[c];
        }
    }
    for (int c = 0; c < 3; ++c)
    {
        box.mean[c] = box.weight > 0 ? sum[c] / box.weight : 0;
        box.error[c] = std::max(0.0, squares[c] - sum[c] * box.mean[c]);
    }
    return box;
}
}  // namespace

void PaletteBuilder::Reset(int maxColours, std::size_t expectedPixels)
{
    // The tables are made on first use: an encoder of the classic export never needs them.
    if (m_cells.empty())
    {
        m_colourKeys.assign(kColourSlots, 0);
        m_colourCounts.assign(kColourSlots, 0);
        m_cells.assign(kCellCount, Cell{0, 0, 0, 0});
    }
    m_maxColours = std::clamp(maxColours, 1, 256);
    m_sampleStep = static_cast<std::uint32_t>(expectedPixels / kMaxSamples + 1);
    m_sampleCountdown = 0;
    for (std::uint32_t slot : m_usedSlots)
        m_colourKeys[slot] = m_colourCounts[slot] = 0;
    m_usedSlots.clear();
    m_tooManyColours = false;
    for (std::uint32_t cell : m_touched)
        m_cells[cell] = Cell{0, 0, 0, 0};
    m_touched.clear();
}

void PaletteBuilder::AddToCells(const std::uint8_t* rgb, std::uint32_t count)
{
    const std::uint32_t index = CellOf(rgb[0], rgb[1], rgb[2]);
    Cell& cell = m_cells[index];
    if (cell.count == 0)
        m_touched.push_back(index);
    cell.count += count;
    cell.red += rgb[0] * count;
    cell.green += rgb[1] * count;
    cell.blue += rgb[2] * count;
}

void PaletteBuilder::MoveColoursToCells()
{
    m_tooManyColours = true;
    for (std::uint32_t slot : m_usedSlots)
    {
        const std::uint32_t key = m_colourKeys[slot];
        const std::uint8_t rgb[3] = {std::uint8_t(key >> 16), std::uint8_t(key >> 8),
                                     std::uint8_t(key)};
        AddToCells(rgb, std::max<std::uint32_t>(1, m_colourCounts[slot] / m_sampleStep));
    }
}

void PaletteBuilder::Add(const std::uint8_t* rgb)
{
    if (m_tooManyColours)
    {
        if (m_sampleCountdown > 0)
        {
            --m_sampleCountdown;
            return;
        }
        m_sampleCountdown = m_sampleStep - 1;
        AddToCells(rgb, 1);
        return;
    }
    const std::uint32_t key = ColourKey(rgb);
    std::uint32_t slot = (key * 2654435761u) >> 17;
    while (m_colourKeys[slot] != 0 && m_colourKeys[slot] != key)
        slot = (slot + 1) & (kColourSlots - 1);
    if (m_colourKeys[slot] == 0)
    {
        m_colourKeys[slot] = key;
        m_usedSlots.push_back(slot);
    }
    ++m_colourCounts[slot];
    if (m_usedSlots.size() == kMaxDistinctColours)
        MoveColoursToCells();
}

void PaletteBuilder::MedianCut(std::vector<Point>& points, int colours,
                               std::vector<float>& entries) const
{
    // The best cut of a box: along each channel in turn (for a large box only
    // along the channel that spreads most), the place where the two halves
    // hold the least error together. The points are binned by the channel's
    // whole value, so that one pass and a scan of the bins find it, where
    // sorting the points would take far longer.
    auto plan = [&points](Box& box)
    {
        struct Bin
        {
            double weight, sum[3], squares[3];
        };
        Bin bins[256];
        box.gain = 0;
        if (box.end - box.begin < 2)
            return;
        const int widest = int(std::max_element(box.error, box.error + 3) - box.error);
        const bool large = box.end - box.begin > kLargeBox;
        for (int channel = 0; channel < 3; ++channel)
        {
            if (box.error[channel] <= 0 || (large && channel != widest))
                continue;
            int low = 255, high = 0;
            for (std::size_t i = box.begin; i < box.end; ++i)
            {
                const int bin = BinOf(points[i].rgb[channel]);
                low = std::min(low, bin);
                high = std::max(high, bin);
            }
            std::fill(bins + low, bins + high + 1, Bin{0, {0, 0, 0}, {0, 0, 0}});
            for (std::size_t i = box.begin; i < box.end; ++i)
            {
                const Point& point = points[i];
                Bin& bin = bins[BinOf(point.rgb[channel])];
                bin.weight += point.weight;
                for (int c = 0; c < 3; ++c)
                {
                    bin.sum[c] += point.weight * point.rgb[c];
                    bin.squares[c] += point.weight * point.rgb[c] * point.rgb[c];
                }
            }
            double weight = 0, sum[3] = {0, 0, 0}, squares[3] = {0, 0, 0};
            for (int b = low; b < high; ++b)
            {
                if (bins[b].weight <= 0)
                    continue;
                weight += bins[b].weight;
                for (int c = 0; c < 3; ++c)
                {
                    sum[c] += bins[b].sum[c];
                    squares[c] += bins[b].squares[c];
                }
                const double rest = box.weight - weight;
                double error = 0;
                for (int c = 0; c < 3; ++c)
                {
                    const double total = box.mean[c] * box.weight;
                    const double restSum = total - sum[c];
                    const double restSquares = box.error[c] + total * box.mean[c] - squares[c];
                    error += squares[c] - sum[c] * sum[c] / weight + restSquares -
                             restSum * restSum / rest;
                }
                const double gain = box.Total() - error;
                if (gain > box.gain)
                {
                    box.gain = gain;
                    box.cutChannel = channel;
                    box.cutBin = b;
                }
            }
        }
    };

    std::vector<Box> boxes{Measure(points.begin(), 0, points.size())};
    plan(boxes.back());
    while (static_cast<int>(boxes.size()) < colours)
    {
        auto best = std::max_element(boxes.begin(), boxes.end(),
                                     [](const Box& a, const Box& b) { return a.gain < b.gain; });
        if (best->gain <= 0)
            break;
        const Box box = *best;
        const auto middle = std::partition(points.begin() + box.begin, points.begin() + box.end,
                                           [&box](const Point& p)
                                           { return BinOf(p.rgb[box.cutChannel]) <= box.cutBin; });
        const std::size_t split = std::size_t(middle - points.begin());
        *best = Measure(points.begin(), box.begin, split);
        plan(*best);
        boxes.push_back(Measure(points.begin(), split, box.end));
        plan(boxes.back());
    }
    entries.clear();
    for (const Box& box : boxes)
        entries.insert(entries.end(), {float(box.mean[0]), float(box.mean[1]), float(box.mean[2])});
}

bool PaletteBuilder::Build(GifPalette& palette, NearestColour& search)
{
    palette.count = 0;
    std::vector<Point> points;
    if (!m_tooManyColours)
    {
        std::vector<std::uint32_t> colours;
        for (std::uint32_t slot : m_usedSlots)
            colours.push_back(m_colourKeys[slot] & 0xFFFFFF);
        std::sort(colours.begin(), colours.end());
        if (static_cast<int>(colours.size()) <= m_maxColours)
        {
            // Every colour fits: keep them exactly, the most used first.
            std::vector<std::pair<std::uint32_t, std::uint32_t>> used;  // count, colour
            for (std::uint32_t slot : m_usedSlots)
                used.emplace_back(m_colourCounts[slot], m_colourKeys[slot] & 0xFFFFFF);
            std::sort(used.begin(), used.end(),
                      [](const auto& a, const auto& b)
                      { return a.first != b.first ? a.first > b.first : a.second < b.second; });
            for (const auto& [count, colour] : used)
                palette.Add(std::uint8_t(colour >> 16), std::uint8_t(colour >> 8),
                            std::uint8_t(colour));
            return true;
        }
        for (std::uint32_t colour : colours)
        {
            std::uint32_t slot = ((colour | (1u << 24)) * 2654435761u) >> 17;
            while (m_colourKeys[slot] != (colour | (1u << 24)))
                slot = (slot + 1) & (kColourSlots - 1);
            points.push_back(
                {{float(colour >> 16), float((colour >> 8) & 0xFF), float(colour & 0xFF)},
                 float(m_colourCounts[slot])});
        }
    }
    else
    {
        points.reserve(m_touched.size());
        std::sort(m_touched.begin(), m_touched.end());
        for (std::uint32_t index : m_touched)
        {
            const Cell& cell = m_cells[index];
            const float weight = float(cell.count);
            points.push_back(
                {{cell.red / weight, cell.green / weight, cell.blue / weight}, weight});
        }
    }
    std::vector<float> entries;
    MedianCut(points, m_maxColours, entries);
    const int count = static_cast<int>(entries.size() / 3);

    std::vector<double> sums(std::size_t(count) * 4);
    std::uint8_t rgb[256 * 3];
    // Each point as the colour that is searched for, in every round.
    std::vector<std::uint8_t> rounded(points.size() * 3);
    for (std::size_t i = 0; i < points.size(); ++i)
        for (int c = 0; c < 3; ++c)
            rounded[3 * i + c] = ToChannel(points[i].rgb[c]);
    for (int round = 0; round <= kRefinements; ++round)
    {
        for (int i = 0; i < 3 * count; ++i)
            rgb[i] = ToChannel(entries[i]);
        if (round == kRefinements)
            break;
        search.Reset(rgb, count);
        std::fill(sums.begin(), sums.end(), 0.0);
        for (std::size_t i = 0; i < points.size(); ++i)
        {
            const Point& point = points[i];
            const int nearest =
                search.Find(rounded[3 * i], rounded[3 * i + 1], rounded[3 * i + 2]);
            double* sum = &sums[std::size_t(nearest) * 4];
            sum[0] += point.weight;
            for (int c = 0; c < 3; ++c)
                sum[c + 1] += point.weight * point.rgb[c];
        }
        for (int i = 0; i < count; ++i)
        {
            const double* sum = &sums[std::size_t(i) * 4];
            if (sum[0] > 0)
                for (int c = 0; c < 3; ++c)
                    entries[3 * i + c] = float(sum[c + 1] / sum[0]);
        }
    }
    // The most used entries first.
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        order[std::size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&sums](int a, int b)
                     { return sums[std::size_t(a) * 4] > sums[std::size_t(b) * 4]; });
    for (int i : order)
        palette.Add(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return false;
}
