#include "window/speeddialog.h"

#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

SpeedDialog::SpeedDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, _("Speed"))
{
    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY,
                              _("Plays the selected frames, or all of them, faster or slower:\n"
                                "200 is twice as fast, 50 half as fast.\n"
                                "Delays stay at 2/100 seconds or more: browsers show\n"
                                "shorter GIF delays slower, not faster.")),
             0, wxALL, FromDIP(10));

    wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
    m_percentSpin = new wxSpinCtrl(this, ID_PERCENT, wxEmptyString, wxDefaultPosition,
                                   wxDefaultSize, wxSP_ARROW_KEYS, 1, 10000, 100);
    row->Add(new wxStaticText(this, wxID_ANY, _("Speed") + wxS(":")), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    row->Add(m_percentSpin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    row->Add(new wxStaticText(this, wxID_ANY, wxS("%")), 0, wxALIGN_CENTER_VERTICAL);
    top->Add(row, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));

    AddOkCancelButtons(this, top);

    SetSizerAndFit(top);
    CentreOnParent();
    m_percentSpin->SetFocus();
    m_percentSpin->SetSelection(-1, -1);
}

int SpeedDialog::GetPercent() const
{
    return m_percentSpin->GetValue();
}
