#include "encode/pictureorientation.h"

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
