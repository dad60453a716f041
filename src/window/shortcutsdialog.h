#ifndef LOOPFORGE_WINDOW_SHORTCUTSDIALOG_H
#define LOOPFORGE_WINDOW_SHORTCUTSDIALOG_H

#include <wx/dialog.h>

#include <utility>
#include <vector>

class wxListView;
class wxMenuBar;

// One line of the list: the keys and what they do, both as shown.
using Shortcut = std::pair<wxString, wxString>;

// Every key the window answers to: the menu items' accelerators (read from
// the menu bar, so the list cannot fall behind it) and the strip's own keys.
std::vector<Shortcut> CollectShortcuts(const wxMenuBar& menuBar);

// Help > Keyboard Shortcuts: the list in the chosen language.
class ShortcutsDialog : public wxDialog
{
public:
    ShortcutsDialog(wxWindow* parent, const std::vector<Shortcut>& shortcuts);

    wxListView* GetList() const { return m_list; }

private:
    wxListView* m_list;
};

#endif
