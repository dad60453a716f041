// Animated GIF frames come out as a viewer shows them: composed on the
// logical screen with offsets, transparency and disposal. Checked against
// hand-made files and, over the picture corpus, against Pillow's composition.
#include "decode/gifframeaccess.h"
#include "decode/picturedecoder.h"
#include "decode/picturescan.h"
#include "decode/picturesequence.h"

#include "handmade_gif.h"
#include "pillow_frames.h"
#include "temp_dir.h"
#include "wx_printers.h"

#include <gtest/gtest.h>

#include <wx/dir.h>
#include <wx/filename.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{
// Global table of the hand-made files: A, B, C and D (the mask colour itself).
const std::vector<unsigned char> kColours = {200, 0, 0, 0, 200, 0, 0, 0, 200, 255, 0, 255};
const std::map<char, wxColour> kShown = {{'A', wxColour(200, 0, 0)},
                                         {'B', wxColour(0, 200, 0)},
                                         {'C', wxColour(0, 0, 200)},
                                         {'D', wxColour(255, 0, 254)}};

std::vector<wxImage> DecodeAll(const wxString& entry)
{
    std::vector<wxImage> pictures;
    DecodePictures(entry,
                   [&](std::unique_ptr<wxImage> image, int, bool) { pictures.push_back(*image); });
    return pictures;
}

// The picture as rows of letters: kShown's colours, '.' for transparent, '?' otherwise.
std::vector<std::string> Letters(const wxImage& image)
{
    std::vector<std::string> rows;
    for (int y = 0; y < image.GetHeight(); ++y)
    {
        std::string row;
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            const wxColour pixel(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
            char letter = '?';
            if (image.HasMask() &&
                pixel == wxColour(image.GetMaskRed(), image.GetMaskGreen(), image.GetMaskBlue()))
                letter = '.';
            for (const auto& [name, colour] : kShown)
                if (letter == '?' && pixel == colour)
                    letter = name;
            row += letter;
        }
        rows.push_back(row);
    }
    return rows;
}

struct CompositionCase
{
    const char* name;
    wxSize screen;
    std::vector<HandmadeFrame> frames;
    std::vector<std::string> last;  // the last frame as shown
};

const std::string kFull = "0000000000000000";  // 4 x 4 of colour A
}  // namespace

