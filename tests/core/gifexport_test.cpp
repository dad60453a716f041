// Frame preparation, colour reduction and the export to a file.
#include "work/gifexport.h"

#include "address_space_limit.h"
#include "gif_files.h"
#include "gif_inspect.h"
#include "reference_export.h"
#include "temp_dir.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
bool IsBlack(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) == 0 && image.GetGreen(x, y) == 0 && image.GetBlue(x, y) == 0;
}

// Whether the rectangle of image at (left, top) equals expected pixel for pixel.
bool RegionEquals(const wxImage& image, int left, int top, const wxImage& expected)
{
    for (int y = 0; y < expected.GetHeight(); ++y)
        for (int x = 0; x < expected.GetWidth(); ++x)
            if (image.GetRed(left + x, top + y) != expected.GetRed(x, y) ||
                image.GetGreen(left + x, top + y) != expected.GetGreen(x, y) ||
                image.GetBlue(left + x, top + y) != expected.GetBlue(x, y))
                return false;
    return true;
}

int BlackRowsAtTop(const wxImage& image)
{
    int rows = 0;
    for (int y = 0; y < image.GetHeight(); ++y, ++rows)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (!IsBlack(image, x, y))
                return rows;
    return rows;
}

}  // namespace

TEST(PrepareFrame, ShrinksToFitCentredOnBlack)
{
    const wxImage source = MakePhotoLike(400, 300, 1);
    const wxImage prepared = PrepareFrame(source, 200, 200);
    ASSERT_EQ(prepared.GetSize(), wxSize(200, 200));
    EXPECT_FALSE(prepared.HasAlpha());
    EXPECT_FALSE(prepared.HasMask());
    EXPECT_EQ(BlackRowsAtTop(prepared), 25);
    for (int y = 175; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_TRUE(IsBlack(prepared, x, y)) << x << "," << y;
    EXPECT_TRUE(RegionEquals(prepared, 0, 25, source.Scale(200, 150, wxIMAGE_QUALITY_NORMAL)));
}

TEST(PrepareFrame, NeverEnlarges)
{
    const wxImage source = MakePhotoLike(100, 50, 2);
    const wxImage prepared = PrepareFrame(source, 200, 200);
    ASSERT_EQ(prepared.GetSize(), wxSize(200, 200));
    EXPECT_TRUE(RegionEquals(prepared, 50, 75, source));
    EXPECT_TRUE(IsBlack(prepared, 49, 100));
    EXPECT_TRUE(IsBlack(prepared, 150, 100));
    EXPECT_TRUE(IsBlack(prepared, 100, 74));
    EXPECT_TRUE(IsBlack(prepared, 100, 125));
}

TEST(PrepareFrame, ExactFitIsUnchanged)
{
    const wxImage source = MakePhotoLike(64, 48, 3);
    const wxImage prepared = PrepareFrame(source, 64, 48);
    EXPECT_TRUE(RegionEquals(prepared, 0, 0, source));
}

TEST(PrepareFrame, TransparentPartsComeOutBlack)
{
    // Masked pixels, drawn on the canvas and when the shrunk picture fills it.
    wxImage masked = SolidImage(10, 10, wxColour(200, 100, 50));
    masked.SetRGB(0, 0, 255, 0, 255);
    masked.SetMaskColour(255, 0, 255);
    wxImage prepared = PrepareFrame(masked, 20, 20);
    EXPECT_TRUE(IsBlack(prepared, 5, 5));
    EXPECT_EQ(prepared.GetRed(6, 6), 200);
    prepared = PrepareFrame(masked, 10, 10);
    EXPECT_TRUE(IsBlack(prepared, 0, 0));
    EXPECT_EQ(prepared.GetRed(1, 1), 200);

    // Alpha is blended onto black.
    wxImage translucent = SolidImage(4, 4, wxColour(200, 100, 51));
    translucent.SetAlpha();
    for (int i = 0; i < 16; ++i)
        translucent.GetAlpha()[i] = i == 0 ? 0 : 128;
    prepared = PrepareFrame(translucent, 4, 4);
    EXPECT_TRUE(IsBlack(prepared, 0, 0));
    EXPECT_EQ(prepared.GetRed(1, 1), 100);
    EXPECT_EQ(prepared.GetGreen(1, 1), 50);
    EXPECT_EQ(prepared.GetBlue(1, 1), 26);
}

TEST(PrepareFrame, LimitingSideFillsTheCanvasExactly)
{
    // 77 * (5 / 77.0) is just under 5 in floating point; no black column may appear.
    const wxImage prepared = PrepareFrame(SolidImage(77, 20, wxColour(255, 255, 255)), 5, 5);
    for (int x = 0; x < 5; ++x)
        EXPECT_FALSE(IsBlack(prepared, x, 2)) << x;
    // A sliver still keeps one pixel.
    EXPECT_FALSE(IsBlack(PrepareFrame(SolidImage(1000, 1, wxColour(9, 9, 9)), 10, 10), 0, 4));
}

TEST(PrepareFrame, RefusesEmptyCanvases)
{
    EXPECT_FALSE(PrepareFrame(SolidImage(4, 4, wxColour(1, 1, 1)), 0, 10).IsOk());
    EXPECT_FALSE(PrepareFrame(wxImage(), 10, 10).IsOk());
}

TEST(ReduceColours, SameBytesAsTheBmpRoundTrip)
{
    std::vector<wxImage> pictures = {MakePhotoLike(640, 480, 4), MakePhotoLike(97, 61, 5),
                                     MakePhotoLike(333, 200, 6)};
    wxImage cat;
    ASSERT_TRUE(cat.LoadFile(LF_CORPUS_DIR "/progressive_cat.jpg"));
    pictures.push_back(PrepareFrame(cat, 300, 300));

    for (size_t i = 0; i < pictures.size(); ++i)
    {
        SCOPED_TRACE(i);
        const wxImage ours = ReduceColours(pictures[i]);
        const wxImage reference = ReduceColoursByBmpRoundTrip(pictures[i]);
        ASSERT_TRUE(ours.IsOk());
        ASSERT_TRUE(reference.IsOk());
        EXPECT_EQ(PaletteBytes(ours), PaletteBytes(reference));
        EXPECT_TRUE(WriteGifFrames({ours, ours}) == WriteGifFrames({reference, reference}))
            << "exported bytes differ";
    }
}

TEST(ReduceColours, FewColoursGiveADeterministicPalette)
{
    // With few colours the quantiser leaves palette entries undefined (the
    // round trip writes leftover memory there); they come out black, and
    // everything else is as the round trip gives it.
    wxImage grey;
    ASSERT_TRUE(grey.LoadFile(LF_CORPUS_DIR "/hopper_gray.jpg"));
    for (const wxImage& picture : {MakeFlat(80, 60), grey})
    {
        const wxImage first = ReduceColours(picture);
        const wxImage reference = ReduceColoursByBmpRoundTrip(picture);
        const std::vector<unsigned char> palette = PaletteBytes(first);
        ASSERT_EQ(palette.size(), 256u * 3);
        EXPECT_EQ(palette, PaletteBytes(ReduceColours(picture)));
        const size_t pixels = size_t(picture.GetWidth()) * picture.GetHeight();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(first.GetData()), pixels * 3),
                  std::string(reinterpret_cast<const char*>(reference.GetData()), pixels * 3));
        int highest = 0;
        for (size_t p = 0; p < pixels; ++p)
        {
            const unsigned char* rgb = first.GetData() + 3 * p;
            const int index = FindFirstEqualEntry(palette.data(), 256, rgb[0], rgb[1], rgb[2]);
            ASSERT_GE(index, 0);
            highest = std::max(highest, index);
        }
        const std::vector<unsigned char> referencePalette = PaletteBytes(reference);
        EXPECT_TRUE(std::equal(palette.begin(), palette.begin() + 3 * (highest + 1),
                               referencePalette.begin()));
        EXPECT_TRUE(std::all_of(palette.begin() + 3 * (highest + 1), palette.end(),
                                [](unsigned char c) { return c == 0; }));
    }
}

