#ifndef LOOPFORGE_TESTS_GIF_INSPECT_H
#define LOOPFORGE_TESTS_GIF_INSPECT_H

// Reads a written GIF back with giflib's whole-file reader, independently of
// the program's own frame reader, for checks of the writer's output.

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

struct InspectedFrame
{
    int left = 0, top = 0;
    int width = 0, height = 0;
    std::vector<unsigned char> indices;
    std::vector<unsigned char> colours;  // RGB triples of the table the frame uses
    int transparentIndex = -1;
    int delay = -1;  // hundredths
    int disposal = 0;
};

struct InspectedGif
{
    bool ok = false;
    int width = 0, height = 0;
    int loopCount = -1;  // the looping extension's repetitions; -1 without one
    std::vector<InspectedFrame> frames;
};

inline InspectedGif InspectGif(const std::string& bytes)
{
    struct Source
    {
        const std::string* bytes;
        size_t pos;
    } source{&bytes, 0};
    auto read = [](GifFileType* gif, GifByteType* out, int length) -> int
    {
        auto* s = static_cast<Source*>(gif->UserData);
        const size_t n = std::min<size_t>(length, s->bytes->size() - s->pos);
        std::memcpy(out, s->bytes->data() + s->pos, n);
        s->pos += n;
        return static_cast<int>(n);
    };
    InspectedGif result;
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read, &error);
    if (!gif)
        return result;
    result.ok = DGifSlurp(gif) == GIF_OK;
    result.width = gif->SWidth;
    result.height = gif->SHeight;
    for (int i = 0; result.ok && i < gif->ImageCount; ++i)
    {
        const SavedImage& saved = gif->SavedImages[i];
        InspectedFrame frame;
        frame.left = saved.ImageDesc.Left;
        frame.top = saved.ImageDesc.Top;
        frame.width = saved.ImageDesc.Width;
        frame.height = saved.ImageDesc.Height;
        frame.indices.assign(saved.RasterBits, saved.RasterBits + frame.width * frame.height);
        const ColorMapObject* map =
            saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
        for (int c = 0; map && c < map->ColorCount; ++c)
            frame.colours.insert(frame.colours.end(),
                                 {map->Colors[c].Red, map->Colors[c].Green, map->Colors[c].Blue});
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK)
        {
            frame.transparentIndex = gcb.TransparentColor;
            frame.delay = gcb.DelayTime;
            frame.disposal = gcb.DisposalMode;
        }
        for (int e = 0; e + 1 < saved.ExtensionBlockCount; ++e)
        {
            const ExtensionBlock& block = saved.ExtensionBlocks[e];
            const ExtensionBlock& next = saved.ExtensionBlocks[e + 1];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && next.ByteCount >= 3)
                result.loopCount = next.Bytes[1] | (next.Bytes[2] << 8);
        }
        result.frames.push_back(frame);
    }
    DGifCloseFile(gif, &error);
    return result;
}

// The pictures a viewer shows, frame by frame, as RGB rows of the logical
// screen: each frame drawn over what its predecessor left (transparent
// pixels show through), honouring the disposal methods. The screen starts
// black, and "restore to background" clears to black.
inline std::vector<std::vector<unsigned char>> ComposeGif(const InspectedGif& gif)
{
    std::vector<std::vector<unsigned char>> shown;
    std::vector<unsigned char> screen(std::size_t(gif.width) * gif.height * 3, 0);
    for (const InspectedFrame& frame : gif.frames)
    {
        const std::vector<unsigned char> before = screen;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
            {
                const int index = frame.indices[std::size_t(y) * frame.width + x];
                const int sx = frame.left + x, sy = frame.top + y;
                if (index == frame.transparentIndex || sx >= gif.width || sy >= gif.height ||
                    3 * index + 2 >= int(frame.colours.size()))
                    continue;
                std::memcpy(&screen[(std::size_t(sy) * gif.width + sx) * 3],
                            &frame.colours[3 * index], 3);
            }
        shown.push_back(screen);
        if (frame.disposal == 2)
            for (int y = frame.top; y < std::min(gif.height, frame.top + frame.height); ++y)
                for (int x = frame.left; x < std::min(gif.width, frame.left + frame.width); ++x)
                    std::memset(&screen[(std::size_t(y) * gif.width + x) * 3], 0, 3);
        else if (frame.disposal == 3)
            screen = before;
    }
    return shown;
}

#endif
