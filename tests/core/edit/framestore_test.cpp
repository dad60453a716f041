// The frame store: pictures kept compressed exactly as imported, and the
// byte-bounded cache of decoded pictures in front of them.
#include "decode/storedpicture.h"
#include "edit/edithistory.h"
#include "edit/framelist.h"
#include "edit/picturecache.h"

#include "temp_dir.h"
#include "wx_printers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// A picture whose every pixel differs from its neighbours, with alpha and a
// mask colour when asked.
wxImage Pattern(int width, int height, int seed, bool alpha = false)
{
    wxImage picture(width, height, false);
    unsigned char* p = picture.GetData();
    for (int i = 0; i < width * height * 3; ++i)
        p[i] = static_cast<unsigned char>(i * 7 + seed * 31 + (i >> 5));
    if (alpha)
    {
        picture.SetAlpha();
        for (int i = 0; i < width * height; ++i)
            picture.GetAlpha()[i] = static_cast<unsigned char>(i * 13 + seed);
        picture.SetMaskColour(1, 2, 3);
    }
    return picture;
}

bool SamePicture(const wxImage& a, const wxImage& b)
{
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize() || a.HasAlpha() != b.HasAlpha() ||
        a.HasMask() != b.HasMask())
        return false;
    const size_t pixels = size_t(a.GetWidth()) * a.GetHeight();
    if (std::memcmp(a.GetData(), b.GetData(), pixels * 3) != 0)
        return false;
    if (a.HasMask() && (a.GetMaskRed() != b.GetMaskRed() || a.GetMaskGreen() != b.GetMaskGreen() ||
                        a.GetMaskBlue() != b.GetMaskBlue()))
        return false;
    return !a.HasAlpha() || std::memcmp(a.GetAlpha(), b.GetAlpha(), pixels) == 0;
}

// Gives the shared cache a bound for one test and empties it afterwards.
class FrameStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PictureCache::Shared().Clear();
        PictureCache::Shared().SetLimit(kLimit);
    }
    void TearDown() override
    {
        PictureCache::Shared().Clear();
        PictureCache::Shared().SetLimit(PictureCache::DefaultLimit());
    }
    // Room for two 40 x 30 RGB pictures, not three.
    static constexpr size_t kLimit = 40 * 30 * 3 * 2 + 100;
};
}  // namespace

TEST_F(FrameStoreTest, EveryCodecGivesBackThePictureExactly)
{
    for (PictureCodec codec : {PictureCodec::Lz4, PictureCodec::Zstd})
        for (bool alpha : {false, true})
        {
            const wxImage picture = Pattern(37, 23, 5, alpha);
            const StoredPicture stored = StoredPicture::Keep(picture, codec);
            ASSERT_TRUE(stored.IsOk());
            EXPECT_EQ(stored.GetSize(), wxSize(37, 23));
            EXPECT_TRUE(SamePicture(stored.Load(), picture))
                << "codec " << int(codec) << (alpha ? " with alpha" : "");
        }
    EXPECT_FALSE(StoredPicture::Keep(wxImage()).IsOk());
}

TEST_F(FrameStoreTest, TheLastCopyLetGoGivesItsPlaceOnDiskBack)
{
    // Noise does not compress: about 3 MiB on disk.
    wxImage noise(1024, 1024, false);
    unsigned state = 1;
    for (int i = 0; i < 1024 * 1024 * 3; ++i)
        noise.GetData()[i] =
            static_cast<unsigned char>((state = state * 1664525u + 1013904223u) >> 24);
    const StoredPicture first = StoredPicture::Keep(Pattern(8, 8, 1));  // keeps the file open
    const std::uint64_t before = PictureStoreDiskBytes();
    {
        StoredPicture kept = StoredPicture::Keep(noise);
        const StoredPicture copy = kept;
        kept = StoredPicture();
        EXPECT_GT(PictureStoreDiskBytes(), before + (2u << 20));
        EXPECT_TRUE(SamePicture(copy.Load(), noise));
    }
    EXPECT_LT(PictureStoreDiskBytes(), before + (1u << 20));
    EXPECT_TRUE(SamePicture(first.Load(), Pattern(8, 8, 1)));
}

