// PrepareFrame, made of wxImage operations so that it can run on a worker,
// gives the pixels that drawing the picture on a black memory DC gives.
#include "encode/gifexport.h"

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

// Opaque, masked and translucent pictures, shrunk, enlarged canvases and exact fits.
TEST(PrepareFrameLikeDrawing, SamePixelsAsDrawingOnABlackMemoryDC)
{
    const wxImage photo = MakePhotoLike(400, 300, 1);
    const wxImage masked = Masked(90, 70);
    const wxImage translucent = Translucent(64, 48);
    const std::pair<const wxImage*, wxSize> cases[] = {
        {&photo, {200, 200}},    {&photo, {500, 500}}, {&photo, {400, 300}},
        {&photo, {133, 61}},     {&photo, {200, 150}}, {&masked, {120, 100}},
        {&masked, {60, 60}},     {&masked, {45, 70}},  {&translucent, {100, 100}},
        {&translucent, {32, 32}}};
    for (const auto& [picture, canvas] : cases)
    {
        SCOPED_TRACE(::testing::Message() << picture->GetWidth() << "x" << picture->GetHeight()
                                          << " into " << canvas.x << "x" << canvas.y);
        ExpectSamePixels(PrepareFrame(*picture, canvas.x, canvas.y),
                         PrepareByDrawing(*picture, canvas.x, canvas.y));
    }
}
