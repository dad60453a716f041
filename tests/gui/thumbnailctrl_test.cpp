#include "thumbnail_test_support.h"

#include <wx/dcmemory.h>

#include <functional>
#include <set>

using StripListTest = StripTest;
using StripGeometryTest = StripTest;
using StripPaintTest = StripTest;

TEST_F(StripListTest, InsertAndDeleteShiftTheSelections)
{
    Fill(8);
    strip->Select(1);
    strip->Select(4);
    strip->Insert(MakePictureItem(dir, "new.png"), 1);
    EXPECT_EQ(Selections(), (std::vector<int>{2, 5}));
    EXPECT_EQ(strip->GetFocusItem(), 5);  // the focus and the anchor stay on their items
    EXPECT_EQ(strip->GetFirstSelection(), 5);

    strip->Select(0);
    strip->Select(3);
    strip->Select(5, false);
    strip->Select(5);
    strip->Delete(2);  // was selected: leaves the selections
    EXPECT_EQ(Selections(), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(strip->GetFocusItem(), 5);  // an item before it went: the number stays

    strip->Delete(5);
    EXPECT_EQ(strip->GetFocusItem(), -1);
    EXPECT_EQ(strip->GetCount(), 7);
    EXPECT_EQ(strip->GetItem(1)->GetFilename(), dir.File("new.png"));
}

TEST_F(StripListTest, AppendRejectsAMissingFileButInsertKeepsIt)
{
    Fill(2);
    strip->Select(1);
    wxImageThumbnailItem* orphan =
        new wxImageThumbnailItem(new wxImage(8, 8), 0, dir.File("x.png"));
    EXPECT_EQ(strip->Append(orphan, 7), -1);
    EXPECT_EQ(strip->GetCount(), 2);
    EXPECT_EQ(strip->GetLabelDelay(), 7);
    EXPECT_EQ(strip->Append(MakePictureItem(dir, "ok.png"), 9), 2);
    EXPECT_EQ(Selections(), std::vector<int>{1});
    EXPECT_EQ(strip->GetLastSelection(), -1);

    EXPECT_EQ(strip->Insert(orphan, 0), 0);
    EXPECT_EQ(strip->GetItem(0), orphan);
    // A position outside the list appends instead of corrupting the array.
    EXPECT_EQ(strip->Insert(MakePictureItem(dir, "end.png"), -1), 4);
    EXPECT_EQ(strip->GetLabelDelay(), 9);
}

TEST_F(StripListTest, SelectAllAndClear)
{
    strip->SelectAll();
    EXPECT_EQ(strip->GetFocusItem(), -1);
    EXPECT_TRUE(strip->GetSelections().empty());

    Fill(5);
    strip->Select(3);
    strip->SelectAll();
    EXPECT_EQ(Selections(), (std::vector<int>{3, 0, 1, 2, 4}));
    EXPECT_EQ(strip->GetFirstSelection(), 4);
    EXPECT_EQ(strip->GetLastSelection(), 4);
    EXPECT_EQ(strip->GetFocusItem(), 4);
    EXPECT_FALSE(strip->IsFrozen());

    strip->Clear();
    EXPECT_EQ(strip->GetCount(), 0);
    EXPECT_TRUE(strip->GetSelections().empty());
    EXPECT_EQ(strip->GetFocusItem(), -1);
}

TEST_F(StripListTest, OutOfRangeIndicesAreReportedAndRefused)
{
    Fill(2);
    static int reported;
    reported = 0;
    wxAssertHandler_t previous =
        wxSetAssertHandler([](const wxString&, int, const wxString&, const wxString&,
                              const wxString&) { ++reported; });
    wxRect rect(1, 2, 3, 4);
    int row = -5;
    int col = -5;
    EXPECT_EQ(strip->GetItem(2), nullptr);
    EXPECT_FALSE(strip->GetItemRect(-1, rect));
    EXPECT_FALSE(strip->GetItemRectImage(7, rect));
    EXPECT_FALSE(strip->GetRowCol(2, wxSize(400, 300), row, col));
    strip->SetFocusItem(2);
    strip->Select(9);
    strip->Delete(2);
    wxSetAssertHandler(previous);
    EXPECT_EQ(reported, 7) << "each bad index is reported once";
    EXPECT_EQ(rect, wxRect(1, 2, 3, 4));
    EXPECT_EQ(row, -5);
    EXPECT_EQ(strip->GetCount(), 2);
    EXPECT_EQ(strip->GetFocusItem(), -1);
    EXPECT_TRUE(strip->GetSelections().empty());
}

TEST_F(StripGeometryTest, RowsFillTheClientWidth)
{
    Fill(6);
    int row = 0;
    int col = 0;
    const std::tuple<int, int, int, int> cases[] = {// width, item, row, col
                                                    {40, 3, 3, 0},  {88, 1, 1, 0},  {89, 1, 1, 0},
                                                    {178, 1, 0, 1}, {356, 5, 1, 1}, {355, 5, 1, 2}};
    for (const auto& [width, item, wantRow, wantCol] : cases)
    {
        ASSERT_TRUE(strip->GetRowCol(item, wxSize(width, 100), row, col));
        EXPECT_EQ(row, wantRow) << "width " << width;
        EXPECT_EQ(col, wantCol) << "width " << width;
    }

    // Two label rows, each as tall as a line of Latin or of Chinese and
    // Japanese (a taller fallback font), around the 80-pixel picture box.
    const int h = strip->GetItemSize().y;
    const int labelHeight = (h - 92) / 2;
    EXPECT_EQ(h, 92 + 2 * labelHeight);
    EXPECT_GE(labelHeight, strip->GetTextExtent(wxS("Xgjpq_")).y);
    EXPECT_GE(labelHeight, strip->GetTextExtent(wxString::FromUTF8("\xE6\xBC\xA2\xE3\x81\x8B")).y);
    ASSERT_EQ(strip->GetItemsPerRow(strip->GetClientSize()), 4);
    wxRect rect;
    ASSERT_TRUE(strip->GetItemRect(5, rect, false));
    EXPECT_EQ(rect, wxRect(3 + 89, 3 + 3 + h, 86, h));
    ASSERT_TRUE(strip->GetItemRectImage(5, rect, false));
    EXPECT_EQ(rect, wxRect(3 + 89 + 3, 3 + 3 + h + (h - 80) / 2, 80, 80));
}

TEST_F(StripGeometryTest, OnlyPointsInsideACellHit)
{
    Fill(6);
    const int h = strip->GetItemSize().y;
    int n = -1;
    EXPECT_TRUE(strip->HitTest(wxPoint(3, 3), n));
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(strip->HitTest(wxPoint(3 + 89 + 85, 3 + 3 + h + h - 1), n));
    EXPECT_EQ(n, 5);
    n = -1;
    for (const wxPoint& gap : {wxPoint(1, 10), wxPoint(90, 10), wxPoint(10, 3 + h + 1),
                               wxPoint(4 * 89 + 5, 10), wxPoint(3 + 2 * 89 + 10, 3 + 3 + h + 10)})
        EXPECT_FALSE(strip->HitTest(gap, n)) << gap.x << "," << gap.y;
    EXPECT_EQ(n, -1);
}

TEST_F(StripGeometryTest, ScrollRangeFollowsTheRowsAndCapsThePosition)
{
    int ppuX = -1;
    int ppuY = -1;
    strip->GetScrollPixelsPerUnit(&ppuX, &ppuY);
    EXPECT_EQ(ppuY, 0);  // no items: no scrolling

    Fill(20);  // five rows of four
    strip->GetScrollPixelsPerUnit(&ppuX, &ppuY);
    EXPECT_EQ(ppuX, 0);
    EXPECT_EQ(ppuY, 10);
    const int total = 3 + 5 * (strip->GetItemSize().y + 3);
    EXPECT_EQ(strip->GetVirtualSize().y, (total + 9) / 10 * 10);

    strip->Scroll(0, 1000);
    ASSERT_GT(strip->GetViewStart().y, 0);
    strip->Delete(19);  // still five rows: the position is kept
    const int bottom = strip->GetViewStart().y;
    strip->Delete(18);
    EXPECT_EQ(strip->GetViewStart().y, bottom);
    for (int i = 0; i < 8; ++i)
        strip->Delete(0);  // three rows left
    const int clientHeight = strip->GetClientSize().y;
    const int shorter = 3 + 3 * (strip->GetItemSize().y + 3);
    ASSERT_GT(shorter, clientHeight);
    EXPECT_EQ(strip->GetViewStart().y, (std::max(0, shorter - clientHeight) + 9) / 10);

    strip->Freeze();
    strip->Clear();
    strip->GetScrollPixelsPerUnit(&ppuX, &ppuY);
    EXPECT_EQ(ppuY, 10);  // frozen: nothing recomputed yet
    strip->Thaw();
    strip->GetScrollPixelsPerUnit(&ppuX, &ppuY);
    EXPECT_EQ(ppuY, 0);
}

TEST_F(StripGeometryTest, BufferOnlyGrows)
{
    const wxSize start = strip->GetBuffer().GetSize();
    ASSERT_GE(start.x, strip->GetClientSize().x);
    EXPECT_FALSE(strip->RecreateBuffer(wxSize(50, 50)));
    EXPECT_FALSE(strip->RecreateBuffer(wxSize(0, 900)));
    frame->SetClientSize(200, 150);
    EXPECT_TRUE(WaitFor([&] { return strip->GetClientSize().x <= 200; }));
    EXPECT_EQ(strip->GetBuffer().GetSize(), start);

    EXPECT_TRUE(strip->RecreateBuffer(wxSize(start.x, start.y + 1)));
    EXPECT_EQ(strip->GetBuffer().GetSize(), wxSize(start.x, start.y + 1));
    frame->SetClientSize(start.x + 40, 150);
    EXPECT_TRUE(WaitFor([&] { return strip->GetBuffer().GetWidth() >= start.x + 30; }));
    EXPECT_EQ(strip->GetBuffer().GetSize(), strip->GetClientSize());
}

TEST_F(StripPaintTest, OnlyCellsTouchingTheUpdateRegionArePainted)
{
    Fill(12);
    ASSERT_TRUE(WaitFor([&] { return !strip->painted.empty(); }));
    Settle();
    // Each change repaints only its own cells (the toolkit joins the
    // refreshed cells of one paint into their bounding box).
    const std::pair<std::function<void()>, std::set<int>> changes[] = {
        {[&] { strip->SetFocusItem(5); }, {5}},
        {[&] { strip->Select(5); }, {5}},
        {[&] { strip->SetFocusItem(6); }, {5, 6}},
        {[&] { strip->Select(1); }, {1, 2, 5, 6}}};
    for (const auto& [change, cells] : changes)
    {
        Settle();
        strip->painted.clear();
        change();
        ASSERT_TRUE(WaitFor([&] { return strip->painted.size() >= cells.size(); }));
        Settle();
        std::set<int> painted;
        for (const auto& [item, flags] : strip->painted)
            painted.insert(item);
        EXPECT_EQ(painted, cells);
    }

    strip->painted.clear();
    strip->Freeze();
    strip->Refresh();
    Settle(150);
    EXPECT_TRUE(strip->painted.empty());
    strip->Thaw();
    EXPECT_TRUE(WaitFor([&] { return strip->painted.size() >= 8; }));
}

TEST_F(StripPaintTest, BackgroundShowsBetweenTheCells)
{
    strip->SetBackgroundColour(wxColour(176, 223, 227));
    Fill(2);
    strip->Select(1);
    const wxSize client = strip->GetClientSize();
    wxBitmap bitmap(client, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        strip->DrawContents(dc, wxRegion(0, 0, client.x, client.y));
    }
    const wxImage pixels = bitmap.ConvertToImage();
    const auto colourAt = [&](int x, int y)
    { return wxColour(pixels.GetRed(x, y), pixels.GetGreen(x, y), pixels.GetBlue(x, y)); };
    const wxColour sky(176, 223, 227);
    EXPECT_EQ(colourAt(0, 0), sky);
    EXPECT_EQ(colourAt(90, 40), sky);  // the gap between cells 0 and 1
    EXPECT_EQ(colourAt(client.x - 1, client.y - 1), sky);
    EXPECT_EQ(colourAt(10, 50), strip->GetItemBackgroundColour());
    EXPECT_EQ(colourAt(3 + 89 + 5, 50), wxWindow::FindFocus() == strip
                                            ? strip->GetFocusedSelectionColour()
                                            : strip->GetUnfocusedSelectionColour());
    EXPECT_EQ(colourAt(3 + 2 * 89 + 10, 50), sky);  // no third item
}

// The wheel moves the view by whole rows (to the scroll unit at or above a
// row's top, never stopping mid-row); Ctrl+wheel resizes the thumbnails and
// tells the owner, within the limits.
TEST_F(StripGeometryTest, TheWheelScrollsRowsAndCtrlWheelResizes)
{
    Fill(60);
    const auto wheel = [&](int rotation, bool ctrl)
    {
        wxMouseEvent event(wxEVT_MOUSEWHEEL);
        event.m_wheelRotation = rotation;
        event.m_wheelDelta = 120;
        event.m_controlDown = ctrl;
        strip->GetEventHandler()->ProcessEvent(event);
    };
    int ppuX = 0;
    int ppuY = 0;
    strip->GetScrollPixelsPerUnit(&ppuX, &ppuY);
    const int pitch = strip->GetRowPitch();
    for (int rows : {1, 2, 3})
    {
        wheel(-120, false);
        const int top = strip->GetViewStart().y * ppuY;
        EXPECT_LE(top, rows * pitch);
        EXPECT_GT(top, rows * pitch - ppuY) << "row " << rows;
    }
    wheel(60, false);  // half a step does nothing yet
    EXPECT_EQ(strip->GetViewStart().y * ppuY / pitch, 2);

    std::vector<int> told;
    strip->SetThumbnailSideHandler([&](int side) { told.push_back(side); });
    const int side = strip->GetThumbnailSide();
    wheel(120, true);
    EXPECT_EQ(strip->GetThumbnailSide(), side + 16);
    EXPECT_EQ(strip->GetItemSize().x, side + 16 + 2 * strip->GetItemMargin());
    for (int i = 0; i < 20; ++i)
        wheel(-120, true);
    EXPECT_EQ(strip->GetThumbnailSide(), wxThumbnailCtrl::kMinThumbnailSide);
    EXPECT_EQ(told.front(), side + 16);
    EXPECT_EQ(told.back(), wxThumbnailCtrl::kMinThumbnailSide);
}
