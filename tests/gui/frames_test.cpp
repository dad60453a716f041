// The frame list through the real main window: reordering by dragging and
// by Move Left / Move Right, the frames' own delays (labels, playback, the
// GIF, the project), undo and redo, and the strip's keys.
#include "editing_fixture.h"
#include "gif_inspect.h"

#include "caption/captiondrawing.h"
#include "edit/framelist.h"
#include "project/projectfile.h"
#include "project/savedstate.h"
#include "window/framedelaydialog.h"

#include <wx/spinctrl.h>
#include <wx/uiaction.h>

using NameList = std::vector<wxString>;
using IndexList = std::vector<int>;

namespace
{
// Answers the Frame Delay dialog with a delay; records the delay it offered.
class AnswerFrameDelay : public wxExpectModalBase<FrameDelayDialog, AnswerFrameDelay>
{
public:
    AnswerFrameDelay(int delay, int* offered) : m_delay(delay), m_offered(offered) {}

protected:
    int OnInvoked(FrameDelayDialog* dlg) const override
    {
        auto* spin = wxDynamicCast(dlg->FindWindow(FrameDelayDialog::ID_DELAY), wxSpinCtrl);
        if (!spin)
        {
            ADD_FAILURE() << "the Frame Delay dialog has no delay control";
            return wxID_CANCEL;
        }
        *m_offered = spin->GetValue();
        EXPECT_EQ(spin->GetMin(), 0);
        EXPECT_EQ(spin->GetMax(), 65535);
        spin->SetValue(m_delay);
        return wxID_OK;
    }

private:
    int m_delay;
    int* m_offered;
};
}  // namespace

class FramesTest : public EditingWindowTest
{
protected:
    void Select(const IndexList& indices)
    {
        Strip()->Freeze();
        for (int i = 0; i < Strip()->GetCount(); ++i)
            if (Strip()->IsSelected(i))
                Strip()->Select(i, false);
        for (int index : indices)
            Strip()->Select(index, true);
        Strip()->Thaw();
    }
    IndexList Selected() const { return frame->GetSelectedFrames(); }
    IndexList OwnDelays() const { return frame->GetFrames().GetOwnDelays(); }
    std::vector<long long> StartTimes() const
    {
        std::vector<long long> times;
        for (int i = 0; i < Strip()->GetCount(); ++i)
            times.push_back(Strip()->GetStartTime(i));
        return times;
    }

    void Menu(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        frame->ProcessWindowEvent(command);
    }

    wxPoint ScreenCentre(int n) const
    {
        wxRect rect;
        Strip()->GetItemRect(n, rect, true);
        return Strip()->ClientToScreen(rect.GetPosition() + rect.GetSize() / 2);
    }

    // Real input needs the window in front with the strip focused.
    void FocusStrip()
    {
        frame->Raise();
        Strip()->SetFocus();
        ASSERT_TRUE(WaitFor([this] { return wxWindow::FindFocus() == Strip(); }, 2000));
    }

    wxUIActionSimulator sim;
};

// --- Reordering --------------------------------------------------------------

TEST_F(FramesTest, DraggingAFrameDropsItAtTheInsertionMark)
{
    AddFrames(6);
    FocusStrip();
    wxRect fourth;
    ASSERT_TRUE(Strip()->GetItemRect(4, fourth, true));
    // The gap between items 3 and 4.
    const wxPoint gap =
        Strip()->ClientToScreen(wxPoint(fourth.x - 1, fourth.y + fourth.height / 2));

    sim.MouseMove(ScreenCentre(1));
    ASSERT_TRUE(WaitFor([&] { return wxGetMousePosition() == ScreenCentre(1); }));
    sim.MouseDown();
    ASSERT_TRUE(WaitFor([&] { return Selected() == IndexList{1}; }));
    sim.MouseMove(ScreenCentre(2));
    ASSERT_TRUE(WaitFor([&] { return Strip()->IsDragging(); }));
    sim.MouseMove(gap);
    EXPECT_TRUE(WaitFor([&] { return Strip()->GetInsertionMark() == 4; }));
    sim.MouseUp();

    EXPECT_TRUE(WaitFor([&] { return !Strip()->IsDragging(); }));
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f2.png"), wxS("f3.png"), wxS("f1.png"),
                                 wxS("f4.png"), wxS("f5.png")}));
    EXPECT_EQ(Strip()->GetInsertionMark(), -1);
    EXPECT_EQ(Selected(), IndexList{3});

    // Several frames go together, in their order; a plain press on one of
    // them keeps the others selected for the drag.
    Select({0, 2});
    sim.MouseMove(ScreenCentre(2));
    ASSERT_TRUE(WaitFor([&] { return wxGetMousePosition() == ScreenCentre(2); }));
    sim.MouseDown();
    sim.MouseMove(ScreenCentre(4));
    sim.MouseMove(ScreenCentre(5) + wxPoint(fourth.width / 2 + 1, 0));
    EXPECT_TRUE(WaitFor([&] { return Strip()->GetInsertionMark() == 6; }));
    sim.MouseUp();
    EXPECT_TRUE(WaitFor([&] { return Selected() == IndexList{4, 5}; }));
    EXPECT_EQ(Names(), (NameList{wxS("f2.png"), wxS("f1.png"), wxS("f4.png"), wxS("f5.png"),
                                 wxS("f0.png"), wxS("f3.png")}));
}