TEST(GifComposition, HandmadeFilesShowAsAViewerShowsThem)
{
    const CompositionCase cases[] = {
        {"kept frame under a smaller one at an offset",
         {4, 4},
         {{0, 0, 4, 4, 1, -1, kFull}, {2, 1, 2, 2, 1, -1, "1111"}},
         {"AAAA", "AABB", "AABB", "AAAA"}},
        {"transparency over a kept frame",
         {4, 4},
         {{0, 0, 4, 4, 0, -1, kFull}, {0, 0, 4, 4, 0, 2, "1212212112122121"}},
         {"BABA", "ABAB", "BABA", "ABAB"}},
        {"restore to background leaves the area transparent",
         {4, 4},
         {{0, 0, 4, 4, 1, -1, kFull}, {0, 0, 2, 2, 2, -1, "1111"}, {3, 3, 1, 1, 1, -1, "2"}},
         {"..AA", "..AA", "AAAA", "AAAC"}},
        {"restore to previous brings back what the frame covered",
         {4, 4},
         {{0, 0, 4, 4, 1, -1, kFull}, {0, 0, 2, 2, 3, -1, "1111"}, {3, 3, 1, 1, 1, -1, "2"}},
         {"AAAA", "AAAA", "AAAA", "AAAC"}},
        {"restore to previous after two frames goes back to the second",
         {4, 4},
         {{0, 0, 4, 4, 1, -1, kFull},
          {0, 0, 2, 2, 1, -1, "1111"},
          {1, 1, 3, 3, 3, -1, "222222222"},
          {3, 0, 1, 1, 0, -1, "3"}},
         {"BBAD", "BBAA", "AAAA", "AAAA"}},
        {"a first frame restored to previous leaves the screen empty",
         {3, 2},
         {{0, 0, 3, 2, 3, -1, "000000"}, {1, 0, 1, 1, 0, -1, "1"}},
         {".B.", "..."}},
        {"pixels no frame covered are transparent",
         {4, 3},
         {{1, 1, 2, 1, 0, -1, "33"}, {0, 0, 1, 1, 0, -1, "2"}},
         {"C...", ".DD.", "...."}},
        {"frames reaching outside the screen are cut at its edge",
         {3, 3},
         {{0, 0, 3, 3, 0, -1, "000000000"}, {2, 1, 3, 3, 0, -1, "123123123"}},
         {"AAA", "AAB", "AAB"}},
        {"a first frame larger than the screen widens it",
         {2, 1},
         {{0, 0, 3, 2, 0, -1, "000000"}, {2, 1, 2, 2, 0, 0, "1001"}},
         {"AAA", "AAB"}},
        {"a restore-to-previous frame wholly right of the screen changes nothing",
         {3, 2},
         {{0, 0, 3, 2, 1, -1, "000000"}, {5, 0, 1, 1, 3, -1, "1"}, {0, 0, 1, 1, 1, -1, "2"}},
         {"CAA", "AAA"}},
        {"a screen far larger than what its frames draw gives the area they cover",
         {4000, 2000},
         {{100, 50, 2, 1, 1, -1, "00"}, {101, 51, 1, 1, 1, -1, "1"}},
         {"AA", ".B"}},
        {"a screen of 0 x 0 takes the first frame's extent",
         {0, 0},
         {{1, 1, 2, 1, 0, -1, "00"}, {0, 0, 1, 1, 0, -1, "1"}},
         {"B..", ".AA"}},
    };
    TempDir dir;
    for (const CompositionCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const wxString path =
            dir.Write("case.gif", HandmadeGif(c.screen.x, c.screen.y, kColours, c.frames));
        const std::vector<wxImage> pictures = DecodeAll(path);
        ASSERT_EQ(pictures.size(), c.frames.size());
        EXPECT_EQ(Letters(pictures.back()), c.last);
        for (const wxImage& picture : pictures)
        {
            EXPECT_EQ(picture.GetSize(), pictures.back().GetSize());
            EXPECT_FALSE(picture.HasAlpha());
        }
        // A frame reference gives the frame as the whole file's import does.
        const wxString lastReference = path + wxString::Format("_%zu", c.frames.size() - 1);
        const std::vector<wxImage> last = DecodeAll(lastReference);
        ASSERT_EQ(last.size(), 1u);
        EXPECT_EQ(Letters(last[0]), c.last);
        // The renderer's reading of the headers alone comes to the same sizes.
        PictureScanner scanner;
        EXPECT_EQ(scanner.Scan(path).sizes,
                  std::vector<wxSize>(pictures.size(), pictures.back().GetSize()));
        EXPECT_EQ(scanner.Scan(lastReference).sizes, std::vector<wxSize>{last[0].GetSize()});
    }
}

TEST(GifComposition, SingleImagesAndTheirFirstFramesKeepTheirOwnSize)
{
    // A lone image at an offset is not padded to its screen.
    TempDir dir;
    const HandmadeFrame frame{1, 1, 2, 1, 0, 0, "01"};
    const wxString single = dir.Write("single.gif", HandmadeGif(4, 3, kColours, {frame}));
    std::vector<wxImage> pictures = DecodeAll(single);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(Letters(pictures[0]), std::vector<std::string>{".B"});
    EXPECT_TRUE(pictures[0].HasPalette());
    EXPECT_EQ(Letters(DecodeAll(single + "_0").at(0)), std::vector<std::string>{".B"});
    PictureScanner scanner;
    EXPECT_EQ(scanner.Scan(single).sizes, std::vector<wxSize>{wxSize(2, 1)});
    EXPECT_EQ(scanner.Scan(single + "_0").sizes, std::vector<wxSize>{wxSize(2, 1)});

    // An animation ending in ".GIF" or ".Gif" is one as much as in ".gif".
    const std::string animation = HandmadeGif(4, 3, kColours, {frame, {0, 0, 1, 1, 0, -1, "2"}});
    for (const char* name : {"SPIN.GIF", "Spin.Gif"})
    {
        const wxString upper = dir.Write(name, animation);
        pictures = DecodeAll(upper);
        ASSERT_EQ(pictures.size(), 2u) << name;
        EXPECT_EQ(Letters(pictures[1]), (std::vector<std::string>{"C...", "..B.", "...."}));
        EXPECT_EQ(scanner.Scan(upper).sizes, std::vector<wxSize>(2, wxSize(4, 3)));
        EXPECT_EQ(DecodeAll(upper + "_1").size(), 1u);
    }
}

