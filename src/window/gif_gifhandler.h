#ifndef LOOPFORGE_WINDOW_GIF_GIFHANDLER_H
#define LOOPFORGE_WINDOW_GIF_GIFHANDLER_H

#include <wx/image.h>
#include <wx/imaggif.h>

class wxOutputStream;

// Writes an animated GIF89a file one frame at a time, using the toolkit's GIF
// handler only for its LZW encoder. The file always loops forever; the delay
// is the only timing. Frame 0 brings the header, its palette as the global
// colour table and the looping extension; later frames carry local tables;
// the trailer follows the last frame. Every write is checked.
//
// The output stream is shared by all instances, so one export at a time.
class MyGifHandler : public wxGIFHandler
{
public:
    struct PaletteEntry
    {
        unsigned char red, green, blue;
    };

    MyGifHandler() = default;
    ~MyGifHandler() override;

    static void SetOutputStream(wxOutputStream* stream);

    // Writes one frame. The image is RGB with a wxPalette of at most 256
    // entries holding every pixel colour; a mask colour makes the matching
    // entry (or an appended one, if the palette has room) transparent, and a
    // "GifComment" option becomes a comment block. False when the image has no
    // palette or no pixels, or a write failed; after a failed last frame no
    // trailer is written.
    bool SaveFrame(const wxImage& image, int delayMs, int frameCount, int frameIndex);

    // The frame body: header (when first), comment, graphic control extension,
    // image descriptor, local table (when not first) and the LZW data.
    bool DoSaveFile(const wxImage& image, bool first, int delayMs, const PaletteEntry* palette,
                    int paletteCount, int maskIndex);

private:
    bool Write(const void* data, size_t size);
    bool WriteByte(unsigned char byte);
    bool WriteWord(unsigned value);
    bool WriteHeader(int width, int height, const PaletteEntry* palette, int paletteCount);
    bool WriteColourTable(const PaletteEntry* palette, int paletteCount);
    bool WriteLoopingExtension();
    bool WriteComment(const wxImage& image);
    bool WriteGraphicControl(int maskIndex, int delayMs);
    bool WriteImageData(const wxImage& image, const PaletteEntry* palette, int paletteCount);
    void ReleaseHashTable();

    static wxOutputStream* ms_outputStream;
};

#endif
