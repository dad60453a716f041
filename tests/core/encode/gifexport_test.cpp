// Frame preparation, colour reduction and the export to a file.
#include "encode/gifexport.h"
#include "encode/animationexport.h"
#include "caption/captiondrawing.h"
#include "encode/framefitting.h"
#include "encode/gifsizeestimate.h"
#include "encode/nearestcolour.h"
#include "encode/pictureorientation.h"

#include "address_space_limit.h"
#include "gif_files.h"
#include "gif_inspect.h"
#include "pillow_frames.h"
#include "reference_export.h"
#include "temp_dir.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

#include <wx/mstream.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
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
    const GifExportResult result =
        ExportGif({{&a, delays[0]}, {&b, delays[1]}, {&c, delays[2]}}, dir.File("out.gif"), 120, 90,
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

// Grey pictures under a white caption with a black outline keep to greys,
// fewer than a palette holds, so the optimised export keeps every pixel.
TEST(ExportGif, ACaptionChangesOnlyItsFramesAndOnlyInsideItsBox)
{
    TempDir dir;
    std::vector<wxImage> pictures;
    for (int i = 0; i < 6; ++i)
    {
        pictures.emplace_back(160, 120);
        pictures.back().SetRGB(wxRect(0, 0, 160, 120), 60 + 20 * i, 60 + 20 * i, 60 + 20 * i);
    }
    Caption caption;
    caption.text = wxS("Frames 2 to 4");
    caption.size = 18;
    const CaptionRef shown = std::make_shared<const Caption>(caption);
    std::vector<ExportFrame> plain, captioned;
    for (int i = 0; i < 6; ++i)
    {
        plain.emplace_back(&pictures[size_t(i)], 10);
        captioned.emplace_back(&pictures[size_t(i)], 10,
                               i >= 1 && i <= 3 ? FrameCaptions{shown} : FrameCaptions{});
    }
    GifExportSettings settings;
    settings.width = 160;
    settings.height = 120;
    settings.options.optimised = true;
    ASSERT_TRUE(ExportGif(plain, dir.File("plain.gif"), settings).ok);
    ASSERT_TRUE(ExportGif(captioned, dir.File("captioned.gif"), settings).ok);
    const auto before = ComposeGif(InspectGif(ReadFileBytes(dir.File("plain.gif"))));
    const auto after = ComposeGif(InspectGif(ReadFileBytes(dir.File("captioned.gif"))));
    ASSERT_EQ(before.size(), 6u);
    ASSERT_EQ(after.size(), 6u);

    const wxRect box = CaptionBounds(caption, 160, 120);
    ASSERT_TRUE(wxRect(0, 0, 160, 120).Contains(box));
    for (size_t frame = 0; frame < 6; ++frame)
    {
        int inside = 0, outside = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
            {
                const size_t at = (size_t(y) * 160 + x) * 3;
                const bool changed =
                    !std::equal(&before[frame][at], &before[frame][at] + 3, &after[frame][at]);
                (box.Contains(x, y) ? inside : outside) += changed;
            }
        EXPECT_EQ(outside, 0) << "frame " << frame + 1;
        if (frame >= 1 && frame <= 3)
            EXPECT_GT(inside, 50) << "frame " << frame + 1;
        else
            EXPECT_EQ(inside, 0) << "frame " << frame + 1;
    }
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

namespace
{
// The classic export as it has always been made: each frame prepared,
// reduced and written by the one-frame writer.
std::string ClassicReference(const std::vector<ExportFrame>& frames, int width, int height)
{
    wxMemoryOutputStream out;
    MyGifHandler::SetOutputStream(&out);
    for (size_t i = 0; i < frames.size(); ++i)
    {
        MyGifHandler handler;
        const wxImage reduced =
            ReduceColoursAsBefore(PrepareFrame(*frames[i].picture, width, height));
        EXPECT_TRUE(handler.SaveFrame(reduced, frames[i].delay * 10, int(frames.size()), int(i)));
    }
    MyGifHandler::SetOutputStream(nullptr);
    std::string bytes(out.GetSize(), '\0');
    out.CopyTo(&bytes[0], bytes.size());
    return bytes;
}

std::string Exported(const std::vector<ExportFrame>& frames, int width, int height,
                     const GifOptions& options, int workers)
{
    TempDir dir;
    GifExportSettings settings;
    settings.width = width;
    settings.height = height;
    settings.options = options;
    settings.workers = workers;
    const GifExportResult result = ExportGif(frames, dir.File("out.gif"), settings);
    EXPECT_TRUE(result.ok) << result.error;
    return ReadFileBytes(dir.File("out.gif"));
}

// A frame with edits of its own, which an export never joins to the one before.
ExportFrame OwnEdited(const wxImage* picture, int delay)
{
    ExportFrame frame(picture, delay);
    frame.ownEdits = true;
    return frame;
}

GifOptions Optimised()
{
    GifOptions options;
    options.optimised = true;
    return options;
}

// A few flat colours with a square of another colour at (x, y).
wxImage Scene(int x, int y, const wxColour& square = wxColour(250, 30, 30))
{
    wxImage image = MakeFlat(48, 32);
    image.SetRGB(wxRect(x, y, 6, 6), square.Red(), square.Green(), square.Blue());
    return image;
}

bool ShowsExactly(const std::vector<unsigned char>& shown, const wxImage& picture)
{
    return shown.size() == size_t(picture.GetWidth()) * picture.GetHeight() * 3 &&
           std::equal(shown.begin(), shown.end(), picture.GetData());
}

double Psnr(const std::vector<unsigned char>& shown, const wxImage& picture)
{
    double total = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        total += (shown[i] - picture.GetData()[i]) * double(shown[i] - picture.GetData()[i]);
    const double mse = total / shown.size();
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}
}  // namespace

TEST(ExportGif, ClassicBytesAreTheFrameByFrameWritersWithAnyNumberOfWorkers)
{
    wxImage cat;
    ASSERT_TRUE(cat.LoadFile(LF_CORPUS_DIR "/progressive_cat.jpg"));
    const wxImage photo = MakePhotoLike(300, 200, 3), flat = MakeFlat(120, 90),
                  small = MakePhotoLike(77, 41, 4);
    wxImage masked = photo;
    masked.SetRGB(wxRect(0, 0, 30, 20), 255, 0, 255);
    masked.SetMaskColour(255, 0, 255);
    // Pictures of the output size (read in place), shrunk and padded; a noisy
    // frame long enough to clear the LZW table; a delay the 16-bit field
    // cannot hold, clamped rather than wrapped; transparent pixels, which
    // the classic export makes black.
    const std::vector<ExportFrame> frames = {{&photo, 10}, {&cat, 7},   {&flat, 300},
                                             {&small, 1},  {&photo, 0}, {&flat, 70000},
                                             {&masked, 5}};
    const std::string reference = ClassicReference(frames, 300, 200);
    for (int workers : {1, 4})
        EXPECT_TRUE(Exported(frames, 300, 200, GifOptions(), workers) == reference)
            << workers << " workers";
}

TEST(OptimisedExport, AViewerShowsEveryFrameExactlyWhenColoursFit)
{
    struct Case
    {
        const char* what;
        std::vector<wxImage> pictures;
        std::vector<int> delays;  // of the file's frames: a repeated picture shows longer
        bool ownEdits = false;    // the pictures after the first carry edits of their own
    };
    const wxImage black = SolidImage(48, 32, *wxBLACK);
    const Case cases[] = {
        {"a still background with one moving object",
         {Scene(2, 2), Scene(8, 3), Scene(20, 20)},
         {20, 20, 20}},
        {"a frame identical to the one before", {Scene(2, 2), Scene(2, 2), Scene(9, 9)}, {40, 20}},
        {"identical frames at the end",
         {Scene(2, 2), Scene(4, 4), Scene(4, 4), Scene(4, 4)},
         {20, 60}},
        {"identical frames with edits of their own",
         {Scene(2, 2), Scene(2, 2), Scene(2, 2)},
         {20, 20, 20},
         true},
        {"a frame that clears to black", {Scene(2, 2), black, Scene(30, 4)}, {20, 20, 20}},
        {"new colours after the first frame",
         {Scene(2, 2), Scene(3, 3, wxColour(10, 200, 90)), MakeFlat(48, 32)},
         {20, 20, 20}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<ExportFrame> frames;
        for (const wxImage& picture : c.pictures)
        {
            frames.emplace_back(&picture, 20);
            frames.back().ownEdits = c.ownEdits && frames.size() > 1;
        }
        const std::string bytes = Exported(frames, 48, 32, Optimised(), 1);
        EXPECT_TRUE(Exported(frames, 48, 32, Optimised(), 4) == bytes) << "4 workers differ";
        const InspectedGif gif = InspectGif(bytes);
        ASSERT_TRUE(gif.ok);
        ASSERT_EQ(gif.frames.size(), c.delays.size());
        const auto shown = ComposeGif(gif);
        for (size_t i = 0, picture = 0; i < shown.size(); picture += c.delays[i++] / 20)
        {
            EXPECT_TRUE(ShowsExactly(shown[i], c.pictures[picture])) << "frame " << i;
            EXPECT_EQ(gif.frames[i].delay, c.delays[i]) << "frame " << i;
            EXPECT_EQ(gif.frames[i].disposal, 1) << "the next frame draws over this one";
        }
    }
}

namespace
{
// The scene with its top left corner transparent: by the mask colour, as
// GIF frames come in, or by alpha, as PNG pictures do (with a partly
// transparent pixel beside it, below the threshold).
wxImage WithTransparentCorner(wxImage image, bool alpha)
{
    const wxRect corner(0, 0, 5, 4);
    if (!alpha)
    {
        image.SetRGB(corner, 255, 0, 255);
        image.SetMaskColour(255, 0, 255);
        return image;
    }
    image.SetAlpha();
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            image.SetAlpha(x, y, corner.Contains(x, y) ? 0 : 255);
    image.SetAlpha(5, 0, FittedFrame::kOpaqueAlpha - 1);
    return image;
}

bool IsTransparent(const wxImage& image, int x, int y)
{
    if (image.HasAlpha())
        return image.GetAlpha(x, y) < FittedFrame::kOpaqueAlpha;
    return image.HasMask() && image.GetRed(x, y) == image.GetMaskRed() &&
           image.GetGreen(x, y) == image.GetMaskGreen() &&
           image.GetBlue(x, y) == image.GetMaskBlue();
}

// The first pixel where Pillow's frame differs from the picture, or "".
std::string FirstDifference(const PillowFrame& shown, const wxImage& picture)
{
    for (int y = 0; y < picture.GetHeight(); ++y)
        for (int x = 0; x < picture.GetWidth(); ++x)
        {
            const unsigned char* rgba = reinterpret_cast<const unsigned char*>(shown.rgba.data()) +
                                        (size_t(y) * picture.GetWidth() + x) * 4;
            const bool transparent = IsTransparent(picture, x, y);
            if ((rgba[3] == 0) != transparent ||
                (!transparent &&
                 (rgba[0] != picture.GetRed(x, y) || rgba[1] != picture.GetGreen(x, y) ||
                  rgba[2] != picture.GetBlue(x, y))))
                return wxString::Format("(%d, %d): %d %d %d %d", x, y, rgba[0], rgba[1], rgba[2],
                                        rgba[3])
                    .utf8_string();
        }
    return std::string();
}
}  // namespace

TEST(OptimisedExport, TransparentPixelsStayTransparentForAViewer)
{
    const wxImage opaque = Scene(2, 2), cornered = WithTransparentCorner(Scene(8, 3), false),
                  alpha = WithTransparentCorner(Scene(20, 20), true);
    const std::vector<std::pair<const char*, std::vector<const wxImage*>>> cases = {
        {"a transparent corner in every frame", {&cornered, &alpha, &cornered, &cornered, &alpha}},
        {"pixels that turn transparent after being opaque",
         {&opaque, &cornered, &opaque, &alpha, &alpha}},
    };
    TempDir dir;
    for (const auto& [what, pictures] : cases)
        for (bool onlyChanges : {true, false})
        {
            SCOPED_TRACE(std::string(what) + (onlyChanges ? ", only changes" : ", whole frames"));
            std::vector<ExportFrame> frames;
            for (const wxImage* picture : pictures)
                frames.push_back({picture, 20});
            GifOptions options = Optimised();
            options.onlyChanges = onlyChanges;
            const std::string bytes = Exported(frames, 48, 32, options, 1);
            EXPECT_TRUE(Exported(frames, 48, 32, options, 4) == bytes) << "4 workers differ";
            const PillowResult shown = ComposeWithPillow(dir.Write("out.gif", bytes));
            ASSERT_TRUE(shown.complete);
            const InspectedGif stored = InspectGif(bytes);
            ASSERT_EQ(stored.frames.size(), shown.frames.size());
            // A frame showing what the one before it shows is joined to it,
            // the delays summed: follow the pictures through time.
            size_t at = 0;
            for (size_t i = 0; i < shown.frames.size(); ++i)
                for (int time = 0; time < stored.frames[i].delay; time += 20, ++at)
                {
                    ASSERT_LT(at, pictures.size());
                    EXPECT_EQ(FirstDifference(shown.frames[i], *pictures[at]), "")
                        << "picture " << at;
                }
            EXPECT_EQ(at, pictures.size());
        }

    // A repeated frame that clears the screen for the next one stays a frame:
    // the frame before it would leave the screen as it is.
    const InspectedGif repeated = InspectGif(
        Exported({{&opaque, 20}, {&opaque, 20}, {&cornered, 20}}, 48, 32, Optimised(), 2));
    ASSERT_EQ(repeated.frames.size(), 3u);
    EXPECT_EQ(repeated.frames[1].disposal, 2);

    // A caption drawn over transparent pixels makes them opaque.
    wxImage clear = Scene(2, 2);
    clear.SetRGB(wxRect(0, 0, 48, 32), 255, 0, 255);
    clear.SetMaskColour(255, 0, 255);
    Caption caption;
    caption.text = wxS("Hi");
    caption.size = 16;
    const std::string captioned = Exported(
        {ExportFrame(&clear, 20, {std::make_shared<const Caption>(caption)})}, 48, 32,
        Optimised(), 1);
    const PillowResult drawn = ComposeWithPillow(dir.Write("caption.gif", captioned));
    ASSERT_EQ(drawn.frames.size(), 1u);
    int captionPixels = 0;
    for (size_t i = 3; i < drawn.frames[0].rgba.size(); i += 4)
        captionPixels += drawn.frames[0].rgba[i] != 0;
    EXPECT_GT(captionPixels, 20) << "the caption is lost on a transparent frame";
}

TEST(OptimisedExport, LaterFramesHoldOnlyWhatChanged)
{
    const wxImage a = Scene(2, 2), b = Scene(10, 4);
    const InspectedGif gif =
        InspectGif(Exported({{&a, 10}, {&b, 10}, OwnEdited(&b, 10)}, 48, 32, Optimised(), 2));
    ASSERT_EQ(gif.frames.size(), 3u);
    // The square left (2, 2) and arrived at (10, 4): the rectangle around both.
    EXPECT_EQ(gif.frames[1].left, 2);
    EXPECT_EQ(gif.frames[1].top, 2);
    EXPECT_EQ(gif.frames[1].width, 14);
    EXPECT_EQ(gif.frames[1].height, 8);
    EXPECT_GE(gif.frames[1].transparentIndex, 0);
    EXPECT_TRUE(gif.frames[1].colours.empty() || gif.frames[1].colours == gif.frames[0].colours)
        << "the first frame's palette serves";
    EXPECT_EQ(gif.frames[2].width * gif.frames[2].height, 1) << "an unchanged frame kept apart";
}

TEST(OptimisedExport, PhotosComeBackWithinTheReducersError)
{
    std::vector<wxImage> pictures;
    for (unsigned seed = 1; seed <= 4; ++seed)
        pictures.push_back(MakePhotoLike(160, 120, seed));
    std::vector<ExportFrame> frames;
    for (const wxImage& picture : pictures)
        frames.push_back({&picture, 10});
    const std::string classic = Exported(frames, 160, 120, GifOptions(), 3);
    const auto classicShown = ComposeGif(InspectGif(classic));
    ASSERT_EQ(classicShown.size(), pictures.size());
    // Without dithering the palette alone decides: at least as close as the
    // classic export. Dithering trades some of that for smoother gradients.
    for (GifDither dither : {GifDither::None, GifDither::Ordered, GifDither::Diffuse})
    {
        SCOPED_TRACE(GifDitherName(dither).utf8_string());
        GifOptions options = Optimised();
        options.dither = dither;
        const std::string bytes = Exported(frames, 160, 120, options, 3);
        const auto shown = ComposeGif(InspectGif(bytes));
        ASSERT_EQ(shown.size(), pictures.size());
        for (size_t i = 0; i < shown.size(); ++i)
        {
            const double classicPsnr = Psnr(classicShown[i], pictures[i]);
            EXPECT_GT(Psnr(shown[i], pictures[i]),
                      dither == GifDither::None ? classicPsnr : classicPsnr - 3)
                << "frame " << i;
        }
        EXPECT_LT(bytes.size(), classic.size());
    }
}

TEST(OptimisedExport, FewerColoursMakeSmallerTables)
{
    const wxImage photo = MakePhotoLike(64, 48, 9);
    GifOptions options = Optimised();
    options.colours = 16;
    // Storing only changes needs a transparent entry beside the 16 colours.
    for (bool onlyChanges : {false, true})
    {
        options.onlyChanges = onlyChanges;
        const InspectedGif gif = InspectGif(Exported({{&photo, 10}}, 64, 48, options, 1));
        ASSERT_TRUE(gif.ok);
        EXPECT_EQ(gif.frames[0].colours.size(), (onlyChanges ? 32u : 16u) * 3);
        const std::set<int> used(gif.frames[0].indices.begin(), gif.frames[0].indices.end());
        EXPECT_EQ(used.size(), 16u);
    }
}

// Text being typed on a white page: two soft-edged glyphs more in each
// frame, of several inks, so that the page has more colours than any
// palette holds.
std::vector<wxImage> TypedPage()
{
    const int inks[4][3] = {{20, 20, 20}, {0, 60, 170}, {150, 40, 0}, {0, 120, 60}};
    const int radius = 10, columns = 160 / (2 * radius + 3);
    std::vector<wxImage> pages;
    wxImage page = SolidImage(160, 120, *wxWHITE);
    for (int glyph = 0; glyph < 24; ++glyph)
    {
        const int cx = radius + 2 + (glyph % columns) * (2 * radius + 3);
        const int cy = radius + 2 + (glyph / columns) * (2 * radius + 6);
        const int* ink = inks[glyph % 4];
        for (int y = cy - radius - 1; y < cy + radius + 2; ++y)
            for (int x = cx - radius; x < cx + radius + 1; ++x)
            {
                const double r = std::hypot(1.3 * (x - cx), y - cy + 0.1 * glyph);
                const double cover = std::clamp(
                    std::clamp(radius + 0.5 - r, 0.0, 1.0) * (0.6 + 0.4 * (x - cx) / radius), 0.0,
                    1.0);
                unsigned char rgb[3];
                for (int c = 0; c < 3; ++c)
                    rgb[c] = static_cast<unsigned char>(int(255 - cover * (255 - ink[c])));
                page.SetRGB(x, y, rgb[0], rgb[1], rgb[2]);
            }
        if (glyph % 2 == 1)
            pages.push_back(page);
    }
    return pages;
}

TEST(OptimisedExport, FewerColoursNeverMakeALargerFile)
{
    std::vector<wxImage> photos;
    for (int i = 0; i < 8; ++i)
    {
        photos.push_back(MakePhotoLike(160, 120, 5));
        photos.back().SetRGB(wxRect(4 + 15 * i, 40, 16, 16), 240, 220, 30);
    }
    const std::pair<const char*, std::vector<wxImage>> sets[] = {{"typed text", TypedPage()},
                                                                 {"a still photo", photos}};
    for (const auto& [what, pictures] : sets)
    {
        std::vector<ExportFrame> frames;
        for (const wxImage& picture : pictures)
            frames.push_back({&picture, 10});
        GifOptions options = Optimised();
        std::size_t previous = 0;
        for (int colours : {256, 128, 64, 32})
        {
            options.colours = colours;
            const std::size_t size = Exported(frames, 160, 120, options, 2).size();
            if (previous)
            {
                EXPECT_LE(size, previous) << what << ", " << colours << " colours";
            }
            previous = size;
        }
    }
}

// Lossy codes: a smaller file that giflib and Pillow read, every composed
// pixel within the stated distance of the lossless export's, for photos
// (with and without dithering) and a page with transparent parts.
TEST(OptimisedExport, LossyCodesStayWithinTheirBound)
{
    std::vector<wxImage> photos, page = TypedPage();
    for (unsigned seed = 1; seed <= 4; ++seed)
        photos.push_back(MakePhotoLike(160, 120, seed));
    page[1] = WithTransparentCorner(page[1], true);
    // A light square moving over a dark photo: the colours near black sit
    // beside the transparent entry of unchanged pixels, which must not stand
    // in for them (the square would stay behind).
    std::vector<wxImage> dark;
    for (int i = 0; i < 4; ++i)
    {
        dark.push_back(MakePhotoLike(160, 120, 3));
        unsigned char* data = dark.back().GetData();
        for (int k = 0; k < 160 * 120 * 3; ++k)
            data[k] /= 6;
        dark.back().SetRGB(wxRect(10 + 20 * i, 40, 24, 24), 240, 240, 240);
    }
    const std::pair<GifDither, const std::vector<wxImage>*> cases[] = {
        {GifDither::None, &photos},
        {GifDither::Diffuse, &photos},
        {GifDither::None, &page},
        {GifDither::None, &dark}};
    for (const auto& [dither, pictures] : cases)
    {
        SCOPED_TRACE(GifDitherName(dither).utf8_string() + (pictures == &page ? " page" : ""));
        std::vector<ExportFrame> frames;
        for (const wxImage& picture : *pictures)
            frames.push_back({&picture, 10});
        GifOptions options = Optimised();
        options.dither = dither;
        const std::string exact = Exported(frames, 160, 120, options, 2);
        options.lossy = 60;
        const std::string lossy = Exported(frames, 160, 120, options, 2);
        EXPECT_LT(lossy.size(), exact.size());
        const auto exactShown = ComposeGif(InspectGif(exact));
        const auto shown = ComposeGif(InspectGif(lossy));
        ASSERT_EQ(shown.size(), exactShown.size());
        const int bound = GifLossyError(options.lossy);
        for (size_t f = 0; f < shown.size(); ++f)
            for (size_t i = 0; i < shown[f].size(); i += 3)
            {
                int distance = 0;
                for (size_t c = i; c < i + 3; ++c)
                    distance += (shown[f][c] - exactShown[f][c]) * (shown[f][c] - exactShown[f][c]);
                ASSERT_LE(distance, bound * bound) << "frame " << f << ", pixel " << i / 3;
            }
        TempDir dir;
        const wxString path = dir.Write("lossy.gif", lossy);
        const PillowResult pillow = ComposeWithPillow(path);
        EXPECT_TRUE(pillow.complete);
        EXPECT_EQ(pillow.frames.size(), shown.size());
    }
}

TEST(NearestColour, FindsTheNearestEntryLowestIndexOrRankFirst)
{
    // Entries 10 to 19 repeat entries 0 to 9, so ties happen. The same
    // palette is searched by index, then ranked in reverse.
    std::uint32_t state = 7;
    auto next = [&state] { return (state = state * 1664525u + 1013904223u) >> 24; };
    NearestColour search;
    for (int count : {1, 5, 256})
    {
        std::uint8_t palette[256 * 3], rank[256];
        for (int i = 0; i < 3 * count; ++i)
            palette[i] = static_cast<std::uint8_t>(i >= 30 && i < 60 ? palette[i - 30] : next());
        for (int i = 0; i < count; ++i)
            rank[i] = static_cast<std::uint8_t>(count - 1 - i);
        for (bool ranked : {false, true})
        {
            search.Reset(palette, count, ranked ? rank : nullptr);
            for (int probe = 0; probe < 20000; ++probe)
            {
                const int rgb[3] = {int(next()), int(next()), int(next())};
                int best = 0, bestDistance = INT_MAX;
                for (int i = 0; i < count; ++i)
                {
                    int d = 0;
                    for (int c = 0; c < 3; ++c)
                        d += (palette[3 * i + c] - rgb[c]) * (palette[3 * i + c] - rgb[c]);
                    if (d < bestDistance || (ranked && d == bestDistance && rank[i] < rank[best]))
                        best = i, bestDistance = d;
                }
                ASSERT_EQ(search.Find(rgb[0], rgb[1], rgb[2]), best)
                    << count << " entries" << (ranked ? ", ranked" : "") << ", colour " << rgb[0]
                    << " " << rgb[1] << " " << rgb[2];
            }
        }
    }
}

TEST(ExportGif, LoopCountIsWrittenIntoTheLoopingExtension)
{
    // The number chosen is the number stored: repetitions after the first
    // play, 0 for forever.
    const wxImage a = MakeFlat(16, 16), b = SolidImage(16, 16, *wxBLUE);
    for (bool optimised : {false, true})
        for (int repetitions : {0, 1, 3, 65535})
        {
            GifOptions options;
            options.optimised = optimised;
            options.loopCount = repetitions;
            const InspectedGif gif = InspectGif(Exported({{&a, 10}, {&b, 10}}, 16, 16, options, 1));
            ASSERT_TRUE(gif.ok);
            EXPECT_EQ(gif.loopCount, repetitions) << (optimised ? "optimised" : "classic");
        }
}

TEST(ExportGif, CancellingMidExportKeepsThePreviousFile)
{
    TempDir dir;
    const wxString target = dir.Write("keep.gif", "the previous animation");
    std::vector<wxImage> pictures;
    for (unsigned seed = 0; seed < 12; ++seed)
        pictures.push_back(MakePhotoLike(80, 60, seed));
    std::vector<ExportFrame> frames;
    for (const wxImage& picture : pictures)
        frames.push_back({&picture, 10});
    for (bool optimised : {false, true})
    {
        GifExportSettings settings;
        settings.width = 80;
        settings.height = 60;
        settings.options.optimised = optimised;
        settings.workers = 4;
        int written = 0;
        const GifExportResult result = ExportGif(
            frames, target, settings, [&](int done, int) { written = done; },
            [&] { return written == 5; });
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(written, 5);
        EXPECT_EQ(ReadFileBytes(target), "the previous animation");
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<wxString>{"keep.gif"});
    }
}

// The frames of a WebP or a video are the GIF's: cropped, then turned, with
// transparency kept in a WebP; a cancelled export of any format keeps the
// previous file.
TEST(ExportAnimation, AWebPShowsTheCroppedTurnedFramesWithTransparency)
{
    TempDir dir;
    // R G B / C M Y, the Y transparent; the crop keeps G B / M Y, and a
    // quarter turn clockwise shows M G / Y B.
    wxImage picture(3, 2);
    const unsigned char colours[6][3] = {{255, 0, 0}, {0, 255, 0},   {0, 0, 255},
                                         {0, 255, 255}, {255, 0, 255}, {255, 255, 0}};
    picture.SetAlpha();
    for (int i = 0; i < 6; ++i)
    {
        picture.SetRGB(i % 3, i / 3, colours[i][0], colours[i][1], colours[i][2]);
        picture.SetAlpha(i % 3, i / 3, i == 5 ? 0 : 255);
    }
    ExportFrame frame(&picture, 10);
    frame.crop = wxRect(1, 0, 2, 2);
    frame.orientation = ComposeOrientation(kUprightOrientation, OrientationEdit::RotateRight);
    GifExportSettings settings;
    settings.width = settings.height = 2;
    settings.options.format = ExportFormat::WebP;
    settings.options.webpQuality = kWebpLossless;
    const wxString path = dir.File(wxS("turned.webp"));
    ASSERT_TRUE(ExportAnimation({frame, frame}, path, settings).ok);

    const PillowResult shown = ComposeWithPillow(path);
    ASSERT_TRUE(shown.complete);
    ASSERT_EQ(shown.frames.size(), 1u) << "an unchanged frame only lengthens the one before";
    // RGBA of each pixel in rows; the transparent one's colour does not count.
    const int expected[4][4] = {{255, 0, 255, 255}, {0, 255, 0, 255}, {-1, -1, -1, 0},
                                {0, 0, 255, 255}};
    const std::string& rgba = shown.frames[0].rgba;
    ASSERT_EQ(rgba.size(), 16u);
    for (int i = 0; i < 16; ++i)
    {
        if (expected[i / 4][i % 4] < 0)
            continue;
        EXPECT_EQ(static_cast<unsigned char>(rgba[i]), expected[i / 4][i % 4]) << i;
    }
}

TEST(ExportAnimation, CancellingAWebPOrAVideoKeepsThePreviousFile)
{
    TempDir dir;
    std::vector<wxImage> pictures;
    for (unsigned seed = 0; seed < 8; ++seed)
        pictures.push_back(MakePhotoLike(80, 60, seed));
    std::vector<ExportFrame> frames;
    for (const wxImage& picture : pictures)
        frames.push_back({&picture, 10});
    for (ExportFormat format : {ExportFormat::WebP, ExportFormat::Mp4})
    {
        const wxString target = dir.Write("keep", "the previous animation");
        GifExportSettings settings;
        settings.width = 80;
        settings.height = 60;
        settings.options.format = format;
        int written = 0;
        const GifExportResult result = ExportAnimation(
            frames, target, settings, [&](int done, int) { written = done; },
            [&] { return written == 5; });
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.Find(wxS("cancelled")), wxNOT_FOUND) << result.error;
        EXPECT_EQ(ReadFileBytes(target), "the previous animation");
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<wxString>{"keep"});
    }
}

