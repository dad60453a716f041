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

TEST_F(LoopCountDialogTest, FirstUsePlaysEndlessly)
{
    LoopCountDialogState seen;
    const auto [result, count] =
        Ask(AnswerLoopCount(AnswerLoopCount::KeepChoice, -1, wxID_OK, &seen));
    EXPECT_FALSE(seen.playTimesSelected);
    EXPECT_FALSE(seen.countEnabled);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(count, 0);
}

TEST_F(LoopCountDialogTest, ChosenCountIsRememberedForTheNextDialog)
{
    const auto [result, count] = Ask(AnswerLoopCount(AnswerLoopCount::PlayTimes, 3, wxID_OK));
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(LoopCountDialog::GetRememberedChoice(), 3);

    LoopCountDialogState seen;
    Ask(AnswerLoopCount(AnswerLoopCount::KeepChoice, -1, wxID_CANCEL, &seen));
    EXPECT_TRUE(seen.playTimesSelected);
    EXPECT_TRUE(seen.countEnabled);
    EXPECT_EQ(seen.count, 3);
}

TEST_F(LoopCountDialogTest, CountZeroMeansEndless)
{
    const auto [result, count] = Ask(AnswerLoopCount(AnswerLoopCount::PlayTimes, 0, wxID_OK));
    EXPECT_EQ(count, 0);
    LoopCountDialogState seen;
    Ask(AnswerLoopCount(AnswerLoopCount::KeepChoice, -1, wxID_CANCEL, &seen));
    EXPECT_FALSE(seen.playTimesSelected);
    EXPECT_FALSE(seen.countEnabled);
}

TEST_F(LoopCountDialogTest, EndlessChoiceIgnoresTheCountField)
{
    LoopCountDialog::SetRememberedChoice(5);
    const auto [result, count] =
        Ask(AnswerLoopCount(AnswerLoopCount::PlayEndlessly, 7, wxID_OK));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(LoopCountDialog::GetRememberedChoice(), 0);
}

TEST_F(LoopCountDialogTest, CancelKeepsTheRememberedChoice)
{
    LoopCountDialog::SetRememberedChoice(4);
    const auto [result, count] = Ask(AnswerLoopCount(AnswerLoopCount::PlayTimes, 9, wxID_CANCEL));
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(LoopCountDialog::GetRememberedChoice(), 4);
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
