#ifndef LOOPFORGE_WORK_PICTURECROP_H
#define LOOPFORGE_WORK_PICTURECROP_H

#include <wx/gdicmn.h>

class wxString;

// The part of the frames that is kept, chosen on a picture of the reference
// size; a frame of another size keeps the part at the same relative place.
// Cropping comes before a frame is turned, so the rectangle lies in the
// pictures as they were read.
struct CropArea
{
    wxRect rect;       // empty: no crop
    wxSize reference;  // the size of the picture the rectangle was chosen on

    bool IsSet() const
    {
        return rect.width > 0 && rect.height > 0 && reference.x > 0 && reference.y > 0;
    }
    bool operator==(const CropArea& other) const
    {
        return rect == other.rect && reference == other.reference;
    }
    bool operator!=(const CropArea& other) const { return !(*this == other); }
};

// The rectangle a picture of that size keeps: the whole picture without a
// crop, else the crop scaled to it, at least one pixel and inside it.
wxRect CropRectFor(const CropArea& crop, const wxSize& size);

// Reads "WxH+X+Y" (as the renderer takes it); false when text is not one.
bool ParseCropGeometry(const wxString& text, wxRect& rect);

#endif
