#ifndef LOOPFORGE_TESTS_FAKE_OPENER_H
#define LOOPFORGE_TESTS_FAKE_OPENER_H

// Puts a stand-in for the desktop's opener (xdg-open) first in PATH while it
// lives; it appends each address or folder it is asked to open to a log.
#include "temp_dir.h"

#include <wx/filename.h>
#include <wx/utils.h>

#include <string>

class FakeOpener
{
public:
    // afterRecording: more shell lines the opener runs once it has logged.
    explicit FakeOpener(const std::string& afterRecording = std::string())
    {
        const wxString opener = m_bin.File(wxS("xdg-open"));
        WriteFileBytes(
            opener, "#!/bin/sh\necho \"$1\" >> '" + Log().utf8_string() + "'\n" + afterRecording);
        wxFileName(opener).SetPermissions(wxPOSIX_USER_READ | wxPOSIX_USER_EXECUTE);
        wxGetEnv(wxS("PATH"), &m_path);
        wxSetEnv(wxS("PATH"), m_bin.Path() + wxS(":") + m_path);
    }
    ~FakeOpener() { wxSetEnv(wxS("PATH"), m_path); }
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;

    wxString Log() const { return m_bin.File(wxS("opened.txt")); }
    // What the opener was asked to open, a line each.
    wxString Opened() const { return wxString::FromUTF8(ReadFileBytes(Log())); }

private:
    TempDir m_bin;
    wxString m_path;
};

#endif
