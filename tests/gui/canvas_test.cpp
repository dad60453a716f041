#include "frame_factory.h"
#include "main_window_fixture.h"

class CanvasTest : public MainWindowTest
{
protected:
    void AddFrame(int width, int height)
    {
        const wxString path =
            WritePng(dir, wxString::Format(wxS("f%d.png"), m_next++), width, height);
        ASSERT_GE(AppendFrame(Access().Strip(), path, SolidImage(width, height, *wxRED)), 0);
    }

    wxSize ChosenSize(std::initializer_list<wxSize> frames)
    {
        Access().Strip()->Clear();
        for (const wxSize& size : frames)
            AddFrame(size.x, size.y);
        frame->UpdateCanvasSize();
        return wxSize(Access().WidthSpin()->GetValue(), Access().HeightSpin()->GetValue());
    }

    // Types a value into a size spin as a user would and lets the window react.
    void TypeWidth(int value)
    {
        Access().WidthSpin()->SetValue(value);
        wxCommandEvent text(wxEVT_TEXT, Access().WidthSpin()->GetId());
        frame->OnWidthChanged(text);
    }
    void TypeHeight(int value)
    {
        Access().HeightSpin()->SetValue(value);
        wxCommandEvent text(wxEVT_TEXT, Access().HeightSpin()->GetId());
        frame->OnHeightChanged(text);
    }

    wxString Status0() const { return Access().StatusBar()->GetStatusText(0); }

    TempDir dir;
    int m_next = 0;
};

TEST_F(CanvasTest, ChosenSizeIsTheLastFrameWiderOrHigher)
{
    EXPECT_EQ(ChosenSize({{100, 50}, {50, 100}}), wxSize(50, 100));
    EXPECT_EQ(ChosenSize({{300, 200}, {100, 100}}), wxSize(300, 200));
    EXPECT_EQ(ChosenSize({{300, 200}, {200, 300}}), wxSize(200, 300));
    EXPECT_EQ(Access().SourceWidth(), 200);
    EXPECT_EQ(Access().SourceHeight(), 300);
    EXPECT_EQ(Status0(), wxS("Untitled.gif (200 * 300)px"));
}

TEST_F(CanvasTest, WidthAndHeightKeepTheReferenceRatio)
{
    ChosenSize({{400, 300}});
    TypeWidth(200);
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 150);
    EXPECT_EQ(Access().GifWidth(), 200);
    EXPECT_EQ(Access().GifHeight(), 150);
    EXPECT_EQ(Status0(), wxS("Untitled.gif (200 * 150)px"));

    TypeHeight(100);
    EXPECT_EQ(Access().WidthSpin()->GetValue(), 133);
    EXPECT_EQ(Status0(), wxS("Untitled.gif (133 * 100)px"));
}

TEST_F(CanvasTest, StatusNamesTheGifFile)
{
    ChosenSize({{400, 300}});
    Access().GifFileName() = wxS("anim.gif");
    TypeWidth(200);
    EXPECT_EQ(Status0(), wxS("anim.gif (200 * 150)px"));
    TypeHeight(150);
    EXPECT_EQ(Status0(), wxS("anim.gif (200 * 150)px"));
    frame->UpdateCanvasSize();
    EXPECT_EQ(Status0(), wxS("anim.gif (400 * 300)px"));
}

TEST_F(CanvasTest, EmptyStripClearsTheStatusAndZeroesTheSpins)
{
    ChosenSize({{400, 300}});
    Access().Strip()->Clear();
    frame->UpdateCanvasSize();
    EXPECT_EQ(Status0(), wxString());
    EXPECT_EQ(Access().WidthSpin()->GetValue(), 0);
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 0);
    EXPECT_EQ(Access().SourceWidth(), 400);  // the reference is kept

    TypeWidth(50);  // no frames: nothing reacts
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 0);
    EXPECT_EQ(Status0(), wxString());
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

TEST_F(CanvasTest, SettingSpinsFromCodeSendsNoTextEvent)
{
    int events = 0;
    Access().WidthSpin()->Bind(wxEVT_TEXT, [&](wxCommandEvent& e) { ++events; e.Skip(); });
    ChosenSize({{400, 300}});
    Settle(20);
    EXPECT_EQ(events, 0);
}

TEST_F(CanvasTest, DelayChangeStopsPlaybackAndRelabelsTheStrip)
{
    ChosenSize({{40, 30}, {40, 30}});
    frame->EnableFrameCommands();
    wxCommandEvent run(wxEVT_MENU, ID_MENU_RUN);
    frame->OnPlay(run);
    ASSERT_TRUE(Access().Playing());
    Access().DelaySpin()->SetValue(25);
    wxCommandEvent text(wxEVT_TEXT, Access().DelaySpin()->GetId());
    frame->OnSetDelay(text);
    EXPECT_FALSE(Access().Playing());
    EXPECT_FALSE(Access().Timer().IsRunning());
    EXPECT_EQ(Access().Strip()->GetLabelDelay(), 25);
}