// A caption dragged on the preview keeps where it is dropped, as a fraction
// of the output size, in one step to undo.
TEST_F(FramesTest, DraggingACaptionOnThePreviewPlacesItThere)
{
    AddFrames(2, wxSize(320, 240));
    Caption caption;
    caption.text = wxS("drag me");
    ASSERT_TRUE(frame->AddCaption(caption, {0}));
    frame->DrawPreviewFrame(0);
    FocusStrip();
    wxPanel* panel = Access().PreviewPanel();
    const wxRect placement = GifFrame::PreviewPlacement(wxSize(320, 240), panel->GetClientSize());
    ASSERT_FALSE(placement.IsEmpty());
    const wxRect box = CaptionBounds(caption, 320, 240);
    const auto onScreen = [&](wxPoint output)
    {
        return panel->ClientToScreen(wxPoint(placement.x + output.x * placement.width / 320,
                                             placement.y + output.y * placement.height / 240));
    };
    const wxPoint from = onScreen(wxPoint(box.x + box.width / 2, box.y + box.height / 2));
    const wxPoint to = onScreen(wxPoint(80, 60));

    sim.MouseMove(from);
    ASSERT_TRUE(WaitFor([&] { return wxGetMousePosition() == from; }));
    sim.MouseDown();
    sim.MouseMove((from + to) / 2);
    sim.MouseMove(to);
    ASSERT_TRUE(WaitFor([&] { return wxGetMousePosition() == to; }));
    sim.MouseUp();
    ASSERT_TRUE(
        WaitFor([&] { return frame->GetFrames().GetCaptions()[0]->place == CaptionPlace::Free; }));
    // Let the release arrive, so that the drag is one finished step.
    ASSERT_TRUE(WaitFor([&] { return !panel->HasCapture(); }));
    const Caption& dropped = *frame->GetFrames().GetCaptions()[0];
    EXPECT_NEAR(dropped.x, 0.25, 0.03);
    EXPECT_NEAR(dropped.y, 0.25, 0.03);

    ASSERT_TRUE(frame->Undo());
    EXPECT_EQ(*frame->GetFrames().GetCaptions()[0], caption);
}

TEST_F(FramesTest, DraggingNearTheBottomEdgeScrollsTheStrip)
{
    AddFrames(60);
    FocusStrip();
    const wxSize client = Strip()->GetClientSize();
    sim.MouseMove(ScreenCentre(0));
    ASSERT_TRUE(WaitFor([&] { return wxGetMousePosition() == ScreenCentre(0); }));
    sim.MouseDown();
    sim.MouseMove(ScreenCentre(1));
    ASSERT_TRUE(WaitFor([&] { return Strip()->IsDragging(); }));
    sim.MouseMove(Strip()->ClientToScreen(wxPoint(client.x / 3, client.y - 4)));
    EXPECT_TRUE(WaitFor([&] { return Strip()->GetViewStart().y > 20; }));
    // Escape ends the drag without moving anything.
    sim.Char(WXK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !Strip()->IsDragging(); }));
    sim.MouseUp();
    Settle();
    EXPECT_EQ(Names()[0], wxS("f0.png"));
}

