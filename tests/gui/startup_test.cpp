#include "main_window_fixture.h"

#include "window/thumbnailctrl.h"
#include "window/windowsettings.h"

#include <wx/panel.h>
#include <wx/splitter.h>
#include <wx/sstream.h>
#include <wx/weakref.h>
#include <wx/xml/xml.h>

using StartupTest = MainWindowTest;

TEST_F(StartupTest, CommandsNeedingFramesStartDisabled)
{
    EXPECT_TRUE(FrameCommandsAre(false));
    const GifFrameTestAccess a = Access();
    for (wxMenuItem* item : {a.OpenProjectItem(), a.AddImageItem(), a.ExitItem(), a.HelpItem(),
                             a.SupportItem(), a.CheckUpdateItem(), a.AboutItem()})
        EXPECT_TRUE(item->IsEnabled()) << item->GetItemLabelText().utf8_string();
    EXPECT_TRUE(ToolEnabled("m_tool_insert"));

    // Enabling and disabling switch the same commands and leave the others on.
    frame->EnableFrameCommands();
    EXPECT_TRUE(FrameCommandsAre(true));
    frame->DisableFrameCommands();
    EXPECT_TRUE(FrameCommandsAre(false));
    EXPECT_TRUE(a.AddImageItem()->IsEnabled());
    EXPECT_TRUE(ToolEnabled("m_tool_insert"));
}

TEST_F(StartupTest, MenusHoldTheirItemsInOrder)
{
    EXPECT_EQ(MenuTitles(), (std::vector<wxString>{"File", "Frame", "Animation", "Help"}));

    const GifFrameTestAccess a = Access();
    EXPECT_EQ(a.SaveProjectItem()->GetItemLabel(), wxS("Save Project\tCtrl+S"));
    EXPECT_EQ(a.ExitItem()->GetItemLabel(), wxS("Exit\tCtrl+Q"));
    EXPECT_EQ(a.AddImageItem()->GetItemLabel(), wxS("Add Image\tCtrl+Ins"));
    EXPECT_EQ(a.DeleteItem()->GetItemLabel(), wxS("Delete\tCtrl+Del"));
    EXPECT_EQ(a.RunItem()->GetItemLabel(), wxS("Run animation\tCtrl+P"));

    wxMenu* help = frame->GetMenuBar()->GetMenu(3);
    ASSERT_EQ(help->GetMenuItemCount(), 6u);
    EXPECT_EQ(help->FindItemByPosition(0)->GetItemLabelText(), wxS("Help"));
    EXPECT_EQ(help->FindItemByPosition(1)->GetItemLabelText(), wxS("Keyboard Shortcuts"));
    EXPECT_EQ(help->FindItemByPosition(2)->GetSubMenu(), a.LanguageMenu());
    EXPECT_EQ(help->FindItemByPosition(3)->GetItemLabelText(), wxS("Support"));
    EXPECT_EQ(help->FindItemByPosition(4)->GetItemLabelText(), wxS("Check for Update"));
    EXPECT_EQ(help->FindItemByPosition(5)->GetItemLabelText(), wxS("About"));

    const int codes[] = {46, 47, 89, 58, 80, 110, 112};
    ASSERT_EQ(a.LanguageMenu()->GetMenuItemCount(), 7u);
    for (size_t i = 0; i < 7; ++i)
    {
        wxMenuItem* item = a.LanguageMenu()->FindItemByPosition(i);
        EXPECT_EQ(item->GetId(), codes[i]);
        EXPECT_TRUE(item->IsCheckable());
    }
    EXPECT_EQ(a.LanguageMenu()->FindItemByPosition(2)->GetItemLabelText(), wxS("Deutsch"));
    EXPECT_EQ(a.LanguageMenu()->FindItemByPosition(4)->GetItemLabelText(),
              wxString::FromUTF8("Fran\xC3\xA7"
                                 "ais"));
}

TEST_F(StartupTest, WindowIsSetUp)
{
    const GifFrameTestAccess a = Access();
    EXPECT_EQ(frame->GetTitle(), wxS("Corvanel Loopforge"));
    EXPECT_EQ(a.StatusBar()->GetFieldsCount(), 3);
    ASSERT_NE(a.Strip(), nullptr);
    EXPECT_EQ(a.Strip()->GetParent(), a.TopPanel());
    EXPECT_EQ(a.Strip()->GetId(), ID_THUMBNAIL_CTRL);
    EXPECT_EQ(a.Strip()->GetBackgroundColour(), wxColour(176, 223, 227));
    EXPECT_EQ(a.Strip()->GetCount(), 0);
    EXPECT_TRUE(frame->GetIcon().IsOk());
    EXPECT_EQ(a.Timer().GetId(), 1);
    EXPECT_FALSE(a.Playing());
}

