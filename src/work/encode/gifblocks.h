#ifndef LOOPFORGE_WORK_GIFBLOCKS_H
#define LOOPFORGE_WORK_GIFBLOCKS_H

#include <cstdint>
#include <vector>

class LzwEncoder;

// The blocks of an animated GIF89a file, appended to byte buffers so that
// frames can be encoded on several threads and written in order by one.
// The packed bytes are the ones this program has always written (the colour
// resolution holds the low bits of the table size, and in image descriptors
// bit 5 repeats its lowest bit); decoders read the table size alone.

// Up to 256 colours as red, green, blue triples.
struct GifPalette
{
    int count = 0;
    std::uint8_t rgb[256 * 3] = {};

    void Add(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        rgb[3 * count] = red;
        rgb[3 * count + 1] = green;
        rgb[3 * count + 2] = blue;
        ++count;
    }
};

// Smallest b >= 1 with 2^b >= count: a colour table holds 2^b entries.
int GifTableBits(int count);

// The header: signature, logical screen of width x height with the global
// colour table, and the looping extension, which stores loopCount: how many
// times viewers repeat the animation after playing it once, 0 for forever.
void AppendGifHeader(std::vector<std::uint8_t>& out, int width, int height,
                     const GifPalette& globalTable, int loopCount);

// What disposal method a frame asks for once its delay is over.
enum class GifDisposal : std::uint8_t
{
    Unspecified = 0,  // what the classic export writes; decoders leave the frame in place
    Keep = 1,         // leave the frame in place: the next one draws over it
    Background = 2    // clear the frame's area to transparent
};

// One frame: a rectangle of the logical screen as palette indices, row by
// row without padding.
struct GifFrameBlock
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    const std::uint8_t* indices = nullptr;
    const GifPalette* localTable = nullptr;  // null: the frame uses the global table
    int transparentIndex = -1;
    GifDisposal disposal = GifDisposal::Unspecified;
    int delay = 0;     // hundredths of a second, clamped to 16 bits
    int codeSize = 8;  // LZW minimum code size, 2 to 8
};

// The graphic control extension, image descriptor, local table and image data.
void AppendGifFrame(std::vector<std::uint8_t>& out, const GifFrameBlock& frame, LzwEncoder& lzw);

// Lengthens the delay of the frame whose blocks bytes hold (after the header,
// when they start with one) by extra hundredths of a second, so that it also
// covers a frame that showed the same picture. False, and bytes unchanged,
// when the sum would not fit the 16-bit field or bytes hold no such frame.
bool ExtendGifFrameDelay(std::vector<std::uint8_t>& bytes, int extra);

constexpr std::uint8_t kGifTrailer = 0x3B;

#endif
