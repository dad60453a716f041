#include "app/crashreport.h"

#include "window/translatedbuttons.h"

#include <wx/datetime.h>
#include <wx/debugrpt.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/thread.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace
{
const char* const kTimestampFileName = "timestamp.my";

bool WriteTimestamp(const wxString& path)
{
    FILE* file = wxFopen(path, wxS("w"));
    if (!file)
        return false;
    const std::string text = CrashTimestampText(wxDateTime::Now()).utf8_string();
    const bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    return fclose(file) == 0 && written;
}
}  // namespace

wxString CrashTimestampText(const wxDateTime& when)
{
    return when.FormatISODate() + wxS(" ") + when.FormatISOTime();
}

wxString CrashReportMessage(const wxString& folder)
{
    wxString message =
        _("Application have crashed due to some unknown reasons,\nPlease email the "
          "zip crashing report file that is generated in \n%s\n to us.");
    message.Replace(wxS("%s"), folder);
    return message;
}

void OpenFolderInShell(const wxString& folder)
{
    // Runs while the program goes down, possibly inside a signal handler:
    // a plain fork and exec, and a grandchild so that nothing waits for the
    // file manager and no zombie is left.
    const wxCharBuffer path = folder.fn_str();
    const pid_t child = fork();
    if (child == 0)
    {
        if (fork() == 0)
        {
            execlp("xdg-open", "xdg-open", path.data(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    if (child > 0)
        waitpid(child, nullptr, 0);
}

void BuildCrashReport()
{
    wxDebugReportCompress* report = new wxDebugReportCompress;
    if (!report->IsOk())
    {
        // No report folder could be made: there is nothing to tell about.
        delete report;
        return;
    }
    report->AddAll(wxDebugReport::Context_Exception);

    const wxString folder = report->GetDirectory();
    const bool stamped = WriteTimestamp(wxFileName(folder, kTimestampFileName).GetFullPath());
    report->SetCompressedFileDirectory(folder);
    // A missing file would make the toolkit give up the whole zip.
    if (stamped)
        report->AddFile(kTimestampFileName, wxS("timestamp of this report"));

    const wxString message = CrashReportMessage(folder);
    if (report->Process())
    {
        // Also for a user who started the program from a terminal.
        std::cerr << message.utf8_string() << std::endl;
        // A crash on a worker thread must not touch the windows.
        if (wxIsMainThread())
            ShowMessageBox(nullptr, message, wxMessageBoxCaptionStr, wxOK | wxCENTRE);
        OpenFolderInShell(folder);
        // Keeps the folder with its files and the zip on disk.
        report->Reset();
    }
    delete report;
}
