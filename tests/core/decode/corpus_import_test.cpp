// The import of every file of the picture corpus, as its manifest and README
// describe them. This suite also runs in the sanitizer build: hostile files must be
// skipped without reading or writing outside any buffer.
#include "decode/picturedecoder.h"
#include "decode/picturescan.h"

#include <gtest/gtest.h>

#include <wx/dir.h>
#include <wx/filename.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
struct Expected
{
    std::vector<wxSize> sizes;  // one per picture, in order
    bool masked = false;        // every picture carries a mask
};

std::vector<wxSize> Repeat(int count, wxSize size)
{
    return std::vector<wxSize>(count, size);
}

// What each corpus file gives. The frames of an animation come out composed
// on its logical screen. Where the toolkit's own decoder read less of a valid
// file (a GIF87a animation, deferred clear codes) all frames come out.
std::map<std::string, Expected> ExpectedPictures()
{
    const wxSize bmp(127, 64);
    std::map<std::string, Expected> expected = {
        {"alpha_gif_a.gif", {{{256, 256}}}},
        {"any-disposal.gif", {Repeat(5, {32, 32}), true}},
        {"badbitcount.bmp", {}},
        {"basi2c08.png", {{{32, 32}}}},
        {"basn6a16.png", {{{32, 32}}}},
        {"broken.png", {}},
        {"cogs.gif", {Repeat(5, {85, 77}), true}},
        {"colorTables.gif", {Repeat(2, {640, 400})}},
        {"dispose_bgnd.gif", {Repeat(5, {100, 100})}},
        {"dispose_none_upper.GIF", {Repeat(5, {100, 100})}},
        {"dispose_prev.gif", {Repeat(5, {100, 100})}},
        {"empty.gif", {}},
        {"first_frame_transparency.gif", {{{50, 50}}, true}},
        {"gif-transparent-index.gif", {Repeat(2, {4, 2})}},
        {"grayscale.png", {{{128, 128}}}},
        {"hopper.gif", {{{128, 128}}}},
        {"hopper_gct_then_random.gif", {}},
        {"hopper_gray.jpg", {{{128, 128}}}},
        {"hopper_png_named.gif", {}},
        {"interlaced.gif", {{{540, 330}}}},
        {"invalid_multiframe.gif", {Repeat(4, {10, 9})}},
        {"iss634.gif", {Repeat(42, {245, 245})}},
        {"issue-96-small-codesize.gif", {}},
        {"issue_1455_oversized.gif", {{{16, 16}}}},
        {"large-gif-anim-full-frame-replace.gif", {Repeat(2, {1000, 1000})}},
        {"moon_impact.gif", {Repeat(14, {116, 100})}},
        {"ossfuzz6274.gif", {}},
        {"p_trns_single.png", {{{64, 64}}}},
        {"pal1.bmp", {{bmp}}},
        {"pal4.bmp", {{bmp}}},
        {"pal4rle.bmp", {{bmp}}},
        {"pal8.bmp", {{bmp}}},
        {"pal8rle.bmp", {{bmp}}},
        {"pal8topdown.bmp", {{bmp}}},
        {"pil123rgba.png", {{{162, 150}}}},
        {"pil_sample_cmyk.jpg", {{{100, 100}}}},
        {"progressive_cat.jpg", {{{320, 240}}}},
        {"randPixelsAnim.gif", {Repeat(13, {16, 16}), true}},
        {"required.gif", {Repeat(7, {100, 100})}},
        {"rgb16-565.bmp", {}},
        {"rgb24.bmp", {{bmp}}},
        {"rgba32.bmp", {{bmp}}},
        {"sample_1.gif", {{{10, 10}}}},
        {"sample_big.gif", {Repeat(259, {1000, 175})}},
        {"set_hsts.gif", {{{1, 1}}}},
        {"shortfile.bmp", {}},
        {"test640x479.gif", {Repeat(4, {640, 479})}},
        {"transparent.gif", {{{200, 150}}, true}},
        {"truncated.gif", {}},  // its only frame stops early: nothing trustworthy to show
        {"truncated_image.png", {}},
        {"truncated_jpeg.jpg", {{{100, 100}}}},
        {"zero-dims.gif", {}},
        {"zero_width.gif", {}},
    };
    return expected;
}

