#include "main_window_fixture.h"

#include "window/gifframe.h"

class CanvasTest : public MainWindowTest
{
protected:
    wxSize ChosenSize(std::initializer_list<wxSize> frames)
    {
        Access().Strip()->Clear();
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
    frame->UpdateCanvasSize();
    EXPECT_EQ(Status(0), wxS("anim.gif (400 * 300)px"));
}

TEST_F(CanvasTest, EmptyStripClearsTheStatusAndZeroesTheSpins)
{
    ChosenSize({{400, 300}});
    Access().Strip()->Clear();
    frame->UpdateCanvasSize();
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