TEST(PrepareFrame, SmoothShrinkingAveragesTheAreaEachPixelCovers)
{
    // A 1-pixel checkerboard of black and white halves to even grey.
    wxImage board(8, 8, true);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x + y) % 2)
                board.SetRGB(x, y, 255, 255, 255);
    FittedFrame fitted;
    ASSERT_TRUE(fitted.Fit(board, 4, 4, true));
    for (int i = 0; i < 16 * 3; ++i)
        ASSERT_EQ(fitted.Pixels()[i], 128) << i;

    // Three columns into two: the middle column is shared half and half.
    wxImage columns(3, 1, false);
    columns.SetRGB(0, 0, 0, 0, 0);
    columns.SetRGB(1, 0, 90, 90, 90);
    columns.SetRGB(2, 0, 180, 180, 180);
    const wxImage shrunk = ShrinkByAreaAveraging(columns, 2, 1);
    EXPECT_EQ(shrunk.GetRed(0, 0), 30);   // (0 * 1 + 90 * 0.5) / 1.5
    EXPECT_EQ(shrunk.GetRed(1, 0), 150);  // (90 * 0.5 + 180 * 1) / 1.5

    // Masked pixels count as black.
    wxImage masked = SolidImage(2, 2, wxColour(200, 100, 40));
    masked.SetRGB(0, 0, 255, 0, 255);
    masked.SetMaskColour(255, 0, 255);
    ASSERT_TRUE(fitted.Fit(masked, 1, 1, true));
    EXPECT_EQ(fitted.Pixels()[0], 150);
}

