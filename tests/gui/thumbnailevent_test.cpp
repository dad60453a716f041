#include "thumbnail_test_support.h"

#include <wx/uiaction.h>

#include <memory>

// Sends mouse and key events through the strip's own handler chain, the way
// the toolkit delivers them.
class StripInputTest : public StripTest
{
protected:
    static void SetModifiers(wxKeyboardState& state, int modifiers)
    {
        state.SetShiftDown(modifiers & wxTHUMBNAIL_SHIFT_DOWN);
        state.SetControlDown(modifiers & wxTHUMBNAIL_CTRL_DOWN);
        state.SetAltDown(modifiers & wxTHUMBNAIL_ALT_DOWN);
    }

    void Mouse(wxEventType type, const wxPoint& pos, int modifiers = 0)
    {
        wxMouseEvent event(type);
        event.SetPosition(pos);
        SetModifiers(event, modifiers);
        event.SetEventObject(strip);
        strip->GetEventHandler()->ProcessEvent(event);
    }
    void Click(int n, int modifiers = 0) { Mouse(wxEVT_LEFT_DOWN, CellCentre(n), modifiers); }

    // Returns whether the strip passed the key on.
    bool Key(int keyCode, int modifiers = 0)
    {
        wxKeyEvent event(wxEVT_CHAR);
        event.m_keyCode = keyCode;
        SetModifiers(event, modifiers);
        event.SetEventObject(strip);
        strip->GetEventHandler()->ProcessEvent(event);
        return event.GetSkipped();
    }

    using Notes = std::vector<std::string>;
};

TEST(ThumbnailEvent, StartsEmptyAndClonesItsFields)
{
    wxThumbnailEvent event(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, 3);
    EXPECT_EQ(event.GetIndex(), -1);
    EXPECT_EQ(event.GetFlags(), 0);
    event.SetIndex(5);
    event.SetFlags(wxTHUMBNAIL_SHIFT_DOWN | wxTHUMBNAIL_ALT_DOWN);
    std::unique_ptr<wxEvent> copy(event.Clone());
    const wxThumbnailEvent* clone = wxDynamicCast(copy.get(), wxThumbnailEvent);
    ASSERT_NE(clone, nullptr);
    EXPECT_TRUE(clone->IsKindOf(wxCLASSINFO(wxNotifyEvent)));
    EXPECT_EQ(clone->GetIndex(), 5);
    EXPECT_EQ(clone->GetFlags(), 5);
    EXPECT_EQ(clone->GetEventType(), wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK);
}

TEST_F(StripInputTest, PlainAndControlClicks)
{
    Fill(12);
    strip->Select(1);
    strip->Select(4);
    Click(6);
    EXPECT_EQ(notes, (Notes{"DESELECTED 1/0", "DESELECTED 4/0", "SELECTED 6/0", "LEFT_CLICK 6/0"}));
    EXPECT_EQ(Selections(), std::vector<int>{6});

    strip->Select(2);
    strip->SetFocusItem(0);
    notes.clear();
    Click(2, wxTHUMBNAIL_CTRL_DOWN);
    EXPECT_EQ(notes, (Notes{"DESELECTED 2/0", "LEFT_CLICK 2/2"}));
    EXPECT_EQ(Selections(), std::vector<int>{6});
    EXPECT_EQ(strip->GetFocusItem(), 2);
}

