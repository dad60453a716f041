#include "loop_count_answer.h"
#include "main_window_fixture.h"

#include "edit/framelist.h"
#include "encode/classicreduction.h"
#include "encode/framefitting.h"
#include "window/cropdialog.h"
#include "window/cropselector.h"

#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstring>

class PreviewTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        LoopCountDialog::SetRememberedChoice(0);
    }

    void Run()
    {
        wxCommandEvent run = Command(ID_MENU_RUN);
        frame->OnPlay(run);
    }

    // One timer tick; returns the index of the frame it drew.
    int Tick()
    {
        wxTimerEvent tick(Access().Timer());
        frame->OnTimer(tick);
        return Access().PreviewIndex();
    }

    // Reads a pixel of the preview panel from the X server, as a screenshot would.
    wxColour ShownAt(const wxPoint& clientPoint)
    {
        const wxPoint screen = Access().PreviewPanel()->ClientToScreen(clientPoint);
        const wxString shot = dir.File(wxS("pixel.png"));
        wxExecute(wxString::Format(wxS("import -window root -crop 1x1+%d+%d +repage %s"), screen.x,
                                   screen.y, shot),
                  wxEXEC_SYNC | wxEXEC_NOEVENTS);
        const wxImage pixel(shot);
        if (!pixel.IsOk())
            return wxColour();
        return wxColour(pixel.GetRed(0, 0), pixel.GetGreen(0, 0), pixel.GetBlue(0, 0));
    }

    // Asks for a system repaint and waits until the screen shows the colour.
    bool RepaintShows(const wxPoint& clientPoint, const wxColour& colour)
    {
        wxPanel* panel = Access().PreviewPanel();
        panel->Refresh();
        panel->Update();
        return WaitFor([&] { return ShownAt(clientPoint) == colour; }, 3000);
    }

    bool RunToolShows(const char* picture) const
    {
        const wxToolBarToolBase* tool = Access().ToolBar()->FindById(XRCID("m_tool_play"));
        const wxImage shown = tool->GetNormalBitmap().ConvertToImage();
        const wxImage expected(wxS(LF_STAGE_DIR "/Themes/") + wxString::FromUTF8(picture));
        return shown.IsOk() && expected.IsOk() && shown.GetSize() == expected.GetSize() &&
               memcmp(shown.GetData(), expected.GetData(),
                      size_t(shown.GetWidth()) * shown.GetHeight() * 3) == 0;
    }
};

TEST_F(PreviewTest, TwoPassesThenStopWithThePlayPicture)
{
    AddFrames(3);
    Access().LoopCount() = 2;
    Run();
    ASSERT_TRUE(Access().Playing());
    EXPECT_EQ(Access().RunItem()->GetItemLabel(), wxS("Stop animation\tCtrl+T"));
    EXPECT_TRUE(RunToolShows("stop.png"));

    std::vector<int> drawn;
    for (int i = 0; i < 6; ++i)
        drawn.push_back(Tick());
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    EXPECT_FALSE(Access().Playing());
    EXPECT_FALSE(Access().Timer().IsRunning());
    EXPECT_EQ(Access().RunItem()->GetItemLabel(), wxS("Run animation\tCtrl+P"));
    EXPECT_TRUE(RunToolShows("play.png"));
    // The last frame drawn stays in the preview.
    EXPECT_EQ(Access().PreviewIndex(), 2);
    EXPECT_EQ(Access().LoopsPlayed(), 0);
}

TEST_F(PreviewTest, PassesOfAStoppedRunCountTowardsTheNext)
{
    AddFrames(2);
    Access().LoopCount() = 3;
    Run();
    for (int i = 0; i < 4; ++i)
        Tick();
    Run();  // stop by hand after two passes
    EXPECT_FALSE(Access().Playing());
    EXPECT_EQ(Access().LoopsPlayed(), 2);

    Run();
    EXPECT_EQ(Tick(), 0);
    EXPECT_TRUE(Access().Playing());
    EXPECT_EQ(Tick(), 1);
    EXPECT_FALSE(Access().Playing());
}

