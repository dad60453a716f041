#include "window/shortcutsdialog.h"

#include "window/translatedbuttons.h"

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/intl.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/sizer.h>

#include <memory>

namespace
{
void CollectMenu(const wxMenu& menu, std::vector<Shortcut>& shortcuts)
{
    for (const wxMenuItem* item : menu.GetMenuItems())
    {
        if (item->IsSubMenu())
        {
            CollectMenu(*item->GetSubMenu(), shortcuts);
            continue;
        }
        const std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
        if (accel && accel->IsOk())
            shortcuts.emplace_back(accel->ToString(), item->GetItemLabelText());
    }
}

wxString Keys(int flags, int keyCode)
{
    return wxAcceleratorEntry(flags, keyCode).ToString();
}
}  // namespace

std::vector<Shortcut> CollectShortcuts(const wxMenuBar& menuBar)
{
    std::vector<Shortcut> shortcuts;
    for (size_t i = 0; i < menuBar.GetMenuCount(); ++i)
        CollectMenu(*menuBar.GetMenu(i), shortcuts);

    const wxString slash = wxS(" / ");
    shortcuts.emplace_back(Keys(wxACCEL_CTRL | wxACCEL_SHIFT, 'Z'), _("Redo"));
    shortcuts.emplace_back(Keys(0, WXK_LEFT) + slash + Keys(0, WXK_RIGHT) + slash +
                               Keys(0, WXK_UP) + slash + Keys(0, WXK_DOWN),
                           _("Select the frame beside, above or below"));
    shortcuts.emplace_back(Keys(0, WXK_HOME) + slash + Keys(0, WXK_END),
                           _("Select the first or the last frame"));
    shortcuts.emplace_back(Keys(0, WXK_PAGEUP) + slash + Keys(0, WXK_PAGEDOWN),
                           _("Select the frame a page up or down"));
    shortcuts.emplace_back(Keys(wxACCEL_SHIFT, WXK_LEFT) + slash + Keys(wxACCEL_SHIFT, WXK_RIGHT),
                           _("Extend the selection"));
    shortcuts.emplace_back(Keys(0, WXK_DELETE), _("Delete the selected frames"));
    shortcuts.emplace_back(Keys(0, WXK_SPACE), _("Start or stop the preview"));
    shortcuts.emplace_back(_("Ctrl+mouse wheel"), _("Make the thumbnails larger or smaller"));
    return shortcuts;
}

ShortcutsDialog::ShortcutsDialog(wxWindow* parent, const std::vector<Shortcut>& shortcuts)
    : wxDialog(parent, wxID_ANY, _("Keyboard Shortcuts"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
{
    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    m_list = new wxListView(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(520, 420)),
                            wxLC_REPORT | wxLC_SINGLE_SEL);
    m_list->AppendColumn(_("Keys"));
    m_list->AppendColumn(_("Command"));
    for (const Shortcut& shortcut : shortcuts)
    {
        const long row = m_list->InsertItem(m_list->GetItemCount(), shortcut.first);
        m_list->SetItem(row, 1, shortcut.second);
    }
    m_list->SetColumnWidth(0, wxLIST_AUTOSIZE);
    m_list->SetColumnWidth(1, wxLIST_AUTOSIZE);
    top->Add(m_list, 1, wxEXPAND | wxALL, FromDIP(10));
    top->Add(new wxButton(this, wxID_CANCEL, _("Close")), 0,
             wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetSizerAndFit(top);
    ShowOwnButtonLabels(this);
}
