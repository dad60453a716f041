// Test entry for the window tests: starts the toolkit with a display (run
// under Xvfb), turns toolkit assertions into test failures and cancels any
// modal dialog a test did not expect instead of hanging.
#include "app/language.h"
#include "assert_to_failure.h"
#include "gui_test_support.h"
#include "temp_dir.h"

#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

class TestApp : public wxApp
{
public:
    bool OnInit() override { return true; }
};
wxIMPLEMENT_APP_NO_MAIN(TestApp);

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    wxSetAssertHandler(AssertToFailure);
    wxEntryStart(argc, argv);  // needs $DISPLAY: run under xvfb-run
    if (!wxTheApp || !wxTheApp->CallOnInit())
    {
        fprintf(stderr, "lf_gui_tests: the toolkit could not start (no display?)\n");
        wxEntryCleanup();
        return 1;
    }
    // Log messages go to stderr, never to a message box that would wait.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    int rc;
    {
        // Every main window reads and writes the language file: keep it out
        // of the real user's documents folder.
        TempDir documents;
        SetDocumentsDirOverride(documents.Path());
        // The tests pump events themselves, as a running program's main loop
        // would. Without an active loop a progress dialog installs one of its
        // own and deletes it with itself, possibly in the middle of a Yield.
        wxEventLoop loop;
        wxEventLoopActivator activeLoop(&loop);
        GTestModalHook noStrayDialogs(__FILE__, __LINE__, "main");
        StrayDialogHook() = &noStrayDialogs;
        rc = RUN_ALL_TESTS();
        SetDocumentsDirOverride(wxString());
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}
