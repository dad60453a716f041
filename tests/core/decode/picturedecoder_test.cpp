// Decoding of crafted and hostile pictures, frame references and the size cap.
#include "decode/picturedecoder.h"
#include "decode/bmpcheck.h"
#include "decode/picturesequence.h"
#include "decode/picturesize.h"

#include "address_space_limit.h"
#include "fifo.h"
#include "gif_files.h"
#include "temp_dir.h"
#include "wx_printers.h"

#include <gtest/gtest.h>

#include <wx/mstream.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
struct Picture
{
    wxImage image;
    int index;
};

std::vector<Picture> Decode(const wxString& entry)
{
    std::vector<Picture> pictures;
    DecodePictures(entry,
                   [&](std::unique_ptr<wxImage> image, int index, bool) {
                       pictures.push_back({*image, index});
                   });
    return pictures;
}

std::vector<int> Indices(const std::vector<Picture>& pictures)
{
    std::vector<int> indices;
    for (const Picture& p : pictures)
        indices.push_back(p.index);
    return indices;
}

// A GIF of count frames, each width x height in two colours, from the program's writer.
std::string TwoColourGif(int count, int width = 2, int height = 2)
{
    return WriteGifFrames(std::vector<wxImage>(count, TwoColourImage(width, height)));
}

// Offsets of the image descriptors of a GIF written with a 2-entry global table.
std::vector<size_t> Descriptors(const std::string& gif)
{
    std::vector<size_t> found;
    size_t pos = 13 + 6;
    auto skipBlocks = [&]()
    {
        while (static_cast<unsigned char>(gif[pos]) != 0)
            pos += static_cast<unsigned char>(gif[pos]) + 1;
        ++pos;
    };
    while (pos < gif.size() && gif[pos] != '\x3B')
    {
        if (gif[pos] == '\x21')
        {
            pos += 2;
            skipBlocks();
        }
        else
        {
            found.push_back(pos);
            const unsigned char packed = gif[pos + 9];
            pos += 10 + ((packed & 0x80) ? 3 * (2 << (packed & 7)) : 0) + 1;
            skipBlocks();
        }
    }
    return found;
}

