#include "window/gif_gifhandler.h"

#include "encode/paletteindex.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/palette.h>
#include <wx/stream.h>

#include <algorithm>
#include <new>
#include <vector>

wxOutputStream* MyGifHandler::ms_outputStream = nullptr;

namespace
{
// Smallest b >= 1 with 2^b >= count: colour tables hold 2^b entries.
int TableBits(int count)
{
    int bits = 1;
    while (bits < 8 && (1 << bits) < count)
        ++bits;
    return bits;
}

// For a colour that is not in the palette (callers guarantee it never
// happens), the nearest entry is the least surprising choice.
int NearestEntry(const MyGifHandler::PaletteEntry* palette, int count, const unsigned char* rgb)
{
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < count; ++i)
    {
        const long dr = palette[i].red - rgb[0];
        const long dg = palette[i].green - rgb[1];
        const long db = palette[i].blue - rgb[2];
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance)
        {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}
}  // namespace

MyGifHandler::~MyGifHandler()
{
    ReleaseHashTable();
}

void MyGifHandler::ReleaseHashTable()
{
    // The base class allocates its hash table with a plain new of a trivially
    // destructible struct whose definition it keeps private; returning the
    // memory to the matching operator delete frees it without needing (or
    // deleting) the incomplete type.
    ::operator delete(static_cast<void*>(m_hashTable));
    m_hashTable = nullptr;
}

void MyGifHandler::SetOutputStream(wxOutputStream* stream)
{
    ms_outputStream = stream;
}

bool MyGifHandler::Write(const void* data, size_t size)
{
    ms_outputStream->Write(data, size);
    return ms_outputStream->LastWrite() == size;
}

bool MyGifHandler::WriteByte(unsigned char byte)
{
    return Write(&byte, 1);
}

bool MyGifHandler::WriteWord(unsigned value)
{
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>((value >> 8) & 0xFF)};
    return Write(bytes, 2);
}

bool MyGifHandler::WriteColourTable(const PaletteEntry* palette, int paletteCount)
{
    const int entries = 1 << TableBits(paletteCount);
    for (int i = 0; i < entries; ++i)
    {
        unsigned char rgb[3] = {0, 0, 0};
        if (i < paletteCount)
        {
            rgb[0] = palette[i].red;
            rgb[1] = palette[i].green;
            rgb[2] = palette[i].blue;
        }
        if (!Write(rgb, 3))
            return false;
    }
    return true;
}

bool MyGifHandler::WriteHeader(int width, int height, const PaletteEntry* palette, int paletteCount)
{
    const int k = TableBits(paletteCount) - 1;
    const unsigned char screen[3] = {static_cast<unsigned char>(0x80 | ((k & 3) << 5) | k), 0, 0};
    return Write("GIF89a", 6) && WriteWord(width) && WriteWord(height) && Write(screen, 3) &&
           WriteColourTable(palette, paletteCount);
}

bool MyGifHandler::WriteLoopingExtension()
{
    static const unsigned char introducer[3] = {0x21, 0xFF, 0x0B};
    static const unsigned char loop[4] = {0x03, 0x01, 0x00, 0x00};  // loop count 0: forever
    return Write(introducer, 3) && Write("NETSCAPE2.0", 11) && Write(loop, 4) && WriteByte(0);
}

bool MyGifHandler::WriteComment(const wxImage& image)
{
    const wxString comment = image.GetOption(wxIMAGE_OPTION_GIF_COMMENT);
    if (comment.empty())
        return true;
    const wxCharBuffer text = comment.mb_str(wxConvLibc);
    size_t left = text.length();
    if (left == 0)
        return true;  // not representable in the C library's encoding
    static const unsigned char introducer[2] = {0x21, 0xFE};
    if (!Write(introducer, 2))
        return false;
    const char* data = text.data();
    while (left > 0)
    {
        const size_t block = std::min<size_t>(left, 255);
        if (!WriteByte(static_cast<unsigned char>(block)) || !Write(data, block))
            return false;
        data += block;
        left -= block;
    }
    return WriteByte(0);
}

