#include "window/confirmreplace.h"

#include "window/translatedbuttons.h"

#include <wx/filename.h>
#include <wx/intl.h>

bool MayWriteWithAddedEnding(wxWindow* parent, const wxString& chosen, const wxString& final,
                             const wxString& caption)
{
    if (final == chosen || !wxFileName::FileExists(final))
        return true;
    return ShowMessageBox(
               parent,
               wxString::Format(_("The file \"%s\" already exists.\nDo you want to replace it?"),
                                wxFileNameFromPath(final)),
               caption, wxYES_NO | wxNO_DEFAULT | wxICON_EXCLAMATION) == wxID_YES;
}