void PutWord(std::string& bytes, size_t offset, unsigned value)
{
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& bytes, size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A BMP with a 40-byte header, the given colour table and pixel data.
std::string MakeBmp(int width, int height, int bits, int compression, int coloursUsed,
                    int tableEntries, const std::string& pixels)
{
    std::string bmp(14 + 40 + 4 * tableEntries, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32(bmp, 10, static_cast<std::uint32_t>(bmp.size()));
    Put32(bmp, 14, 40);
    Put32(bmp, 18, static_cast<std::uint32_t>(width));
    Put32(bmp, 22, static_cast<std::uint32_t>(height));
    PutWord(bmp, 26, 1);
    PutWord(bmp, 28, static_cast<unsigned>(bits));
    Put32(bmp, 30, static_cast<std::uint32_t>(compression));
    Put32(bmp, 46, static_cast<std::uint32_t>(coloursUsed));
    for (int i = 0; i < tableEntries; ++i)
    {
        bmp[54 + 4 * i] = static_cast<char>(i * 40);       // blue
        bmp[54 + 4 * i + 1] = static_cast<char>(255 - i);  // green
        bmp[54 + 4 * i + 2] = static_cast<char>(i);        // red
    }
    Put32(bmp, 2, static_cast<std::uint32_t>(bmp.size() + pixels.size()));
    return bmp + pixels;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

bool SafeBmp(const std::string& bmp)
{
    return IsBmpSafeToDecode(reinterpret_cast<const unsigned char*>(bmp.data()), bmp.size());
}

// A JPEG of a few hundred bytes whose frame header declares width x height.
std::string JpegDeclaring(int width, int height)
{
    wxImage small(8, 8);
    wxMemoryOutputStream out;
    EXPECT_TRUE(small.SaveFile(out, wxBITMAP_TYPE_JPEG));
    std::string jpeg(out.GetSize(), '\0');
    out.CopyTo(&jpeg[0], jpeg.size());
    const size_t frame = jpeg.find("\xFF\xC0");
    EXPECT_NE(frame, std::string::npos);
    if (frame != std::string::npos)
        for (const auto& [offset, value] : {std::pair<size_t, int>{5, height}, {7, width}})
        {
            jpeg[frame + offset] = static_cast<char>(value >> 8);
            jpeg[frame + offset + 1] = static_cast<char>(value & 0xFF);
        }
    return jpeg;
}

// LZW data of count zero indices with 8-bit codes: each code one zero longer
// than the last until the table is full, then the longest one over and over.
std::string LzwOfZeros(unsigned long long count)
{
    const int clear = 256, end = 257;
    std::string out;
    unsigned long long bits = 0;
    int pending = 0, width = 9, next = end + 1;
    auto emit = [&](int code)
    {
        bits |= static_cast<unsigned long long>(code) << pending;
        for (pending += width; pending >= 8; pending -= 8, bits >>= 8)
            out.push_back(static_cast<char>(bits & 0xFF));
    };
    emit(clear);
    unsigned long long run = 1;
    for (unsigned long long done = 0; done < count;)
    {
        const unsigned long long known = std::min(run, count - done);
        emit(known == 1 ? 0 : end + static_cast<int>(known) - 1);
        done += known;
        if (next < 4096)
        {
            if (++next > (1 << width) && width < 12)
                ++width;
            run = known + 1;
        }
    }
    emit(end);
    if (pending > 0)
        out.push_back(static_cast<char>(bits & 0xFF));
    return out;
}

// A GIF of frames of colour 0 on a screen of width x height; each frame
// takes about 100 KB at 16384 x 16384.
std::string GifOfZeros(int width, int height, const std::vector<wxRect>& frames)
{
    std::string gif = "GIF89a";
    auto word = [&](int value) { gif += Bytes({value & 0xFF, value >> 8}); };
    word(width);
    word(height);
    gif += Bytes({0xF7, 0, 0}) + std::string(768, '\0');
    for (const wxRect& frame : frames)
    {
        gif += ",";
        word(frame.x);
        word(frame.y);
        word(frame.width);
        word(frame.height);
        gif += Bytes({0, 8});
        const std::string data =
            LzwOfZeros(static_cast<unsigned long long>(frame.width) * frame.height);
        for (size_t at = 0; at < data.size(); at += 255)
        {
            const size_t length = std::min<size_t>(255, data.size() - at);
            gif += static_cast<char>(length) + data.substr(at, length);
        }
        gif += Bytes({0});
    }
    return gif + ";";
}

std::string GifOfZeros(int width, int height)
{
    return GifOfZeros(width, height, {wxRect(0, 0, width, height)});
}
}  // namespace

TEST(PictureDecoder, DescribesEntries)
{
    EXPECT_EQ(DescribePictureEntry("/p/a.png").kind, PictureEntryKind::Picture);
    EXPECT_EQ(DescribePictureEntry("/p/a.GIF").kind, PictureEntryKind::WholeGif);
    EXPECT_EQ(DescribePictureEntry("/p/a.Gif_2").path, "/p/a.Gif");
    EXPECT_EQ(DescribePictureEntry("/p/a.gif").kind, PictureEntryKind::WholeGif);
    const PictureEntry reference = DescribePictureEntry("/p/a.gif_1500");
    EXPECT_EQ(reference.kind, PictureEntryKind::FrameReference);
    EXPECT_EQ(reference.path, "/p/a.gif");
    EXPECT_EQ(reference.frameIndex, 1500);
    EXPECT_EQ(DescribePictureEntry("/p/x.gif_old/a.gif").kind, PictureEntryKind::WholeGif);
}

TEST(PictureDecoder, FrameReferencesBeyondAThousandFrames)
{
    TempDir dir;
    const wxString path = dir.Write("long.gif", TwoColourGif(1002, 1, 1));
    EXPECT_EQ(Decode(path).size(), 1002u);
    const std::vector<Picture> picture = Decode(path + "_1001");
    ASSERT_EQ(picture.size(), 1u);
    EXPECT_EQ(picture[0].index, 1001);
    EXPECT_TRUE(Decode(path + "_1002").empty());
}

TEST(PictureDecoder, DamagedFramesAreSkippedAndLaterOnesKeepTheirIndex)
{
    TempDir dir;
    const std::string good = TwoColourGif(3);
    const std::vector<size_t> descriptors = Descriptors(good);
    ASSERT_EQ(descriptors.size(), 3u);

    std::string zeroWidth = good;
    PutWord(zeroWidth, descriptors[1] + 5, 0);
    EXPECT_EQ(Indices(Decode(dir.Write("zero.gif", zeroWidth))), (std::vector<int>{0, 2}));

    // Announces 65535 x 65535 pixels: over the cap, skipped without decoding.
    std::string huge = good;
    PutWord(huge, descriptors[1] + 5, 65535);
    PutWord(huge, descriptors[1] + 7, 65535);
    EXPECT_EQ(Indices(Decode(dir.Write("huge.gif", huge))), (std::vector<int>{0, 2}));
    EXPECT_TRUE(Decode(dir.File("huge.gif") + "_1").empty());

    // An LZW minimum code size of 18 ends the file.
    std::string codeSize = good;
    codeSize[descriptors[1] + 10 + 6] = 18;  // after the two-entry local table
    EXPECT_EQ(Indices(Decode(dir.Write("codesize.gif", codeSize))), (std::vector<int>{0}));

    // Cut inside the last frame's pixel data: that frame is dropped.
    EXPECT_EQ(Indices(Decode(dir.Write("cut.gif", good.substr(0, descriptors[2] + 13)))),
              (std::vector<int>{0, 1}));

    // LZW data that ends at once (its first code is the end code): the frame
    // is left out and reported, the sub-blocks lead on to the next one.
    std::string broken = good;
    const size_t codeSizeAt = descriptors[1] + 10 + 6;
    broken[codeSizeAt + 2] = static_cast<char>((1 << broken[codeSizeAt]) + 1);
    const wxString brokenPath = dir.Write("broken.gif", broken);
    EXPECT_EQ(Indices(Decode(brokenPath)), (std::vector<int>{0, 2}));
    std::vector<std::pair<size_t, int>> damaged;
    PictureSequence sequence(Paths({brokenPath + "_2", brokenPath}), {},
                             [&](size_t entry, int frame) { damaged.emplace_back(entry, frame); });
    for (SequencePicture picture; sequence.Next(picture);)
    {
    }
    EXPECT_EQ(damaged, (std::vector<std::pair<size_t, int>>{{1, 1}}));
}

TEST(PictureDecoder, GifDataUnderAnotherNameGivesItsFirstFrame)
{
    TempDir dir;
    const std::vector<Picture> pictures = Decode(dir.Write("anim.png", TwoColourGif(3, 5, 4)));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].image.GetSize(), wxSize(5, 4));
    EXPECT_EQ(pictures[0].index, 0);
}

