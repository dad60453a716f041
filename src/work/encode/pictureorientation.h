#ifndef LOOPFORGE_WORK_PICTUREORIENTATION_H
#define LOOPFORGE_WORK_PICTUREORIENTATION_H

#include <wx/gdicmn.h>
#include <wx/image.h>

// How a frame is turned and mirrored when it is shown and exported; its
// picture itself never changes. A value from 0 to 7: the picture is first
// mirrored left to right when the value is 4 or more, then turned clockwise
// by a quarter turn for each of (value % 4).
const int kUprightOrientation = 0;

enum class OrientationEdit
{
    RotateLeft,
    RotateRight,
    Rotate180,
    FlipHorizontal,
    FlipVertical
};

// The orientation after edit is applied on top of orientation.
int ComposeOrientation(int orientation, OrientationEdit edit);

// The size of a picture of the given size in that orientation.
wxSize OrientedSize(const wxSize& size, int orientation);

// The orientation that undoes this one.
int InverseOrientation(int orientation);

// Where a rectangle of a picture of the given size lies once the picture is
// in that orientation.
wxRect OrientRect(const wxRect& rect, const wxSize& size, int orientation);

// A new picture: picture in that orientation (a shared copy when upright).
wxImage OrientPicture(const wxImage& picture, int orientation);

#endif
