#include "encode/pictureorientation.h"

#include <algorithm>

namespace
{
int Turns(int orientation)
{
    return orientation & 3;
}

bool Mirrored(int orientation)
{
    return (orientation & 4) != 0;
}

int Make(int turns, bool mirrored)
{
    return (turns & 3) | (mirrored ? 4 : 0);
}
}  // namespace

int ComposeOrientation(int orientation, OrientationEdit edit)
{
    const int turns = Turns(orientation);
    const bool mirrored = Mirrored(orientation);
    switch (edit)
    {
    case OrientationEdit::RotateRight:
        return Make(turns + 1, mirrored);
    case OrientationEdit::RotateLeft:
        return Make(turns + 3, mirrored);
    case OrientationEdit::Rotate180:
        return Make(turns + 2, mirrored);
    // A mirror after a turn is the opposite turn after a mirror; a vertical
    // flip is a horizontal one turned by half a turn.
    case OrientationEdit::FlipHorizontal:
        return Make(4 - turns, !mirrored);
    case OrientationEdit::FlipVertical:
        return Make(6 - turns, !mirrored);
    }
    return orientation;
}

wxSize OrientedSize(const wxSize& size, int orientation)
{
    return Turns(orientation) % 2 ? wxSize(size.y, size.x) : size;
}

int InverseOrientation(int orientation)
{
    // A mirrored orientation undoes itself; a turn is undone by the opposite one.
    return Mirrored(orientation) ? orientation & 7 : Make(4 - Turns(orientation), false);
}

namespace
{
// Where the pixel at point goes when a picture of the given size is put in
// that orientation.
wxPoint OrientPoint(wxPoint point, wxSize size, int orientation)
{
    if (Mirrored(orientation))
        point.x = size.x - 1 - point.x;
    for (int turn = 0; turn < Turns(orientation); ++turn)
    {
        point = wxPoint(size.y - 1 - point.y, point.x);
        size = wxSize(size.y, size.x);
    }
    return point;
}
}  // namespace

wxRect OrientRect(const wxRect& rect, const wxSize& size, int orientation)
{
    const wxPoint a = OrientPoint(rect.GetTopLeft(), size, orientation);
    const wxPoint b = OrientPoint(rect.GetBottomRight(), size, orientation);
    return wxRect(wxPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
                  wxPoint(std::max(a.x, b.x), std::max(a.y, b.y)));
}

wxImage OrientPicture(const wxImage& picture, int orientation)
{
    if (!picture.IsOk() || (orientation & 7) == kUprightOrientation)
        return picture;
    wxImage result = Mirrored(orientation) ? picture.Mirror(true) : picture;
    switch (Turns(orientation))
    {
    case 1:
        return result.Rotate90(true);
    case 2:
        return result.Rotate180();
    case 3:
        return result.Rotate90(false);
    default:
        return result;
    }
}