TEST(PictureDecoder, PicturesOverThePixelCapAreSkipped)
{
    TempDir dir;
    // A PNG header announcing 20000 x 20000 pixels, and a JPEG frame header
    // announcing 65000 x 65000: nothing is decoded.
    std::string png =
        Bytes({0x89, 'P', 'N', 'G',  0x0D, 0x0A, 0x1A, 0x0A, 0,    0, 0, 13, 'I', 'H', 'D',
               'R',  0,   0,   0x4E, 0x20, 0,    0,    0x4E, 0x20, 8, 2, 0,  0,   0});
    png += std::string(64, '\0');
    unsigned long long width = 0, height = 0;
    ASSERT_TRUE(ReadPictureSize(PictureFormat::Png,
                                reinterpret_cast<const unsigned char*>(png.data()), png.size(),
                                width, height));
    EXPECT_EQ(width * height, 400000000ull);
    EXPECT_TRUE(Decode(dir.Write("big.png", png)).empty());

    const std::string jpeg =
        Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0xFD,
               0xE8, 0xFD, 0xE8, 0x03, 1,    0x11, 0,    2,    0x11, 1,    3,    0x11, 1});
    ASSERT_TRUE(ReadPictureSize(PictureFormat::Jpeg,
                                reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(),
                                width, height));
    EXPECT_EQ(width, 65000u);
    EXPECT_EQ(height, 65000u);
    EXPECT_TRUE(Decode(dir.Write("big.jpg", jpeg)).empty());
    EXPECT_GT(width * height, kMaxPicturePixels);

    const std::string bmp = MakeBmp(30000, 30000, 24, 0, 0, 0, std::string(16, '\0'));
    EXPECT_TRUE(Decode(dir.Write("big.bmp", bmp)).empty());
}