namespace
{
// Strips of mixed content, longer than the estimate encodes whole: photos
// (still with a moving square, and changing), typed pages and small GIF-like
// frames of several sizes, in runs and interleaved.
std::vector<std::vector<wxImage>> MixedStrips()
{
    const std::vector<wxImage> typed = TypedPage();
    auto photo = [](int i, unsigned seed)
    {
        wxImage image = MakePhotoLike(160, 120, seed);
        image.SetRGB(wxRect(6 * i % 140, 40, 16, 16), 250, 250, 30);
        return image;
    };
    auto small = [](int i)
    {
        const int side = 40 + 20 * (i / 6 % 3);
        wxImage image = MakeFlat(side, side * 3 / 4);
        image.SetRGB(wxRect(i % 6 * side / 8, side / 4, side / 6, side / 6), 250, 30, 30);
        return image;
    };
    std::vector<std::vector<wxImage>> strips(3);
    for (int i = 0; i < 20; ++i)
        strips[0].push_back(photo(i, 5));
    strips[0].insert(strips[0].end(), typed.begin(), typed.end());
    for (int i = 0; i < 24; ++i)
        strips[0].push_back(small(i));
    for (int i = 0; i < 56; ++i)
        strips[1].push_back(i / 4 % 2 ? typed[i % typed.size()] : photo(i, 1 + i / 8));
    for (int i = 0; i < 50; ++i)
        strips[2].push_back(i % 10 < 7 ? small(i) : photo(i, 2 + i % 3));
    return strips;
}
}  // namespace