TEST_F(PreviewTest, EndlessPlaybackNeverStopsByItself)
{
    AddFrames(2);
    Run();
    for (int i = 0; i < 50; ++i)
        Tick();
    EXPECT_TRUE(Access().Playing());
    EXPECT_EQ(Access().LoopsPlayed(), 25);
}

TEST_F(PreviewTest, RunWithAnEmptyStripDoesNothing)
{
    frame->EnableFrameCommands();
    Run();
    EXPECT_FALSE(Access().Playing());
    EXPECT_FALSE(Access().Timer().IsRunning());
    EXPECT_EQ(Access().RunItem()->GetItemLabel(), wxS("Run animation\tCtrl+P"));
}

TEST_F(PreviewTest, TimerPeriodIsTenTimesTheDelay)
{
    AddFrames(1);
    for (const auto& [delay, period] : {std::pair(10, 100), std::pair(25, 250)})
    {
        Access().DelaySpin()->SetValue(delay);
        Run();
        EXPECT_EQ(Access().Timer().GetInterval(), period);
        EXPECT_FALSE(Access().Timer().IsOneShot());
        Run();
    }
}

TEST_F(PreviewTest, CancelledLoopCountDialogStopsPlaybackAndKeepsTheCount)
{
    AddFrames(3);
    Access().LoopCount() = 4;
    Run();
    Tick();
    wxCommandEvent loop = Command(ID_MENU_LOOP_COUNT);
    wxTEST_DIALOG(frame->OnLoopCount(loop),
                  AnswerLoopCount(AnswerLoopCount::PlayTimes, 2, wxID_CANCEL));
    EXPECT_FALSE(Access().Playing());
    EXPECT_FALSE(Access().Timer().IsRunning());
    EXPECT_EQ(Access().PlayIndex(), 0);
    EXPECT_EQ(Access().LoopCount(), 4);
}

TEST_F(PreviewTest, ConfirmedLoopCountResetsThePassesPlayed)
{
    AddFrames(2);
    Access().LoopsPlayed() = 1;
    wxCommandEvent loop = Command(ID_MENU_LOOP_COUNT);
    wxTEST_DIALOG(frame->OnLoopCount(loop),
                  AnswerLoopCount(AnswerLoopCount::PlayTimes, 2, wxID_OK));
    EXPECT_EQ(Access().LoopCount(), 2);
    EXPECT_EQ(Access().LoopsPlayed(), 0);
}

TEST_F(PreviewTest, LoopCountWithAnEmptyStripShowsNoDialog)
{
    wxCommandEvent loop = Command(ID_MENU_LOOP_COUNT);
    frame->OnLoopCount(loop);  // an unexpected dialog would fail the test
    EXPECT_EQ(Access().LoopCount(), 0);
}