namespace
{
// Pixels where the two disagree. Pillow paints "restore to background" with
// an opaque colour when the first frame had no transparency (its canvas has
// none from then on); there the program leaves the area transparent, as web
// browsers do. Such pixels, inside an area an earlier frame disposed of so,
// are counted apart.
struct Difference
{
    int pixels = 0;
    int transparentWherePillowPaintsBackground = 0;
    std::string first;  // the first differing pixel
};

Difference Compare(const wxImage& ours, const PillowFrame& theirs,
                   const std::vector<wxRect>& backgroundAreas)
{
    Difference difference;
    const unsigned char* rgb = ours.GetData();
    for (int y = 0; y < theirs.size.y; ++y)
        for (int x = 0; x < theirs.size.x; ++x, rgb += 3)
        {
            const unsigned char* rgba = reinterpret_cast<const unsigned char*>(theirs.rgba.data()) +
                                        (size_t(y) * theirs.size.x + x) * 4;
            const bool oursTransparent = ours.HasMask() && rgb[0] == ours.GetMaskRed() &&
                                         rgb[1] == ours.GetMaskGreen() &&
                                         rgb[2] == ours.GetMaskBlue();
            const bool theirsTransparent = rgba[3] == 0;
            // An opaque pixel of the mask colour itself is told apart by one step of blue.
            const bool theirsMaskColour = rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 255;
            const unsigned char theirsBlue = theirsMaskColour ? 254 : rgba[2];
            if (oursTransparent == theirsTransparent &&
                (oursTransparent ||
                 (rgb[0] == rgba[0] && rgb[1] == rgba[1] && rgb[2] == theirsBlue)))
                continue;
            bool inBackground = false;
            for (const wxRect& area : backgroundAreas)
                inBackground = inBackground || area.Contains(x, y);
            if (oursTransparent && !theirsTransparent && inBackground)
            {
                ++difference.transparentWherePillowPaintsBackground;
                continue;
            }
            if (difference.pixels++ == 0)
                difference.first =
                    wxString::Format("(%d, %d): ours %d %d %d%s, Pillow's %d %d %d %d", x, y,
                                     rgb[0], rgb[1], rgb[2], oursTransparent ? " transparent" : "",
                                     rgba[0], rgba[1], rgba[2], rgba[3])
                        .utf8_string();
        }
    return difference;
}
}  // namespace

TEST(GifComposition, CorpusAnimationsMatchPillowsComposition)
{
    // Every animated GIF of the corpus that Pillow reads without error,
    // whatever the case of its name (an upper-case name is copied to ".gif").
    TempDir dir;
    std::vector<std::string> compared;
    std::vector<std::string> transparentBackgrounds;
    wxArrayString files;
    wxDir::GetAllFiles(LF_CORPUS_DIR, &files, "*", wxDIR_FILES);
    files.Sort();
    for (const wxString& file : files)
    {
        const wxFileName name(file);
        if (name.GetExt().Lower() != "gif")
            continue;
        const std::string shortName = name.GetFullName().utf8_string();
        SCOPED_TRACE(shortName);
        wxString path = file;
        if (name.GetExt() != "gif")
        {
            path = dir.File(name.GetName() + ".gif");
            ASSERT_TRUE(wxCopyFile(file, path));
        }
        const PillowResult pillow = ComposeWithPillow(path);
        if (!pillow.complete || pillow.frames.size() < 2)
            continue;
        compared.push_back(shortName);

        std::vector<wxRect> backgroundAreas;
        int backgroundPixels = 0;
        size_t index = 0;
        PictureSequence sequence(Paths({path}));
        for (SequencePicture picture; sequence.Next(picture); ++index)
        {
            SCOPED_TRACE(index);
            ASSERT_LT(index, pillow.frames.size());
            const PillowFrame& theirs = pillow.frames[index];
            EXPECT_EQ(picture.frameIndex, int(index));
            ASSERT_EQ(picture.image->GetSize(), theirs.size);
            const Difference difference = Compare(*picture.image, theirs, backgroundAreas);
            EXPECT_EQ(difference.pixels, 0) << "first at " << difference.first;
            backgroundPixels += difference.transparentWherePillowPaintsBackground;
            if (theirs.disposal == 2)
                backgroundAreas.push_back(theirs.area);
        }
        EXPECT_EQ(index, pillow.frames.size());
        if (backgroundPixels > 0)
            transparentBackgrounds.push_back(shortName);
    }
    EXPECT_EQ(compared,
              (std::vector<std::string>{
                  "any-disposal.gif", "cogs.gif", "colorTables.gif", "dispose_bgnd.gif",
                  "dispose_none_upper.GIF", "dispose_prev.gif", "gif-transparent-index.gif",
                  "iss634.gif", "large-gif-anim-full-frame-replace.gif", "moon_impact.gif",
                  "required.gif", "sample_big.gif", "test640x479.gif"}));
    // The two whose first frame is opaque and that restore areas to the background.
    EXPECT_EQ(transparentBackgrounds,
              (std::vector<std::string>{"dispose_bgnd.gif", "required.gif"}));
}