TEST_F(FramesTest, MoveLeftAndRightStepPastTheNeighbours)
{
    struct Case
    {
        IndexList selected;
        int command;
        NameList order;  // the names' digits after the command
        IndexList selectedAfter;
    };
    const Case cases[] = {
        {{2}, ID_MENU_MOVE_LEFT, {"0", "2", "1", "3", "4"}, {1}},
        {{2}, ID_MENU_MOVE_RIGHT, {"0", "1", "3", "2", "4"}, {3}},
        {{1, 3}, ID_MENU_MOVE_LEFT, {"1", "0", "3", "2", "4"}, {0, 2}},
        // Frames at the edge stay, and so do those behind them.
        {{0}, ID_MENU_MOVE_LEFT, {"0", "1", "2", "3", "4"}, {0}},
        {{4}, ID_MENU_MOVE_RIGHT, {"0", "1", "2", "3", "4"}, {4}},
        {{0, 1, 3}, ID_MENU_MOVE_LEFT, {"0", "1", "3", "2", "4"}, {0, 1, 2}},
    };
    AddFrames(5);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(c.selected) + " " + std::to_string(c.command));
        const NameList before = Names();
        Select(c.selected);
        Menu(c.command);
        NameList order;
        for (const wxString& name : Names())
            order.push_back(name.Mid(1, 1));
        EXPECT_EQ(order, c.order);
        EXPECT_EQ(Selected(), c.selectedAfter);
        // A move that changed nothing leaves nothing to undo.
        if (Names() != before)
        {
            ASSERT_TRUE(frame->Undo());
        }
        EXPECT_EQ(Names(), before);
    }
}

TEST_F(FramesTest, TheKeysOfTheFrameMenuAndTheStrip)
{
    AddFrames(4);
    FocusStrip();
    Select({1});
    sim.Char(WXK_RIGHT, wxMOD_CONTROL | wxMOD_SHIFT);
    EXPECT_TRUE(WaitFor([&] { return Names()[2] == wxS("f1.png"); }));
    sim.Char(WXK_LEFT, wxMOD_CONTROL | wxMOD_SHIFT);
    EXPECT_TRUE(WaitFor([&] { return Names()[1] == wxS("f1.png"); }));
    sim.Char('z', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return Names()[2] == wxS("f1.png"); }));
    sim.Char('y', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return Names()[1] == wxS("f1.png"); }));
    sim.Char('z', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return Names()[2] == wxS("f1.png"); }));
    sim.Char('z', wxMOD_CONTROL | wxMOD_SHIFT);
    EXPECT_TRUE(WaitFor([&] { return Names()[1] == wxS("f1.png"); }));

    // Space plays and stops; Delete asks about the selection.
    sim.Char(WXK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return Access().Playing(); }));
    sim.Char(WXK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return !Access().Playing(); }));
    ShownMessage confirm;
    wxTEST_DIALOG(
        {
            sim.Char(WXK_DELETE);
            WaitFor([&] { return Strip()->GetCount() == 3; });
        },
        ExpectMessage(&confirm, wxID_YES));
    EXPECT_EQ(confirm.message, wxS("Delete 1 frame?"));
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f2.png"), wxS("f3.png")}));

    // Select All, then Duplicate, Cut and Paste before the focused frame.
    sim.Char('a', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return Selected() == IndexList{0, 1, 2}; }));
    sim.Char('d', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return Selected() == IndexList{3, 4, 5}; }));
    sim.Char('x', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return Strip()->GetCount() == 3; }));
    Strip()->SetFocusItem(1);
    sim.Char('v', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return Strip()->GetCount() == 6; }));
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f0.png"), wxS("f2.png"), wxS("f3.png"),
                                 wxS("f2.png"), wxS("f3.png")}));
    EXPECT_EQ(Selected(), (IndexList{1, 2, 3}));
}

// --- Own delays --------------------------------------------------------------

