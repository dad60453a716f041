#ifndef LOOPFORGE_TESTS_EDITING_FIXTURE_H
#define LOOPFORGE_TESTS_EDITING_FIXTURE_H

// The real main window with helpers for its frame and file commands: the
// strip's names, GIF files to choose, the progress dialogs of its workers and
// closing while they run.
#include "dialog_expectations.h"
#include "gif_files.h"
#include "gtk_answers.h"
#include "jobs/threadevent.h"
#include "main_window_fixture.h"

#include <wx/progdlg.h>

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
        std::vector<wxImage> frames;
        for (const wxColour& colour : colours)
            frames.push_back(SolidImage(size, size, colour));
        const wxString path = dir.File(name);
        ExportFrames(frames, path);
        return path;
    }

    // Records the value of the worker's progress dialog after each of its
    // events the window handles; -1 once the dialog is gone.
    void RecordProgress(int workerId, std::vector<int>* seen)
    {
        frame->Bind(
            wxEVT_THREAD_UPDATE,
            [this, workerId, seen](wxCommandEvent& event)
            {
                const bool import = workerId == ID_IMAGE_THREAD;
                import ? frame->ThreadUpdate(event) : frame->WorkSaveAsGifThreadUpdate(event);
                wxProgressDialog* dialog =
                    import ? Access().ImportProgress() : Access().ExportProgress();
                seen->push_back(dialog ? dialog->GetValue() : -1);
            },
            workerId);
    }

    // Presses Cancel in the import's progress dialog while frames wait for
    // the window: with no event let through, the import thread stops once a
    // few pictures are on their way, so the import cannot end first however
    // fast it runs.
    void CancelImportWhilePicturesWait()
    {
        wxMilliSleep(300);
        wxProgressDialog* dialog = Access().ImportProgress();
        ASSERT_NE(dialog, nullptr);
        wxWindow* cancel = dialog->FindWindow(wxID_CANCEL);
        ASSERT_NE(cancel, nullptr);
        wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
        click.SetEventObject(cancel);
        cancel->GetEventHandler()->ProcessEvent(click);
    }

    // Whether any progress dialog is still on screen.
    static bool ProgressDialogShown()
    {
        for (wxWindow* window : wxTopLevelWindows)
            if (wxDynamicCast(window, wxGenericProgressDialog) && window->IsShown() &&
                !window->IsBeingDeleted())
                return true;
        return false;
    }

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

    bool m_destroyed = false;
};

#endif