TEST(PictureSequence, FrameReferencesInARowReadTheirFileOnce)
{
    TempDir dir;
    const std::vector<HandmadeFrame> frames = {
        {0, 0, 2, 1, 1, -1, "00"}, {1, 0, 1, 1, 1, -1, "1"}, {0, 0, 1, 1, 1, -1, "2"}};
    const wxString gif = dir.Write("anim.gif", HandmadeGif(2, 1, kColours, frames));
    const wxString png = dir.File("still.png");
    ASSERT_TRUE(wxImage(3, 3).SaveFile(png, wxBITMAP_TYPE_PNG));

    // The file goes away after the first picture: the frames that follow,
    // even past a still picture and back to an earlier one, still come from
    // the one reading.
    PictureSequence sequence(Paths({gif + "_0", png, gif + "_2", gif + "_1", png}));
    SequencePicture picture;
    ASSERT_TRUE(sequence.Next(picture));
    EXPECT_EQ(Letters(*picture.image), std::vector<std::string>{"AA"});
    ASSERT_TRUE(wxRemoveFile(gif));
    std::vector<size_t> entries;
    std::vector<std::vector<std::string>> shown;
    while (sequence.Next(picture))
    {
        entries.push_back(picture.entry);
        shown.push_back(Letters(*picture.image));
        EXPECT_TRUE(picture.lastOfEntry);
    }
    EXPECT_EQ(entries, (std::vector<size_t>{1, 2, 3, 4}));
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1], std::vector<std::string>{"CB"});
    EXPECT_EQ(shown[2], std::vector<std::string>{"AB"});
    EXPECT_DOUBLE_EQ(sequence.Position(), 5.0);
}

// The frames of a whole GIF bring the delays their file stores, 0 and 1 as
// browsers show them (10); frame references and single images bring none.
TEST(PictureSequence, WholeGifFramesBringTheirStoredDelays)
{
    TempDir dir;
    std::vector<HandmadeFrame> frames;
    for (int delay : {8, 8, 50, 3, 0, 1, -1})
        frames.push_back({0, 0, 1, 1, 1, -1, "0", delay});
    const wxString gif = dir.Write("timed.gif", HandmadeGif(1, 1, kColours, frames));
    const wxString single =
        dir.Write("single.gif", HandmadeGif(1, 1, kColours, {{0, 0, 1, 1, 1, -1, "0", 50}}));
    std::vector<int> delays;
    PictureSequence sequence(Paths({gif, gif + "_2", single}));
    for (SequencePicture picture; sequence.Next(picture);)
        delays.push_back(picture.delay);
    EXPECT_EQ(delays, (std::vector<int>{8, 8, 50, 3, 10, 10, 0, 0, 0}));
}