TEST_F(FramesTest, OwnDelaysReachTheLabelsThePlaybackTheGifAndTheProject)
{
    AddFrames(4);
    Type(Access().DelaySpin(), 10);
    Select({1, 2});
    int offered = -1;
    wxCommandEvent delay = Command(ID_MENU_FRAME_DELAY);
    wxTEST_DIALOG(frame->OnFrameDelay(delay), AnswerFrameDelay(25, &offered));
    EXPECT_EQ(offered, 0);
    EXPECT_EQ(OwnDelays(), (IndexList{0, 25, 25, 0}));
    EXPECT_EQ(StartTimes(), (std::vector<long long>{0, 10, 35, 60}));
    Select({2});
    wxTEST_DIALOG(frame->OnFrameDelay(delay), AnswerFrameDelay(40, &offered));
    EXPECT_EQ(offered, 25);
    // The animation's delay still counts for the frames without their own.
    Type(Access().DelaySpin(), 5);
    EXPECT_EQ(StartTimes(), (std::vector<long long>{0, 5, 30, 70}));

    // Playback shows each frame for its delay: after drawing frame i the
    // next tick comes its delay later.
    wxCommandEvent run = Command(ID_MENU_RUN);
    frame->OnPlay(run);
    std::vector<int> intervals;
    for (int i = 0; i < 4; ++i)
    {
        wxTimerEvent tick(Access().Timer());
        frame->OnTimer(tick);
        intervals.push_back(Access().Timer().GetInterval());
    }
    frame->OnPlay(run);
    EXPECT_EQ(intervals, (std::vector<int>{50, 250, 400, 50}));

    const wxString gifPath = dir.File(wxS("delays.gif"));
    wxCommandEvent save = Command(ID_MENU_SAVE);
    wxTEST_DIALOG(frame->OnSaveAnimator(save), ExpectFileDialog(gifPath));
    ASSERT_TRUE(WaitForWorker());
    const InspectedGif gif = InspectGif(ReadFileBytes(gifPath));
    ASSERT_TRUE(gif.ok);
    std::vector<int> written;
    for (const InspectedFrame& f : gif.frames)
        written.push_back(f.delay);
    EXPECT_EQ(written, (IndexList{5, 25, 40, 5}));

    const wxString projectPath = dir.File(wxS("delays.xml"));
    wxCommandEvent saveProject;
    wxTEST_DIALOG(frame->OnSaveProject(saveProject), ExpectFileDialog(projectPath));
    const ProjectReadResult read = ReadProjectFile(projectPath);
    ASSERT_TRUE(read.IsComplete());
    EXPECT_EQ(read.project.frameDelays, (IndexList{0, 25, 40, 0}));
    EXPECT_EQ(read.project.delay, 5);
    ASSERT_TRUE(frame->OpenProjectPath(projectPath));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(OwnDelays(), (IndexList{0, 25, 40, 0}));
    EXPECT_EQ(StartTimes(), (std::vector<long long>{0, 5, 30, 70}));
    EXPECT_FALSE(frame->IsProjectModified());

    // 0 gives the frames the animation's delay again.
    Select({1, 2});
    wxTEST_DIALOG(frame->OnFrameDelay(delay), AnswerFrameDelay(0, &offered));
    EXPECT_EQ(OwnDelays(), (IndexList{0, 0, 0, 0}));
    EXPECT_EQ(StartTimes(), (std::vector<long long>{0, 5, 10, 15}));
}

// The labels change as soon as any delay does, not at some later repaint.
TEST_F(FramesTest, StartTimeLabelsAreRepaintedWhenADelayChanges)
{
    AddFrames(3);
    int paints = 0;
    Strip()->Bind(wxEVT_PAINT,
                  [&](wxPaintEvent& event)
                  {
                      ++paints;
                      event.Skip();
                  });
    Settle();
    paints = 0;
    Type(Access().DelaySpin(), 30);
    EXPECT_TRUE(WaitFor([&] { return paints > 0; }));
    EXPECT_EQ(Strip()->GetStartTime(2), 60);

    paints = 0;
    EXPECT_TRUE(frame->SetFramesDelay({0}, 7));
    EXPECT_TRUE(WaitFor([&] { return paints > 0; }));
    EXPECT_EQ(Strip()->GetStartTime(2), 37);
}

// --- Undo and redo -----------------------------------------------------------

