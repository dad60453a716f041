#include "main_window_fixture.h"

#include "window/gifframe.h"

#include <wx/msgdlg.h>

class CanvasTest : public MainWindowTest
{
protected:
    void ClearAll()
    {
        wxCommandEvent clear = Command(ID_MENU_CLEAR_ALL);
        frame->OnClearAll(clear);
    }
    wxSize ChosenSize(std::initializer_list<wxSize> frames)
    {
        ClearAll();
        for (const wxSize& size : frames)
            AddFrame(size);
        frame->UpdateCanvasSize();
        return SpinSize();
    }
    void TypeWidth(int value) { Type(Access().WidthSpin(), value); }
    void TypeHeight(int value) { Type(Access().HeightSpin(), value); }
};

// The rule itself is checked on ChooseCanvasSize; here the window applies it.
TEST_F(CanvasTest, ChosenSizeIsTheLastFrameWiderOrHigher)
{
    EXPECT_EQ(ChosenSize({{300, 200}, {100, 100}}), wxSize(300, 200));
    EXPECT_EQ(ChosenSize({{300, 200}, {200, 300}}), wxSize(200, 300));
    EXPECT_EQ(Access().SourceWidth(), 200);
    EXPECT_EQ(Access().SourceHeight(), 300);
    EXPECT_EQ(Status(0), wxS("Untitled.gif (200 * 300)px"));
}

TEST_F(CanvasTest, WidthAndHeightKeepTheReferenceRatio)
{
    ChosenSize({{400, 300}});
    TypeWidth(200);
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 150);
    EXPECT_EQ(Access().GifWidth(), 200);
    EXPECT_EQ(Access().GifHeight(), 150);
    EXPECT_EQ(Status(0), wxS("Untitled.gif (200 * 150)px"));

    TypeHeight(100);
    EXPECT_EQ(Access().WidthSpin()->GetValue(), 133);
    EXPECT_EQ(Status(0), wxS("Untitled.gif (133 * 100)px"));

    // Once the GIF has a name the status line shows it.
    Access().GifFileName() = wxS("anim.gif");
    TypeHeight(150);
    EXPECT_EQ(Status(0), wxS("anim.gif (200 * 150)px"));
}

// Inserting and deleting frames (even a delete answered No) keep the size the
// user typed, keeping the ratio of the frames they leave; Clear All starts afresh.
TEST_F(CanvasTest, ATypedSizeOutlastsEditsOfTheStrip)
{
    AddFrames(2, wxSize(400, 300));
    TypeWidth(200);
    AddFrame(wxSize(500, 500));
    frame->UpdateCanvasSize();
    EXPECT_EQ(SpinSize(), wxSize(200, 150));
    EXPECT_EQ(Access().SourceWidth(), 500);
    TypeWidth(100);
    EXPECT_EQ(SpinSize(), wxSize(100, 100));

    Access().Strip()->Select(2);
    wxCommandEvent del = Command(ID_MENU_DELETE);
    wxTEST_DIALOG(frame->OnDeleteImage(del), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_EQ(SpinSize(), wxSize(100, 100));
    wxTEST_DIALOG(frame->OnDeleteImage(del), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(SpinSize(), wxSize(100, 100));
    EXPECT_EQ(Access().SourceWidth(), 400);
    TypeWidth(200);
    EXPECT_EQ(SpinSize(), wxSize(200, 150));

    ClearAll();
    AddFrames(1, wxSize(60, 40));
    EXPECT_EQ(SpinSize(), wxSize(60, 40));
}

TEST_F(CanvasTest, EmptyStripClearsTheStatusAndZeroesTheSpins)
{
    ChosenSize({{400, 300}});
    ClearAll();
    EXPECT_EQ(Status(0), wxString());
    EXPECT_EQ(SpinSize(), wxSize(0, 0));
    EXPECT_EQ(Access().SourceWidth(), 400);  // the reference is kept

    TypeWidth(50);  // no frames: nothing reacts
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 0);
    EXPECT_EQ(Status(0), wxString());
}

TEST_F(CanvasTest, ZeroReferenceLeavesTheOtherDimensionAlone)
{
    ChosenSize({{400, 300}});
    Access().SourceWidth() = 0;
    Access().SourceHeight() = 0;
    Access().HeightSpin()->SetValue(77);
    TypeWidth(120);
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 77);
    EXPECT_EQ(Access().GifWidth(), 120);
    EXPECT_EQ(Access().GifHeight(), 77);
    TypeHeight(60);
    EXPECT_EQ(Access().WidthSpin()->GetValue(), 120);
}

TEST_F(CanvasTest, HugeRatiosStayWithinTheSpinRange)
{
    ChosenSize({{10, 5000}});
    TypeWidth(65535);
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 65535);
    EXPECT_EQ(Access().GifHeight(), 65535);
}

TEST_F(CanvasTest, DelayChangeStopsPlaybackAndRelabelsTheStrip)
{
    AddFrames(2);
    wxCommandEvent run = Command(ID_MENU_RUN);
    frame->OnPlay(run);
    ASSERT_TRUE(Access().Playing());
    Type(Access().DelaySpin(), 25);
    EXPECT_FALSE(Access().Playing());
    EXPECT_FALSE(Access().Timer().IsRunning());
    EXPECT_EQ(Access().Strip()->GetLabelDelay(), 25);
}