TEST(GifSizeEstimate, WithinTenPercentOfTheSavedFile)
{
    GifOptions classic, optimised = Optimised(), reduced = Optimised();
    reduced.colours = 64;
    reduced.dither = GifDither::Diffuse;
    reduced.lossy = 40;
    // The classic profile has no options: at two output sizes instead.
    const std::pair<GifOptions, wxSize> sets[] = {{classic, {160, 120}},
                                                  {classic, {120, 90}},
                                                  {optimised, {160, 120}},
                                                  {reduced, {160, 120}}};
    const auto strips = MixedStrips();
    for (size_t strip = 0; strip < strips.size(); ++strip)
    {
        std::vector<ExportFrame> frames;
        for (const wxImage& picture : strips[strip])
            frames.push_back({&picture, 10});
        for (const auto& [options, size] : sets)
        {
            const double exported = double(Exported(frames, size.x, size.y, options, 2).size());
            const double estimate = double(EstimateGifBytes(frames, size.x, size.y, options));
            EXPECT_NEAR(estimate / exported, 1.0, 0.1)
                << "strip " << strip << ", " << (options.optimised ? "optimised" : "classic") << " "
                << options.colours << " colours, " << size.x << " wide";
        }
    }
    EXPECT_EQ(EstimateGifBytes({}, 160, 120, GifOptions()), 0u);
    EXPECT_EQ(EstimateGifBytes({{&strips[0][0], 10}}, 0, 120, GifOptions()), 0u);
    EXPECT_EQ(EstimateGifBytes({{&strips[0][0], 10}}, 160, 120, GifOptions(), [] { return true; }),
              0u);
}

