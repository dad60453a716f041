// Byte-level checks of the animated GIF writer.
#include "gif_files.h"
#include "gif_inspect.h"
#include "reference_export.h"
#include "window/gif_gifhandler.h"

#include <gtest/gtest.h>

#include <wx/mstream.h>

#include <string>
#include <vector>

namespace
{
std::vector<unsigned char> DistinctColours(int count)
{
    std::vector<unsigned char> rgb;
    for (int i = 0; i < count; ++i)
        rgb.insert(rgb.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                               static_cast<unsigned char>(i * 7)});
    return rgb;
}

unsigned Byte(const std::string& bytes, size_t offset)
{
    return static_cast<unsigned char>(bytes.at(offset));
}

unsigned Word(const std::string& bytes, size_t offset)
{
    return Byte(bytes, offset) | (Byte(bytes, offset + 1) << 8);
}

// Offset of the first graphic control extension after the header.
size_t HeaderSize(int tableEntries)
{
    return 13 + 3 * tableEntries + 19;
}

// A stream that accepts a fixed number of bytes and then fails every write.
class FailingStream : public wxOutputStream
{
public:
    explicit FailingStream(size_t capacity) : m_capacity(capacity) {}
    std::string written;

protected:
    size_t OnSysWrite(const void* buffer, size_t size) override
    {
        const size_t n = std::min(size, m_capacity - written.size());
        written.append(static_cast<const char*>(buffer), n);
        if (n < size)
            m_lasterror = wxSTREAM_WRITE_ERROR;
        return n;
    }

private:
    size_t m_capacity;
};
}  // namespace

TEST(GifWriter, SingleFrameLayout)
{
    const std::string gif = WriteGifFrames({PalettedImage(4, 2, DistinctColours(2))}, 300);
    ASSERT_GT(gif.size(), 50u);
    EXPECT_EQ(gif.substr(0, 6), "GIF89a");
    EXPECT_EQ(Word(gif, 6), 4u);
    EXPECT_EQ(Word(gif, 8), 2u);
    EXPECT_EQ(Byte(gif, 10), 0x80u);
    EXPECT_EQ(Byte(gif, 11), 0u);
    EXPECT_EQ(Byte(gif, 12), 0u);
    EXPECT_EQ(Byte(gif, 13 + 3), 1u);  // second table entry: (1, 254, 7)
    EXPECT_EQ(Byte(gif, 13 + 4), 254u);

    const size_t loop = 13 + 6;
    EXPECT_EQ(gif.substr(loop, 3), std::string("\x21\xFF\x0B", 3));
    EXPECT_EQ(gif.substr(loop + 3, 11), "NETSCAPE2.0");
    EXPECT_EQ(gif.substr(loop + 14, 5), std::string("\x03\x01\x00\x00\x00", 5));

    const size_t control = HeaderSize(2);
    EXPECT_EQ(gif.substr(control, 8), std::string("\x21\xF9\x04\x00\x1E\x00\x00\x00", 8));
    const size_t descriptor = control + 8;
    EXPECT_EQ(Byte(gif, descriptor), 0x2Cu);
    EXPECT_EQ(Word(gif, descriptor + 1), 0u);
    EXPECT_EQ(Word(gif, descriptor + 3), 0u);
    EXPECT_EQ(Word(gif, descriptor + 5), 4u);
    EXPECT_EQ(Word(gif, descriptor + 7), 2u);
    EXPECT_EQ(Byte(gif, descriptor + 9), 0x00u);   // the first frame uses the global table
    EXPECT_EQ(Byte(gif, descriptor + 10), 0x08u);  // LZW minimum code size
    EXPECT_EQ(Byte(gif, gif.size() - 1), 0x3Bu);
    EXPECT_EQ(gif.find('\x3B', descriptor + 10), gif.size() - 1);

    const InspectedGif inspected = InspectGif(gif);
    ASSERT_TRUE(inspected.ok);
    ASSERT_EQ(inspected.frames.size(), 1u);
    EXPECT_EQ(inspected.frames[0].delay, 30);
}

