#ifndef LOOPFORGE_TESTS_LOOP_COUNT_ANSWER_H
#define LOOPFORGE_TESTS_LOOP_COUNT_ANSWER_H

// Answers a loop count dialog as a user would: picks a radio button, types a
// count and clicks a button; records what the dialog showed when it opened.
#include "gui_test_support.h"
#include "window/loopcountdialog.h"

#include <wx/radiobut.h>
#include <wx/spinctrl.h>

struct LoopCountDialogState
{
    bool playTimesSelected = false;
    bool countEnabled = false;
    int count = -1;
};

class AnswerLoopCount : public wxExpectModalBase<LoopCountDialog, AnswerLoopCount>
{
public:
    enum Choice
    {
        KeepChoice,
        PlayTimes,
        PlayEndlessly
    };

    AnswerLoopCount(Choice choice, int count, int button, LoopCountDialogState* seen = nullptr)
        : m_choice(choice), m_count(count), m_button(button), m_seen(seen)
    {
    }

protected:
    int OnInvoked(LoopCountDialog* dlg) const override
    {
        auto* times = wxDynamicCast(dlg->FindWindow(LoopCountDialog::ID_PLAY_TIMES), wxRadioButton);
        auto* endless =
            wxDynamicCast(dlg->FindWindow(LoopCountDialog::ID_PLAY_ENDLESSLY), wxRadioButton);
        auto* spin = wxDynamicCast(dlg->FindWindow(LoopCountDialog::ID_COUNT), wxSpinCtrl);
        if (!times || !endless || !spin)
        {
            ADD_FAILURE() << "loop count dialog lacks its controls";
            return wxID_CANCEL;
        }
        if (m_seen)
        {
            m_seen->playTimesSelected = times->GetValue();
            m_seen->countEnabled = spin->IsEnabled();
            m_seen->count = spin->GetValue();
        }
        if (m_choice != KeepChoice)
        {
            wxRadioButton* radio = m_choice == PlayTimes ? times : endless;
            radio->SetValue(true);
            wxCommandEvent clicked(wxEVT_RADIOBUTTON, radio->GetId());
            clicked.SetEventObject(radio);
            clicked.SetInt(1);
            radio->ProcessWindowEvent(clicked);
        }
        if (m_count >= 0)
            spin->SetValue(m_count);
        wxCommandEvent press(wxEVT_BUTTON, m_button);
        press.SetEventObject(dlg->FindWindow(m_button));
        dlg->ProcessWindowEvent(press);
        return dlg->GetReturnCode();
    }

private:
    Choice m_choice;
    int m_count;
    int m_button;
    LoopCountDialogState* m_seen;
};

#endif
