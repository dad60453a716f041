#ifndef LOOPFORGE_WORK_GIFSIZEESTIMATE_H
#define LOOPFORGE_WORK_GIFSIZEESTIMATE_H

#include "encode/exportsource.h"
#include "encode/gifexport.h"
#include "encode/gifoptions.h"
#include "files/cancelcheck.h"

#include <cstdint>
#include <vector>

// About how many bytes the export of the source's pictures at width x
// height with each of the option sets would write (they must agree on the
// profile and on smooth shrinking, which decide how frames are fitted).
// Every picture is fitted, as the export fits it, but only some are
// encoded, each after its real predecessor: the first frame, frames that
// cut to other content, and one frame for each stretch of the rest, which
// stands for the frames of its stretch; frames that repeat the one before
// cost nothing, as in the file. The shared palette is chosen as the export
// chooses it. Zeros when there is nothing to export, the size cannot be
// exported, a picture cannot be had, or cancelled said to stop (asked
// between frames). Runs on any thread; the pictures are only read.
// How many stretches the frames after the first are split into, each with
// one frame encoded for it.
constexpr int kEstimateSamples = 24;

// plan, when given, gets what the estimate was made from (see below).
struct GifEstimatePlan;
std::vector<std::uint64_t> EstimateGifBytes(ExportSource& source, int width, int height,
                                            const std::vector<GifOptions>& candidates,
                                            const CancelCheck& cancelled = CancelCheck(),
                                            GifEstimatePlan* plan = nullptr,
                                            int stretches = kEstimateSamples);

// Which frames an estimate encoded, how many frames each stands for, and
// their bytes with its first option set.
struct GifEstimatePlan
{
    std::vector<int> frames;
    std::vector<double> weights;
    std::vector<std::uint64_t> bytes;
};

// A quicker estimate for other option sets of the same frames (profile and
// smooth shrinking as in plan's): only the frames of plan that count most
// (up to frames of them) are encoded, and the plan's estimate is scaled by
// how much smaller or larger they come out. Zeros as above.
std::vector<std::uint64_t> EstimateGifBytesLike(ExportSource& source, int width, int height,
                                                const std::vector<GifOptions>& candidates,
                                                const GifEstimatePlan& plan, int frames,
                                                const CancelCheck& cancelled = CancelCheck());

// The same for one option set and pictures in memory; 0 where the above
// gives zeros.
std::uint64_t EstimateGifBytes(const std::vector<ExportFrame>& frames, int width, int height,
                               const GifOptions& options,
                               const CancelCheck& cancelled = CancelCheck());

#endif
