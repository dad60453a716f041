#include "encode/gifsizeestimate.h"

#include "encode/framefitting.h"
#include "encode/gifframeencoder.h"

#include <new>

namespace
{
// Frames the shared palette is chosen from, as the export chooses it.
const int kPaletteSamples = 4;
}  // namespace

std::uint64_t EstimateGifBytes(const std::vector<ExportFrame>& frames, int width, int height,
                               const GifOptions& options, const CancelCheck& cancelled)
{
    if (frames.empty() || !CheckGifSize(width, height).empty())
        return 0;
    const auto stop = [&] { return cancelled && cancelled(); };
    try
    {
        GifFrameEncoder encoder(width, height, options);
        SharedPalette shared;
        FittedFrame fitted, previous;
        wxImage loaded;  // a stored picture, read on this thread
        if (options.optimised && options.globalPalette)
        {
            encoder.StartSharedPalette(kPaletteSamples);
            for (std::size_t index : SpreadIndices(frames.size(), kPaletteSamples))
            {
                if (stop() ||
                    !fitted.Fit(frames[index].Read(loaded), width, height, options.smooth))
                    return 0;
                encoder.AddToSharedPalette(fitted.Pixels());
            }
            encoder.FinishSharedPalette(shared);
        }

        const bool smooth = options.optimised && options.smooth;
        auto encode = [&](std::size_t index, const FittedFrame* before, int position)
        {
            std::vector<std::uint8_t> bytes;
            const int delay = frames[index].delay;
            const bool ok =
                options.optimised
                    ? encoder.EncodeOptimised(fitted.Pixels(), before ? before->Pixels() : nullptr,
                                              position, delay, shared, bytes)
                    : encoder.EncodeClassic(fitted.Pixels(), position, delay, bytes);
            return ok ? bytes.size() : std::size_t(0);
        };

        if (stop() || !fitted.Fit(frames[0].Read(loaded), width, height, smooth))
            return 0;
        std::uint64_t total = encode(0, nullptr, 0) + 1;  // with the trailer
        if (frames.size() == 1)
            return total;

        // Later frames, each after the one before it, spread over the strip.
        std::uint64_t sampled = 0;
        int samples = 0;
        for (std::size_t index : SpreadIndices(frames.size() - 1, kEstimateSamples))
        {
            const std::size_t later = index + 1;
            if (stop() || !previous.Fit(frames[later - 1].Read(loaded), width, height, smooth) ||
                !fitted.Fit(frames[later].Read(loaded), width, height, smooth))
                return 0;
            sampled += encode(later, &previous, 1);
            ++samples;
        }
        return total + sampled * (frames.size() - 1) / samples;
    }
    catch (const std::bad_alloc&)
    {
        return 0;
    }
}
