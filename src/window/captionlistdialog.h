#ifndef LOOPFORGE_WINDOW_CAPTIONLISTDIALOG_H
#define LOOPFORGE_WINDOW_CAPTIONLISTDIALOG_H

#include <wx/arrstr.h>
#include <wx/dialog.h>

#include <functional>

class wxListBox;

// The project's captions, one line each, to edit or delete. The window does
// the edits through the callbacks, which take the caption's place in the
// list; the list is read again after each.
class CaptionListDialog : public wxDialog
{
public:
    using Lines = std::function<wxArrayString()>;
    using Command = std::function<void(int index)>;

    CaptionListDialog(wxWindow* parent, Lines lines, Command edit, Command remove);

    enum
    {
        ID_LIST = wxID_HIGHEST + 1,
        ID_EDIT,
        ID_DELETE
    };

private:
    void Fill(int select);
    void OnEdit(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);

    Lines m_lines;
    Command m_edit;
    Command m_remove;
    wxListBox* m_list;
};

// A caption's line in the list: its first line of text, shortened, and its frames.
wxString CaptionListLine(const wxString& text, const wxString& frames);

#endif
