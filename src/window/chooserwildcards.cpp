#include "window/chooserwildcards.h"

#include "encode/exportformat.h"

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

wxString ExportChooserWildcard(bool videoAvailable)
{
    const wxString needsFfmpeg = _("needs the ffmpeg package");
    wxString wildcard;
    for (ExportFormat format : kExportFormats)
    {
        wxString name;
        switch (format)
        {
            case ExportFormat::Gif:
                name = _("GIF image");
                break;
            case ExportFormat::WebP:
                name = _("Animated WebP");
                break;
            case ExportFormat::Mp4:
                name = _("MP4 video");
                break;
            case ExportFormat::WebM:
                name = _("WebM video");
                break;
        }
        if (IsVideoFormat(format) && !videoAvailable)
            name += wxS(", ") + needsFfmpeg;
        const wxString ending = ExportFormatName(format);
        // A GIF's pattern stays as it was; the others match any case.
        const wxString pattern = format == ExportFormat::Gif ? wxS("*.gif") : AnyCasePattern(ending);
        wildcard += (wildcard.empty() ? wxS("") : wxS("|")) + name + wxS(" (*.") + ending +
                    wxS(")|") + pattern;
    }
    return wildcard;
}
