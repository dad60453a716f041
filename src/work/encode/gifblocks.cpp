#include "encode/gifblocks.h"

#include "encode/lzwencoder.h"

#include <algorithm>
#include <cstring>

namespace
{
void AppendWord(std::vector<std::uint8_t>& out, int value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void AppendTable(std::vector<std::uint8_t>& out, const GifPalette& palette)
{
    const std::size_t entries = std::size_t(1) << GifTableBits(palette.count);
    const std::size_t used = std::size_t(std::min(palette.count, 256)) * 3;
    out.insert(out.end(), palette.rgb, palette.rgb + used);
    out.insert(out.end(), entries * 3 - used, 0);
}
}  // namespace

int GifTableBits(int count)
{
    int bits = 1;
    while (bits < 8 && (1 << bits) < count)
        ++bits;
    return bits;
}

void AppendGifHeader(std::vector<std::uint8_t>& out, int width, int height,
                     const GifPalette& globalTable, int loopCount)
{
    static const char kSignature[] = "GIF89a";
    out.insert(out.end(), kSignature, kSignature + 6);
    AppendWord(out, width);
    AppendWord(out, height);
    const int k = GifTableBits(globalTable.count) - 1;
    out.push_back(static_cast<std::uint8_t>(0x80 | ((k & 3) << 5) | k));
    out.push_back(0);  // background colour index
    out.push_back(0);  // pixel aspect ratio
    AppendTable(out, globalTable);

    static const std::uint8_t kLooping[14] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S',
                                              'C',  'A',  'P',  'E', '2', '.', '0'};
    out.insert(out.end(), kLooping, kLooping + 14);
    out.push_back(0x03);
    out.push_back(0x01);
    AppendWord(out, std::clamp(loopCount, 0, 0xFFFF));
    out.push_back(0x00);
}

void AppendGifFrame(std::vector<std::uint8_t>& out, const GifFrameBlock& frame, LzwEncoder& lzw)
{
    const bool transparent = frame.transparentIndex >= 0;
    const int delay = std::clamp(frame.delay, 0, 0xFFFF);
    const std::uint8_t control[8] = {
        0x21,
        0xF9,
        0x04,
        static_cast<std::uint8_t>((static_cast<int>(frame.disposal) << 2) | (transparent ? 1 : 0)),
        static_cast<std::uint8_t>(delay & 0xFF),
        static_cast<std::uint8_t>(delay >> 8),
        static_cast<std::uint8_t>(transparent ? frame.transparentIndex : 0),
        0x00};
    out.insert(out.end(), control, control + 8);

    out.push_back(0x2C);
    AppendWord(out, frame.left);
    AppendWord(out, frame.top);
    AppendWord(out, frame.width);
    AppendWord(out, frame.height);
    if (frame.localTable)
    {
        const int k = GifTableBits(frame.localTable->count) - 1;
        out.push_back(static_cast<std::uint8_t>(0x80 | ((k & 1) << 5) | k));
        AppendTable(out, *frame.localTable);
    }
    else
    {
        out.push_back(0x00);
    }
    lzw.Encode(frame.indices, std::size_t(frame.width) * frame.height, frame.codeSize, out);
}

bool ExtendGifFrameDelay(std::vector<std::uint8_t>& bytes, int extra)
{
    std::size_t control = 0;
    if (bytes.size() >= 13 && std::memcmp(bytes.data(), "GIF89a", 6) == 0)
    {
        const std::size_t table = (bytes[10] & 0x80) ? std::size_t(3) << ((bytes[10] & 7) + 1) : 0;
        control = 13 + table + 19;  // the looping extension follows the global table
    }
    if (bytes.size() < control + 8 || bytes[control] != 0x21 || bytes[control + 1] != 0xF9)
        return false;
    const int delay = bytes[control + 4] | (bytes[control + 5] << 8);
    const int total = delay + std::clamp(extra, 0, 0xFFFF);
    if (total > 0xFFFF)
        return false;
    bytes[control + 4] = static_cast<std::uint8_t>(total & 0xFF);
    bytes[control + 5] = static_cast<std::uint8_t>(total >> 8);
    return true;
}
