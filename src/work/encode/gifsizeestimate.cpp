#include "encode/gifsizeestimate.h"

#include "encode/exportpipeline.h"
#include "encode/framefitting.h"
#include "encode/gifframeencoder.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

namespace
{
// The points two frames are compared at to tell how much changed.
const int kGridColumns = 64;
const int kGridRows = 48;

// Mean difference per channel of two frames at the grid's points.
double ChangeScore(const std::uint8_t* a, const std::uint8_t* b, int width, int height)
{
    long total = 0;
    for (int row = 0; row < kGridRows; ++row)
    {
        const int y = (2 * row + 1) * height / (2 * kGridRows);
        for (int column = 0; column < kGridColumns; ++column)
        {
            const std::size_t i =
                (std::size_t(y) * width + (2 * column + 1) * width / (2 * kGridColumns)) * 3;
            total += std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) +
                     std::abs(a[i + 2] - b[i + 2]);
        }
    }
    return double(total) / (3.0 * kGridColumns * kGridRows);
}

// A frame cuts to other content when it changes far more than the one
// before it did: such frames cost much more than their neighbours, so each
// is encoded rather than stood for.
bool IsCut(double score, double scoreBefore)
{
    return score > 2 * scoreBefore + 10;
}

// A picture of the source fitted to the canvas; the picture stays, for a
// fitted frame may read it in place.
struct Frame
{
    SourcePicture picture;
    FittedFrame fitted;
    bool ownEdits = false;
};

bool FitPicture(SourcePicture& picture, FittedFrame& fitted, int width, int height, bool smooth,
                bool transparency)
{
    wxString error;
    if (picture.decode)
    {
        picture.owned = picture.decode(error);
        picture.decode = nullptr;
    }
    const wxImage* image = picture.owned ? picture.owned.get() : picture.picture;
    return image && fitted.Fit(*image, width, height, smooth, transparency) &&
           fitted.AddCaptions(picture.captions);
}

// What the frames of each stretch add up to.
struct Stretch
{
    int frames = 0;  // not cuts nor repeats, which are counted exactly
    int sample = -1;  // the frame encoded for it
};

