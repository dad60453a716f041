#ifndef LOOPFORGE_WORK_EXPORTSOURCE_H
#define LOOPFORGE_WORK_EXPORTSOURCE_H

#include "caption/caption.h"

#include <wx/image.h>
#include <wx/string.h>

#include <functional>
#include <memory>
#include <vector>

// The next picture an export writes, with its delay. The picture is either
// read in place (it must stay unchanged until the export ends), owned, or
// still to be decoded: decode runs on a worker thread, so that several
// pictures decode at once, and gives null with a reason in error when the
// picture cannot be had.
struct SourcePicture
{
    const wxImage* picture = nullptr;
    std::unique_ptr<wxImage> owned;
    std::function<std::unique_ptr<wxImage>(wxString& error)> decode;
    int delay = 10;  // hundredths of a second
    // The frame carries edits of its own (a caption, a crop): it stays a
    // frame of the file even where it shows the same pixels as the frame
    // before, which an optimised export otherwise shows for longer instead.
    bool ownEdits = false;
    FrameCaptions captions;  // drawn onto the frame once it has the output size
};

// The pictures of an export, pulled one at a time in order.
class ExportSource
{
public:
    enum class Result
    {
        Picture,
        End,
        Failed  // error says why; the export stops
    };

    virtual ~ExportSource() = default;

    // Gives the next picture. Called from one thread at a time, in order.
    virtual Result Next(SourcePicture& picture, wxString& error) = 0;

    // How many pictures there will be, for progress; -1 when not known.
    virtual int Count() const = 0;

    // Up to count pictures spread over the whole sequence, the first one
    // first, from which a palette for all frames can be chosen before the
    // first frame is written. Asked once, before the first Next; a source
    // that cannot look ahead gives none.
    virtual void Sample(int count, std::vector<SourcePicture>& samples)
    {
        (void)count;
        samples.clear();
    }
};

// Up to count distinct indices below total spread evenly from the first to
// the last, in order.
inline std::vector<std::size_t> SpreadIndices(std::size_t total, int count)
{
    std::vector<std::size_t> indices;
    for (int i = 0; total > 0 && i < count; ++i)
    {
        const std::size_t index = count == 1 ? 0 : (total - 1) * std::size_t(i) / (count - 1);
        if (indices.empty() || indices.back() != index)
            indices.push_back(index);
    }
    return indices;
}

#endif
