#ifndef LOOPFORGE_WORK_GIFTARGETSIZE_H
#define LOOPFORGE_WORK_GIFTARGETSIZE_H

#include "encode/exportsource.h"
#include "encode/gifexport.h"
#include "files/cancelcheck.h"

#include <wx/string.h>

#include <functional>
#include <memory>
#include <vector>

class wxOutputStream;

// Gives the pictures of an export afresh from the first, each time it is called.
using ExportSourceMaker = std::function<std::unique_ptr<ExportSource>()>;

// Gives the pictures of a source that lives on elsewhere.
class ForwardingSource : public ExportSource
{
public:
    explicit ForwardingSource(ExportSource& inner) : m_inner(inner) {}
    Result Next(SourcePicture& picture, wxString& error) override
    {
        return m_inner.Next(picture, error);
    }
    int Count() const override { return m_inner.Count(); }
    void Sample(int count, std::vector<SourcePicture>& samples) override
    {
        m_inner.Sample(count, samples);
    }

private:
    ExportSource& m_inner;
};

// Writes the best optimised GIF under settings.options.maxBytes that the
// options can be turned into: when the options as they are would make a
// larger file, the export tries in turn no dithering, lossy codes, fewer
// colours, dropping every other frame (its time added to the one kept)
// and, last, a smaller output size, judged by size estimates, then encodes
// the mildest that the estimates say fits (once more, a step further, when
// the file comes out larger after all). The file never passes the limit:
// when nothing tried fits, nothing is written and the error says so. The
// warnings of a written file tell what was changed. The file goes to path
// as ExportGif writes it, or, with out, to that stream (named path in
// messages).
GifExportResult ExportGifWithinSize(const ExportSourceMaker& makeSource, const wxString& path,
                                    const GifExportSettings& settings,
                                    const ExportProgress& progress = ExportProgress(),
                                    const CancelCheck& cancelled = CancelCheck(),
                                    wxOutputStream* out = nullptr);

// A size limit as the user reads it ("8 MB", "500 KB"): whole megabytes
// or kilobytes where it is one, else bytes.
wxString DescribeByteSize(std::uint64_t bytes);

#endif
