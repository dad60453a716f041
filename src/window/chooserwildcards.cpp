#include "window/chooserwildcards.h"

#include <wx/intl.h>

namespace
{
wxString AllFiles()
{
    return wxS("|") + _("All files") + wxS(" (*)|*");
}
}  // namespace

wxString AnyCasePattern(const wxString& ending)
{
    wxString pattern = wxS("*.");
    for (const wxUniChar c : ending)
    {
        const wxString lower = wxString(c).Lower(), upper = wxString(c).Upper();
        pattern += lower == upper ? lower : wxS("[") + lower + upper + wxS("]");
    }
    return pattern;
}

wxString PictureChooserWildcard()
{
    wxString patterns;
    for (const char* ending : {"png", "jpg", "jpeg", "bmp", "gif"})
        patterns += (patterns.empty() ? wxS("") : wxS(";")) + AnyCasePattern(ending);
    return _("Image files ") + wxS("(*.png;*.jpg;*bmp;*.gif)|") + patterns + AllFiles();
}

wxString VideoChooserWildcard()
{
    wxString patterns;
    for (const char* ending : {"mp4", "m4v", "webm", "mkv", "mov", "avi"})
        patterns += (patterns.empty() ? wxS("") : wxS(";")) + AnyCasePattern(ending);
    return _("Video clips") + wxS(" (*.mp4;*.webm;*.mkv;*.mov;*.avi)|") + patterns + AllFiles();
}

wxString ProjectChooserWildcard()
{
    return _("Xml files") + wxS(" (*.xml)|") + AnyCasePattern(wxS("xml")) + AllFiles();
}