// Files whose headers describe a picture the toolkit's loader then refuses.
const std::set<std::string> kRefusedOnlyByTheLoader = {"badbitcount.bmp", "rgb16-565.bmp",
                                                       "shortfile.bmp", "truncated_image.png"};

struct Decoded
{
    std::vector<wxSize> sizes;
    std::vector<int> indices;
    std::vector<bool> lastFlags;
    bool allMasked = true;
    bool allHavePalette = true;
};

Decoded Decode(const wxString& entry)
{
    Decoded decoded;
    DecodePictures(entry,
                   [&](std::unique_ptr<wxImage> image, int index, bool last)
                   {
                       EXPECT_TRUE(image && image->IsOk());
                       decoded.sizes.push_back(image->GetSize());
                       decoded.indices.push_back(index);
                       decoded.lastFlags.push_back(last);
                       decoded.allMasked = decoded.allMasked && image->HasMask();
                       decoded.allHavePalette = decoded.allHavePalette && image->HasPalette();
                   });
    return decoded;
}

// Every file of the corpus folder but its manifest and README.
std::vector<std::string> CorpusFiles()
{
    wxArrayString paths;
    wxDir::GetAllFiles(LF_CORPUS_DIR, &paths, wxEmptyString, wxDIR_FILES);
    std::vector<std::string> files;
    for (const wxString& path : paths)
    {
        const std::string name = wxFileName(path).GetFullName().utf8_string();
        if (name != "MANIFEST.tsv" && name != "README.md")
            files.push_back(name);
    }
    return files;
}
}  // namespace

TEST(CorpusImport, EveryFileGivesWhatItShould)
{
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_GE(files.size(), 50u) << "corpus missing";
    const std::map<std::string, Expected> expected = ExpectedPictures();
    for (const std::string& file : files)
    {
        SCOPED_TRACE(file);
        const auto found = expected.find(file);
        ASSERT_NE(found, expected.end()) << "a corpus file without an expectation";
        const Decoded decoded = Decode(wxString(LF_CORPUS_DIR "/") + file);
        EXPECT_EQ(decoded.sizes, found->second.sizes);
        // The renderer learns the same from the headers alone, except where
        // only the loader finds the data unusable.
        const std::vector<wxSize> scanned =
            PictureScanner().Scan(wxString(LF_CORPUS_DIR "/") + file).sizes;
        if (kRefusedOnlyByTheLoader.count(file))
        {
            EXPECT_EQ(scanned.size(), 1u);
        }
        else
        {
            EXPECT_EQ(scanned, decoded.sizes) << "scanned";
        }
        if (found->second.masked)
        {
            EXPECT_TRUE(decoded.allMasked);
        }
        // A single image keeps its colour table; a composed frame can mix several.
        const bool gif = wxFileName(file).GetExt().Lower() == "gif";
        if (gif && decoded.sizes.size() == 1)
        {
            EXPECT_TRUE(decoded.allHavePalette);
        }
        for (size_t i = 0; i < decoded.indices.size(); ++i)
        {
            EXPECT_EQ(decoded.indices[i], gif ? int(i) : 0);
            EXPECT_EQ(decoded.lastFlags[i], i + 1 == decoded.indices.size());
        }
    }
}

TEST(CorpusImport, FrameReferencesIntoCorpusFiles)
{
    const wxString cogs = LF_CORPUS_DIR "/cogs.gif";
    Decoded decoded = Decode(cogs + "_2");
    ASSERT_EQ(decoded.indices, std::vector<int>{2});
    EXPECT_EQ(decoded.sizes[0], wxSize(85, 77));
    EXPECT_TRUE(decoded.lastFlags[0]);

    EXPECT_TRUE(Decode(cogs + "_5").sizes.empty());
    EXPECT_TRUE(Decode(cogs + "_99999999999999999999").sizes.empty());
    EXPECT_EQ(Decode(cogs + "_004").indices, std::vector<int>{4});

    // An upper-case name is as much an animation.
    decoded = Decode(LF_CORPUS_DIR "/dispose_none_upper.GIF_3");
    EXPECT_EQ(decoded.indices, std::vector<int>{3});
}