TEST(GifWriter, PackedBytesFollowTheTableSize)
{
    struct Case
    {
        int colours;
        int tableEntries;
        unsigned header;
        unsigned later;
        size_t firstControl;  // header, global table and looping extension come first
    };
    for (const Case& c : {Case{2, 2, 0x80, 0x80, 38}, Case{3, 4, 0xA1, 0xA1, 44},
                          Case{5, 8, 0xC2, 0x82, 56}, Case{256, 256, 0xE7, 0xA7, 800}})
    {
        SCOPED_TRACE(c.colours);
        const wxImage frame = PalettedImage(6, 3, DistinctColours(c.colours));
        const std::string gif = WriteGifFrames({frame, frame});
        EXPECT_EQ(Byte(gif, 10), c.header);
        ASSERT_EQ(gif.substr(c.firstControl, 3), std::string("\x21\xF9\x04", 3));
        // Skip the first frame's data: sub-blocks after the code size byte.
        size_t pos = c.firstControl + 8 + 10 + 1;
        while (Byte(gif, pos) != 0)
            pos += Byte(gif, pos) + 1;
        ++pos;
        ASSERT_EQ(gif.substr(pos, 3), std::string("\x21\xF9\x04", 3));
        const size_t descriptor = pos + 8;
        EXPECT_EQ(Byte(gif, descriptor), 0x2Cu);
        EXPECT_EQ(Byte(gif, descriptor + 9), c.later);
        EXPECT_EQ(Byte(gif, descriptor + 10 + 3 * c.tableEntries), 0x08u)
            << "a local table of " << c.tableEntries << " entries";
        const InspectedGif inspected = InspectGif(gif);
        ASSERT_TRUE(inspected.ok);
        EXPECT_EQ(inspected.frames[1].colours.size(), 3u * c.tableEntries);
    }
}

TEST(GifWriter, DelayBytes)
{
    const wxImage frame = PalettedImage(2, 2, DistinctColours(2));
    const size_t delay = HeaderSize(2) + 4;
    std::string gif = WriteGifFrames({frame}, 300);
    EXPECT_EQ(gif.substr(delay, 2), std::string("\x1E\x00", 2));
    gif = WriteGifFrames({frame}, 3000);
    EXPECT_EQ(gif.substr(delay, 2), std::string("\x2C\x01", 2));
    gif = WriteGifFrames({frame}, 9);
    EXPECT_EQ(gif.substr(delay, 2), std::string("\x00\x00", 2));
    // The field holds 16 bits: longer delays are clamped, not wrapped.
    gif = WriteGifFrames({frame}, 655350);
    EXPECT_EQ(gif.substr(delay, 2), std::string("\xFF\xFF", 2));
    gif = WriteGifFrames({frame}, 700000);
    EXPECT_EQ(gif.substr(delay, 2), std::string("\xFF\xFF", 2));
}

TEST(GifWriter, OddWidthsEndTheCodeStreamExactly)
{
    for (int width : {1, 3, 7, 33, 101})
    {
        SCOPED_TRACE(width);
        const wxImage frame = PalettedImage(width, 5, DistinctColours(7));
        const std::string gif = WriteGifFrames({frame, frame});
        const InspectedGif inspected = InspectGif(gif);
        ASSERT_TRUE(inspected.ok);
        ASSERT_EQ(inspected.frames.size(), 2u);
        EXPECT_EQ(Byte(gif, gif.size() - 1), 0x3Bu);
        const std::vector<unsigned char> palette = PaletteBytes(frame);
        for (const InspectedFrame& decoded : inspected.frames)
            for (int i = 0; i < width * 5; ++i)
                ASSERT_EQ(
                    decoded.indices[i],
                    FindFirstEqualEntry(palette.data(), 7, frame.GetData()[3 * i],
                                        frame.GetData()[3 * i + 1], frame.GetData()[3 * i + 2]));
    }
}

TEST(GifWriter, IndicesMatchTheFirstEqualEntryOfPalettesWithDuplicates)
{
    // Duplicates everywhere: the first equal entry must win, as a linear search finds it.
    std::vector<unsigned char> rgb;
    for (int i = 0; i < 256; ++i)
        rgb.insert(rgb.end(),
                   {static_cast<unsigned char>(i % 40), static_cast<unsigned char>((i % 40) * 3),
                    static_cast<unsigned char>(i % 5)});
    const wxImage frame = PalettedImage(97, 61, rgb);
    const InspectedGif inspected = InspectGif(WriteGifFrames({frame, frame}));
    ASSERT_TRUE(inspected.ok);
    for (const InspectedFrame& decoded : inspected.frames)
        for (int i = 0; i < 97 * 61; ++i)
        {
            const unsigned char* p = frame.GetData() + 3 * i;
            ASSERT_EQ(decoded.indices[i], FindFirstEqualEntry(rgb.data(), 256, p[0], p[1], p[2]))
                << "pixel " << i;
        }
}

