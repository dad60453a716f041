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
    int width = 0, height = 0;
    std::vector<unsigned char> indices;
    std::vector<unsigned char> colours;  // RGB triples of the table the frame uses
    int transparentIndex = -1;
    int delay = -1;  // hundredths
};

struct InspectedGif
{
    bool ok = false;
    int width = 0, height = 0;
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
        }
        result.frames.push_back(frame);
    }
    DGifCloseFile(gif, &error);
    return result;
}

#endif
