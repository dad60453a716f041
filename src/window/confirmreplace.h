#ifndef LOOPFORGE_WINDOW_CONFIRMREPLACE_H
#define LOOPFORGE_WINDOW_CONFIRMREPLACE_H

#include <wx/string.h>

class wxWindow;

// A save dialog asks about the name as typed; when the program then adds the
// file ending, the final path may name another file that is already there.
// Returns true when the final path may be written: it is the chosen one, no
// file is there, or the user agreed to replace that file.
bool MayWriteWithAddedEnding(wxWindow* parent, const wxString& chosen, const wxString& final,
                             const wxString& caption);

#endif
