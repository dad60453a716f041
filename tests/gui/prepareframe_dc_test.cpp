// PrepareFrame, made of wxImage operations so that it can run on a worker,
// gives the pixels that drawing the picture on a black memory DC gives.
#include "work/gifexport.h"

#include "test_pictures.h"

#include <gtest/gtest.h>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

namespace
{
// Fitting by drawing: the bitmap centred on a black memory DC, shrunk first
// when it does not fit, then read back.
wxImage PrepareByDrawing(const wxImage& source, int width, int height)
{
    const int sourceWidth = source.GetWidth(), sourceHeight = source.GetHeight();
    wxImage picture = source;
    if (sourceWidth > width || sourceHeight > height)
    {
        const double scale = std::min(double(width) / sourceWidth, double(height) / sourceHeight);
        picture = source.Scale(int(sourceWidth * scale), int(sourceHeight * scale),
                               wxIMAGE_QUALITY_NORMAL);
    }
    wxBitmap canvas(width, height);
    {
        wxMemoryDC dc(canvas);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        dc.DrawBitmap(wxBitmap(picture), (width - picture.GetWidth()) / 2,
                      (height - picture.GetHeight()) / 2, true);
    }
    return canvas.ConvertToImage();
}

void ExpectSamePixels(const wxImage& ours, const wxImage& drawn)
{
    ASSERT_EQ(ours.GetSize(), drawn.GetSize());
    int different = 0;
    for (int y = 0; y < ours.GetHeight(); ++y)
        for (int x = 0; x < ours.GetWidth(); ++x)
            if (ours.GetRed(x, y) != drawn.GetRed(x, y) ||
                ours.GetGreen(x, y) != drawn.GetGreen(x, y) ||
                ours.GetBlue(x, y) != drawn.GetBlue(x, y))
            {
                if (different++ < 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": ours "
                                  << int(ours.GetRed(x, y)) << " " << int(ours.GetGreen(x, y))
                                  << " " << int(ours.GetBlue(x, y)) << ", drawn "
                                  << int(drawn.GetRed(x, y)) << " " << int(drawn.GetGreen(x, y))
                                  << " " << int(drawn.GetBlue(x, y));
            }
    EXPECT_EQ(different, 0);
}

wxImage Masked(int width, int height)
{
    wxImage image = MakePhotoLike(width, height, 3);
    for (int y = 0; y < height; y += 3)
        for (int x = y % 5; x < width; x += 4)
            image.SetRGB(x, y, 255, 0, 255);
    image.SetMaskColour(255, 0, 255);
    return image;
}

wxImage Translucent(int width, int height)
{
    wxImage image = MakePhotoLike(width, height, 4);
    image.SetAlpha();
    for (int i = 0; i < width * height; ++i)
        image.GetAlpha()[i] = static_cast<unsigned char>((i * 37) % 256);
    return image;
}
}  // namespace

TEST(PrepareFrameLikeDrawing, OpaquePictures)
{
    const wxImage photo = MakePhotoLike(400, 300, 1);
    ExpectSamePixels(PrepareFrame(photo, 200, 200), PrepareByDrawing(photo, 200, 200));
    ExpectSamePixels(PrepareFrame(photo, 500, 500), PrepareByDrawing(photo, 500, 500));
    ExpectSamePixels(PrepareFrame(photo, 400, 300), PrepareByDrawing(photo, 400, 300));
    ExpectSamePixels(PrepareFrame(photo, 133, 61), PrepareByDrawing(photo, 133, 61));
    ExpectSamePixels(PrepareFrame(photo, 200, 150), PrepareByDrawing(photo, 200, 150));
}

TEST(PrepareFrameLikeDrawing, MaskedPictures)
{
    const wxImage masked = Masked(90, 70);
    ExpectSamePixels(PrepareFrame(masked, 120, 100), PrepareByDrawing(masked, 120, 100));
    ExpectSamePixels(PrepareFrame(masked, 60, 60), PrepareByDrawing(masked, 60, 60));
    ExpectSamePixels(PrepareFrame(masked, 45, 70), PrepareByDrawing(masked, 45, 70));
}

TEST(PrepareFrameLikeDrawing, PicturesWithAlpha)
{
    const wxImage translucent = Translucent(64, 48);
    ExpectSamePixels(PrepareFrame(translucent, 100, 100), PrepareByDrawing(translucent, 100, 100));
    ExpectSamePixels(PrepareFrame(translucent, 32, 32), PrepareByDrawing(translucent, 32, 32));
}