// One pass over the source. Without chosen, every frame is fitted and the
// frames that stand for the others are chosen as it goes, into plan; with
// chosen (one flag per frame), only those frames are encoded, and only they
// and their neighbours fitted. bytes gets, per option set, the bytes of each
// frame encoded in the order of plan.frames.
bool EstimatePass(ExportSource& source, int width, int height,
                  const std::vector<GifOptions>& candidates, const CancelCheck& cancelled,
                  const std::vector<char>* chosen, int stretchCount, GifEstimatePlan& plan,
                  std::vector<std::vector<std::uint64_t>>& bytesOut)
{
    const std::size_t sets = candidates.size();
    const auto stop = [&] { return cancelled && cancelled(); };
    const bool optimised = candidates[0].optimised;
    const bool smooth = optimised && candidates[0].smooth;
    const std::size_t pixels = std::size_t(width) * height;
    std::vector<std::unique_ptr<GifFrameEncoder>> encoders;
    std::vector<SharedPalette> shared(sets);
    for (const GifOptions& options : candidates)
        encoders.push_back(std::make_unique<GifFrameEncoder>(width, height, options));

    // The shared palette, from the pictures the export chooses it from.
    if (optimised && candidates[0].globalPalette)
    {
        std::vector<SourcePicture> samples;
        source.Sample(kSharedPaletteSamples, samples);
        if (!samples.empty())
        {
            for (auto& encoder : encoders)
                encoder->StartSharedPalette(static_cast<int>(samples.size()));
            for (SourcePicture& sample : samples)
            {
                FittedFrame fitted;
                if (stop())
                    return false;
                if (!FitPicture(sample, fitted, width, height, candidates[0].smooth, true))
                    continue;
                for (auto& encoder : encoders)
                    encoder->AddToSharedPalette(fitted.Pixels(), fitted.Opacity());
                sample.owned.reset();
            }
            for (std::size_t c = 0; c < sets; ++c)
                encoders[c]->FinishSharedPalette(shared[c]);
        }
    }

    auto isChosen = [&](int index)
    { return index >= 0 && std::size_t(index) < chosen->size() && (*chosen)[index]; };
    auto needed = [&](int index)
    { return !chosen || isChosen(index - 1) || isChosen(index) || isChosen(index + 1); };

    // The frames after the first in stretches of span frames; a stretch
    // is stood for by its first plain frame from its middle on.
    const int count = source.Count();
    const int span = count > 1 ? (count - 1 + stretchCount - 1) / stretchCount : 1;
    std::vector<Stretch> stretches;
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<Frame> previous, current, next;
    double scoreBefore = 0;
    int index = 0;  // of current
    if (!chosen)
        plan = GifEstimatePlan();
    bytesOut.assign(sets, {});

    auto encode = [&]() -> bool
    {
        FrameOpacity opacity;
        opacity.frame = current->fitted.Opacity();
        opacity.previous = previous ? previous->fitted.Opacity() : nullptr;
        opacity.next = next ? next->fitted.Opacity() : nullptr;
        for (std::size_t c = 0; c < sets; ++c)
        {
            bytes.clear();
            const bool ok = optimised ? encoders[c]->EncodeOptimised(
                                            current->fitted.Pixels(),
                                            previous ? previous->fitted.Pixels() : nullptr, index,
                                            current->picture.delay, shared[c], bytes, opacity)
                                      : encoders[c]->EncodeClassic(current->fitted.Pixels(), index,
                                                                   current->picture.delay, bytes);
            if (!ok)
                return false;
            bytesOut[c].push_back(bytes.size());
        }
        if (!chosen)
        {
            plan.frames.push_back(index);
            plan.weights.push_back(1);
        }
        return true;
    };

    // Counts or encodes current, once next is known.
    auto handle = [&]() -> bool
    {
        if (chosen)
            return !isChosen(index) || encode();
        if (index == 0)
            return encode();
        const std::uint8_t* now = current->fitted.Pixels();
        const std::uint8_t* before = previous->fitted.Pixels();
        const bool repeats = optimised && !current->ownEdits && !previous->ownEdits &&
                             !ClearsBeforeNext(current->fitted.Opacity(),
                                               next ? next->fitted.Opacity() : nullptr, pixels) &&
                             FramesShowTheSame(now, current->fitted.Opacity(), before,
                                               previous->fitted.Opacity(), pixels);
        if (repeats)
            return true;  // joined to the frame before: no bytes
        const double score = ChangeScore(now, before, width, height);
        const bool cut = IsCut(score, scoreBefore);
        scoreBefore = score;
        if (cut)
            return encode();
        const std::size_t stretch = std::size_t(index - 1) / span;
        if (stretch >= stretches.size())
            stretches.resize(stretch + 1);
        Stretch& s = stretches[stretch];
        ++s.frames;
        const int first = int(stretch) * span + 1;
        const int length = count > 0 ? std::min(span, count - first) : span;
        if (s.sample < 0 && index >= first + length / 2)
        {
            if (!encode())
                return false;
            s.sample = int(plan.frames.size()) - 1;
            plan.weights.back() = 0;  // set from the stretch below
        }
        return true;
    };

    for (;;)
    {
        if (stop())
            return false;
        auto frame = std::make_unique<Frame>();
        wxString error;
        const ExportSource::Result result = source.Next(frame->picture, error);
        if (result == ExportSource::Result::Failed)
            return false;
        if (result == ExportSource::Result::Picture)
        {
            const int at = index + (current ? 1 : 0);
            if (needed(at) &&
                !FitPicture(frame->picture, frame->fitted, width, height, smooth, optimised))
                return false;
            frame->ownEdits = frame->picture.ownEdits || !frame->picture.captions.empty();
        }
        else
        {
            frame.reset();
        }
        next = std::move(frame);
        if (current)
        {
            if (!handle())
                return false;
            ++index;
        }
        if (!next)
            break;
        previous = std::move(current);
        current = std::move(next);
    }
    if (index == 0 || chosen)
        return index > 0;

    // Each sample stands for its stretch; stretches whose sample fell to a
    // cut or a repeat are shared among the samples.
    int sampled = 0, unsampled = 0;
    for (const Stretch& s : stretches)
    {
        if (s.sample >= 0)
        {
            ++sampled;
            plan.weights[s.sample] = s.frames;
        }
        else
        {
            unsampled += s.frames;
        }
    }
    for (const Stretch& s : stretches)
        if (s.sample >= 0)
            plan.weights[s.sample] += double(unsampled) / sampled;
    plan.bytes = bytesOut[0];
    return true;
}

