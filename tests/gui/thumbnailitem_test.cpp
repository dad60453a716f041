#include "thumbnail_test_support.h"
#include "window/textfit.h"

#include <wx/dcmemory.h>

#include <algorithm>
#include <functional>

using ItemLoadTest = StripTest;

TEST_F(ItemLoadTest, GifFramesTakeTheirFrameReferenceOnce)
{
    wxImageThumbnailItem* frame12 = MakePictureItem(dir, "b.gif", 12);
    ASSERT_TRUE(frame12->Load(strip, false));
    EXPECT_EQ(frame12->GetFilename(), dir.File("b.gif_12"));
    const wxBitmap thumbnail = frame12->GetThumbnail();
    EXPECT_TRUE(frame12->Load(strip, false));
    EXPECT_TRUE(frame12->GetThumbnail().IsSameAs(thumbnail));
    // A forced reload still finds the file and adds no second suffix.
    EXPECT_TRUE(frame12->Load(strip, true));
    EXPECT_EQ(frame12->GetFilename(), dir.File("b.gif_12"));
    delete frame12;

    wxImageThumbnailItem* upper = MakePictureItem(dir, "ANIM.GIF", 3);
    EXPECT_TRUE(upper->Load(strip, false));
    EXPECT_EQ(upper->GetFilename(), dir.File("ANIM.GIF_3")) << "any case of the ending";
    delete upper;
    for (const char* name : {"still.png", "noextension"})
    {
        wxImageThumbnailItem* item = MakePictureItem(dir, name, 3);
        EXPECT_TRUE(item->Load(strip, false));
        EXPECT_EQ(item->GetFilename(), dir.File(name));
        delete item;
    }

    wxImageThumbnailItem gone(new wxImage(4, 4), 2, dir.File("gone.gif"));
    EXPECT_FALSE(gone.Load(strip, false));
    EXPECT_EQ(gone.GetFilename(), dir.File("gone.gif"));
}

TEST_F(ItemLoadTest, KeepsOneFullSizePictureAndAScaledThumbnail)
{
    wxImage* picture = new wxImage(640, 480);
    const unsigned char* pixels = picture->GetData();
    MakePictureItem(dir, "big.png");  // only for the file
    wxImageThumbnailItem item(picture, 0, dir.File("big.png"));
    ASSERT_TRUE(item.Load(strip, false));
    EXPECT_EQ(item.GetImage().GetData(), pixels);  // neither copied nor released
    EXPECT_EQ(item.GetImageSize(), wxSize(640, 480));
    EXPECT_EQ(item.GetThumbnail().GetSize(), wxSize(80, 60));
    EXPECT_EQ(item.GetBitmap().GetSize(), wxSize(640, 480));

    // A picture that cannot become a bitmap leaves an empty box, not a failure.
    wxImageThumbnailItem empty(new wxImage, 0, dir.File("big.png"));
    EXPECT_TRUE(empty.Load(strip, false));
    EXPECT_FALSE(empty.GetThumbnail().IsOk());
    EXPECT_FALSE(empty.GetBitmap().IsOk());
    EXPECT_EQ(empty.GetImageSize(), wxSize(0, 0));
}

TEST(ItemScaling, ShrinksToFitAndNeverEnlarges)
{
    const std::pair<wxSize, wxSize> cases[] = {{{200, 100}, {80, 40}}, {{100, 200}, {40, 80}},
                                               {{160, 40}, {80, 20}},  {{50, 30}, {50, 30}},
                                               {{80, 80}, {80, 80}},   {{4000, 3}, {80, 1}}};
    for (const auto& [picture, thumbnail] : cases)
        EXPECT_EQ(wxImageThumbnailItem::ScaleToFit(wxImage(picture), 80, 80).GetSize(), thumbnail)
            << picture.x << "x" << picture.y;
    EXPECT_FALSE(wxImageThumbnailItem::ScaleToFit(wxImage(), 80, 80).IsOk());
}

// Paints one cell at (10, 10) into a memory bitmap, the way the strip does.
class ItemPaintTest : public StripTest
{
protected:
    void SetUp() override
    {
        StripTest::SetUp();
        const wxSize cell = strip->GetItemSize();
        rect = wxRect(10, 10, cell.x, cell.y);
        imageRect = wxRect(rect.x + 3, rect.y + (cell.y - 80) / 2, 80, 80);
        bandHeight = (cell.y - 80) / 2;
    }