TEST(PictureDecoder, UnknownFormatsAreSkipped)
{
    TempDir dir;
    EXPECT_TRUE(Decode(dir.Write("notes.png", "just some text, not a picture")).empty());
    EXPECT_TRUE(Decode(dir.File("missing.png")).empty());
    EXPECT_TRUE(Decode(dir.File("missing.gif")).empty());
}

TEST(BmpCheck, ValidRunLengthStreamsPass)
{
    // 4 x 2, RLE8: a run of 4, end of row, two literal pixels and a run of 2, end of picture.
    const std::string rle8 =
        MakeBmp(4, 2, 8, 1, 4, 4, Bytes({4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 2, 0, 0, 0, 1}));
    EXPECT_TRUE(SafeBmp(rle8));
    TempDir dir;
    const std::vector<Picture> pictures = Decode(dir.Write("rle8.bmp", rle8));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].image.GetSize(), wxSize(4, 2));
    // Bottom row first: the lower row is colour 1 throughout.
    EXPECT_EQ(pictures[0].image.GetRed(0, 1), 1);
    EXPECT_EQ(pictures[0].image.GetGreen(3, 1), 254);

    // A horizontal move inside the row is fine.
    EXPECT_TRUE(SafeBmp(MakeBmp(8, 1, 8, 1, 0, 256, Bytes({2, 5, 0, 2, 3, 0, 3, 7, 0, 0, 1}))));
    EXPECT_TRUE(SafeBmp(MakeBmp(6, 1, 4, 2, 0, 16, Bytes({6, 0x12, 0, 1}))));
}

TEST(BmpCheck, StreamsThatWouldWriteOutsideThePictureAreRejected)
{
    // A literal run of 200 pixels in a 4-pixel row, on the top row.
    std::string literal(200, '\1');
    const std::string overrun =
        MakeBmp(4, 1, 8, 1, 0, 256, Bytes({0, 200}) + literal + Bytes({0, 1}));
    EXPECT_FALSE(SafeBmp(overrun));
    TempDir dir;
    EXPECT_TRUE(Decode(dir.Write("overrun.bmp", overrun)).empty());

    // Moves that leave the row or jump rows.
    EXPECT_FALSE(SafeBmp(MakeBmp(4, 4, 8, 1, 0, 256, Bytes({0, 2, 9, 0, 2, 1, 0, 1}))));
    EXPECT_FALSE(SafeBmp(MakeBmp(4, 4, 8, 1, 0, 256, Bytes({0, 2, 0, 200, 2, 1, 0, 1}))));
    // RLE4 literal run past the row end.
    EXPECT_FALSE(
        SafeBmp(MakeBmp(4, 1, 4, 2, 0, 16, Bytes({0, 9, 0x11, 0x11, 0x11, 0x11, 0x10, 0, 0, 1}))));
    // Colour indices beyond a two-entry table, run-length and plain.
    EXPECT_FALSE(SafeBmp(MakeBmp(4, 1, 8, 1, 2, 2, Bytes({4, 7, 0, 1}))));
    EXPECT_FALSE(SafeBmp(MakeBmp(4, 1, 8, 0, 2, 2, Bytes({0, 1, 9, 0}))));
    EXPECT_TRUE(SafeBmp(MakeBmp(4, 1, 8, 0, 2, 2, Bytes({0, 1, 1, 0}))));
    // Run-length data in a top-down picture, or with the wrong depth.
    EXPECT_FALSE(SafeBmp(MakeBmp(4, -1, 8, 1, 0, 256, Bytes({4, 1, 0, 1}))));
    EXPECT_FALSE(SafeBmp(MakeBmp(4, 1, 24, 1, 0, 0, Bytes({4, 1, 0, 1}))));
}

