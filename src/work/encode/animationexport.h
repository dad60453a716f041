#ifndef LOOPFORGE_WORK_ANIMATIONEXPORT_H
#define LOOPFORGE_WORK_ANIMATIONEXPORT_H

#include "encode/exportformat.h"
#include "encode/gifexport.h"

// The export in any format: the same frames (fitted, cropped, turned and
// captioned as the GIF export does them) written as settings.options.format
// says. A GIF is written by ExportGif, byte for byte as always; a WebP by
// WriteWebPStream; MP4 and WebM by WriteVideoStream. The file goes to a
// temporary name beside path and replaces path only once complete; any
// failure leaves path untouched and returns the reason. warnings tell what
// changed on the way (a video padded to even sides).
GifExportResult ExportAnimation(ExportSource& source, const wxString& path,
                                const GifExportSettings& settings,
                                const ExportProgress& progress = ExportProgress(),
                                const CancelCheck& cancelled = CancelCheck());

GifExportResult ExportAnimation(const std::vector<ExportFrame>& frames, const wxString& path,
                                const GifExportSettings& settings,
                                const ExportProgress& progress = ExportProgress(),
                                const CancelCheck& cancelled = CancelCheck());

// The same to an open stream (standard output); see ExportGifToStream.
GifExportResult ExportAnimationToStream(ExportSource& source, wxOutputStream& out,
                                        const wxString& name, const GifExportSettings& settings,
                                        const ExportProgress& progress = ExportProgress(),
                                        const CancelCheck& cancelled = CancelCheck());

// The format a file is written in: the one its ending names (any case),
// otherwise the chosen one.
ExportFormat ExportFormatFor(const wxString& path, ExportFormat chosen);

#endif
