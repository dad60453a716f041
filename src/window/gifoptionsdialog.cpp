#include "window/gifoptionsdialog.h"

#include "window/gifestimatetext.h"
#include "window/gifoptionspanel.h"
#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/statline.h>

GifOptionsDialog::GifOptionsDialog(wxWindow* parent, const GifOptions& options,
                                   std::vector<ExportFrame> frames, int width, int height)
    : wxDialog(parent, wxID_ANY, _("GIF Options"))
{
    m_panel = new GifOptionsPanel(this, GifOptionsPanel::Layout::Full, options);
    m_estimate = new GifEstimateText(this, std::move(frames), width, height, options);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(m_panel, 0, wxALL | wxEXPAND, 10);
    top->Add(m_estimate, 0, wxLEFT | wxRIGHT | wxEXPAND, 14);
    auto* buttons = new wxStdDialogButtonSizer();
    auto* ok = new wxButton(this, wxID_OK, _("OK"));
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, _("Cancel")));
    buttons->Realize();
    ok->SetDefault();
    top->Add(new wxStaticLine(this), 0, wxLEFT | wxRIGHT | wxTOP | wxEXPAND, 10);
    top->Add(buttons, 0, wxALL | wxEXPAND, 10);
    ShowOwnButtonLabels(this);
    SetSizerAndFit(top);
    // Room for the longest estimate text.
    SetMinSize(wxSize(GetSize().x, -1));
    CentreOnParent();

    m_panel->SetChangeHandler([this] { m_estimate->Follow(m_panel->GetOptions()); });
}

GifOptions GifOptionsDialog::GetOptions() const
{
    return m_panel->GetOptions();
}

wxString GifOptionsDialog::GetEstimateText() const
{
    return m_estimate->GetLabel();
}
