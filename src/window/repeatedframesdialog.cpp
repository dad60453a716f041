#include "window/repeatedframesdialog.h"

#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

RepeatedFramesDialog::RepeatedFramesDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, _("Remove Duplicate Frames"))
{
    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY,
                              _("A frame that repeats the one before it is removed and its\n"
                                "time is added to that frame, so the animation lasts as long.\n"
                                "Tolerance: the mean colour difference per pixel (0 to 255)\n"
                                "a repeat may have; 0 removes exact repeats only.")),
             0, wxALL, FromDIP(10));

    wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
    m_toleranceSpin = new wxSpinCtrlDouble(this, ID_TOLERANCE, wxEmptyString, wxDefaultPosition,
                                           wxDefaultSize, wxSP_ARROW_KEYS, 0, 255, 0, 0.5);
    m_toleranceSpin->SetDigits(1);
    row->Add(new wxStaticText(this, wxID_ANY, _("Tolerance") + wxS(":")), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    row->Add(m_toleranceSpin, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(row, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));

    AddOkCancelButtons(this, top);

    SetSizerAndFit(top);
    CentreOnParent();
    m_toleranceSpin->SetFocus();
}

double RepeatedFramesDialog::GetTolerance() const
{
    return m_toleranceSpin->GetValue();
}