TEST_F(FrameStoreTest, AnEvictedPictureComesBackIdenticalAndTheBoundHolds)
{
    std::vector<wxImage> pictures;
    FrameList list;
    for (int i = 0; i < 6; ++i)
    {
        pictures.push_back(Pattern(40, 30, i, i == 4));
        list.Insert(-1, {MakeStripFrame(pictures.back(), wxString::Format("p%d.png", i), 0)});
    }
    // Shown in turns, back and forth, so each one is let go and loaded again.
    for (int round = 0; round < 3; ++round)
        for (int i : {0, 5, 1, 4, 2, 3, 0})
            EXPECT_TRUE(SamePicture(list.Get(i).source->Picture(), pictures[size_t(i)]))
                << "frame " << i << " round " << round;
    EXPECT_LE(PictureCache::Shared().GetPeakBytes(), kLimit);
    EXPECT_GE(PictureCache::Shared().GetCount(), 1u);

    // A picture larger than the whole cache is loaded, never kept.
    list.Insert(-1, {MakeStripFrame(Pattern(100, 100, 9), "big.png", 0)});
    EXPECT_TRUE(SamePicture(list.Get(6).source->Picture(), Pattern(100, 100, 9)));
    EXPECT_LE(PictureCache::Shared().GetPeakBytes(), kLimit);

    // A frame let go takes its picture out of the cache.
    list.Get(0).source->Picture();
    const size_t before = PictureCache::Shared().GetBytes();
    list.Remove({0});
    EXPECT_EQ(PictureCache::Shared().GetBytes(), before - 40 * 30 * 3);
}

TEST_F(FrameStoreTest, AFileChangedOrGoneAfterImportLeavesTheFrameAsItWas)
{
    TempDir dir;
    const wxString path = dir.File("still.png");
    const wxImage imported = Pattern(40, 30, 1);
    ASSERT_TRUE(imported.SaveFile(path, wxBITMAP_TYPE_PNG));
    wxImage read(path);
    FrameList list;
    list.Insert(-1, {MakeStripFrame(read, path, 0)});
    read = wxImage();

    ASSERT_TRUE(Pattern(40, 30, 2).SaveFile(path, wxBITMAP_TYPE_PNG));
    // Evicted by other pictures, then shown and exported again.
    list.Insert(-1, {MakeStripFrame(Pattern(40, 30, 3), "a.png", 0),
                     MakeStripFrame(Pattern(40, 30, 4), "b.png", 0)});
    EXPECT_TRUE(SamePicture(list.Get(0).source->Picture(), imported));
    ASSERT_TRUE(wxRemoveFile(path));
    PictureCache::Shared().Clear();
    EXPECT_TRUE(SamePicture(list.Get(0).source->Picture(), imported));
    wxImage holder;
    EXPECT_TRUE(SamePicture(list.GetExportFrames(10)[0].Read(holder), imported));
}

TEST_F(FrameStoreTest, UndoAndTheExportWorkOnEvictedFrames)
{
    FrameList list;
    for (int i = 0; i < 4; ++i)
        list.Insert(-1, {MakeStripFrame(Pattern(40, 30, i), wxString::Format("p%d.png", i), 0)});
    EditHistory history;
    EditState before;
    before.frames = list;
    history.Record(before);
    ASSERT_TRUE(list.Remove({0, 1}));
    ASSERT_TRUE(list.Orient({0}, OrientationEdit::RotateRight));
    PictureCache::Shared().Clear();

    // The export loads each picture on its own, turned as the frame shows.
    const std::vector<ExportFrame> exported = list.GetExportFrames(10);
    ASSERT_EQ(exported.size(), 2u);
    wxImage holder;
    EXPECT_TRUE(SamePicture(exported[0].Read(holder), Pattern(40, 30, 2)));
    EXPECT_NE(exported[0].orientation, 0);
    EXPECT_TRUE(SamePicture(exported[1].Read(holder), Pattern(40, 30, 3)));

    EditState current;
    current.frames = list;
    const EditState undone = history.Undo(current);
    ASSERT_EQ(undone.frames.GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(SamePicture(undone.frames.Get(i).source->Picture(), Pattern(40, 30, i)))
            << "frame " << i;
    EXPECT_LE(PictureCache::Shared().GetPeakBytes(), kLimit);
}
