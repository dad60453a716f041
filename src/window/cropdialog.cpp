#include "window/cropdialog.h"

#include "window/cropselector.h"
#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <algorithm>

CropDialog::CropDialog(wxWindow* parent, const wxImage& picture, const wxRect& selection)
    : wxDialog(parent, wxID_ANY, _("Crop"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
{
    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY,
                              _("Drag a rectangle on the picture, or move it or its handles;\n"
                                "every frame keeps the part inside it.")),
             0, wxALL, FromDIP(10));
    m_selector = new CropSelector(this, ID_SELECTOR, picture, FromDIP(wxSize(480, 320)));
    m_selector->SetSelection(selection);
    top->Add(m_selector, 1, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(10));

    wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
    const wxString labels[] = {wxS("X"), wxS("Y"), _("Width"), _("Height")};
    const int maxima[] = {picture.GetWidth() - 1, picture.GetHeight() - 1, picture.GetWidth(),
                          picture.GetHeight()};
    for (int i = 0; i < 4; ++i)
    {
        m_fields[i] = new wxSpinCtrl(this, ID_X + i, wxEmptyString, wxDefaultPosition,
                                     wxDefaultSize, wxSP_ARROW_KEYS, i < 2 ? 0 : 1,
                                     std::max(i < 2 ? 0 : 1, maxima[i]));
        row->Add(new wxStaticText(this, wxID_ANY, labels[i] + wxS(":")), 0,
                 wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(4));
        row->Add(m_fields[i], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(10));
        m_fields[i]->Bind(wxEVT_SPINCTRL, &CropDialog::OnField, this);
        m_fields[i]->Bind(wxEVT_TEXT, &CropDialog::OnFieldText, this);
    }
    row->Add(new wxButton(this, ID_WHOLE, _("Whole Picture")), 0, wxALIGN_CENTER_VERTICAL);
    Bind(wxEVT_BUTTON, &CropDialog::OnWhole, this, ID_WHOLE);
    top->Add(row, 0, wxALL, FromDIP(10));

    AddOkCancelButtons(this, top);

    m_selector->OnSelectionChanged([this] { ShowSelectionInFields(); });
    ShowSelectionInFields();
    SetSizerAndFit(top);
    CentreOnParent();
}

wxRect CropDialog::GetSelection() const
{
    return m_selector->GetSelection();
}

void CropDialog::ShowSelectionInFields()
{
    m_updating = true;
    const wxRect& selection = m_selector->GetSelection();
    const int values[] = {selection.x, selection.y, selection.width, selection.height};
    for (int i = 0; i < 4; ++i)
        if (m_fields[i]->GetValue() != values[i])
            m_fields[i]->SetValue(values[i]);
    m_updating = false;
}

void CropDialog::OnField(wxSpinEvent&)
{
    wxCommandEvent text;
    OnFieldText(text);
}

void CropDialog::OnFieldText(wxCommandEvent&)
{
    if (m_updating)
        return;
    m_selector->SetSelection(wxRect(m_fields[0]->GetValue(), m_fields[1]->GetValue(),
                                    m_fields[2]->GetValue(), m_fields[3]->GetValue()));
    // A field beyond the picture shows what the rectangle can be.
    ShowSelectionInFields();
}

void CropDialog::OnWhole(wxCommandEvent&)
{
    m_selector->SetSelection(wxRect(wxPoint(0, 0), m_selector->GetPictureSize()));
    ShowSelectionInFields();
}
