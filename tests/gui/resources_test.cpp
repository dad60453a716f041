// The data files as the build stages them: the two XRC resources build with
// every control the code looks up, and the pictures load at the sizes the
// toolbar and the window icon need.
#include "gui_test_support.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/hyperlink.h>
#include <wx/iconbndl.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include <memory>
#include <set>
#include <string>

namespace
{

const wxString kThemes = wxS(LF_STAGE_DIR "/Themes");

struct FrameCloser
{
    void operator()(wxTopLevelWindow* w) const
    {
        w->Destroy();
        Settle(10);
    }
};

// A resource set of its own, so these tests neither depend on nor disturb
// what other tests loaded into the global one.
class ThemeResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_resource.InitAllHandlers();
        ASSERT_TRUE(m_resource.Load(kThemes + wxS("/MyFrame1.xrc")));
        ASSERT_TRUE(m_resource.Load(kThemes + wxS("/AboutDialog.xrc")));
    }

    std::unique_ptr<wxFrame, FrameCloser> LoadMainFrame()
    {
        std::unique_ptr<wxFrame, FrameCloser> frame(new wxFrame);
        EXPECT_TRUE(m_resource.LoadFrame(frame.get(), nullptr, wxS("MyFrame1")));
        return frame;
    }

    template <typename T>
    static T* Find(wxWindow* parent, const char* name)
    {
        return wxDynamicCast(parent->FindWindow(XRCID(name)), T);
    }

    wxXmlResource m_resource;
};

}  // namespace

// Every control the window looks up, with its class, is checked whenever a
// window test builds the window (a missing one fails with its name).
TEST_F(ThemeResourceTest, MainFrameLaysOutBarsAndPanes)
{
    const auto frame = LoadMainFrame();
    // The window's own bars, not loose children, or the frame would not
    // keep them out of its client area.
    EXPECT_EQ(frame->GetToolBar(), Find<wxToolBar>(frame.get(), "m_toolBar_button"));
    EXPECT_EQ(frame->GetStatusBar(), Find<wxStatusBar>(frame.get(), "m_statusBar1"));

    // The strip above, the preview below.
    wxSplitterWindow* splitter = Find<wxSplitterWindow>(frame.get(), "m_splitter3");
    ASSERT_NE(splitter, nullptr);
    EXPECT_TRUE(splitter->IsSplit());
    EXPECT_EQ(splitter->GetSplitMode(), wxSPLIT_HORIZONTAL);
    EXPECT_EQ(splitter->GetWindow1(), Find<wxPanel>(frame.get(), "m_panel_top"));
    EXPECT_EQ(splitter->GetWindow2(), Find<wxPanel>(frame.get(), "m_panel_down"));
}

TEST_F(ThemeResourceTest, SpinRangesCoverTheGifLimits)
{
    const auto frame = LoadMainFrame();
    wxSpinCtrl* delay = Find<wxSpinCtrl>(frame.get(), "m_spinctrl_delay");
    wxSpinCtrl* width = Find<wxSpinCtrl>(frame.get(), "m_spinctrl_width");
    wxSpinCtrl* height = Find<wxSpinCtrl>(frame.get(), "m_spinctrl_height");
    ASSERT_TRUE(delay && width && height);
    // A delay of 0 would run the preview timer with a period of 0 ms.
    EXPECT_EQ(delay->GetMin(), 1);
    EXPECT_EQ(delay->GetMax(), 65535);
    EXPECT_GE(delay->GetValue(), 1);
    for (wxSpinCtrl* size : {width, height})
    {
        EXPECT_EQ(size->GetMin(), 0);
        EXPECT_EQ(size->GetMax(), 65535);
    }
}

TEST_F(ThemeResourceTest, ToolbarHoldsTheThreeToolsWithPictures)
{
    const auto frame = LoadMainFrame();
    wxToolBar* bar = frame->GetToolBar();
    ASSERT_NE(bar, nullptr);
    for (const char* name : {"m_tool_insert", "m_tool_delete", "m_tool_play"})
    {
        const wxToolBarToolBase* tool = bar->FindById(XRCID(name));
        ASSERT_NE(tool, nullptr) << name;
        EXPECT_TRUE(tool->IsButton()) << name;
        const wxBitmap bitmap = tool->GetNormalBitmap();
        ASSERT_TRUE(bitmap.IsOk()) << name << " has no picture";
        EXPECT_EQ(bitmap.GetSize(), wxSize(24, 24)) << name;
        EXPECT_FALSE(tool->GetShortHelp().empty()) << name << " has no tooltip";
    }
}

