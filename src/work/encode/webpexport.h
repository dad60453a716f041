#ifndef LOOPFORGE_WORK_WEBPEXPORT_H
#define LOOPFORGE_WORK_WEBPEXPORT_H

#include "encode/exportpipeline.h"

class wxOutputStream;

// Writes the pictures of source to out as one animated WebP: the frames a
// GIF export would show (see ForEachFittedFrame), with their transparency,
// each with its own delay (at least a hundredth of a second) and the loop
// count of settings.options. Lossy at options.webpQuality (each frame kept
// without loss where that is smaller), or all lossless. The
// file is assembled in memory and written at the end, so a failure or
// cancellation writes nothing to out.
GifStreamResult WriteWebPStream(ExportSource& source, const GifExportSettings& settings,
                                wxOutputStream& out, const ExportProgress& progress = {},
                                const CancelCheck& cancelled = {});

// The loop count a WebP stores for a GIF's: a WebP counts the plays, a GIF
// the repetitions after the first; 0 is forever in both.
int WebPLoopCount(int gifLoopCount);

#endif