TEST(ExportGif, WritesAFileAnIndependentDecoderReads)
{
    TempDir dir;
    const wxImage a = MakePhotoLike(120, 90, 7), b = MakeFlat(60, 60),
                  c = MakePhotoLike(300, 100, 8);
    std::vector<int> progress;
    const std::vector<int> delays = {50, 7, 300};
    const GifExportResult result = ExportGif({{&a, delays[0]}, {&b, delays[1]}, {&c, delays[2]}},
                                             dir.File("out.gif"), 120, 90,
                                             [&](int done, int count)
                                             {
                                                 EXPECT_EQ(count, 3);
                                                 progress.push_back(done);
                                             });
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    const InspectedGif gif = InspectGif(ReadFileBytes(dir.File("out.gif")));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.width, 120);
    EXPECT_EQ(gif.height, 90);
    ASSERT_EQ(gif.frames.size(), 3u);
    for (size_t i = 0; i < gif.frames.size(); ++i)
    {
        const InspectedFrame& frame = gif.frames[i];
        EXPECT_EQ(frame.width, 120);
        EXPECT_EQ(frame.height, 90);
        EXPECT_EQ(frame.delay, delays[i]);
        EXPECT_EQ(frame.transparentIndex, -1);
    }
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<wxString>{"out.gif"})
        << "no temporary file stays behind";
}