    wxImage Paint(const wxString& name, int flags, int index,
                  const std::function<void(wxDC&)>& extra = {})
    {
        wxImageThumbnailItem* item = MakePictureItem(dir, name, 0, wxSize(200, 100), *wxRED);
        item->Load(strip, false);
        wxBitmap bitmap(rect.GetRight() + 11, rect.GetBottom() + 11, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxGREEN_BRUSH);
            dc.Clear();
            item->DrawBackground(dc, strip, rect, imageRect, flags, index);
            item->Draw(dc, strip, imageRect, flags);
            if (extra)
                extra(dc);
        }
        delete item;
        return bitmap.ConvertToImage();
    }

    static wxColour At(const wxImage& image, int x, int y)
    {
        return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    }

    // Counts the pixels of a rectangle that satisfy a test.
    static int Count(const wxImage& image, const wxRect& area,
                     const std::function<bool(const wxColour&)>& test)
    {
        int n = 0;
        for (int y = area.y; y <= area.GetBottom(); ++y)
            for (int x = area.x; x <= area.GetRight(); ++x)
                n += test(At(image, x, y)) ? 1 : 0;
        return n;
    }

    // Dots of the focus rectangle: reddish grey, a little blended by the toolkit.
    static bool IsFocusInk(const wxColour& c)
    {
        return c.Red() < 200 && c.Red() - c.Green() >= 10 && c.Green() == c.Blue();
    }

    void ExpectBevel(const wxImage& cell, const wxColour& topLeft, const wxColour& bottomRight)
    {
        EXPECT_EQ(At(cell, rect.x, rect.y + 20), topLeft);
        EXPECT_EQ(At(cell, rect.x + 20, rect.y), topLeft);
        EXPECT_EQ(At(cell, rect.GetRight(), rect.y + 20), bottomRight);
        EXPECT_EQ(At(cell, rect.x + 20, rect.GetBottom()), bottomRight);
        EXPECT_EQ(At(cell, rect.GetRight(), rect.GetBottom()), bottomRight);
    }

    wxRect NameBand() const
    {
        return wxRect(rect.x + 3, rect.y + 3, rect.width - 6, bandHeight - 6);
    }
    wxRect FrameBand() const
    {
        return wxRect(rect.x + 3, rect.GetBottom() + 1 - bandHeight + 3, rect.width - 6,
                      bandHeight - 6);
    }

    wxRect rect;
    wxRect imageRect;
    int bandHeight = 0;
};

TEST_F(ItemPaintTest, UnselectedCellIsRaisedWithBlackNameAndBlueFrameLabel)
{
    const wxImage cell = Paint("b.gif", 0, 0);
    EXPECT_EQ(At(cell, rect.x + 2, imageRect.y + 5), strip->GetItemBackgroundColour());
    ExpectBevel(cell, *wxWHITE, *wxBLACK);
    // The 80 x 40 thumbnail sits in the middle of the picture box.
    EXPECT_EQ(At(cell, imageRect.x + 40, imageRect.y + 40), *wxRED);
    EXPECT_EQ(At(cell, imageRect.x + 40, imageRect.y + 19), strip->GetItemBackgroundColour());
    EXPECT_EQ(At(cell, imageRect.x + 40, imageRect.y + 20), *wxRED);

    const auto dark = [](const wxColour& c) { return c.Red() + c.Green() + c.Blue() < 150; };
    const auto blue = [](const wxColour& c)
    { return c.Blue() > 150 && c.Red() < 100 && c.Green() < 100; };
    EXPECT_GT(Count(cell, NameBand(), dark), 10);
    EXPECT_EQ(Count(cell, NameBand(), blue), 0);
    EXPECT_GT(Count(cell, FrameBand(), blue), 10);
    EXPECT_EQ(Count(cell, FrameBand(), dark), 0);
    EXPECT_EQ(Count(cell, imageRect.Inflate(1), IsFocusInk), 0);
}

TEST_F(ItemPaintTest, SelectedCellIsSunkenWithWhiteLabelsAndTheFocusRectangle)
{
    const auto white = [](const wxColour& c) { return c.Red() + c.Green() + c.Blue() > 700; };
    const wxImage unfocused = Paint("b.gif", wxTHUMBNAIL_SELECTED, 0);
    EXPECT_EQ(At(unfocused, rect.x + 2, imageRect.y + 5), wxColour(175, 175, 175));

    const wxImage cell = Paint("b.gif", 0x0D, 0);  // selected, control focused, focus item
    EXPECT_EQ(At(cell, rect.x + 2, imageRect.y + 5), wxColour(140, 140, 140));
    ExpectBevel(cell, *wxBLACK, *wxWHITE);
    EXPECT_GT(Count(cell, NameBand(), white), 10);
    EXPECT_GT(Count(cell, FrameBand(), white), 10);

    // A dotted line one pixel outside the picture box, on all four sides.
    const wxRect outline = imageRect.Inflate(1);
    for (const wxRect& side : {wxRect(outline.x, outline.y, outline.width, 1),
                               wxRect(outline.x, outline.GetBottom(), outline.width, 1),
                               wxRect(outline.x, outline.y, 1, outline.height),
                               wxRect(outline.GetRight(), outline.y, 1, outline.height)})
    {
        const int dots = Count(cell, side, IsFocusInk);
        EXPECT_GT(dots, side.width * side.height / 5);
        EXPECT_LT(dots, side.width * side.height * 4 / 5);
    }
    EXPECT_EQ(Count(cell, imageRect.Deflate(1), IsFocusInk), 0);
}

