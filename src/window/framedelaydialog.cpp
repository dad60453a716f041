#include "window/framedelaydialog.h"

#include "edit/framelist.h"
#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

FrameDelayDialog::FrameDelayDialog(wxWindow* parent, int delay)
    : wxDialog(parent, wxID_ANY, _("Frame Delay"))
{
    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY,
                              _("The delay of the selected frames in 1/100 seconds.\n"
                                "0 lets them follow the animation's delay again.")),
             0, wxALL, FromDIP(10));

    wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
    m_delaySpin = new wxSpinCtrl(this, ID_DELAY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                 wxSP_ARROW_KEYS, 0, kMaxFrameDelay, delay);
    row->Add(new wxStaticText(this, wxID_ANY, _("Delay ") + wxS(":")), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    row->Add(m_delaySpin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    row->Add(new wxStaticText(this, wxID_ANY, wxS("1/100") + _("sec ")), 0,
             wxALIGN_CENTER_VERTICAL);
    top->Add(row, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));

    AddOkCancelButtons(this, top);

    SetSizerAndFit(top);
    CentreOnParent();
    m_delaySpin->SetFocus();
    m_delaySpin->SetSelection(-1, -1);
}

int FrameDelayDialog::GetDelay() const
{
    return m_delaySpin->GetValue();
}
