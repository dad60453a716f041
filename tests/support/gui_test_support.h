#ifndef LOOPFORGE_TESTS_GUI_TEST_SUPPORT_H
#define LOOPFORGE_TESTS_GUI_TEST_SUPPORT_H

// Shared helpers of the window tests: a modal hook that reports through
// GoogleTest, a file-dialog expectation for wxGTK, and waiting for effects.

#include <gtest/gtest.h>

#include "wx_printers.h"

#define wxTEST_DIALOG_HOOK_CLASS GTestModalHook
#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/stopwatch.h>
#include <wx/testing.h>
#include <wx/utils.h>

#include <functional>

class GTestModalHook : public wxTestingModalHook
{
public:
    GTestModalHook(const char* file, int line, const char* func)
        : wxTestingModalHook(file, line, func), m_file(file), m_line(line)
    {
    }

protected:
    int Enter(wxDialog* dlg) override
    {
        const int rc = wxTestingModalHook::Enter(dlg);
        return rc == wxID_NONE ? wxID_CANCEL : rc;
    }
    void ReportFailure(const wxString& msg) override
    {
        ADD_FAILURE_AT(m_file, m_line) << msg.utf8_string();
    }

private:
    const char* m_file;
    int m_line;
};

// The hook of the whole run that cancels the dialogs no test expected; a test
// that lets a dialog really show takes it out for that time.
inline GTestModalHook*& StrayDialogHook()
{
    static GTestModalHook* hook = nullptr;
    return hook;
}

// Answers a file dialog with a path (wxGTK reads the path back
// asynchronously) or another button. Shows() adds a check of what the chooser
// offers: its title, file types and style.
class ExpectFileDialog : public wxExpectModalBase<wxFileDialog, ExpectFileDialog>
{
public:
    explicit ExpectFileDialog(const wxString& path, int id = wxID_OK) : m_path(path), m_id(id) {}

    ExpectFileDialog Shows(const wxString& title, const wxString& wildcard, long style) const
    {
        ExpectFileDialog e(*this);
        e.m_title = title;
        e.m_wildcard = wildcard;
        e.m_style = style;
        return e;
    }

protected:
    int OnInvoked(wxFileDialog* dlg) const override
    {
        if (m_style != 0)
        {
            const long chooserStyles = wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT |
                                       wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE;
            EXPECT_EQ(dlg->GetMessage(), m_title);
            EXPECT_EQ(dlg->GetWildcard(), m_wildcard);
            EXPECT_EQ(dlg->GetWindowStyle() & chooserStyles, m_style) << m_title.utf8_string();
        }
        if (m_id == wxID_OK)
        {
            dlg->SetPath(m_path);
            for (wxStopWatch sw; dlg->GetPath() != m_path && sw.Time() < 5000;)
                wxYield();
            EXPECT_EQ(dlg->GetPath(), m_path);
        }
        return m_id;
    }

private:
    wxString m_path;
    int m_id;
    wxString m_title;
    wxString m_wildcard;
    long m_style = 0;
};

// Runs the event loop until the condition holds or the time-out passes.
inline bool WaitFor(const std::function<bool()>& condition, long timeoutMs = 5000)
{
    for (wxStopWatch sw; sw.Time() < timeoutMs;)
    {
        if (condition())
            return true;
        wxTheApp->Yield(true);
        wxMilliSleep(5);
    }
    return condition();
}

// Processes pending events for a short while (lets GTK settle).
inline void Settle(long ms = 50)
{
    for (wxStopWatch sw; sw.Time() < ms;)
    {
        wxTheApp->Yield(true);
        wxMilliSleep(2);
    }
}

#endif