// At the default size every setting is on screen: a toolbar too wide for the
// window would hide the last ones behind GTK's overflow arrow.
TEST_F(ThemeResourceTest, DefaultSizeShowsTheWholeToolbar)
{
    const auto frame = LoadMainFrame();
    frame->Show();
    Settle(100);

    // The frame keeps the size of the resource (a sizer of its own would
    // shrink it to the minimum) and the splitter fills the client area.
    const wxSize client = frame->GetClientSize();
    EXPECT_GE(client.x, 960);
    EXPECT_GE(client.y, 560);
    wxSplitterWindow* splitter = Find<wxSplitterWindow>(frame.get(), "m_splitter3");
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->GetSize(), client);
    EXPECT_GE(Find<wxPanel>(frame.get(), "m_panel_down")->GetSize().y, 200);

    wxToolBar* bar = frame->GetToolBar();
    for (const char* name :
         {"m_staticText_delay", "m_spinctrl_delay", "m_staticText_sec", "m_staticText_gif",
          "m_staticText_width", "m_spinctrl_width", "m_staticText_wpx", "m_staticText_height",
          "m_spinctrl_height", "m_staticText_hpx"})
    {
        wxWindow* control = bar->FindWindow(XRCID(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(control->IsShownOnScreen()) << name;
        EXPECT_LE(control->GetRect().GetRight(), bar->GetClientSize().x) << name;
    }
}

TEST_F(ThemeResourceTest, AboutDialogHasAButtonAndTheLogo)
{
    std::unique_ptr<wxDialog, FrameCloser> dialog(new wxDialog);
    ASSERT_TRUE(m_resource.LoadDialog(dialog.get(), nullptr, wxS("AboutDialog")));
    // Its three texts are checked when the About tests show it; a button
    // ends the modal loop.
    EXPECT_NE(wxDynamicCast(dialog->FindWindow(wxID_OK), wxButton), nullptr);
    wxStaticBitmap* logo = Find<wxStaticBitmap>(dialog.get(), "m_bitmap_logo");
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(logo->GetBitmap().IsOk()) << "logo.png did not load";
}

TEST(ThemePictures, ApplicationIconHoldsEverySize)
{
    const wxString path = kThemes + wxS("/application.ico");
    const int count = wxImage::GetImageCount(path, wxBITMAP_TYPE_ICO);
    ASSERT_GE(count, 5);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i)
    {
        wxImage image;
        ASSERT_TRUE(image.LoadFile(path, wxBITMAP_TYPE_ICO, i)) << "entry " << i;
        EXPECT_EQ(image.GetWidth(), image.GetHeight()) << "entry " << i;
        EXPECT_TRUE(image.HasAlpha()) << "entry " << i << " has hard edges";
        sizes.insert(image.GetWidth());
    }
    for (int wanted : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_EQ(sizes.count(wanted), 1u) << "no " << wanted << " px picture";

    const wxIconBundle bundle(path, wxBITMAP_TYPE_ICO);
    EXPECT_EQ(static_cast<int>(bundle.GetIconCount()), count);
    EXPECT_EQ(bundle.GetIcon(wxSize(32, 32), wxIconBundle::FALLBACK_NONE).GetWidth(), 32);
}

// Counts pixels that are at least half opaque.
static int OpaquePixels(const wxImage& image)
{
    int opaque = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetAlpha(x, y) >= 128)
                ++opaque;
    return opaque;
}

TEST(ThemePictures, ToolPicturesAreSmoothAndDistinct)
{
    std::set<std::string> contents;
    for (const char* name : {"play.png", "stop.png", "insert.png", "delete.png"})
    {
        wxImage image;
        ASSERT_TRUE(image.LoadFile(kThemes + wxS("/") + name, wxBITMAP_TYPE_ANY)) << name;
        EXPECT_EQ(image.GetSize(), wxSize(24, 24)) << name;
        ASSERT_TRUE(image.HasAlpha()) << name << " has no alpha channel";
        // Drawn, with a transparent surround rather than a filled square.
        const int opaque = OpaquePixels(image);
        EXPECT_GT(opaque, 24 * 24 / 5) << name;
        EXPECT_LT(opaque, 24 * 24 - 24) << name;
        contents.insert(std::string(reinterpret_cast<const char*>(image.GetData()), 24 * 24 * 3));
    }
    // The play tool shows its state only if play and stop differ.
    EXPECT_EQ(contents.size(), 4u);
}
