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
    bool sampled = false;
    std::vector<std::uint64_t> sample;  // bytes of its encoded frame, per option set
};
}  // namespace

std::vector<std::uint64_t> EstimateGifBytes(ExportSource& source, int width, int height,
                                            const std::vector<GifOptions>& candidates,
                                            const CancelCheck& cancelled)
{
    const std::size_t sets = candidates.size();
    std::vector<std::uint64_t> none(sets, 0);
    if (sets == 0 || source.Count() == 0 || !CheckGifSize(width, height).empty())
        return none;
    const auto stop = [&] { return cancelled && cancelled(); };
    const bool optimised = candidates[0].optimised;
    const bool smooth = optimised && candidates[0].smooth;
    const std::size_t pixels = std::size_t(width) * height;
    try
    {
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
                        return none;
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

        // The frames after the first in stretches of span frames; a stretch
        // is stood for by its first plain frame from its middle on.
        const int count = source.Count();
        const int span = count > 1 ? (count - 1 + kEstimateSamples - 1) / kEstimateSamples : 1;
        std::vector<Stretch> stretches;
        std::vector<std::uint64_t> exact(sets, 0);
        std::vector<std::uint8_t> bytes;
        std::unique_ptr<Frame> previous, current, next;
        double scoreBefore = 0;
        int index = 0;  // of current

        auto encode = [&](std::vector<std::uint64_t>& into) -> bool
        {
            FrameOpacity opacity;
            opacity.frame = current->fitted.Opacity();
            opacity.previous = previous ? previous->fitted.Opacity() : nullptr;
            opacity.next = next ? next->fitted.Opacity() : nullptr;
            into.assign(sets, 0);
            for (std::size_t c = 0; c < sets; ++c)
            {
                bytes.clear();
                const bool ok = optimised
                                    ? encoders[c]->EncodeOptimised(
                                          current->fitted.Pixels(),
                                          previous ? previous->fitted.Pixels() : nullptr, index,
                                          current->picture.delay, shared[c], bytes, opacity)
                                    : encoders[c]->EncodeClassic(current->fitted.Pixels(), index,
                                                                 current->picture.delay, bytes);
                if (!ok)
                    return false;
                into[c] = bytes.size();
            }
            return true;
        };

        // Counts or encodes current, once next is known.
        auto handle = [&]() -> bool
        {
            std::vector<std::uint64_t> frameBytes;
            if (index == 0)
            {
                if (!encode(frameBytes))
                    return false;
                for (std::size_t c = 0; c < sets; ++c)
                    exact[c] += frameBytes[c];
                return true;
            }
            const std::uint8_t* now = current->fitted.Pixels();
            const std::uint8_t* before = previous->fitted.Pixels();
            const bool repeats =
                optimised && !current->ownEdits && !previous->ownEdits &&
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
            {
                if (!encode(frameBytes))
                    return false;
                for (std::size_t c = 0; c < sets; ++c)
                    exact[c] += frameBytes[c];
                return true;
            }
            const std::size_t stretch = std::size_t(index - 1) / span;
            if (stretch >= stretches.size())
                stretches.resize(stretch + 1);
            Stretch& s = stretches[stretch];
            ++s.frames;
            const int first = int(stretch) * span + 1;
            const int length = count > 0 ? std::min(span, count - first) : span;
            if (!s.sampled && index >= first + length / 2)
            {
                if (!encode(s.sample))
                    return false;
                s.sampled = true;
            }
            return true;
        };

        for (;;)
        {
            if (stop())
                return none;
            auto frame = std::make_unique<Frame>();
            wxString error;
            const ExportSource::Result result = source.Next(frame->picture, error);
            if (result == ExportSource::Result::Failed)
                return none;
            if (result == ExportSource::Result::Picture)
            {
                if (!FitPicture(frame->picture, frame->fitted, width, height, smooth, optimised))
                    return none;
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
                    return none;
                ++index;
            }
            if (!next)
                break;
            previous = std::move(current);
            current = std::move(next);
        }
        if (index == 0)
            return none;

        // Stretches whose sample fell to a cut or a repeat take the mean of the others.
        std::vector<std::uint64_t> total = exact, mean(sets, 0);
        int sampled = 0;
        for (const Stretch& s : stretches)
            if (s.sampled)
            {
                ++sampled;
                for (std::size_t c = 0; c < sets; ++c)
                    mean[c] += s.sample[c];
            }
        for (const Stretch& s : stretches)
            for (std::size_t c = 0; c < sets; ++c)
                total[c] += std::uint64_t(s.frames) * (s.sampled ? s.sample[c]
                                                       : sampled ? mean[c] / sampled
                                                                 : 0);
        for (std::uint64_t& bytesOfSet : total)
            ++bytesOfSet;  // the trailer
        return total;
    }
    catch (const std::bad_alloc&)
    {
        return none;
    }
}

std::uint64_t EstimateGifBytes(const std::vector<ExportFrame>& frames, int width, int height,
                               const GifOptions& options, const CancelCheck& cancelled)
{
    ExportFrameSource source(frames);
    return EstimateGifBytes(source, width, height, {options}, cancelled)[0];
}
