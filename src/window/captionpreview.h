#ifndef LOOPFORGE_WINDOW_CAPTIONPREVIEW_H
#define LOOPFORGE_WINDOW_CAPTIONPREVIEW_H

#include "caption/caption.h"
#include "edit/edithistory.h"

#include <wx/bitmap.h>
#include <wx/image.h>

#include <cstdint>
#include <list>

// A frame as the GIF will show it: fitted into the output size as the export
// fits it, with its captions drawn by the export's own drawing.
wxImage CaptionedFrame(const wxImage& picture, const FrameCaptions& captions, const wxSize& output);

// Bitmaps of captioned frames as the preview shows them, so that playback
// does not draw a caption again on every tick. A few frames are kept; an
// entry is recognised by the frame's picture key (FrameSource::key), its
// captions and both sizes.
class CaptionPreview
{
public:
    // The captioned frame fitted into panel (never enlarged), as a bitmap.
    wxBitmap Get(std::uint64_t key, const wxImage& picture, const FrameCaptions& captions,
                 const wxSize& output, const wxSize& panel);
    void Clear() { m_entries.clear(); }

private:
    struct Entry
    {
        std::uint64_t key;
        FrameCaptions captions;
        wxSize output;
        wxSize panel;
        wxBitmap bitmap;
    };
    std::list<Entry> m_entries;  // the most recently used first
};

// A caption being dragged on the preview: the work before the drag (the
// step to undo once it is dropped), the caption as it is now, and how far
// from its centre the pointer took hold of it, in output pixels.
struct CaptionDrag
{
    EditState before;
    CaptionRef caption;
    std::vector<int> frames;
    wxPoint grip;
    bool moved = false;
};

#endif