TEST(PreviewPlacement, FitNeverEnlargesAndSitsThirtyPixelsBelowCentreWhereThereIsRoom)
{
    struct Case
    {
        wxSize picture, panel;
        wxRect placement;
    };
    const Case cases[] = {
        {{100, 50}, {400, 300}, {150, 155, 100, 50}},
        {{800, 400}, {400, 300}, {0, 80, 400, 200}},
        // Less than 30 pixels to spare: the offset shrinks to what there is.
        {{400, 280}, {400, 300}, {0, 20, 400, 280}},
        {{400, 300}, {400, 300}, {0, 0, 400, 300}},
        {{640, 480}, {640, 480}, {0, 0, 640, 480}},
        {{640, 400}, {1000, 400}, {180, 0, 640, 400}},
        {{0, 10}, {400, 300}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GifFrame::PreviewPlacement(c.picture, c.panel), c.placement)
            << c.picture.x << "x" << c.picture.y << " in " << c.panel.x << "x" << c.panel.y;

    // Whatever the sizes, the frame lies wholly inside the panel.
    const std::pair<wxSize, wxSize> fits[] = {{{1920, 1080}, {1200, 556}},
                                              {{1920, 1080}, {1920, 1081}},
                                              {{5, 5000}, {300, 200}},
                                              {{300, 199}, {300, 200}}};
    for (const auto& [picture, panel] : fits)
        EXPECT_TRUE(wxRect(panel).Contains(GifFrame::PreviewPlacement(picture, panel)))
            << picture.x << "x" << picture.y << " in " << panel.x << "x" << panel.y;
}

TEST_F(PreviewTest, StatusFieldNamesTheFrameWithItsFullSize)
{
    const wxString gif = dir.Write(wxS("anim.gif"), "GIF89a");
    AppendFrame(frame, gif, SolidImage(200, 100, *wxBLUE), 3);
    frame->EnableFrameCommands();
    frame->DrawPreviewFrame(0);
    EXPECT_EQ(Status(1), wxS("anim.gif_3 Width:200px,Height:100 px"));
    EXPECT_EQ(Access().PreviewFileName(), wxS("anim.gif_3"));
    EXPECT_EQ(Access().PreviewSize(), wxSize(200, 100));
}

TEST_F(PreviewTest, ClickOnAThumbnailStopsPlaybackAndShowsThatFrame)
{
    AddFrames(3);
    Run();
    Tick();
    wxThumbnailEvent click(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, ID_THUMBNAIL_CTRL);
    click.SetIndex(2);
    frame->OnThumbnailLeftClick(click);
    EXPECT_FALSE(Access().Playing());
    EXPECT_EQ(Access().PlayIndex(), 0);
    EXPECT_EQ(Access().PreviewIndex(), 2);
}

// The preview panel shows its frame again whenever the system repaints it.
TEST_F(PreviewTest, RepaintShowsTheCurrentFrame)
{
    AddFrame(wxSize(60, 40), wxColour(0, 200, 0));
    frame->EnableFrameCommands();
    frame->DrawPreviewFrame(0);

    wxPanel* panel = Access().PreviewPanel();
    const wxRect placement = GifFrame::PreviewPlacement(wxSize(60, 40), panel->GetClientSize());
    const wxPoint inside = placement.GetPosition() + wxPoint(30, 20);
    EXPECT_TRUE(RepaintShows(inside, wxColour(0, 200, 0))) << "frame not drawn";
    EXPECT_TRUE(RepaintShows(wxPoint(2, 2), panel->GetBackgroundColour())) << "no background";

    frame->ClearPreview();
    EXPECT_TRUE(RepaintShows(inside, panel->GetBackgroundColour())) << "frame not cleared";
}

// Transparent pixels show a light and dark grey checkerboard, neither black
// nor the decoder's mask colour.
TEST_F(PreviewTest, TransparentPixelsShowACheckerboard)
{
    wxImage picture = SolidImage(60, 40, wxColour(0, 200, 0));
    picture.SetRGB(wxRect(0, 0, 20, 20), 255, 0, 255);
    picture.SetMaskColour(255, 0, 255);
    ASSERT_GE(AppendFrame(frame, WritePng(dir, wxS("sticker.png"), 60, 40, *wxGREEN), picture), 0);
    frame->EnableFrameCommands();
    frame->DrawPreviewFrame(0);

    const wxRect placement =
        GifFrame::PreviewPlacement(wxSize(60, 40), Access().PreviewPanel()->GetClientSize());
    EXPECT_TRUE(RepaintShows(placement.GetPosition() + wxPoint(2, 2), wxColour(153, 153, 153)));
    EXPECT_TRUE(RepaintShows(placement.GetPosition() + wxPoint(10, 2), wxColour(204, 204, 204)));
}

// The crop rectangle follows real mouse drags: a new one drawn on the
// picture, its bottom right handle pulled, then the whole moved; the number
// fields follow.
TEST_F(PreviewTest, ACropRectangleIsDrawnResizedAndMovedWithTheMouse)
{
    // As the dialog opens without a crop: the whole picture.
    CropDialog dialog(frame, SolidImage(400, 200, *wxBLUE), wxRect(0, 0, 400, 200));
    dialog.Show();
    CropSelector* selector = dialog.GetSelector();
    ASSERT_TRUE(WaitFor([&] { return selector->IsShownOnScreen(); }));
    dialog.Raise();
    Settle(200);

    wxUIActionSimulator sim;
    const auto drag = [&](const wxPoint& from, const wxPoint& to)
    {
        const wxPoint a = selector->ClientToScreen(selector->ToWindow(from));
        const wxPoint b = selector->ClientToScreen(selector->ToWindow(to));
        sim.MouseMove(a);
        WaitFor([&] { return wxGetMousePosition() == a; });
        sim.MouseDown();
        Settle();
        sim.MouseMove((a + b) / 2);
        Settle();
        sim.MouseMove(b);
        WaitFor([&] { return wxGetMousePosition() == b; });
        Settle();
        sim.MouseUp();
        Settle();
    };
    drag(wxPoint(100, 50), wxPoint(300, 150));
    EXPECT_EQ(dialog.GetSelection(), wxRect(100, 50, 200, 100));
    drag(wxPoint(300, 150), wxPoint(320, 160));
    EXPECT_EQ(dialog.GetSelection(), wxRect(100, 50, 220, 110));
    drag(wxPoint(200, 100), wxPoint(150, 80));
    EXPECT_EQ(dialog.GetSelection(), wxRect(50, 30, 220, 110));
    auto* x = wxDynamicCast(dialog.FindWindow(CropDialog::ID_X), wxSpinCtrl);
    auto* width = wxDynamicCast(dialog.FindWindow(CropDialog::ID_WIDTH), wxSpinCtrl);
    ASSERT_TRUE(x && width);
    EXPECT_EQ(x->GetValue(), 50);
    EXPECT_EQ(width->GetValue(), 220);
}

// With "Preview as GIF" the preview shows the frame as the export makes it:
// at an output of 160 x 120 a 320 x 240 frame is fitted to 160 x 120 and
// takes the classic profile's colours; off again, the frame's own picture.
TEST_F(PreviewTest, PreviewAsGifShowsTheFrameAtTheOutputSize)
{
    AddFrames(1, wxSize(320, 240));
    Type(Access().WidthSpin(), 160);
    ASSERT_EQ(SpinSize(), wxSize(160, 120));
    EXPECT_EQ(frame->PreviewPicture(0).GetSize(), wxSize(320, 240));

    wxCommandEvent toggle(wxEVT_MENU, ID_MENU_PREVIEW_AS_GIF);
    toggle.SetInt(1);
    frame->ProcessWindowEvent(toggle);
    EXPECT_TRUE(frame->GetMenuBar()->IsChecked(ID_MENU_PREVIEW_AS_GIF));
    const wxImage shown = frame->PreviewPicture(0);
    ASSERT_EQ(shown.GetSize(), wxSize(160, 120));
    FittedFrame fitted;
    ASSERT_TRUE(fitted.Fit(frame->GetFrames().Get(0).source->Picture(), 160, 120, false));
    ClassicReduction reduction;
    ASSERT_TRUE(reduction.Reduce(fitted.Pixels(), 160, 120));
    const std::uint8_t* colour = reduction.Palette().rgb + 3 * reduction.Indices()[80 * 160 + 40];
    EXPECT_EQ(shown.GetRed(40, 80), colour[0]);
    EXPECT_EQ(shown.GetGreen(40, 80), colour[1]);
    EXPECT_EQ(shown.GetBlue(40, 80), colour[2]);

    toggle.SetInt(0);
    frame->ProcessWindowEvent(toggle);
    EXPECT_EQ(frame->PreviewPicture(0).GetSize(), wxSize(320, 240));
}
