#include "loop_count_answer.h"

#include <wx/frame.h>

class LoopCountDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LoopCountDialog::SetRememberedChoice(0);
        parent = new wxFrame(nullptr, wxID_ANY, wxS("parent"));
    }
    void TearDown() override
    {
        parent->Destroy();
        LoopCountDialog::SetRememberedChoice(0);
    }

    // Opens a dialog, answers it, and returns (result, loop count).
    std::pair<int, int> Ask(const AnswerLoopCount& answer)
    {
        LoopCountDialog dialog(parent);
        int result = wxID_NONE;
        wxTEST_DIALOG(result = dialog.ShowModal(), answer);
        return {result, dialog.GetLoopCount()};
    }

    wxFrame* parent = nullptr;
};

// What the dialog shows when it opens follows the remembered choice; a first
// use plays endlessly.
TEST_F(LoopCountDialogTest, OpensWithTheRememberedChoice)
{
    const struct
    {
        int remembered;
        bool playTimesSelected;
        int count;
    } cases[] = {{0, false, 1}, {3, true, 3}};
    for (const auto& c : cases)
    {
        LoopCountDialog::SetRememberedChoice(c.remembered);
        LoopCountDialogState seen;
        const auto [result, count] =
            Ask(AnswerLoopCount(AnswerLoopCount::KeepChoice, -1, wxID_OK, &seen));
        EXPECT_EQ(seen.playTimesSelected, c.playTimesSelected) << c.remembered;
        EXPECT_EQ(seen.countEnabled, c.playTimesSelected) << c.remembered;
        EXPECT_EQ(seen.count, c.count) << c.remembered;
        EXPECT_EQ(result, wxID_OK);
        EXPECT_EQ(count, c.remembered);
    }
}

// OK takes the answer (0 meaning endless) and remembers it for the next
// dialog; Cancel changes nothing.
TEST_F(LoopCountDialogTest, AnswerBecomesTheLoopCountAndTheRememberedChoice)
{
    const struct
    {
        int remembered;
        AnswerLoopCount::Choice choice;
        int typed;
        int button;
        int count;
        int rememberedAfter;
    } cases[] = {{0, AnswerLoopCount::PlayTimes, 3, wxID_OK, 3, 3},
                 {3, AnswerLoopCount::PlayTimes, 0, wxID_OK, 0, 0},
                 {5, AnswerLoopCount::PlayEndlessly, 7, wxID_OK, 0, 0},
                 {4, AnswerLoopCount::PlayTimes, 9, wxID_CANCEL, 0, 4}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "typed " << c.typed << " over " << c.remembered);
        LoopCountDialog::SetRememberedChoice(c.remembered);
        const auto [result, count] = Ask(AnswerLoopCount(c.choice, c.typed, c.button));
        EXPECT_EQ(result, c.button);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(LoopCountDialog::GetRememberedChoice(), c.rememberedAfter);
    }
}

TEST_F(LoopCountDialogTest, RadioButtonsSwitchTheCountField)
{
    LoopCountDialog dialog(parent);
    auto* times = wxDynamicCast(dialog.FindWindow(LoopCountDialog::ID_PLAY_TIMES), wxRadioButton);
    auto* spin = wxDynamicCast(dialog.FindWindow(LoopCountDialog::ID_COUNT), wxSpinCtrl);
    ASSERT_TRUE(times && spin);
    EXPECT_EQ(spin->GetMin(), 0);
    EXPECT_EQ(spin->GetMax(), 100);
    EXPECT_EQ(dialog.GetTitle(), wxS("Loop Counter"));
    EXPECT_NE(dialog.FindWindow(LoopCountDialog::ID_FRAME_BOX), nullptr);

    times->SetValue(true);
    wxCommandEvent clicked(wxEVT_RADIOBUTTON, LoopCountDialog::ID_PLAY_TIMES);
    clicked.SetEventObject(times);
    times->ProcessWindowEvent(clicked);
    EXPECT_TRUE(spin->IsEnabled());
}
