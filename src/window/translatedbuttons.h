#ifndef LOOPFORGE_WINDOW_TRANSLATEDBUTTONS_H
#define LOOPFORGE_WINDOW_TRANSLATEDBUTTONS_H

#include <wx/string.h>

class wxSizer;
class wxWindow;

// Buttons that read in the language chosen in the program, also where the
// system has no locale for it.
//
// GTK replaces a button by one of its own stock buttons, labelled in the
// system's language, in two cases: the default buttons of a message box, and
// a button whose label equals the toolkit's stock label for its id (our
// catalog's "Abbrechen" on wxID_CANCEL, for instance).

// Shows a message box whose buttons carry our catalog's "Yes", "No",
// "Cancel" and "OK". The style is wxMessageDialog's (wxOK, wxYES_NO,
// wxCANCEL, wxNO_DEFAULT, wxICON_...). Returns wxID_YES, wxID_NO, wxID_OK or
// wxID_CANCEL; closing the box without a button gives wxID_CANCEL.
int ShowMessageBox(wxWindow* parent, const wxString& message, const wxString& caption, long style);

// Shows the labels of the buttons inside window as plain text, never as GTK's
// stock buttons. Call it once a dialog's buttons exist.
void ShowOwnButtonLabels(wxWindow* window);

// Ends a small dialog: a centred row of OK (the default) and Cancel added to
// sizer, then every button of the dialog shown with our own labels.
void AddOkCancelButtons(wxWindow* dialog, wxSizer* sizer);

#endif
