#include "app/crashreport.h"
#include "dialog_expectations.h"
#include "language_window_fixture.h"

#include <wx/datetime.h>
#include <wx/dir.h>
#include <wx/ffile.h>
#include <wx/tokenzr.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <memory>
#include <set>

namespace
{
wxString ReadText(const wxString& path)
{
    wxString text;
    wxFFile file(path, wxS("rb"));
    if (file.IsOpened())
        file.ReadAll(&text, wxConvUTF8);
    return text;
}

// Puts a stand-in for the desktop's opener first in PATH while it lives.
class FakeOpener
{
public:
    explicit FakeOpener(const std::string& afterRecording = std::string())
    {
        WriteBytes(m_bin.File(wxS("xdg-open")),
                   "#!/bin/sh\necho \"$1\" >> '" + Log().utf8_string() + "'\n" + afterRecording);
        wxFileName(m_bin.File(wxS("xdg-open")))
            .SetPermissions(wxPOSIX_USER_READ | wxPOSIX_USER_EXECUTE);
        wxGetEnv(wxS("PATH"), &m_path);
        wxSetEnv(wxS("PATH"), m_bin.Path() + wxS(":") + m_path);
    }
    ~FakeOpener() { wxSetEnv(wxS("PATH"), m_path); }

    wxString Log() const { return m_bin.File(wxS("opened.txt")); }

private:
    TempDir m_bin;
    wxString m_path;
};

wxArrayString Lines(const wxString& text)
{
    return wxStringTokenize(text, wxS("\n"), wxTOKEN_RET_EMPTY_ALL);
}
}  // namespace

TEST(CrashReport, TimestampIsTheIsoDateAndTime)
{
    const wxDateTime when(1, wxDateTime::May, 2014, 13, 45, 10);
    EXPECT_EQ(CrashTimestampText(when), wxS("2014-05-01 13:45:10"));
    EXPECT_EQ(CrashTimestampText(wxDateTime(31, wxDateTime::Dec, 2026, 0, 0, 0)),
              wxS("2026-12-31 00:00:00"));
}

TEST(CrashReport, MessageHasTheFolderAloneOnItsThirdLine)
{
    const wxString folder = wxS("/tmp/loopforge_dbgrpt-42-20140501T134510");
    const wxArrayString lines = Lines(CrashReportMessage(folder));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], wxS("Application have crashed due to some unknown reasons,"));
    EXPECT_EQ(lines[2], folder);
    // The folder is put in as it is, even when it holds a format sequence.
    EXPECT_EQ(Lines(CrashReportMessage(wxS("/tmp/100%s d"))).Item(2), wxS("/tmp/100%s d"));
}

TEST(CrashReport, OpenFolderDoesNotWaitForTheFileManager)
{
    FakeOpener opener("sleep 3\necho finished >> '$0.log'\n");
    OpenFolderInShell(wxS("/tmp/some folder"));
    // The opener has not finished when the call returns, yet it was started.
    EXPECT_FALSE(wxFileExists(opener.Log().BeforeLast('/') + wxS("/xdg-open.log")));
    EXPECT_TRUE(WaitFor([&opener] { return wxFileExists(opener.Log()); }));
    Settle(50);
    EXPECT_EQ(ReadText(opener.Log()), wxS("/tmp/some folder\n"));
}

TEST(CrashReport, BuildsTheReportTellsTheUserAndKeepsTheFolder)
{
    FakeOpener opener;
    TempDir temp;
    wxString oldTemp;
    const bool hadTemp = wxGetEnv(wxS("TMPDIR"), &oldTemp);
    wxSetEnv(wxS("TMPDIR"), temp.Path());

    const wxDateTime before = wxDateTime::Now();
    ShownMessage shown;
    wxTEST_DIALOG(BuildCrashReport(), ExpectMessage(&shown));
    hadTemp ? wxSetEnv(wxS("TMPDIR"), oldTemp) : wxUnsetEnv(wxS("TMPDIR"));

    wxArrayString folders;
    wxDir dir(temp.Path());
    wxString name;
    for (bool more = dir.GetFirst(&name, wxEmptyString, wxDIR_DIRS); more;
         more = dir.GetNext(&name))
        folders.push_back(temp.File(name));
    ASSERT_EQ(folders.size(), 1u);
    const wxString folder = folders[0];

    EXPECT_EQ(shown.count, 1);
    ASSERT_GE(Lines(shown.message).size(), 3u);
    EXPECT_EQ(Lines(shown.message)[2], folder);
    EXPECT_EQ(shown.style & (wxOK | wxCENTRE | wxYES_NO), wxOK | wxCENTRE);

    const wxString stamp = ReadText(folder + wxS("/timestamp.my"));
    ASSERT_EQ(stamp.length(), 19u) << stamp.utf8_string();
    wxDateTime when;
    wxString::const_iterator end;
    ASSERT_TRUE(when.ParseFormat(stamp, wxS("%Y-%m-%d %H:%M:%S"), &end));
    EXPECT_TRUE(end == stamp.end());
    EXPECT_LE((when - before).GetSeconds().ToLong(), 60);
    EXPECT_GE((when - before).GetSeconds().ToLong(), -1);

    // The zip sits in the report folder and holds the report's files.
    const wxString appName = wxTheApp->GetAppName();
    wxArrayString files;
    wxDir::GetAllFiles(folder, &files);
    const std::string listing = wxJoin(files, ' ').utf8_string();
    wxArrayString zips;
    wxDir::GetAllFiles(folder, &zips, wxS("*.zip"));
    ASSERT_EQ(zips.size(), 1u) << listing;
    const wxString zip = zips[0];
    EXPECT_TRUE(wxFileExists(folder + wxS("/") + appName + wxS(".xml"))) << listing;
    wxFFileInputStream file(zip);
    wxZipInputStream archive(file);
    std::set<wxString> entries;
    for (std::unique_ptr<wxZipEntry> entry(archive.GetNextEntry()); entry;
         entry.reset(archive.GetNextEntry()))
        entries.insert(entry->GetName());
    EXPECT_EQ(entries.count(wxS("timestamp.my")), 1u);
    EXPECT_EQ(entries.count(appName + wxS(".xml")), 1u);

    EXPECT_TRUE(WaitFor([&opener] { return wxFileExists(opener.Log()); }));
    Settle(50);
    EXPECT_EQ(ReadText(opener.Log()), folder + wxS("\n"));
}