TEST_F(FramesTest, EveryEditIsUndoneAndRedoneToTheSameStripAndSettings)
{
    struct Snapshot
    {
        NameList names;
        IndexList ownDelays;
        int delay;
        wxSize size;
        std::vector<ProjectCaption> captions;
        bool operator==(const Snapshot& o) const
        {
            return names == o.names && ownDelays == o.ownDelays && delay == o.delay &&
                   size == o.size && captions == o.captions;
        }
    };
    const auto snapshot = [this] {
        return Snapshot{Names(), OwnDelays(), Access().DelaySpin()->GetValue(), SpinSize(),
                        SavedState::CaptionsOf(frame->GetFrames())};
    };
    Caption caption;
    caption.text = wxS("on b and c");
    std::vector<Snapshot> states{snapshot()};
    const auto step = [&](const std::function<void()>& edit)
    {
        edit();
        states.push_back(snapshot());
        ASSERT_FALSE(states.back() == states[states.size() - 2]) << "the edit changed nothing";
    };

    const wxString a = WritePng(dir, wxS("a.png"), 80, 60);
    const wxString b = WritePng(dir, wxS("b.png"), 40, 30);
    step([&] { Import(Paths({a, b})); });
    step([&] { frame->InsertFiles(Paths({WritePng(dir, wxS("c.png"), 100, 50)}), 1); });
    step([&] { frame->AddCaption(caption, {1, 2}); });
    step([&] { frame->MoveFrames({0}, 3); });
    ASSERT_EQ(states.back().captions.size(), 1u);
    EXPECT_EQ(states.back().captions[0].frames, (IndexList{0, 1})) << "the caption moved along";
    step([&] { frame->ShiftFrames({2}, -1); });
    step([&] { frame->EditCaption(0, caption, {1}); });
    step([&] { frame->DeleteFrames({1}); });
    EXPECT_TRUE(states.back().captions.empty()) << "a deleted frame takes its caption along";
    step([&] { frame->SetFramesDelay({0, 1}, 33); });
    step([&] { Type(Access().DelaySpin(), 12); });
    step([&] { Type(Access().WidthSpin(), 50); });
    step([&] { frame->DuplicateFrames({0}); });
    step([&] { frame->RemoveDuplicateFrames(frame->FindDuplicateFrames(0)); });
    step(
        [&]
        {
            frame->CopyFrames({0, 1});
            frame->PasteFrames(-1);
        });
    step([&] { frame->CutFrames({0}); });
    step([&] { frame->PasteFrames(0); });
    step([&] { frame->ReverseFrames({}); });
    step([&] { frame->YoyoFrames(); });
    step([&] { frame->ChangeFramesSpeed({}, 50); });
    step(
        [&]
        {
            wxCommandEvent clear = Command(ID_MENU_CLEAR_ALL);
            frame->OnClearAll(clear);
        });

    for (size_t i = states.size() - 1; i > 0; --i)
    {
        ASSERT_TRUE(frame->Undo()) << i;
        EXPECT_TRUE(snapshot() == states[i - 1]) << "undo to step " << i - 1;
    }
    EXPECT_FALSE(frame->Undo());
    EXPECT_EQ(Strip()->GetCount(), 0) << "an undone import leaves no frames";
    EXPECT_TRUE(FrameCommandsAre(false));
    EXPECT_FALSE(frame->GetMenuBar()->IsEnabled(ID_MENU_UNDO));
    EXPECT_TRUE(frame->GetMenuBar()->IsEnabled(ID_MENU_REDO));
    for (size_t i = 1; i < states.size(); ++i)
    {
        ASSERT_TRUE(frame->Redo()) << i;
        EXPECT_TRUE(snapshot() == states[i]) << "redo to step " << i;
    }
    EXPECT_FALSE(frame->Redo());
    EXPECT_TRUE(frame->GetMenuBar()->IsEnabled(ID_MENU_UNDO));
    EXPECT_FALSE(frame->GetMenuBar()->IsEnabled(ID_MENU_REDO));

    // A new edit after an undo forgets what was undone.
    ASSERT_TRUE(frame->Undo());
    AddFrame(wxSize(10, 10));
    EXPECT_FALSE(frame->Redo());
}

// The undo history shares the strip's pictures instead of copying them.
TEST_F(FramesTest, AHundredStepsBackWithoutCopiesOfThePictures)
{
    AddFrames(3);
    const FrameSource* picture = frame->GetFrames().Get(0).source.get();
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(frame->ShiftFrames({i % 3 == 2 ? 2 : i % 3}, i % 3 == 2 ? -1 : 1));
    int undone = 0;
    while (frame->Undo())
        ++undone;
    EXPECT_GE(undone, 100);
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f1.png"), wxS("f2.png")}));
    EXPECT_EQ(frame->GetFrames().Get(0).source.get(), picture);
}

// --- The preview follows the selection ------------------------------------------

TEST_F(FramesTest, ThePreviewFollowsKeysAndStaysOnTheFocusAfterAnImport)
{
    AddFrames(4);
    FocusStrip();
    sim.MouseMove(ScreenCentre(1));
    ASSERT_TRUE(WaitFor([&] { return wxGetMousePosition() == ScreenCentre(1); }));
    sim.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return Access().PreviewIndex() == 1; }));

    const std::pair<int, int> keys[] = {{WXK_RIGHT, 2}, {WXK_END, 3}, {WXK_HOME, 0}, {WXK_RIGHT, 1}};
    for (const auto& [key, shown] : keys)
    {
        sim.Char(key);
        EXPECT_TRUE(WaitFor([&] { return Access().PreviewIndex() == shown; })) << "key " << key;
        EXPECT_TRUE(Status(1).StartsWith(wxString::Format(wxS("f%d.png "), shown)));
    }

    // An import keeps the selected frame in the preview instead of frame 0.
    Import(Paths({WritePng(dir, wxS("new.png"), 20, 20)}));
    EXPECT_EQ(Access().PreviewIndex(), 1);
    EXPECT_EQ(Strip()->GetFocusItem(), 1);
}
