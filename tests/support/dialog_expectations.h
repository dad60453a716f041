#ifndef LOOPFORGE_TESTS_DIALOG_EXPECTATIONS_H
#define LOOPFORGE_TESTS_DIALOG_EXPECTATIONS_H

// Expectations for wxTEST_DIALOG that check or record what a dialog showed.
#include "gui_test_support.h"

#include <wx/msgdlg.h>

#include <functional>

// What a message box showed.
struct ShownMessage
{
    int count = 0;
    wxString message;
    wxString caption;
    long style = 0;
};

// Records a message box into a ShownMessage and answers it.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage>
{
public:
    explicit ExpectMessage(ShownMessage* shown, int answer = wxID_OK)
        : m_shown(shown), m_answer(answer)
    {
    }

protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        ++m_shown->count;
        m_shown->message = dialog->GetMessage();
        m_shown->caption = dialog->GetCaption();
        m_shown->style = dialog->GetMessageDialogStyle();
        return m_answer;
    }

private:
    ShownMessage* m_shown;
    int m_answer;
};

// Answers a message box and checks its caption and (part of) its text; can
// hand the whole text back for further checks.
class AnswerMessage : public wxExpectModalBase<wxMessageDialog, AnswerMessage>
{
public:
    AnswerMessage(int answer, const wxString& caption, const wxString& containing = wxString(),
                  wxString* seenMessage = nullptr)
        : m_answer(answer), m_caption(caption), m_containing(containing), m_seen(seenMessage)
    {
    }

protected:
    int OnInvoked(wxMessageDialog* dlg) const override
    {
        EXPECT_EQ(dlg->GetCaption(), m_caption) << dlg->GetMessage().utf8_string();
        if (!m_containing.empty())
        {
            EXPECT_NE(dlg->GetMessage().Find(m_containing), wxNOT_FOUND)
                << dlg->GetMessage().utf8_string();
        }
        if (m_seen)
            *m_seen = dlg->GetMessage();
        return m_answer;
    }

    wxString GetDefaultDescription() const override
    {
        return wxS("message box \"") + m_caption + wxS("\"");
    }

private:
    int m_answer;
    wxString m_caption;
    wxString m_containing;
    wxString* m_seen;
};

// Hands a shown dialog to a function, then closes it with OK.
class InspectDialog : public wxExpectModalBase<wxDialog, InspectDialog>
{
public:
    explicit InspectDialog(std::function<void(wxDialog*)> inspect) : m_inspect(std::move(inspect))
    {
    }

protected:
    int OnInvoked(wxDialog* dialog) const override
    {
        m_inspect(dialog);
        return wxID_OK;
    }

private:
    std::function<void(wxDialog*)> m_inspect;
};

#endif