std::uint64_t Total(const GifEstimatePlan& plan, const std::vector<std::uint64_t>& bytes)
{
    double total = 1;  // the trailer
    for (std::size_t i = 0; i < bytes.size() && i < plan.weights.size(); ++i)
        total += plan.weights[i] * double(bytes[i]);
    return std::uint64_t(total + 0.5);
}
}  // namespace

std::vector<std::uint64_t> EstimateGifBytes(ExportSource& source, int width, int height,
                                            const std::vector<GifOptions>& candidates,
                                            const CancelCheck& cancelled, GifEstimatePlan* plan,
                                            int stretches)
{
    std::vector<std::uint64_t> totals(candidates.size(), 0);
    if (candidates.empty() || source.Count() == 0 || !CheckGifSize(width, height).empty())
        return totals;
    try
    {
        GifEstimatePlan made;
        std::vector<std::vector<std::uint64_t>> bytes;
        if (!EstimatePass(source, width, height, candidates, cancelled, nullptr,
                          std::max(stretches, 1), made, bytes))
            return totals;
        for (std::size_t c = 0; c < candidates.size(); ++c)
            totals[c] = Total(made, bytes[c]);
        if (plan)
            *plan = std::move(made);
    }
    catch (const std::bad_alloc&)
    {
    }
    return totals;
}

std::vector<std::uint64_t> EstimateGifBytesLike(ExportSource& source, int width, int height,
                                                const std::vector<GifOptions>& candidates,
                                                const GifEstimatePlan& plan, int frames,
                                                const CancelCheck& cancelled)
{
    std::vector<std::uint64_t> totals(candidates.size(), 0);
    if (candidates.empty() || plan.bytes.empty() || !CheckGifSize(width, height).empty())
        return totals;
    // The frames that count most.
    std::vector<std::size_t> order(plan.frames.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b)
              { return plan.weights[a] * plan.bytes[a] > plan.weights[b] * plan.bytes[b]; });
    order.resize(std::min(order.size(), std::size_t(std::max(frames, 1))));
    std::sort(order.begin(), order.end());
    std::vector<char> chosen(std::size_t(plan.frames.back()) + 1, 0);
    double before = 0;
    for (std::size_t i : order)
    {
        chosen[plan.frames[i]] = 1;
        before += plan.weights[i] * double(plan.bytes[i]);
    }
    try
    {
        GifEstimatePlan unused;
        std::vector<std::vector<std::uint64_t>> bytes;
        if (before <= 0 ||
            !EstimatePass(source, width, height, candidates, cancelled, &chosen, 1, unused, bytes))
            return totals;
        const double whole = double(Total(plan, plan.bytes));
        for (std::size_t c = 0; c < candidates.size(); ++c)
        {
            if (bytes[c].size() != order.size())
                return std::vector<std::uint64_t>(candidates.size(), 0);
            double now = 0;
            for (std::size_t k = 0; k < order.size(); ++k)
                now += plan.weights[order[k]] * double(bytes[c][k]);
            totals[c] = std::uint64_t(whole * now / before + 0.5);
        }
    }
    catch (const std::bad_alloc&)
    {
    }
    return totals;
}

std::uint64_t EstimateGifBytes(const std::vector<ExportFrame>& frames, int width, int height,
                               const GifOptions& options, const CancelCheck& cancelled)
{
    ExportFrameSource source(frames);
    return EstimateGifBytes(source, width, height, {options}, cancelled)[0];
}