TEST_F(StartupTest, ClosingAnEmptyWindowDestroysIt)
{
    wxWeakRef<wxFrame> ref(frame);
    EXPECT_TRUE(frame->Close());
    frame = nullptr;
    EXPECT_TRUE(WaitFor([&] { return !ref; }));
}

TEST_F(StartupTest, ExitItemClosesLikeTheCloseButton)
{
    wxWeakRef<wxFrame> ref(frame);
    wxCommandEvent exit = Command(ID_MENU_EXIT);
    frame->ProcessWindowEvent(exit);
    frame = nullptr;
    EXPECT_TRUE(WaitFor([&] { return !ref; }));
}

// A resource without one of the controls the window needs is reported by name.
TEST(StartupFailure, MissingControlIsNamed)
{
    const char* xrc =
        "<?xml version=\"1.0\"?><resource xmlns=\"http://www.wxwidgets.org/wxxrc\">"
        "<object class=\"wxFrame\" name=\"MyFrame1\">"
        "<object class=\"wxPanel\" name=\"m_panel_top\"/>"
        "<object class=\"wxButton\" name=\"m_panel_down\"><label>x</label></object>"
        "</object></resource>";
    wxXmlResource resource;
    resource.InitAllHandlers();
    wxXmlDocument* doc = new wxXmlDocument;
    wxStringInputStream stream(wxString::FromUTF8(xrc));
    ASSERT_TRUE(doc->Load(stream));
    ASSERT_TRUE(resource.LoadDocument(doc, wxS("broken")));
    wxXmlResource* previous = wxXmlResource::Set(&resource);
    wxString error;
    GifFrame* frame = CreateMainFrame(&error);
    wxXmlResource::Set(previous);
    EXPECT_EQ(frame, nullptr);
    EXPECT_NE(error.Find(wxS("m_splitter3")), wxNOT_FOUND) << error.utf8_string();
    EXPECT_NE(error.Find(wxS("m_panel_down (a wxButton, not a wxPanel)")), wxNOT_FOUND)
        << error.utf8_string();
    EXPECT_NE(error.Find(wxS("m_toolBar_button")), wxNOT_FOUND) << error.utf8_string();
    EXPECT_EQ(error.Find(wxS("m_panel_top")), wxNOT_FOUND) << error.utf8_string();
    Settle(10);
}

TEST(StartupFailure, MissingResourceIsReported)
{
    wxXmlResource empty;
    wxXmlResource* previous = wxXmlResource::Set(&empty);
    wxString error;
    GifFrame* frame = CreateMainFrame(&error);
    wxXmlResource::Set(previous);
    EXPECT_EQ(frame, nullptr);
    EXPECT_NE(error.Find(wxS("MyFrame1")), wxNOT_FOUND);
}

// The strip keeps the share of the window the user set with the sash: the
// next start gives it again, and a taller window gives the strip its part.
TEST_F(StartupTest, TheStripKeepsTheShareSetWithTheSash)
{
    const auto splitter = [this]
    { return wxDynamicCast(frame->FindWindow(XRCID("m_splitter3")), wxSplitterWindow); };
    const int height = splitter()->GetClientSize().y;
    splitter()->SetSashPosition(height / 2);
    wxSplitterEvent moved(wxEVT_SPLITTER_SASH_POS_CHANGED, splitter());
    moved.SetSashPosition(height / 2);
    splitter()->ProcessWindowEvent(moved);

    frame->Destroy();
    Settle(10);
    MainWindowTest::SetUp();
    EXPECT_NEAR(splitter()->GetSashPosition(), splitter()->GetClientSize().y / 2, 2);
    frame->SetSize(frame->GetSize() + wxSize(0, 200));
    ASSERT_TRUE(WaitFor([&] { return splitter()->GetClientSize().y >= height + 150; }));
    Settle(50);
    EXPECT_NEAR(splitter()->GetSashPosition(), splitter()->GetClientSize().y / 2, 3);
    wxRemoveFile(GetWindowSettingsFilePath());
}