// A size limit: the file fits and the result tells what was given up; a
// limit nothing fits, or a cancellation, leaves the previous file alone.
TEST(GifSizeLimit, FitsUnderTheLimitOrWritesNothing)
{
    const auto strips = MixedStrips();
    std::vector<ExportFrame> frames;
    for (size_t i = 0; i < 20; ++i)
        frames.push_back({&strips[1][i], 10});
    GifExportSettings settings;
    settings.width = 120;
    settings.height = 90;
    settings.options = Optimised();
    const std::size_t exact = Exported(frames, 120, 90, settings.options, 2).size();

    TempDir dir;
    const wxString path = dir.File("limited.gif");
    settings.options.maxBytes = exact / 3;
    const GifExportResult fitted = ExportGif(frames, path, settings);
    ASSERT_TRUE(fitted.ok) << fitted.error;
    const std::string bytes = ReadFileBytes(path);
    EXPECT_LE(bytes.size(), settings.options.maxBytes);
    EXPECT_TRUE(InspectGif(bytes).ok);
    ASSERT_EQ(fitted.warnings.size(), 1u);
    EXPECT_TRUE(fitted.warnings[0].StartsWith("To keep the file under")) << fitted.warnings[0];

    settings.options.maxBytes = 2000;
    const GifExportResult refused = ExportGif(frames, path, settings);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.error.Contains("nothing reasonable fits under")) << refused.error;
    EXPECT_TRUE(ReadFileBytes(path) == bytes) << "the previous file was replaced";

    settings.options.maxBytes = exact / 3;
    const GifExportResult cancelled = ExportGif(frames, path, settings, {}, [] { return true; });
    EXPECT_TRUE(cancelled.error.Contains("cancelled")) << cancelled.error;
    EXPECT_TRUE(ReadFileBytes(path) == bytes);
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<wxString>{"limited.gif"});
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
    // 48 MiB as RGB, of the output size, so it is read in place: the room
    // left holds the worker and its encoder but not the reduction's 16 MiB of
    // colour indices.
    const wxImage frame = MakeFlat(4096, 4096);
    EXPECT_EXIT(RunWithAddressSpaceHeadroom(
                    20ull << 20, dir.Path(),
                    [&]
                    {
                        GifExportSettings settings;
                        settings.width = settings.height = 4096;
                        settings.workers = 1;
                        const GifExportResult result = ExportGif({{&frame, 10}}, target, settings);
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