// A picture the address space cannot hold is refused with that reason,
// whatever its format; decoding it must never end the process.
TEST(PictureDecoder, PicturesTooLargeForTheMemoryAreRefused)
{
#if !LF_ADDRESS_LIMITS_TESTABLE
    GTEST_SKIP() << "address-space limits do not work under AddressSanitizer";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const int side = 16384;  // 768 MiB as RGB, at the pixel cap
    dir.Write("big.jpg", JpegDeclaring(side, side));
    dir.Write("big.gif", GifOfZeros(side, side));
    dir.Write("big.bmp", MakeBmp(side, side, 8, 1, 0, 256, Bytes({0, 1})));
    // Animations: a screen whose canvas cannot be held (its frames in
    // opposite corners draw over all of it); a frame that cannot be held
    // after one that can, which ends the file (the frames after it would be
    // composed without it); a canvas that fits but whose picture does not
    // fit beside it.
    const wxRect dot(0, 0, 1, 1);
    dir.Write("screen.gif", GifOfZeros(side, side, {dot, wxRect(side - 1, side - 1, 1, 1)}));
    dir.Write("frame.gif",
              GifOfZeros(64, 64, {wxRect(0, 0, 64, 64), wxRect(0, 0, side, side), dot}));
    dir.Write("canvas.gif",
              GifOfZeros(side / 2, side / 2, {dot, wxRect(side / 2 - 1, side / 2 - 1, 1, 1)}));
    const std::pair<const char*, int> cases[] = {
        {"big.jpg", 0},     {"big.gif", 0},      {"big.gif_0", 0},   {"big.bmp", 0},
        {"screen.gif", 0},  {"screen.gif_1", 0}, {"frame.gif", 1},   {"frame.gif_1", 0},
        {"frame.gif_2", 0}, {"canvas.gif", 0},   {"canvas.gif_1", 0}};
    for (const auto& [name, pictures] : cases)
    {
        EXPECT_EXIT(RunWithAddressSpaceHeadroom(
                        256ull << 20, dir.Path(),
                        [&]
                        {
                            int count = 0;
                            const PictureDecodeStatus status = DecodePictures(
                                dir.File(name),
                                [&](std::unique_ptr<wxImage>, int, bool) { ++count; });
                            return DescribePictureDecodeStatus(status).utf8_string() + ", " +
                                   std::to_string(count) + " pictures";
                        }),
                    ::testing::ExitedWithCode(0),
                    "outcome: too large for the memory available, " + std::to_string(pictures) +
                        " pictures")
            << name;
    }
    // A screen far larger than its frames: the pictures are the area they draw.
    std::vector<wxRect> dots;
    for (int i = 0; i < 8; ++i)
        dots.push_back(wxRect(30000 + i, 2000, 1, 1));
    dir.Write("bomb.gif", GifOfZeros(65534, 4096, dots));
    EXPECT_EXIT(RunWithAddressSpaceHeadroom(
                    200ull << 20, dir.Path(),
                    [&]
                    {
                        std::vector<std::string> sizes;
                        DecodePictures(dir.File("bomb.gif"),
                                       [&](std::unique_ptr<wxImage> picture, int, bool)
                                       {
                                           sizes.push_back(std::to_string(picture->GetWidth()) +
                                                           "x" +
                                                           std::to_string(picture->GetHeight()));
                                       });
                        return std::to_string(sizes.size()) + " pictures of " +
                               (sizes.empty() ? "none" : sizes.back());
                    }),
                ::testing::ExitedWithCode(0), "outcome: 8 pictures of 8x1");
    // With the memory to hold them, the GIFs made here are real pictures.
    EXPECT_EQ(Indices(Decode(dir.Write("small.gif", GifOfZeros(600, 500)))), (std::vector<int>{0}));
    EXPECT_EQ(Indices(Decode(dir.Write("small-anim.gif",
                                       GifOfZeros(64, 64, {wxRect(0, 0, 64, 64), dot, dot})))),
              (std::vector<int>{0, 1, 2}));
}

