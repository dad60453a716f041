#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stockitem.h>

int ShowMessageBox(wxWindow* parent, const wxString& message, const wxString& caption, long style)
{
    wxMessageDialog dialog(parent, message, caption, style);
    // Labels given as text, not as stock ids, are shown exactly as given.
    dialog.SetYesNoCancelLabels(_("Yes"), _("No"), _("Cancel"));
    dialog.SetOKLabel(_("OK"));
    return dialog.ShowModal();
}

void ShowOwnButtonLabels(wxWindow* window)
{
    for (wxWindow* child : window->GetChildren())
    {
        ShowOwnButtonLabels(child);
        auto* button = wxDynamicCast(child, wxButton);
        if (!button || !wxIsStockID(button->GetId()))
            continue;
        // A button labelled while its id is no stock id keeps the text; the
        // id comes back at once, so its events and the dialog's default and
        // Escape handling are unchanged.
        const wxWindowID id = button->GetId();
        button->SetId(wxID_NONE);
        button->SetLabel(button->GetLabel());
        button->SetId(id);
    }
}

void AddOkCancelButtons(wxWindow* dialog, wxSizer* sizer)
{
    wxBoxSizer* buttons = new wxBoxSizer(wxHORIZONTAL);
    wxButton* ok = new wxButton(dialog, wxID_OK, _("OK"));
    buttons->Add(ok, 0, wxRIGHT, dialog->FromDIP(20));
    buttons->Add(new wxButton(dialog, wxID_CANCEL, _("Cancel")), 0);
    sizer->Add(buttons, 0, wxALIGN_CENTER_HORIZONTAL | wxLEFT | wxRIGHT | wxBOTTOM,
               dialog->FromDIP(10));
    ok->SetDefault();
    ShowOwnButtonLabels(dialog);
}
