#ifndef LOOPFORGE_TESTS_HANDMADE_GIF_H
#define LOOPFORGE_TESTS_HANDMADE_GIF_H

// Small GIF files laid out by hand (screen, frames at offsets, disposal,
// transparency), encoded with giflib's own writer rather than the program's.
#include <gif_lib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct HandmadeFrame
{
    int left, top, width, height;
    int disposal;         // the graphic control's method, 0 to 7
    int transparent;      // colour index, -1 for none
    std::string indices;  // width x height characters, one colour index each ('0' = 0, ...)
    int delay = 10;       // the graphic control's delay in hundredths; -1: no graphic control
};

// A GIF89a with a global table of the given RGB colours (2, 4, 8 ... entries).
inline std::string HandmadeGif(int screenWidth, int screenHeight,
                               const std::vector<unsigned char>& colours,
                               const std::vector<HandmadeFrame>& frames)
{
    std::string bytes;
    auto write = [](GifFileType* gif, const GifByteType* data, int length)
    {
        static_cast<std::string*>(gif->UserData)
            ->append(reinterpret_cast<const char*>(data), length);
        return length;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, write, &error);
    EXPECT_NE(gif, nullptr);
    if (!gif)
        return bytes;
    EGifSetGifVersion(gif, true);
    const int count = int(colours.size() / 3);
    ColorMapObject* map =
        GifMakeMapObject(count, reinterpret_cast<const GifColorType*>(colours.data()));
    EXPECT_EQ(EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, map), GIF_OK);
    for (const HandmadeFrame& frame : frames)
    {
        const GifByteType control[4] = {
            GifByteType((frame.disposal << 2) | (frame.transparent >= 0 ? 1 : 0)),
            GifByteType(frame.delay & 0xFF), GifByteType((frame.delay >> 8) & 0xFF),
            GifByteType(frame.transparent >= 0 ? frame.transparent : 0)};
        if (frame.delay >= 0)
        {
            EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control), GIF_OK);
        }
        EXPECT_EQ(
            EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false, nullptr),
            GIF_OK);
        std::vector<GifPixelType> row(frame.width);
        for (int y = 0; y < frame.height; ++y)
        {
            for (int x = 0; x < frame.width; ++x)
                row[x] = GifPixelType(frame.indices.at(size_t(y) * frame.width + x) - '0');
            EXPECT_EQ(EGifPutLine(gif, row.data(), frame.width), GIF_OK);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

#endif
