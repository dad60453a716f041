#ifndef LOOPFORGE_TESTS_MESSAGE_ANSWER_H
#define LOOPFORGE_TESTS_MESSAGE_ANSWER_H

// Answers a message box and checks its caption and (part of) its text; can
// hand the whole text back for further checks.
#include "gui_test_support.h"

#include <wx/msgdlg.h>

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

#endif