TEST_F(ItemPaintTest, FrameLabelShowsNumberAndStartTime)
{
    strip->SetLabelDelay(10);
    const wxRect band = FrameBand();
    const wxImage cell = Paint("b.gif", 0, 3);
    const wxImage expected = Paint("b.gif", 0, 3,
                                   [&](wxDC& dc)
                                   {
                                       dc.SetBrush(wxBrush(strip->GetItemBackgroundColour()));
                                       dc.SetPen(*wxTRANSPARENT_PEN);
                                       dc.DrawRectangle(band);
                                       wxDCClipper clip(dc, band);
                                       dc.SetTextForeground(strip->GetFrameLabelColour());
                                       dc.DrawText(wxS("#4  0.30sec"), band.GetPosition());
                                   });
    ASSERT_EQ(cell.GetSize(), expected.GetSize());
    const size_t bytes = size_t(cell.GetWidth()) * cell.GetHeight() * 3;
    EXPECT_TRUE(std::equal(cell.GetData(), cell.GetData() + bytes, expected.GetData()));

    const wxImage noDot = Paint("noextension", 0, 3);
    EXPECT_EQ(Count(noDot, band,
                    [&](const wxColour& c) { return c != strip->GetItemBackgroundColour(); }),
              0);
}

// Chinese and Japanese characters come from a taller fallback font: drawn
// again without the band's clipping, such a name adds no ink.
TEST_F(ItemPaintTest, ChineseAndJapaneseNameFitsItsBand)
{
    const wxString name = wxString::FromUTF8("\xE7\x8C\xAB_\xE3\x81\x8D.png");
    const wxRect band = NameBand();
    const wxImage cell = Paint(name, 0, 0);
    const wxImage unclipped =
        Paint(name, 0, 0,
              [&](wxDC& dc)
              {
                  dc.SetFont(strip->GetFont());
                  const wxSize text = dc.GetTextExtent(name);
                  ASSERT_LE(text.x, band.width);
                  const wxPoint at(band.x + (band.width - text.x) / 2, band.y);
                  dc.SetBrush(wxBrush(strip->GetItemBackgroundColour()));
                  dc.SetPen(*wxTRANSPARENT_PEN);
                  dc.DrawRectangle(wxRect(at, text));
                  dc.SetTextForeground(*wxBLACK);
                  dc.DrawText(name, at);
              });
    ASSERT_EQ(cell.GetSize(), unclipped.GetSize());
    const size_t bytes = size_t(cell.GetWidth()) * cell.GetHeight() * 3;
    EXPECT_TRUE(std::equal(cell.GetData(), cell.GetData() + bytes, unclipped.GetData()));
}

TEST_F(ItemPaintTest, NameIsCentredAndClippedToItsBand)
{
    const auto inked = [&](const wxColour& c) { return c != strip->GetItemBackgroundColour(); };
    const wxImage shortName = Paint("b.png", 0, 0);
    const wxRect band = NameBand();
    int first = band.GetRight();
    int last = band.x;
    for (int x = band.x; x <= band.GetRight(); ++x)
    {
        if (Count(shortName, wxRect(x, band.y, 1, band.height), inked) > 0)
        {
            first = std::min(first, x);
            last = std::max(last, x);
        }
    }
    ASSERT_LT(first, last);
    EXPECT_NEAR(first - band.x, band.GetRight() - last, 3);

    const wxImage longName = Paint(wxString('W', 60) + ".png", 0, 0);
    EXPECT_GT(Count(longName, wxRect(band.x, band.y, 3, band.height), inked), 0);
    const wxRect above(rect.x + 1, rect.y + 1, rect.width - 2, 2);
    const wxRect left(rect.x + 1, band.y, 2, band.height);
    const wxRect right(band.GetRight() + 1, band.y, 2, band.height);
    EXPECT_EQ(Count(longName, above, inked), 0);
    EXPECT_EQ(Count(longName, left, inked) + Count(longName, right, inked), 0);
}

// A name too long for its band is cut where it still fits and says so.
TEST(TextFit, ACutNameEndsInAnEllipsis)
{
    wxBitmap bitmap(10, 10);
    wxMemoryDC dc(bitmap);
    const wxString ellipsis = wxString::FromUTF8("\xE2\x80\xA6");
    const wxString name = wxString('W', 60) + wxS(".png");
    const wxString cut = FitWithEllipsis(dc, name, 80);
    EXPECT_TRUE(cut.EndsWith(ellipsis, nullptr)) << cut;
    EXPECT_LE(dc.GetTextExtent(cut).x, 80);
    EXPECT_GT(dc.GetTextExtent(name.Left(cut.length()) + ellipsis).x, 80) << "one more fits";
    EXPECT_EQ(FitWithEllipsis(dc, wxS("b.png"), 80), wxS("b.png"));
}