// Frames asked for in any order are read from the file about as often as in
// file order, not from the start for each, and come out as in file order:
// with room for only a few checkpoints and kept frames, the rest is read
// again from the checkpoints.
TEST(GifFrameAccess, FramesInAnyOrderCostAboutAsMuchAsInOrder)
{
    // Frame i draws pixel i of an 8 x 8 screen in colour i % 3; every fifth
    // is restored to the previous picture (a checkpoint must hold what that
    // brings back).
    const int count = 64;
    std::vector<HandmadeFrame> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(
            {i % 8, i / 8, 1, 1, i % 5 == 4 ? 3 : 1, -1, std::string(1, char('0' + i % 3))});
    const std::string bytes = HandmadeGif(8, 8, kColours, frames);
    auto shown = [](int frame)
    {
        std::vector<std::string> rows(8, std::string(8, '.'));
        for (int i = 0; i <= frame; ++i)
            if (i == frame || i % 5 != 4)
                rows[i / 8][i % 8] = "ABC"[i % 3];
        return rows;
    };

    const std::size_t frameBytes = 8 * 8 * 3;
    auto framesRead = [&](const std::vector<int>& order)
    {
        GifFrameAccess access(std::vector<unsigned char>(bytes.begin(), bytes.end()),
                              {10 * frameBytes, 8 * frameBytes});
        for (int index : order)
        {
            const std::unique_ptr<wxImage> picture = access.Frame(index);
            EXPECT_TRUE(picture && Letters(*picture) == shown(index)) << "frame " << index;
        }
        return access.FramesRead();
    };
    std::vector<int> forward(count), backward(count), twice, shuffled(count);
    for (int i = 0; i < count; ++i)
    {
        forward[i] = i;
        backward[i] = count - 1 - i;
        twice.insert(twice.end(), {count - 1 - i, count - 1 - i});
        shuffled[i] = (i * 37) % count;
    }
    EXPECT_EQ(framesRead(forward), count);
    // Backwards, each stretch between two checkpoints is read once more.
    EXPECT_LE(framesRead(backward), 2 * count + 8);
    EXPECT_LE(framesRead(twice), 2 * count + 8);
    EXPECT_LE(framesRead(shuffled), 6 * count);
}

// Each entry's outcome comes once, in list order, and before the entry's last
// picture: the import reports refusals when its last picture arrives.
TEST(PictureSequence, EveryEntryEndsOnceBeforeItsLastPicture)
{
    TempDir dir;
    const wxString gif = dir.Write(
        "anim.gif",
        HandmadeGif(2, 1, kColours, {{0, 0, 2, 1, 1, -1, "00"}, {0, 0, 1, 1, 1, -1, "1"}}));
    const wxString png = dir.File("still.png");
    ASSERT_TRUE(wxImage(3, 3).SaveFile(png, wxBITMAP_TYPE_PNG));
    const wxString broken = dir.Write("broken.png", "not a picture");
    const wxString folder = dir.File("folder.gif");
    ASSERT_TRUE(wxFileName::Mkdir(folder));

    auto name = [](PictureDecodeStatus status)
    {
        switch (status)
        {
            case PictureDecodeStatus::Decoded:
                return "decoded";
            case PictureDecodeStatus::Unreadable:
                return "unreadable";
            case PictureDecodeStatus::TooLargeForMemory:
                return "memory";
            case PictureDecodeStatus::NotRegularFile:
                return "no file";
        }
        return "?";
    };
    std::vector<std::string> log;
    PictureSequence sequence(
        Paths({gif, folder, gif + "_1", gif + "_5", folder + "_0", broken, png}),
        [&](std::size_t entry, PictureDecodeStatus status)
        { log.push_back("end " + std::to_string(entry) + " " + name(status)); });
    for (SequencePicture picture; sequence.Next(picture);)
        log.push_back("picture " + std::to_string(picture.entry) + "/" +
                      std::to_string(picture.frameIndex) + (picture.lastOfEntry ? " last" : ""));
    EXPECT_EQ(log, (std::vector<std::string>{
                       "picture 0/0", "end 0 decoded", "picture 0/1 last", "end 1 no file",
                       "end 2 decoded", "picture 2/1 last", "end 3 unreadable", "end 4 no file",
                       "end 5 unreadable", "end 6 decoded", "picture 6/0 last"}));
}
