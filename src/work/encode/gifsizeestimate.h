#ifndef LOOPFORGE_WORK_GIFSIZEESTIMATE_H
#define LOOPFORGE_WORK_GIFSIZEESTIMATE_H

#include "encode/gifexport.h"
#include "encode/gifoptions.h"
#include "files/cancelcheck.h"

#include <cstdint>
#include <vector>

// About how many bytes the export of frames at width x height with options
// would write, from a quick encode of a few frames spread over the strip:
// the first frame whole, and a few later ones as they would follow their
// predecessors. 0 when there is nothing to export, the size cannot be
// exported, or cancelled said to stop (asked between frames). Runs on any
// thread; the pictures are only read.
std::uint64_t EstimateGifBytes(const std::vector<ExportFrame>& frames, int width, int height,
                               const GifOptions& options,
                               const CancelCheck& cancelled = CancelCheck());

// How many later frames the estimate encodes at most.
constexpr int kEstimateSamples = 3;

#endif
