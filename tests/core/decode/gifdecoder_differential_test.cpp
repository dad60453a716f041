// The GIF frames as stored, read through giflib, are the images the toolkit's
// own GIF decoder gives for valid files; composition builds on them. The
// toolkit's decoder runs only on files it is known to read safely.
#include "decode/gifframereader.h"
#include "decode/picturedecoder.h"
#include "decode/picturesize.h"

#include "gif_files.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <wx/gifdecod.h>
#include <wx/palette.h>
#include <wx/wfstream.h>

#include <string>
#include <vector>

namespace
{
std::vector<wxImage> DecodeWithToolkit(const wxString& path)
{
    std::vector<wxImage> frames;
    wxFileInputStream stream(path);
    wxGIFDecoder decoder;
    decoder.LoadGIF(stream);
    for (unsigned i = 0; i < decoder.GetFrameCount(); ++i)
    {
        wxImage image;
        decoder.ConvertToImage(i, &image);
        frames.push_back(image);
    }
    return frames;
}

std::vector<wxImage> DecodeWithEngine(const wxString& path)
{
    std::vector<wxImage> frames;
    std::vector<unsigned char> data;
    if (ReadPictureFile(path, data) != PictureDecodeStatus::Decoded)
        return frames;
    GifFrameReader reader(data.data(), data.size(), kMaxPicturePixels);
    for (wxImage image; reader.ReadFrame(image) != GifFrameReader::Result::End; image = wxImage())
        if (image.IsOk())
            frames.push_back(image);
    return frames;
}

void ExpectSameImage(const wxImage& ours, const wxImage& theirs)
{
    ASSERT_EQ(ours.GetSize(), theirs.GetSize());
    const size_t bytes = size_t(ours.GetWidth()) * ours.GetHeight() * 3;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ours.GetData()), bytes),
              std::string(reinterpret_cast<const char*>(theirs.GetData()), bytes));
    ASSERT_EQ(ours.HasMask(), theirs.HasMask());
    if (ours.HasMask())
    {
        EXPECT_EQ(ours.GetMaskRed(), theirs.GetMaskRed());
        EXPECT_EQ(ours.GetMaskGreen(), theirs.GetMaskGreen());
        EXPECT_EQ(ours.GetMaskBlue(), theirs.GetMaskBlue());
    }
    EXPECT_FALSE(ours.HasAlpha());
    ASSERT_TRUE(ours.HasPalette());
    ASSERT_TRUE(theirs.HasPalette());
    const wxPalette& a = ours.GetPalette();
    const wxPalette& b = theirs.GetPalette();
    ASSERT_EQ(a.GetColoursCount(), b.GetColoursCount());
    for (int i = 0; i < a.GetColoursCount(); ++i)
    {
        unsigned char r1, g1, b1, r2, g2, b2;
        a.GetRGB(i, &r1, &g1, &b1);
        b.GetRGB(i, &r2, &g2, &b2);
        EXPECT_TRUE(r1 == r2 && g1 == g2 && b1 == b2) << "palette entry " << i;
    }
    EXPECT_EQ(ours.GetOption(wxIMAGE_OPTION_GIF_COMMENT),
              theirs.GetOption(wxIMAGE_OPTION_GIF_COMMENT));
}

void ExpectSameFrames(const wxString& path, size_t compared)
{
    const std::vector<wxImage> ours = DecodeWithEngine(path);
    const std::vector<wxImage> theirs = DecodeWithToolkit(path);
    ASSERT_GE(ours.size(), compared);
    ASSERT_GE(theirs.size(), compared);
    for (size_t i = 0; i < compared; ++i)
    {
        SCOPED_TRACE(i);
        ExpectSameImage(ours[i], theirs[i]);
    }
}
}  // namespace

TEST(GifDecoderDifferential, ValidCorpusFilesDecodeAsTheToolkitDoes)
{
    for (const char* name :
         {"alpha_gif_a.gif", "any-disposal.gif", "cogs.gif", "colorTables.gif", "dispose_bgnd.gif",
          "dispose_prev.gif", "first_frame_transparency.gif", "gif-transparent-index.gif",
          "hopper.gif", "interlaced.gif", "issue_1455_oversized.gif",
          "large-gif-anim-full-frame-replace.gif", "moon_impact.gif", "required.gif",
          "sample_1.gif", "sample_big.gif", "set_hsts.gif", "test640x479.gif", "transparent.gif"})
    {
        SCOPED_TRACE(name);
        const wxString path = wxString(LF_CORPUS_DIR "/") + name;
        const size_t count = DecodeWithToolkit(path).size();
        ASSERT_GT(count, 0u);
        EXPECT_EQ(DecodeWithEngine(path).size(), count);
        ExpectSameFrames(path, count);
    }
}

TEST(GifDecoderDifferential, FilesTheToolkitCutsShortAgreeWhereItReads)
{
    // A GIF87a animation: the toolkit stops after the first image.
    const wxString animation87 = LF_CORPUS_DIR "/randPixelsAnim.gif";
    ASSERT_EQ(DecodeWithToolkit(animation87).size(), 1u);
    EXPECT_EQ(DecodeWithEngine(animation87).size(), 13u);
    ExpectSameFrames(animation87, 1);
}

TEST(GifDecoderDifferential, CommentsAndGenuineMaskColours)
{
    // Frames with comments (one not representable in the C locale), a real
    // (255, 0, 255) next to the transparent entry, transparency on some
    // frames only, and each frame's table in another order.
    const std::vector<unsigned char> colours = {255, 0, 255, 1, 2, 3, 10, 20, 30, 200, 100, 0};
    std::vector<wxImage> frames;
    for (int i = 0; i < 4; ++i)
    {
        std::vector<unsigned char> rotated(colours.begin() + 3 * i, colours.end());
        rotated.insert(rotated.end(), colours.begin(), colours.begin() + 3 * i);
        frames.push_back(PalettedImage(21, 13, rotated));
    }
    frames[0].SetMaskColour(1, 2, 3);
    frames[2].SetMaskColour(1, 2, 3);
    frames[1].SetOption(wxIMAGE_OPTION_GIF_COMMENT, "second frame");
    frames[2].SetOption(wxIMAGE_OPTION_GIF_COMMENT, wxString::FromUTF8("caf\xc3\xa9"));
    TempDir dir;
    const wxString path = dir.Write("written.gif", WriteGifFrames(frames, 50));
    ExpectSameFrames(path, 4);
    const std::vector<wxImage> ours = DecodeWithEngine(path);
    EXPECT_EQ(ours[1].GetOption(wxIMAGE_OPTION_GIF_COMMENT), "second frame");
    EXPECT_TRUE(ours[0].HasMask());
    EXPECT_FALSE(ours[1].HasMask());
}
