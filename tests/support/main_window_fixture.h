#ifndef LOOPFORGE_TESTS_MAIN_WINDOW_FIXTURE_H
#define LOOPFORGE_TESTS_MAIN_WINDOW_FIXTURE_H

// A fixture that builds the real main window from the staged resources, with
// a folder for the pictures its frames come from and helpers to drive it.
#include "app/paths.h"
#include "app/startup.h"
#include "frame_factory.h"
#include "gifframe_test_access.h"
#include "gui_test_support.h"
#include "temp_dir.h"

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include <string>
#include <vector>

class MainWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The program's own resources, as the build staged them.
        SetProgramPath(wxS(LF_STAGE_DIR "/bin/loopforge"));
        if (!s_resourcesLoaded)
        {
            LoadThemeResources(wxS(LF_STAGE_DIR));
            s_resourcesLoaded = true;
        }
    }

    void SetUp() override
    {
        wxString error;
        frame = CreateMainFrame(&error);
        ASSERT_NE(frame, nullptr) << error.utf8_string();
        frame->Show();
        Settle();
    }

    void TearDown() override
    {
        if (frame)
        {
            // A worker posts to the window until its last event is handled.
            EXPECT_TRUE(WaitForWorker(60000));
            frame->Destroy();
            Settle(10);
        }
    }

    GifFrameTestAccess Access() const { return GifFrameTestAccess(frame); }
    bool ToolEnabled(const char* name) const
    {
        return Access().ToolBar()->GetToolEnabled(XRCID(name));
    }
    wxString Status(int field) const { return Access().StatusBar()->GetStatusText(field); }
    wxSize SpinSize() const
    {
        return wxSize(Access().WidthSpin()->GetValue(), Access().HeightSpin()->GetValue());
    }
    static wxCommandEvent Command(int id) { return wxCommandEvent(wxEVT_MENU, id); }

    std::vector<wxString> MenuTitles() const
    {
        std::vector<wxString> titles;
        for (size_t i = 0; i < frame->GetMenuBar()->GetMenuCount(); ++i)
            titles.push_back(frame->GetMenuBar()->GetMenuLabelText(i));
        return titles;
    }

    // Types a value into a spin control as a user would: the control's text
    // event reaches the window through its own binding.
    void Type(wxSpinCtrl* spin, int value)
    {
        spin->SetValue(value);
        wxCommandEvent typed(wxEVT_TEXT, spin->GetId());
        typed.SetEventObject(spin);
        spin->ProcessWindowEvent(typed);
    }

    // Appends a frame of a solid picture of that size, with a file of its own
    // (f0.png, f1.png, ... by strip position), as a finished import leaves it.
    void AddFrame(const wxSize& size, const wxColour& colour = *wxRED)
    {
        const wxString name = wxString::Format(wxS("f%d.png"), Access().Strip()->GetCount());
        const wxString path = WritePng(dir, name, size.x, size.y, colour);
        ASSERT_GE(AppendFrame(frame, path, SolidImage(size.x, size.y, colour)), 0);
    }
    void AddFrames(int n, const wxSize& size = wxSize(40, 30))
    {
        for (int i = 0; i < n; ++i)
            AddFrame(size);
        frame->EnableFrameCommands();
        frame->UpdateCanvasSize();
    }

    bool WaitForWorker(long timeoutMs = 30000)
    {
        return WaitFor([this] { return !frame->IsWorkerRunning(); }, timeoutMs);
    }

    // Imports the paths on the import thread and waits for the end.
    void Import(const wxArrayString& paths)
    {
        ASSERT_TRUE(frame->ImportFiles(paths));
        ASSERT_TRUE(WaitForWorker());
    }

    // Whether every command that needs frames (items, tools and spins) is in
    // the state; the failure names those that are not. The spins' own state
    // counts: a disabled window reports every child disabled.
    ::testing::AssertionResult FrameCommandsAre(bool enabled) const
    {
        const GifFrameTestAccess a = Access();
        const wxMenuBar* bar = frame->GetMenuBar();
        const std::pair<const char*, bool> states[] = {
            {"Save", a.SaveItem()->IsEnabled()},
            {"Save As", a.SaveAsItem()->IsEnabled()},
            {"Save Project", a.SaveProjectItem()->IsEnabled()},
            {"Delete", a.DeleteItem()->IsEnabled()},
            {"Clear All", a.ClearAllItem()->IsEnabled()},
            {"Run", a.RunItem()->IsEnabled()},
            {"Loop Count", a.LoopCountItem()->IsEnabled()},
            {"Move Left", bar->IsEnabled(ID_MENU_MOVE_LEFT)},
            {"Move Right", bar->IsEnabled(ID_MENU_MOVE_RIGHT)},
            {"Frame Delay", bar->IsEnabled(ID_MENU_FRAME_DELAY)},
            {"delete tool", ToolEnabled("m_tool_delete")},
            {"play tool", ToolEnabled("m_tool_play")},
            {"delay spin", a.DelaySpin()->IsThisEnabled()},
            {"width spin", a.WidthSpin()->IsThisEnabled()},
            {"height spin", a.HeightSpin()->IsThisEnabled()}};
        std::string wrong;
        for (const auto& [name, state] : states)
            if (state != enabled)
                wrong += std::string(wrong.empty() ? "" : ", ") + name;
        if (wrong.empty())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << (enabled ? "disabled: " : "enabled: ") << wrong;
    }

    TempDir dir;
    GifFrame* frame = nullptr;
    static inline bool s_resourcesLoaded = false;
};

#endif