TEST(GifWriter, MaskColourBecomesTheTransparentEntry)
{
    // Mask not in a 255-entry palette: appended as entry 255.
    wxImage appended = PalettedImage(8, 8, DistinctColours(255));
    appended.SetRGB(0, 0, 255, 0, 255);
    appended.SetMaskColour(255, 0, 255);
    std::string gif = WriteGifFrames({appended});
    size_t control = HeaderSize(256);
    EXPECT_EQ(Byte(gif, control + 3), 0x01u);
    EXPECT_EQ(Byte(gif, control + 6), 0xFFu);
    EXPECT_EQ(gif.substr(13 + 3 * 255, 3), std::string("\xFF\x00\xFF", 3));
    InspectedGif inspected = InspectGif(gif);
    ASSERT_TRUE(inspected.ok);
    EXPECT_EQ(inspected.frames[0].indices[0], 255);

    // Mask already in the palette: its first entry.
    wxImage inside = PalettedImage(8, 8, DistinctColours(4));
    inside.SetMaskColour(2, 253, 14);
    gif = WriteGifFrames({inside});
    control = HeaderSize(4);
    EXPECT_EQ(Byte(gif, control + 3), 0x01u);
    EXPECT_EQ(Byte(gif, control + 6), 2u);

    // A full palette leaves no room: no transparency.
    wxImage full = PalettedImage(8, 8, DistinctColours(256));
    full.SetMaskColour(255, 0, 255);
    gif = WriteGifFrames({full});
    EXPECT_EQ(Byte(gif, HeaderSize(256) + 3), 0x00u);
}

TEST(GifWriter, CommentIsCutIntoSubBlocks)
{
    wxImage frame = PalettedImage(4, 4, DistinctColours(2));
    frame.SetOption(wxIMAGE_OPTION_GIF_COMMENT, wxString('c', 300));
    const std::string gif = WriteGifFrames({frame});
    const size_t comment = HeaderSize(2);
    EXPECT_EQ(gif.substr(comment, 2), std::string("\x21\xFE", 2));
    EXPECT_EQ(Byte(gif, comment + 2), 255u);
    EXPECT_EQ(Byte(gif, comment + 3 + 255), 45u);
    EXPECT_EQ(Byte(gif, comment + 4 + 255 + 45), 0u);
    EXPECT_EQ(Byte(gif, comment + 5 + 255 + 45), 0x21u);
    EXPECT_EQ(Byte(gif, comment + 6 + 255 + 45), 0xF9u);
}

TEST(GifWriter, RefusesFramesWithoutPaletteOrPixels)
{
    wxMemoryOutputStream out;
    MyGifHandler::SetOutputStream(&out);
    MyGifHandler handler;
    EXPECT_FALSE(handler.SaveFrame(wxImage(4, 4), 100, 1, 0));
    EXPECT_FALSE(handler.SaveFrame(wxImage(), 100, 1, 0));
    MyGifHandler::SetOutputStream(nullptr);
    EXPECT_EQ(out.GetSize(), 0u);
}

TEST(GifWriter, TrailerOnlyAfterASuccessfulLastFrame)
{
    const wxImage frame = PalettedImage(40, 40, DistinctColours(256));
    const std::string complete = WriteGifFrames({frame, frame});
    // Every cut in the last frame fails it and leaves the trailer out.
    for (size_t capacity : {complete.size() - 1, complete.size() - 20, complete.size() - 900})
    {
        FailingStream out(capacity);
        MyGifHandler::SetOutputStream(&out);
        MyGifHandler first, second;
        EXPECT_TRUE(first.SaveFrame(frame, 100, 2, 0));
        EXPECT_FALSE(second.SaveFrame(frame, 100, 2, 1));
        MyGifHandler::SetOutputStream(nullptr);
        EXPECT_LT(out.written.size(), complete.size());
        EXPECT_EQ(out.written, complete.substr(0, out.written.size()));
    }
    // A failed header fails the frame at once.
    FailingStream tiny(10);
    MyGifHandler::SetOutputStream(&tiny);
    MyGifHandler handler;
    EXPECT_FALSE(handler.SaveFrame(frame, 100, 1, 0));
    MyGifHandler::SetOutputStream(nullptr);
}
