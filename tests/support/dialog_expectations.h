#ifndef LOOPFORGE_TESTS_DIALOG_EXPECTATIONS_H
#define LOOPFORGE_TESTS_DIALOG_EXPECTATIONS_H

// Expectations for wxTEST_DIALOG that record what a dialog showed.
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