TEST(ExportGif, FailuresLeaveTheExistingFileAlone)
{
    TempDir dir;
    const wxString target = dir.Write("keep.gif", "the previous animation");
    const wxImage frame = MakePhotoLike(40, 30, 9);

    GifExportResult result = ExportGif({&frame}, target, 10, 0, 30);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(target), wxString::npos);

    result = ExportGif({}, target, 10, 40, 30);
    EXPECT_FALSE(result.ok);

    int asked = 0;
    result = ExportGif({&frame, &frame, &frame}, target, 10, 40, 30, ExportProgress(),
                       [&] { return ++asked > 2; });
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(target), wxString::npos);

    EXPECT_EQ(ReadFileBytes(target), "the previous animation");
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<wxString>{"keep.gif"});
}

TEST(ExportGif, ReportsWhyAFileCannotBeWritten)
{
    TempDir dir;
    const wxImage frame = SolidImage(8, 8, wxColour(1, 2, 3));
    const wxString missing = dir.File("no/such/folder/out.gif");
    GifExportResult result = ExportGif({&frame}, missing, 10, 8, 8);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "Cannot write " + missing + ": No such file or directory");

    // The rename onto a folder fails after everything was written.
    ASSERT_TRUE(wxFileName::Mkdir(dir.File("taken.gif")));
    dir.Write("taken.gif/inside", "x");
    result = ExportGif({&frame}, dir.File("taken.gif"), 10, 8, 8);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(dir.File("taken.gif") + ": "), wxString::npos) << result.error;
    EXPECT_TRUE(FilesIn(dir.Path()).empty()) << "a temporary file stayed behind";
}

TEST(ExportGif, ReplacesTheTargetOnlyWhenComplete)
{
    TempDir dir;
    const wxString target = dir.Write("anim.gif", "old");
    const wxImage frame = MakeFlat(16, 16);
    ASSERT_TRUE(ExportGif({&frame, &frame}, target, 10, 16, 16).ok);
    const std::string bytes = ReadFileBytes(target);
    EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
    EXPECT_EQ(bytes.back(), '\x3B');
}

// Without the memory for a frame's colour reduction the export fails with
// that reason and leaves the previous file as it was; it must not crash.
TEST(ExportGif, RunningOutOfMemoryIsReported)
{
#if !LF_ADDRESS_LIMITS_TESTABLE
    GTEST_SKIP() << "address-space limits do not work under AddressSanitizer";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const wxString target = dir.Write("keep.gif", "the previous animation");
    // 48 MiB as RGB: the room left holds the prepared frame (as large) but
    // not its reduced copy as well.
    const wxImage frame = MakeFlat(4096, 4096);
    EXPECT_EXIT(RunWithAddressSpaceHeadroom(
                    80ull << 20, dir.Path(),
                    [&]
                    {
                        const GifExportResult result = ExportGif({&frame}, target, 10, 4096, 4096);
                        const bool untouched =
                            ReadFileBytes(target) == "the previous animation" &&
                            FilesIn(dir.Path()) == std::vector<wxString>{"keep.gif"};
                        return (result.ok ? "written: " : "failed: ") + result.error.utf8_string() +
                               (untouched ? "; nothing else changed" : "; files changed");
                    }),
                ::testing::ExitedWithCode(0),
                "outcome: failed: Cannot write .*/keep.gif: there is not enough memory; nothing "
                "else changed");
}