// Pipes, devices and folders are never opened as pictures: opening a pipe
// waits for a writer forever.
TEST(PictureDecoder, OnlyRegularFilesAreRead)
{
    TempDir dir;
    const Fifo pipe(dir.File("p.png"));
    ASSERT_TRUE(pipe.IsOk());
    wxFileName::Mkdir(dir.File("folder.gif"));
    for (const wxString& entry : {dir.File("p.png"), dir.File("folder.gif"),
                                  dir.File("folder.gif_0"), wxString("/dev/null")})
    {
        PictureDecodeStatus status = PictureDecodeStatus::Decoded;
        EXPECT_TRUE(pipe.FinishesPromptly([&] { status = DecodePictures(entry, {}); })) << entry;
        EXPECT_EQ(status, PictureDecodeStatus::NotRegularFile) << entry;
    }
    EXPECT_EQ(DecodePictures(dir.File("gone.png"), {}), PictureDecodeStatus::Unreadable);
}

// The check walks 1-, 4- and 8-bit pictures, which the toolkit reads, with
// short and full colour tables; the depths between are refused unread (a
// pixel of them can straddle two bytes).
TEST(BmpCheck, EveryDepthUpToEightBits)
{
    TempDir dir;
    for (int bits = 1; bits <= 8; ++bits)
        for (const int entries : {2, 1 << bits})
        {
            const int width = 13, height = 3;
            const size_t rowBytes = ((size_t(width) * bits + 31) / 32) * 4;
            // Every pixel uses the highest index of the table.
            std::string pixels(rowBytes * height, '\0');
            for (size_t row = 0; row < size_t(height); ++row)
                for (int x = 0; x < width; ++x)
                {
                    const size_t bit = size_t(x) * bits;
                    const int shift = 8 - bits - int(bit % 8);
                    if (shift >= 0)
                        pixels[row * rowBytes + bit / 8] |=
                            static_cast<char>((entries - 1) << shift);
                }
            const std::string bmp = MakeBmp(width, height, bits, 0, entries, entries, pixels);
            const bool readable = bits == 1 || bits == 4 || bits == 8;
            const std::string what =
                std::to_string(bits) + " bits, " + std::to_string(entries) + " colours";
            EXPECT_EQ(SafeBmp(bmp), readable) << what;
            const std::vector<Picture> decoded = Decode(dir.Write("depth.bmp", bmp));
            ASSERT_EQ(decoded.size(), readable ? 1u : 0u) << what;
            if (readable)
            {
                EXPECT_EQ(decoded[0].image.GetRed(width - 1, 0), entries - 1) << what;
            }
            // An index past a short table is refused.
            if (readable && entries == 2 && bits > 1)
            {
                std::string beyond = pixels;
                beyond[0] = static_cast<char>(0xFF);
                EXPECT_FALSE(SafeBmp(MakeBmp(width, height, bits, 0, 2, 2, beyond))) << what;
            }
        }
}
