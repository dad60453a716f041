#ifndef LOOPFORGE_TESTS_EDITING_FIXTURE_H
#define LOOPFORGE_TESTS_EDITING_FIXTURE_H

// The real main window with picture files on disk and helpers to drive its
// frame commands and wait for its workers.
#include "dialog_expectations.h"
#include "frame_factory.h"
#include "gtk_answers.h"
#include "main_window_fixture.h"
#include "work/gifexport.h"

#include <wx/progdlg.h>

#include <string>
#include <vector>

class EditingWindowTest : public MainWindowTest
{
protected:
    wxThumbnailCtrl* Strip() const { return Access().Strip(); }

    wxImageThumbnailItem* Item(int n) const
    {
        return wxDynamicCast(Strip()->GetItem(n), wxImageThumbnailItem);
    }

    // The file-name parts of the strip's items, in strip order.
    std::vector<wxString> Names() const
    {
        std::vector<wxString> names;
        for (int i = 0; i < Strip()->GetCount(); ++i)
            names.push_back(wxFileNameFromPath(Strip()->GetItem(i)->GetFilename()));
        return names;
    }

    // A sub-folder of the test folder, for files a chooser picks together.
    wxString MakeFolder(const wxString& name)
    {
        const wxString path = dir.File(name);
        wxFileName::Mkdir(path, 0700, wxPATH_MKDIR_FULL);
        return path;
    }

    // Writes a looping GIF whose frames are solid squares of the colours.
    wxString WriteAnimatedGif(const wxString& name, const std::vector<wxColour>& colours,
                              int size = 24)
    {
        std::vector<wxImage> images;
        for (const wxColour& colour : colours)
            images.push_back(SolidImage(size, size, colour));
        std::vector<const wxImage*> frames;
        for (const wxImage& image : images)
            frames.push_back(&image);
        const wxString path = dir.File(name);
        EXPECT_TRUE(ExportGif(frames, path, 10, size, size).ok);
        return path;
    }

    // Puts frames f0.png ... into the strip as a finished import leaves them.
    void AddFrames(int n, const wxSize& size = wxSize(40, 30))
    {
        for (int i = 0; i < n; ++i)
        {
            const wxString path =
                WritePng(dir, wxString::Format(wxS("f%d.png"), i), size.x, size.y);
            ASSERT_GE(AppendFrame(Strip(), path, SolidImage(size.x, size.y, *wxRED)), 0);
        }
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

    static wxCommandEvent Command(int id) { return wxCommandEvent(wxEVT_MENU, id); }

    // Whether any progress dialog is still on screen.
    static bool ProgressDialogShown()
    {
        for (wxWindow* window : wxTopLevelWindows)
            if (wxDynamicCast(window, wxGenericProgressDialog) && window->IsShown() &&
                !window->IsBeingDeleted())
                return true;
        return false;
    }

    // The spins' own state: a disabled window reports every child disabled.
    bool FrameCommandsEnabled() const
    {
        return Access().SaveItem()->IsEnabled() && Access().SaveAsItem()->IsEnabled() &&
               Access().DeleteItem()->IsEnabled() && Access().ClearAllItem()->IsEnabled() &&
               Access().RunItem()->IsEnabled() && Access().LoopCountItem()->IsEnabled() &&
               Access().SaveProjectItem()->IsEnabled() && ToolEnabled("m_tool_delete") &&
               ToolEnabled("m_tool_play") && Access().DelaySpin()->IsThisEnabled() &&
               Access().WidthSpin()->IsThisEnabled() && Access().HeightSpin()->IsThisEnabled();
    }
    bool FrameCommandsDisabled() const
    {
        return !Access().SaveItem()->IsEnabled() && !Access().SaveAsItem()->IsEnabled() &&
               !Access().DeleteItem()->IsEnabled() && !Access().ClearAllItem()->IsEnabled() &&
               !Access().RunItem()->IsEnabled() && !Access().LoopCountItem()->IsEnabled() &&
               !Access().SaveProjectItem()->IsEnabled() && !ToolEnabled("m_tool_delete") &&
               !ToolEnabled("m_tool_play") && !Access().DelaySpin()->IsThisEnabled() &&
               !Access().WidthSpin()->IsThisEnabled() && !Access().HeightSpin()->IsThisEnabled();
    }

    wxString Status(int field) const { return Access().StatusBar()->GetStatusText(field); }

    // Closes the window as the window manager would and waits until it is
    // gone, answering the unsaved-project question with No if it comes.
    bool CloseAndWaitForDestruction()
    {
        frame->Bind(wxEVT_DESTROY,
                    [this](wxWindowDestroyEvent& event)
                    {
                        if (event.GetEventObject() == frame)
                            m_destroyed = true;
                        event.Skip();
                    });
        const auto closeAndWait = [this]
        {
            frame->Close();
            EXPECT_FALSE(frame->IsBeingDeleted()) << "closed while its worker runs";
            WaitFor([this] { return m_destroyed; }, 60000);
        };
        ShownMessage unsavedProject;
        wxTEST_DIALOG(closeAndWait(), ExpectMessage(&unsavedProject, wxID_NO).Optional());
        if (m_destroyed)
            frame = nullptr;
        return m_destroyed;
    }

    TempDir dir;
    bool m_destroyed = false;
};

#endif
