#include "encode/gifframeencoder.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace
{
// What a byte of a colour table is worth in squared error (summed over the
// pixels and channels of a frame): a later frame that the shared palette
// serves worse than the frames it was made from gets a table of its own
// only when that removes more error than this per byte of the table.
const double kErrorPerByte = 16;
// A frame that changes fewer pixels than this keeps the shared palette: its
// own table would cost a good part of the frame's bytes. Small changes (a
// key typed, a pointer moved) tend to be edges the shared palette serves
// worse the fewer its colours, so tables for them would also make fewer
// colours cost more bytes than more colours.
const std::size_t kLeastPixelsForTable = 4096;
// A frame brings colours the shared palette lacks when it lands this much
// farther from it than the frames it was made from. Frames like those
// land within a few percent: over a large frame that still adds up to more
// than a table costs, yet a table of their own would buy nothing visible.
const double kNewColours = 1.25;
// The error of a palette is judged from about this many pixels, and
// whether it serves a frame from about this many of the frame's.
const std::size_t kErrorSamples = 60000;
const std::size_t kDecisionSamples = 4096;

// How many colours a palette may hold beside a transparent entry: the
// transparent entry comes on top, unless that would pass 256 entries.
int ColourCapacity(int colours, bool transparent)
{
    return transparent ? std::min(colours, 255) : colours;
}

int SampleStep(std::size_t pixels)
{
    return static_cast<int>(pixels / kErrorSamples + 1);
}

// Every how many pixels a frame's error under the shared palette is taken:
// a few thousand judge it well enough. Odd, so that the pixels taken wander
// across the columns instead of staying in a few.
int DecisionStep(std::size_t pixels)
{
    return static_cast<int>(pixels / kDecisionSamples) | 1;
}
}  // namespace

bool ClearsBeforeNext(const std::uint8_t* before, const std::uint8_t* after, std::size_t pixels)
{
    if (!after)
        return false;
    for (std::size_t i = 0; i < pixels; ++i)
        if (!after[i] && (!before || before[i]))
            return true;
    return false;
}

GifFrameEncoder::GifFrameEncoder(int width, int height, const GifOptions& options)
    : m_width(width), m_height(height), m_options(options)
{
}

int GifFrameEncoder::CodeSize(const std::vector<std::uint8_t>& indices)
{
    // The codes need only cover the entries the frame uses, however large its table.
    const std::uint8_t largest =
        indices.empty() ? 0 : *std::max_element(indices.begin(), indices.end());
    return std::max(2, GifTableBits(largest + 1));
}

bool GifFrameEncoder::EncodeClassic(const std::uint8_t* rgb, int index, int delay,
                                    std::vector<std::uint8_t>& out)
{
    if (!m_classic.Reduce(rgb, m_width, m_height))
        return false;
    if (index == 0)
        AppendGifHeader(out, m_width, m_height, m_classic.Palette(), m_options.loopCount);
    GifFrameBlock block;
    block.width = m_width;
    block.height = m_height;
    block.indices = m_classic.Indices().data();
    block.localTable = index == 0 ? nullptr : &m_classic.Palette();
    block.delay = delay;
    block.codeSize = 8;
    AppendGifFrame(out, block, m_lzw);
    return true;
}

GifFrameEncoder::Rect GifFrameEncoder::ChangedRect(const std::uint8_t* rgb,
                                                   const std::uint8_t* previous) const
{
    const std::size_t rowBytes = std::size_t(m_width) * 3;
    auto rowDiffers = [&](int y)
    { return std::memcmp(rgb + y * rowBytes, previous + y * rowBytes, rowBytes) != 0; };
    int top = 0;
    while (top < m_height && !rowDiffers(top))
        ++top;
    if (top == m_height)
        return Rect{0, 0, 0, 0};
    int bottom = m_height - 1;
    while (!rowDiffers(bottom))
        --bottom;
    int left = m_width, right = -1;
    for (int y = top; y <= bottom; ++y)
    {
        const std::uint8_t* a = rgb + y * rowBytes;
        const std::uint8_t* b = previous + y * rowBytes;
        for (int x = 0; x < left; ++x)
            if (std::memcmp(a + 3 * x, b + 3 * x, 3) != 0)
            {
                left = x;
                break;
            }
        for (int x = m_width - 1; x > right; --x)
            if (std::memcmp(a + 3 * x, b + 3 * x, 3) != 0)
            {
                right = x;
                break;
            }
    }
    return Rect{left, top, right - left + 1, bottom - top + 1};
}