TEST_F(StripInputTest, ShiftClicksExtendFromAKeptAnchor)
{
    Fill(12);
    Click(3, wxTHUMBNAIL_SHIFT_DOWN);  // nothing selected yet: only the item
    EXPECT_EQ(Selections(), std::vector<int>{3});
    Click(2);
    notes.clear();
    Click(5, wxTHUMBNAIL_SHIFT_DOWN);
    EXPECT_EQ(notes, (Notes{"SELECTED 2/0", "SELECTED 3/0", "SELECTED 4/0", "SELECTED 5/0",
                            "LEFT_CLICK 5/1"}));
    EXPECT_EQ(Selections(), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(strip->GetFirstSelection(), 2);

    notes.clear();
    Click(0, wxTHUMBNAIL_SHIFT_DOWN);
    EXPECT_EQ(notes, (Notes{"SELECTED 2/0", "SELECTED 1/0", "SELECTED 0/0", "LEFT_CLICK 0/1"}));
    EXPECT_EQ(Selections(), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(strip->GetFirstSelection(), 2);
    EXPECT_EQ(strip->GetFocusItem(), 0);
}

// A right click acts on what it is on; the other buttons only notify.
TEST_F(StripInputTest, RightClickSelectsTheItemUnderItOtherButtonsOnlyNotify)
{
    Fill(12);
    strip->Select(1);
    strip->Select(4);
    Mouse(wxEVT_RIGHT_DOWN, CellCentre(4));
    EXPECT_EQ(Selections(), (std::vector<int>{1, 4}));
    Mouse(wxEVT_RIGHT_DOWN, CellCentre(7), wxTHUMBNAIL_CTRL_DOWN);
    EXPECT_EQ(strip->GetFocusItem(), 7);
    Mouse(wxEVT_MIDDLE_DOWN, CellCentre(2));
    Mouse(wxEVT_LEFT_DCLICK, CellCentre(3), wxTHUMBNAIL_ALT_DOWN);
    Mouse(wxEVT_LEFT_DOWN, wxPoint(90, 20));                    // between two cells
    Mouse(wxEVT_RIGHT_DOWN, CellCentre(11) + wxPoint(0, 200));  // below the last row
    EXPECT_EQ(notes, (Notes{"RIGHT_CLICK 4/0", "DESELECTED 1/0", "DESELECTED 4/0", "SELECTED 7/0",
                            "RIGHT_CLICK 7/2", "MIDDLE_CLICK 2/0", "LEFT_DCLICK 3/4"}));
    EXPECT_EQ(Selections(), std::vector<int>{7});
    EXPECT_EQ(strip->GetFocusItem(), 7);
}

TEST_F(StripInputTest, KeysMoveSelectionAndFocusTogether)
{
    Fill(10);
    ASSERT_EQ(strip->GetItemsPerRow(strip->GetClientSize()), 4);
    ASSERT_GE(strip->GetClientSize().y, 2 * (strip->GetItemSize().y + 3));  // two rows a page

    EXPECT_FALSE(Key(WXK_UP));  // nothing focused yet: the first item
    EXPECT_EQ(Selections(), std::vector<int>{0});
    strip->SetFocusItem(6);
    const struct
    {
        int key;
        int modifiers;
        int focus;
        std::vector<int> selections;
    } steps[] = {
        {WXK_UP, 0, 2, {2}},       {WXK_DOWN, 0, 6, {6}},        {WXK_DOWN, 0, 6, {6}},
        {WXK_RIGHT, 0, 7, {7}},    {WXK_PAGEDOWN, 0, 9, {9}},    {WXK_RIGHT, 0, 9, {9}},
        {WXK_LEFT, 0, 8, {8}},     {WXK_HOME, 0, 0, {0}},        {WXK_LEFT, 0, 0, {0}},
        {WXK_END, 0, 9, {9}},      {WXK_PAGEUP, 0, 1, {1}},      {WXK_PAGEUP, 0, 0, {0}},
        {WXK_RIGHT, 1, 1, {0, 1}}, {WXK_RIGHT, 1, 2, {0, 1, 2}}, {WXK_DOWN, 2, 6, {0, 1, 2, 6}},
    };
    for (const auto& step : steps)
    {
        EXPECT_FALSE(Key(step.key, step.modifiers));
        EXPECT_EQ(strip->GetFocusItem(), step.focus) << "key " << step.key;
        EXPECT_EQ(Selections(), step.selections) << "key " << step.key;
    }

    notes.clear();
    EXPECT_FALSE(Key(WXK_RETURN, wxTHUMBNAIL_SHIFT_DOWN));
    EXPECT_TRUE(Key('a'));
    EXPECT_EQ(notes, Notes{"RETURN -1/1"});
}

TEST_F(StripInputTest, TouchedItemsScrollIntoView)
{
    Fill(40);
    const int clientHeight = strip->GetClientSize().y;
    const auto fullyVisible = [&](int n)
    {
        wxRect rect;
        strip->GetItemRect(n, rect, true);
        return rect.y >= 0 && rect.GetBottom() < clientHeight;
    };
    Key(WXK_END);
    Key(WXK_END);
    EXPECT_TRUE(fullyVisible(39));
    Key(WXK_UP);
    EXPECT_TRUE(fullyVisible(35));
    Key(WXK_HOME);
    EXPECT_EQ(strip->GetViewStart().y, 0);
    strip->EnsureVisible(21);
    EXPECT_TRUE(fullyVisible(21));
    strip->EnsureVisible(2);
    EXPECT_TRUE(fullyVisible(2));
}

TEST_F(StripInputTest, SelectAllCommandNeedsItems)
{
    wxUpdateUIEvent empty(wxID_SELECTALL);
    strip->GetEventHandler()->ProcessEvent(empty);
    EXPECT_TRUE(empty.GetSetEnabled());
    EXPECT_FALSE(empty.GetEnabled());

    Fill(3);
    wxUpdateUIEvent filled(wxID_SELECTALL);
    strip->GetEventHandler()->ProcessEvent(filled);
    EXPECT_TRUE(filled.GetEnabled());
    wxCommandEvent selectAll(wxEVT_MENU, wxID_SELECTALL);
    strip->GetEventHandler()->ProcessEvent(selectAll);
    EXPECT_EQ(Selections(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(notes.empty());
}

// Real input through the display server: the strip takes the focus on a
// click and answers the keyboard.
TEST_F(StripInputTest, SimulatedClicksAndKeys)
{
    Fill(12);
    wxUIActionSimulator sim;
    sim.MouseMove(strip->ClientToScreen(CellCentre(2)));
    sim.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return Selections() == std::vector<int>{2}; }));
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == strip; }));
    strip->painted.clear();
    strip->Refresh();
    EXPECT_TRUE(WaitFor(
        [&]
        {
            for (const auto& [item, flags] : strip->painted)
                if (item == 2 && flags == 0x0D)
                    return true;
            return false;
        }));

    sim.Char(WXK_RIGHT, wxMOD_SHIFT);
    EXPECT_TRUE(WaitFor([&] { return Selections() == std::vector<int>{2, 3}; }));
    sim.Char(WXK_DOWN);
    EXPECT_TRUE(WaitFor([&] { return Selections() == std::vector<int>{7}; }));
    EXPECT_EQ(strip->GetFocusItem(), 7);
    notes.clear();
    sim.Char(WXK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return notes == Notes{"RETURN -1/0"}; }));
}