bool MyGifHandler::WriteGraphicControl(int maskIndex, int delayMs)
{
    // The delay field holds 16 bits of hundredths; longer delays are clamped.
    const int hundredths = std::min(std::max(delayMs, 0) / 10, 0xFFFF);
    const unsigned char block[8] = {0x21,
                                    0xF9,
                                    0x04,
                                    static_cast<unsigned char>(maskIndex >= 0 ? 0x01 : 0x00),
                                    static_cast<unsigned char>(hundredths & 0xFF),
                                    static_cast<unsigned char>(hundredths >> 8),
                                    static_cast<unsigned char>(maskIndex >= 0 ? maskIndex : 0),
                                    0x00};
    return Write(block, 8);
}

bool MyGifHandler::WriteImageData(const wxImage& image, const PaletteEntry* palette,
                                  int paletteCount)
{
    if (!InitHashTable())
    {
        wxLogError(_("Couldn't initialize GIF hash table."));
        return false;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const int paddedWidth = width + (width % 2);

    static_assert(sizeof(PaletteEntry) == 3, "palette entries are packed RGB triples");
    const PaletteIndex index(&palette[0].red, paletteCount);
    std::vector<wxUint8> row(static_cast<size_t>(width));
    bool ok = SetupCompress(ms_outputStream, 8);
    m_pixelCount = height * paddedWidth;
    const unsigned char* pixel = image.GetData();
    // Neighbouring pixels often repeat; remember the last lookup.
    int lastKey = -1;
    int lastIndex = 0;
    for (int y = 0; ok && y < height; ++y)
    {
        m_pixelCount -= paddedWidth;
        for (int x = 0; x < width; ++x, pixel += 3)
        {
            const int key = (pixel[0] << 16) | (pixel[1] << 8) | pixel[2];
            if (key != lastKey)
            {
                lastKey = key;
                lastIndex = index.Find(pixel[0], pixel[1], pixel[2]);
                if (lastIndex < 0)
                    lastIndex = NearestEntry(palette, paletteCount, pixel);
            }
            row[x] = static_cast<wxUint8>(lastIndex);
        }
        ok = CompressLine(ms_outputStream, row.data(), width);
    }
    ReleaseHashTable();
    return ok;
}

bool MyGifHandler::DoSaveFile(const wxImage& image, bool first, int delayMs,
                              const PaletteEntry* palette, int paletteCount, int maskIndex)
{
    // An image without pixels has nothing to encode.
    if (!ms_outputStream || !image.IsOk() || image.GetWidth() <= 0 || image.GetHeight() <= 0)
        return false;
    const int width = image.GetWidth();
    const int height = image.GetHeight();

    if (first && !(WriteHeader(width, height, palette, paletteCount) && WriteLoopingExtension()))
        return false;
    if (!(WriteComment(image) && WriteGraphicControl(maskIndex, delayMs) && WriteByte(0x2C) &&
          WriteWord(0) && WriteWord(0) && WriteWord(width) && WriteWord(height)))
        return false;
    if (first)
    {
        if (!WriteByte(0x00))
            return false;
    }
    else
    {
        const int k = TableBits(paletteCount) - 1;
        if (!WriteByte(static_cast<unsigned char>(0x80 | ((k & 1) << 5) | k)) ||
            !WriteColourTable(palette, paletteCount))
            return false;
    }
    return WriteImageData(image, palette, paletteCount);
}

bool MyGifHandler::SaveFrame(const wxImage& image, int delayMs, int frameCount, int frameIndex)
{
    if (!image.IsOk() || !image.HasPalette())
        return false;

    PaletteEntry palette[256];
    const wxPalette& source = image.GetPalette();
    int count = std::min(source.GetColoursCount(), 256);
    for (int i = 0; i < count; ++i)
        if (!source.GetRGB(i, &palette[i].red, &palette[i].green, &palette[i].blue))
            palette[i] = PaletteEntry{0, 0, 0};

    int maskIndex = -1;
    if (image.HasMask())
    {
        const PaletteEntry mask{image.GetMaskRed(), image.GetMaskGreen(), image.GetMaskBlue()};
        for (int i = 0; i < count && maskIndex < 0; ++i)
            if (palette[i].red == mask.red && palette[i].green == mask.green &&
                palette[i].blue == mask.blue)
                maskIndex = i;
        if (maskIndex < 0 && count < 256)
        {
            palette[count] = mask;
            maskIndex = count++;
        }
    }

    const bool ok = DoSaveFile(image, frameIndex == 0, delayMs, palette, count, maskIndex);
    if (frameIndex + 1 == frameCount)
        return ok && WriteByte(0x3B);
    return ok;
}
