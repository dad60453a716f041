#ifndef LOOPFORGE_WINDOW_CAPTIONDIALOG_H
#define LOOPFORGE_WINDOW_CAPTIONDIALOG_H

#include "caption/caption.h"

#include <wx/dialog.h>

class wxCheckBox;
class wxChoice;
class wxColourPickerCtrl;
class wxComboBox;
class wxSpinCtrl;
class wxTextCtrl;

// Asks for a caption's text, look and place, and the first and last frame
// (counted from 1) it shows on.
class CaptionDialog : public wxDialog
{
public:
    CaptionDialog(wxWindow* parent, const wxString& title, const Caption& caption, int first,
                  int last, int frameCount);

    // Valid after ShowModal() returned wxID_OK.
    Caption GetCaption() const;
    int GetFirstFrame() const;  // from 1
    int GetLastFrame() const;   // from 1, not before the first

    enum
    {
        ID_TEXT = wxID_HIGHEST + 1,
        ID_FONT,
        ID_SIZE,
        ID_FIRST,
        ID_LAST
    };

private:
    Caption m_caption;  // what the dialog does not show (a dragged place) is kept
    wxTextCtrl* m_text;
    wxComboBox* m_family;
    wxSpinCtrl* m_size;
    wxCheckBox* m_bold;
    wxCheckBox* m_italic;
    wxColourPickerCtrl* m_colour;
    wxColourPickerCtrl* m_outlineColour;
    wxSpinCtrl* m_outline;
    wxCheckBox* m_box;
    wxColourPickerCtrl* m_boxColour;
    wxChoice* m_place;
    wxSpinCtrl* m_first;
    wxSpinCtrl* m_last;
};

#endif
