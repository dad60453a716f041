#ifndef LOOPFORGE_TESTS_GIF_FILES_H
#define LOOPFORGE_TESTS_GIF_FILES_H

// Animated GIFs made with the program's own writer and export, for tests that
// read GIFs or need them on disk.
#include "encode/gifexport.h"
#include "window/gif_gifhandler.h"

#include <gtest/gtest.h>

#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <string>
#include <vector>

// An image whose pixels cycle through the colours (RGB triples), with exactly
// those colours as its palette: ready for the writer without reduction.
inline wxImage PalettedImage(int width, int height, const std::vector<unsigned char>& rgb)
{
    const int count = static_cast<int>(rgb.size() / 3);
    wxImage image(width, height, false);
    unsigned char* p = image.GetData();
    for (int i = 0; i < width * height; ++i)
    {
        const int c = (i * 7 + i / width) % count;
        *p++ = rgb[3 * c];
        *p++ = rgb[3 * c + 1];
        *p++ = rgb[3 * c + 2];
    }
    std::vector<unsigned char> r, g, b;
    for (int c = 0; c < count; ++c)
    {
        r.push_back(rgb[3 * c]);
        g.push_back(rgb[3 * c + 1]);
        b.push_back(rgb[3 * c + 2]);
    }
    image.SetPalette(wxPalette(count, r.data(), g.data(), b.data()));
    return image;
}

inline wxImage TwoColourImage(int width, int height)
{
    return PalettedImage(width, height, {0, 0, 0, 250, 10, 20});
}

// The bytes of a looping GIF of already reduced frames, one writer per frame
// as the export uses it.
inline std::string WriteGifFrames(const std::vector<wxImage>& frames, int delayMs = 100)
{
    wxMemoryOutputStream out;
    MyGifHandler::SetOutputStream(&out);
    for (size_t i = 0; i < frames.size(); ++i)
    {
        MyGifHandler handler;
        EXPECT_TRUE(handler.SaveFrame(frames[i], delayMs, int(frames.size()), int(i)))
            << "frame " << i;
    }
    MyGifHandler::SetOutputStream(nullptr);
    std::string bytes(out.GetSize(), '\0');
    if (!bytes.empty())
        out.CopyTo(&bytes[0], bytes.size());
    return bytes;
}

// Exports the pictures as a GIF of the first one's size, as the window's Save does.
inline bool ExportFrames(const std::vector<wxImage>& pictures, const wxString& path)
{
    std::vector<const wxImage*> frames;
    for (const wxImage& picture : pictures)
        frames.push_back(&picture);
    const wxSize size = pictures.empty() ? wxSize() : pictures.front().GetSize();
    const GifExportResult result = ExportGif(frames, path, 10, size.x, size.y);
    EXPECT_TRUE(result.ok) << result.error.utf8_string();
    return result.ok;
}

#endif
