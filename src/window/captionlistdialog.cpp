#include "window/captionlistdialog.h"

#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

#include <algorithm>

CaptionListDialog::CaptionListDialog(wxWindow* parent, Lines lines, Command edit, Command remove)
    : wxDialog(parent, wxID_ANY, _("Captions"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_lines(std::move(lines)),
      m_edit(std::move(edit)),
      m_remove(std::move(remove))
{
    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    m_list = new wxListBox(this, ID_LIST, wxDefaultPosition, wxSize(FromDIP(320), FromDIP(180)));
    top->Add(m_list, 1, wxEXPAND | wxALL, FromDIP(10));

    wxBoxSizer* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(
        new wxButton(this, ID_EDIT, wxGetTranslation(wxString::FromUTF8(wxTRANSLATE("Edit…")))), 0,
        wxEXPAND | wxBOTTOM, FromDIP(6));
    buttons->Add(new wxButton(this, ID_DELETE, _("Delete")), 0, wxEXPAND | wxBOTTOM, FromDIP(6));
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_CANCEL, _("Close")), 0, wxEXPAND);
    top->Add(buttons, 0, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetEscapeId(wxID_CANCEL);
    ShowOwnButtonLabels(this);

    Bind(wxEVT_BUTTON, &CaptionListDialog::OnEdit, this, ID_EDIT);
    Bind(wxEVT_LISTBOX_DCLICK, &CaptionListDialog::OnEdit, this, ID_LIST);
    Bind(wxEVT_BUTTON, &CaptionListDialog::OnDelete, this, ID_DELETE);
    Fill(0);
    SetSizerAndFit(top);
    CentreOnParent();
}

void CaptionListDialog::Fill(int select)
{
    const wxArrayString lines = m_lines();
    m_list->Set(lines);
    if (!lines.empty())
        m_list->SetSelection(std::clamp(select, 0, int(lines.size()) - 1));
    FindWindow(ID_EDIT)->Enable(!lines.empty());
    FindWindow(ID_DELETE)->Enable(!lines.empty());
}

void CaptionListDialog::OnEdit(wxCommandEvent&)
{
    const int index = m_list->GetSelection();
    if (index == wxNOT_FOUND)
        return;
    m_edit(index);
    Fill(index);
}

void CaptionListDialog::OnDelete(wxCommandEvent&)
{
    const int index = m_list->GetSelection();
    if (index == wxNOT_FOUND)
        return;
    m_remove(index);
    Fill(index);
}

wxString CaptionListLine(const wxString& text, const wxString& frames)
{
    wxString line = text.BeforeFirst('\n');
    const size_t kLongest = 40;
    if (line.length() > kLongest || line.length() < text.length())
        line = line.Left(kLongest) + wxString::FromUTF8("…");
    return wxString::Format(_("%s (frames %s)"), line, frames);
}
