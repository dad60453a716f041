// The crash report's parts; the whole report from a real crash is checked by
// tests/scripts/test_crash_report.sh.
#include "app/crashreport.h"
#include "fake_opener.h"
#include "gui_test_support.h"

#include <wx/datetime.h>
#include <wx/tokenzr.h>

TEST(CrashReport, TimestampIsTheIsoDateAndTime)
{
    const wxDateTime when(1, wxDateTime::May, 2014, 13, 45, 10);
    EXPECT_EQ(CrashTimestampText(when), wxS("2014-05-01 13:45:10"));
    EXPECT_EQ(CrashTimestampText(wxDateTime(31, wxDateTime::Dec, 2026, 0, 0, 0)),
              wxS("2026-12-31 00:00:00"));
}

TEST(CrashReport, MessageHasTheFolderAloneOnItsThirdLine)
{
    const auto lines = [](const wxString& folder)
    { return wxStringTokenize(CrashReportMessage(folder), wxS("\n"), wxTOKEN_RET_EMPTY_ALL); };
    const wxString folder = wxS("/tmp/loopforge_dbgrpt-42-20140501T134510");
    ASSERT_EQ(lines(folder).size(), 4u);
    EXPECT_EQ(lines(folder)[0], wxS("Application have crashed due to some unknown reasons,"));
    EXPECT_EQ(lines(folder)[2], folder);
    // The folder is put in as it is, even when it holds a format sequence.
    EXPECT_EQ(lines(wxS("/tmp/100%s d"))[2], wxS("/tmp/100%s d"));
}

TEST(CrashReport, OpenFolderDoesNotWaitForTheFileManager)
{
    FakeOpener opener("sleep 3\necho finished >> \"$0.log\"\n");
    OpenFolderInShell(wxS("/tmp/some folder"));
    // The opener has not finished when the call returns, yet it was started.
    EXPECT_FALSE(wxFileExists(opener.Log().BeforeLast('/') + wxS("/xdg-open.log")));
    EXPECT_TRUE(WaitFor([&opener] { return opener.Opened().EndsWith(wxS("\n")); }));
    EXPECT_EQ(opener.Opened(), wxS("/tmp/some folder\n"));
}
