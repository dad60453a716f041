#ifndef LOOPFORGE_TESTS_MAIN_WINDOW_FIXTURE_H
#define LOOPFORGE_TESTS_MAIN_WINDOW_FIXTURE_H

// A fixture that builds the real main window from the staged resources.
#include "app/paths.h"
#include "app/startup.h"
#include "gifframe_test_access.h"
#include "gui_test_support.h"

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

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
            EXPECT_TRUE(WaitFor([this] { return !frame->IsWorkerRunning(); }, 60000));
            frame->Destroy();
            Settle(10);
        }
    }

    GifFrameTestAccess Access() const { return GifFrameTestAccess(frame); }
    bool ToolEnabled(const char* name) const
    {
        return Access().ToolBar()->GetToolEnabled(XRCID(name));
    }

    GifFrame* frame = nullptr;
    static inline bool s_resourcesLoaded = false;
};

#endif