std::size_t GifFrameEncoder::MarkUnchanged(const std::uint8_t* rgb, const std::uint8_t* previous,
                                           const Rect& rect)
{
    m_keep.resize(std::size_t(rect.width) * rect.height);
    std::size_t kept = 0;
    std::uint8_t* keep = m_keep.data();
    for (int y = 0; y < rect.height; ++y)
    {
        const std::size_t offset = (std::size_t(rect.top + y) * m_width + rect.left) * 3;
        const std::uint8_t* a = rgb + offset;
        const std::uint8_t* b = previous + offset;
        for (int x = 0; x < rect.width; ++x, a += 3, b += 3)
        {
            const bool same = a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
            *keep++ = same ? 1 : 0;
            kept += same;
        }
    }
    return kept;
}

// Marks which pixels the frame draws and which it leaves to the screen (in
// m_keep, over rect): the screen holds the frame before, or nothing where
// that frame cleared its area or for the first frame. A frame that clears
// its area afterwards covers every pixel it leaves opaque, so that nothing
// stays behind. Returns how many pixels of rect are left to the screen.
std::size_t GifFrameEncoder::MarkToDraw(const std::uint8_t* rgb, const std::uint8_t* previous,
                                        const FrameOpacity& opacity, bool clears, Rect& rect)
{
    const std::size_t pixels = std::size_t(m_width) * m_height;
    const bool screenEmpty = !previous || ClearsBeforeNext(opacity.previous, opacity.frame, pixels);
    auto opaque = [&](std::size_t i) { return !opacity.frame || opacity.frame[i]; };
    auto draws = [&](std::size_t i)
    {
        if (!opaque(i))
            return false;
        if (!m_options.onlyChanges || screenEmpty || (opacity.previous && !opacity.previous[i]))
            return true;
        return std::memcmp(rgb + 3 * i, previous + 3 * i, 3) != 0;
    };

    if (!previous || !m_options.onlyChanges)
    {
        rect = Rect{0, 0, m_width, m_height};
    }
    else
    {
        int left = m_width, top = m_height, right = -1, bottom = -1;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
            {
                const std::size_t i = std::size_t(y) * m_width + x;
                if (draws(i) || (clears && opaque(i)))
                {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        // Nothing to draw: one pixel left as it is keeps the frame and its delay.
        rect = right < 0 ? Rect{0, 0, 1, 1} : Rect{left, top, right - left + 1, bottom - top + 1};
    }

    m_keep.resize(std::size_t(rect.width) * rect.height);
    std::size_t kept = 0;
    std::uint8_t* keep = m_keep.data();
    for (int y = 0; y < rect.height; ++y)
        for (int x = 0; x < rect.width; ++x)
        {
            const bool same = !draws(std::size_t(rect.top + y) * m_width + rect.left + x);
            *keep++ = same ? 1 : 0;
            kept += same;
        }
    return kept;
}

void GifFrameEncoder::CollectColours(const MapRegion& region, int capacity)
{
    m_builder.Reset(capacity, std::size_t(region.width) * region.height);
    const std::uint8_t* keep = region.keep;
    for (int y = 0; y < region.height; ++y)
    {
        const std::uint8_t* p =
            region.rgb + (std::size_t(region.top + y) * region.frameWidth + region.left) * 3;
        for (int x = 0; x < region.width; ++x, p += 3)
            if (!keep || !*keep++)
                m_builder.Add(p);
    }
}

void GifFrameEncoder::StartSharedPalette(int frames, bool transparent)
{
    // Later frames need an entry for "unchanged" beside the colours.
    m_sharedTransparent = m_options.onlyChanges || transparent;
    const int colours = std::clamp(m_options.colours, kMinGifColours, kMaxGifColours);
    m_builder.Reset(ColourCapacity(colours, m_sharedTransparent),
                    std::size_t(m_width) * m_height * std::max(frames, 1));
    m_errorSamples.clear();
    m_changeSamples.clear();
    m_lastSample.clear();
    m_lastSampleOpacity.clear();
}

void GifFrameEncoder::AddToSharedPalette(const std::uint8_t* rgb, const std::uint8_t* opacity)
{
    const std::size_t pixels = std::size_t(m_width) * m_height;
    const int step = SampleStep(pixels);
    for (std::size_t i = 0; i < pixels; ++i)
    {
        if (opacity && !opacity[i])
            continue;
        m_builder.Add(rgb + 3 * i);
        if (i % step == 0)
            m_errorSamples.insert(m_errorSamples.end(), rgb + 3 * i, rgb + 3 * i + 3);
    }
    if (!m_lastSample.empty())
    {
        const std::uint8_t* last = m_lastSample.data();
        const std::uint8_t* lastOpacity =
            m_lastSampleOpacity.empty() ? nullptr : m_lastSampleOpacity.data();
        const std::size_t rowBytes = std::size_t(m_width) * 3;
        std::size_t changed = 0;
        for (int y = 0; y < m_height; ++y)
        {
            // Still rows, most of a screen recording's, are passed over whole.
            const std::size_t row = std::size_t(y) * m_width;
            if (!opacity && !lastOpacity &&
                std::memcmp(rgb + 3 * row, last + 3 * row, rowBytes) == 0)
                continue;
            for (std::size_t i = row; i < row + std::size_t(m_width); ++i)
            {
                if ((opacity && !opacity[i]) || ((!lastOpacity || lastOpacity[i]) &&
                                                 std::memcmp(rgb + 3 * i, last + 3 * i, 3) == 0))
                    continue;
                if (changed++ % step == 0)
                    m_changeSamples.insert(m_changeSamples.end(), rgb + 3 * i, rgb + 3 * i + 3);
            }
        }
    }
    m_lastSample.assign(rgb, rgb + 3 * pixels);
    if (opacity)
        m_lastSampleOpacity.assign(opacity, opacity + pixels);
    else
        m_lastSampleOpacity.clear();
}

void GifFrameEncoder::OrderByChanges(GifPalette& colours, std::uint8_t* rank)
{
    // A later frame draws only what changed, and its codes need only cover
    // the largest index it uses: the colours that changes bring come first,
    // the most used among them first; the others keep their order.
    const int count = colours.count;
    std::iota(rank, rank + count, 0);
    if (m_changeSamples.empty() || count < 2)
        return;
    m_search.Reset(colours.rgb, count);
    std::vector<std::uint32_t> used(std::size_t(count), 0);
    for (std::size_t i = 0; i < m_changeSamples.size(); i += 3)
        ++used[std::size_t(
            m_search.Find(m_changeSamples[i], m_changeSamples[i + 1], m_changeSamples[i + 2]))];
    std::stable_sort(rank, rank + count,
                     [&used](std::uint8_t a, std::uint8_t b) { return used[a] > used[b]; });
    GifPalette ordered;
    for (int i = 0; i < count; ++i)
        ordered.Add(colours.rgb[3 * rank[i]], colours.rgb[3 * rank[i] + 1],
                    colours.rgb[3 * rank[i] + 2]);
    colours = ordered;
}

void GifFrameEncoder::FinishSharedPalette(SharedPalette& shared)
{
    shared = SharedPalette();
    GifPalette colours;
    m_builder.Build(colours, m_search);
    OrderByChanges(colours, shared.rank);
    m_changeSamples = {};
    m_lastSample = {};
    m_lastSampleOpacity = {};
    shared.colours = colours.count;
    // The transparent entry and the colours later frames draw most come
    // first: a frame that uses only the first entries needs shorter codes.
    if (m_sharedTransparent)
    {
        shared.transparentIndex = 0;
        shared.firstColour = 1;
        shared.table.Add(0, 0, 0);
    }
    for (int i = 0; i < colours.count; ++i)
        shared.table.Add(colours.rgb[3 * i], colours.rgb[3 * i + 1], colours.rgb[3 * i + 2]);
    m_search.Reset(colours.rgb, shared.colours, shared.rank);
    MapRegion samples;
    samples.rgb = m_errorSamples.data();
    samples.frameWidth = samples.width = static_cast<int>(m_errorSamples.size() / 3);
    samples.height = 1;
    shared.error = PaletteMapper::InexactError(samples, m_search, 1);
}

void GifFrameEncoder::SetLossy(const GifPalette& palette, const GifFrameBlock& block,
                               const MapRegion& region)
{
    const int maxError = GifLossyError(m_options.lossy);
    const std::uint8_t* target = nullptr;
    if (maxError > 0)
    {
        // The colours wanted, in the order the indices are encoded.
        m_lossyTarget.resize(std::size_t(region.width) * region.height * 3);
        const std::size_t rowBytes = std::size_t(region.width) * 3;
        for (int y = 0; y < region.height; ++y)
            std::memcpy(
                m_lossyTarget.data() + y * rowBytes,
                region.rgb + (std::size_t(region.top + y) * region.frameWidth + region.left) * 3,
                rowBytes);
        target = m_lossyTarget.data();
    }
    // Lossy codes stay among the entries the code size covers.
    m_lzw.SetLossy(palette.rgb, std::min(palette.count, 1 << block.codeSize),
                   block.transparentIndex, maxError, GifLossyAddedError(m_options.lossy), target);
}

bool GifFrameEncoder::EncodeOptimised(const std::uint8_t* rgb, const std::uint8_t* previous,
                                      int index, int delay, SharedPalette& shared,
                                      std::vector<std::uint8_t>& out, const FrameOpacity& opacity)
{
    const int colours = std::clamp(m_options.colours, kMinGifColours, kMaxGifColours);
    const bool clears =
        ClearsBeforeNext(opacity.frame, opacity.next, std::size_t(m_width) * m_height);
    // Frames without transparent pixels around them are written as they always were.
    const bool withTransparency = opacity.frame || opacity.previous || clears;
    GifFrameBlock block;
    block.disposal = clears ? GifDisposal::Background : GifDisposal::Keep;
    block.delay = delay;

    MapRegion region;
    region.rgb = rgb;
    region.frameWidth = m_width;
    region.width = m_width;
    region.height = m_height;

    if (index == 0)
    {
        if (shared.table.count == 0)
        {
            StartSharedPalette(1, withTransparency);
            AddToSharedPalette(rgb, opacity.frame);
            FinishSharedPalette(shared);
        }
        AppendGifHeader(out, m_width, m_height, shared.table, m_options.loopCount);
        if (!withTransparency)
        {
            m_sharedSearch.Reset(shared.table.rgb + 3 * shared.firstColour, shared.colours,
                                 shared.rank);
            region.firstColour = shared.firstColour;
            m_mapper.Map(region, m_sharedSearch, m_options.dither, m_indices);
            block.width = m_width;
            block.height = m_height;
            block.indices = m_indices.data();
            block.codeSize = CodeSize(m_indices);
            SetLossy(shared.table, block, region);
            AppendGifFrame(out, block, m_lzw);
            return true;
        }
    }

    std::size_t kept = 0;
    if (withTransparency)
    {
        Rect rect{};
        kept = MarkToDraw(rgb, index == 0 ? nullptr : previous, opacity, clears, rect);
        region.left = rect.left;
        region.top = rect.top;
        region.width = rect.width;
        region.height = rect.height;
        if (kept > 0)
            region.keep = m_keep.data();
    }
    else if (m_options.onlyChanges && previous)
    {
        const Rect rect = ChangedRect(rgb, previous);
        if (rect.width == 0)
        {
            // Nothing changed: one transparent pixel keeps the frame and its delay.
            m_indices.assign(1, static_cast<std::uint8_t>(shared.transparentIndex));
            block.width = block.height = 1;
            block.indices = m_indices.data();
            block.transparentIndex = shared.transparentIndex;
            block.codeSize = CodeSize(m_indices);
            AppendGifFrame(out, block, m_lzw);
            return true;
        }
        region.left = rect.left;
        region.top = rect.top;
        region.width = rect.width;
        region.height = rect.height;
        kept = MarkUnchanged(rgb, previous, rect);
        if (kept > 0)
            region.keep = m_keep.data();
    }
    // A frame that clears its area names a transparent entry, which viewers
    // clear to.
    const bool transparent = kept > 0 || clears;
    const std::size_t pixels = std::size_t(region.width) * region.height;

    const GifPalette* table = nullptr;
    NearestColour* search = &m_sharedSearch;
    const bool sharedServes = !transparent || shared.transparentIndex >= 0;
    if (index == 0 && sharedServes)
    {
        m_sharedSearch.Reset(shared.table.rgb + 3 * shared.firstColour, shared.colours,
                             shared.rank);
        table = &shared.table;
    }
    else if (index > 0 && m_options.globalPalette && sharedServes)
    {
        m_sharedSearch.Reset(shared.table.rgb + 3 * shared.firstColour, shared.colours,
                             shared.rank);
        table = &shared.table;
        const std::size_t changed = pixels - kept;
        if (changed >= kLeastPixelsForTable)
        {
            // The shared palette serves this frame unless the frame brings
            // colours it lacks and its own table, with the bytes it costs,
            // would take away much more error.
            const double error =
                PaletteMapper::InexactError(region, m_sharedSearch, DecisionStep(changed));
            const double extraError = std::max(0.0, error - shared.error) * 3 * double(changed);
            const double tableBytes =
                3.0 *
                (1 << GifTableBits(ColourCapacity(colours, transparent) + (transparent ? 1 : 0)));
            if (error > kNewColours * shared.error && extraError > tableBytes * kErrorPerByte)
                table = nullptr;
        }
    }
    if (table)
    {
        region.transparentIndex = shared.transparentIndex;
        region.firstColour = shared.firstColour;
    }
    else
    {
        CollectColours(region, ColourCapacity(colours, transparent));
        m_builder.Build(m_local, m_search);
        m_search.Reset(m_local.rgb, m_local.count);
        search = &m_search;
        if (transparent)
        {
            region.transparentIndex = m_local.count;
            m_local.Add(0, 0, 0);
        }
        block.localTable = &m_local;
    }
    m_mapper.Map(region, *search, m_options.dither, m_indices);
    block.left = region.left;
    block.top = region.top;
    block.width = region.width;
    block.height = region.height;
    block.indices = m_indices.data();
    block.transparentIndex = transparent ? region.transparentIndex : -1;
    block.codeSize = CodeSize(m_indices);
    SetLossy(table ? *table : m_local, block, region);
    AppendGifFrame(out, block, m_lzw);
    return true;
}
