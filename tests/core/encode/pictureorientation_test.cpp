// Turning and mirroring frames: every edit on top of every orientation gives
// the picture that applying the edit to the turned picture gives.
#include "encode/picturecrop.h"
#include "encode/pictureorientation.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// A 3 x 2 picture whose pixels all differ.
wxImage Numbered()
{
    wxImage picture(3, 2);
    for (int i = 0; i < 6; ++i)
        picture.SetRGB(i % 3, i / 3, static_cast<unsigned char>(40 * i), 0, 0);
    return picture;
}

wxImage ApplyDirectly(const wxImage& picture, OrientationEdit edit)
{
    switch (edit)
    {
    case OrientationEdit::RotateLeft:
        return picture.Rotate90(false);
    case OrientationEdit::RotateRight:
        return picture.Rotate90(true);
    case OrientationEdit::Rotate180:
        return picture.Rotate90(true).Rotate90(true);
    case OrientationEdit::FlipHorizontal:
        return picture.Mirror(true);
    case OrientationEdit::FlipVertical:
        return picture.Mirror(false);
    }
    return picture;
}

std::string Pixels(const wxImage& picture)
{
    return std::to_string(picture.GetWidth()) + "x" + std::to_string(picture.GetHeight()) + ":" +
           std::string(reinterpret_cast<const char*>(picture.GetData()),
                       size_t(picture.GetWidth()) * picture.GetHeight() * 3);
}
}  // namespace

TEST(PictureOrientation, EditsComposeAsTheyLook)
{
    const wxImage picture = Numbered();
    const OrientationEdit edits[] = {OrientationEdit::RotateLeft, OrientationEdit::RotateRight,
                                     OrientationEdit::Rotate180, OrientationEdit::FlipHorizontal,
                                     OrientationEdit::FlipVertical};
    for (int orientation = 0; orientation < 8; ++orientation)
    {
        const wxImage turned = OrientPicture(picture, orientation);
        EXPECT_EQ(OrientedSize(picture.GetSize(), orientation), turned.GetSize());
        for (OrientationEdit edit : edits)
        {
            SCOPED_TRACE("orientation " + std::to_string(orientation) + ", edit " +
                         std::to_string(int(edit)));
            const int composed = ComposeOrientation(orientation, edit);
            ASSERT_GE(composed, 0);
            ASSERT_LT(composed, 8);
            EXPECT_EQ(Pixels(OrientPicture(picture, composed)),
                      Pixels(ApplyDirectly(turned, edit)));
        }
    }
}

// A rectangle turned with its picture covers the same pixels, and the
// inverse orientation brings it back.
TEST(PictureOrientation, RectanglesTurnWithTheirPicture)
{
    const wxImage picture = Numbered();
    const wxRect pixel(2, 0, 1, 1);
    for (int orientation = 0; orientation < 8; ++orientation)
    {
        SCOPED_TRACE(orientation);
        const wxImage turned = OrientPicture(picture, orientation);
        const wxRect moved = OrientRect(pixel, picture.GetSize(), orientation);
        ASSERT_EQ(moved.GetSize(), wxSize(1, 1));
        EXPECT_EQ(turned.GetRed(moved.x, moved.y), picture.GetRed(pixel.x, pixel.y));
        EXPECT_EQ(OrientRect(moved, turned.GetSize(), InverseOrientation(orientation)), pixel);
    }
}

TEST(PictureCrop, AFrameOfAnotherSizeKeepsTheSamePlace)
{
    const CropArea crop{wxRect(10, 20, 40, 30), wxSize(100, 60)};
    EXPECT_EQ(CropRectFor(crop, wxSize(100, 60)), crop.rect);
    EXPECT_EQ(CropRectFor(crop, wxSize(50, 30)), wxRect(5, 10, 20, 15));
    EXPECT_EQ(CropRectFor(crop, wxSize(1, 1)), wxRect(0, 0, 1, 1));
    EXPECT_EQ(CropRectFor(CropArea(), wxSize(7, 5)), wxRect(0, 0, 7, 5));

    wxRect rect;
    EXPECT_TRUE(ParseCropGeometry(wxS("40x30+10+20"), rect));
    EXPECT_EQ(rect, wxRect(10, 20, 40, 30));
    for (const char* bad : {"40x30", "40x30+10", "0x30+1+1", "40x30+-1+2", "ax30+1+1", "40+1+1x2"})
        EXPECT_FALSE(ParseCropGeometry(wxString::FromUTF8(bad), rect)) << bad;
}
