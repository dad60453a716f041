#include "window/loopcountdialog.h"

#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace
{
int s_rememberedChoice = 0;
}

wxIMPLEMENT_CLASS(LoopCountDialog, wxDialog);

wxBEGIN_EVENT_TABLE(LoopCountDialog, wxDialog)
    EVT_RADIOBUTTON(LoopCountDialog::ID_PLAY_TIMES, LoopCountDialog::OnPlayTimes)
    EVT_RADIOBUTTON(LoopCountDialog::ID_PLAY_ENDLESSLY, LoopCountDialog::OnPlayEndlessly)
    EVT_BUTTON(wxID_OK, LoopCountDialog::OnButton)
    EVT_BUTTON(wxID_CANCEL, LoopCountDialog::OnButton)
wxEND_EVENT_TABLE()

LoopCountDialog::LoopCountDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, _("Loop Counter"), wxDefaultPosition, wxSize(300, 150)),
      m_loopCount(0)
{
    // Laid out with sizers so that longer translations and the toolkit's own
    // control sizes never make the controls overlap.
    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    wxStaticBoxSizer* boxSizer =
        new wxStaticBoxSizer(new wxStaticBox(this, ID_FRAME_BOX, _("Animation Loop Count")),
                             wxVERTICAL);
    m_frameBox = boxSizer->GetStaticBox();

    wxBoxSizer* timesRow = new wxBoxSizer(wxHORIZONTAL);
    m_playTimesRadio = new wxRadioButton(m_frameBox, ID_PLAY_TIMES, _("Play animation"),
                                         wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_countSpin = new wxSpinCtrl(m_frameBox, ID_COUNT, wxEmptyString, wxDefaultPosition,
                                 wxDefaultSize, wxSP_ARROW_KEYS, 0, 100, 1, wxS("wxSpinCtrl"));
    m_timesLabel = new wxStaticText(m_frameBox, wxID_ANY, _("time(s)"));
    timesRow->Add(m_playTimesRadio, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(8));
    timesRow->Add(m_countSpin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    timesRow->Add(m_timesLabel, 0, wxALIGN_CENTER_VERTICAL);
    boxSizer->Add(timesRow, 0, wxALL, FromDIP(6));

    m_playEndlesslyRadio =
        new wxRadioButton(m_frameBox, ID_PLAY_ENDLESSLY, _("Play animation infinitely"));
    boxSizer->Add(m_playEndlesslyRadio, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(6));
    top->Add(boxSizer, 1, wxEXPAND | wxALL, FromDIP(10));

    wxBoxSizer* buttons = new wxBoxSizer(wxHORIZONTAL);
    m_okButton = new wxButton(this, wxID_OK, _("OK"));
    m_cancelButton = new wxButton(this, wxID_CANCEL, _("Cancel"));
    buttons->Add(m_okButton, 0, wxRIGHT, FromDIP(20));
    buttons->Add(m_cancelButton, 0);
    top->Add(buttons, 0, wxALIGN_CENTER_HORIZONTAL | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
    m_okButton->SetDefault();
    ShowOwnButtonLabels(this);

    SetSizer(top);
    SetMinSize(wxSize(300, 150));
    Fit();
    CentreOnParent();

    if (s_rememberedChoice != 0)
    {
        m_playTimesRadio->SetValue(true);
        m_countSpin->SetValue(s_rememberedChoice);
        m_countSpin->Enable();
    }
    else
    {
        m_countSpin->Disable();
        m_playEndlesslyRadio->SetValue(true);
    }
}

int LoopCountDialog::GetRememberedChoice()
{
    return s_rememberedChoice;
}

void LoopCountDialog::SetRememberedChoice(int loopCount)
{
    s_rememberedChoice = loopCount;
}

void LoopCountDialog::OnPlayTimes(wxCommandEvent&)
{
    if (m_playTimesRadio->GetValue())
        m_countSpin->Enable();
}

void LoopCountDialog::OnPlayEndlessly(wxCommandEvent&)
{
    if (m_playEndlesslyRadio->GetValue())
        m_countSpin->Disable();
}

void LoopCountDialog::OnButton(wxCommandEvent& event)
{
    if (event.GetId() == wxID_OK)
    {
        const int value = m_playTimesRadio->GetValue() ? m_countSpin->GetValue() : 0;
        s_rememberedChoice = value;
        m_loopCount = value;
    }
    // A dialog answered by a test hook was never shown modally.
    if (IsModal())
        EndModal(event.GetId());
    else
        SetReturnCode(event.GetId());
}
