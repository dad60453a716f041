#ifndef LOOPFORGE_WORK_FITTEDFRAMES_H
#define LOOPFORGE_WORK_FITTEDFRAMES_H

#include "encode/exportpipeline.h"
#include "encode/framefitting.h"

#include <functional>

// Takes one fitted frame with its delay in hundredths of a second; false
// with a reason in error stops the export.
using FittedFrameSink =
    std::function<bool(const FittedFrame& frame, int delay, wxString& error)>;

// Pulls the pictures of source in order and fits each into the output size
// with its captions drawn, exactly as the GIF export fits them (the smooth
// option, mask and alpha alike), for the encoders of other formats. With
// transparency the frames tell their transparent pixels. One frame at a
// time is held; cancelled is asked before each. The result counts the
// frames given to sink.
GifStreamResult ForEachFittedFrame(ExportSource& source, const GifExportSettings& settings,
                                   bool transparency, const FittedFrameSink& sink,
                                   const ExportProgress& progress, const CancelCheck& cancelled);

#endif
