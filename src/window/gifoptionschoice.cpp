#include "window/gifoptionschoice.h"

#include "app/language.h"

#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>

wxString GetGifOptionsFilePath()
{
    return GetUserDataDir() + wxS("/gif-options.xml");
}

GifOptions LoadUserGifOptions(wxString* problem)
{
    const wxString path = GetGifOptionsFilePath();
    GifOptionsFileRead read = GifOptionsFileRead::Read;
    const GifOptions options = LoadGifOptionsFile(path, &read);
    if (read == GifOptionsFileRead::Unreadable)
    {
        const wxString aside = path + wxS(".bad");
        wxLogNull quiet;
        wxRenameFile(path, aside, true);
        if (problem)
            *problem = wxString::Format(
                _("The remembered GIF options cannot be read; the defaults are used. The file "
                  "was set aside as %s."),
                aside);
    }
    return options;
}

bool SaveUserGifOptions(const GifOptions& options)
{
    return SaveGifOptionsFile(GetGifOptionsFilePath(), options);
}
