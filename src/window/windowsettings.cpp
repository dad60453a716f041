#include "window/windowsettings.h"

#include "app/language.h"

#include <wx/ffile.h>
#include <wx/file.h>
#include <wx/filename.h>
#include <wx/tokenzr.h>

WindowSettings WindowSettings::Load(const wxString& path)
{
    WindowSettings settings;
    if (!wxFileName::FileExists(path))
        return settings;
    wxFFile file(path, wxS("rb"));
    wxString text;
    if (!file.IsOpened() || file.Length() > 4096 || !file.ReadAll(&text, wxConvUTF8))
        return settings;
    wxStringTokenizer lines(text, wxS("\r\n"), wxTOKEN_STRTOK);
    while (lines.HasMoreTokens())
    {
        const wxString line = lines.GetNextToken();
        const wxString key = line.BeforeFirst('=');
        const wxString value = line.AfterFirst('=');
        double share = 0;
        long side = 0;
        if (key == wxS("strip-share") && value.ToCDouble(&share) && share > 0.05 && share < 0.95)
            settings.stripShare = share;
        else if (key == wxS("preview-as-gif"))
            settings.previewAsGif = value == wxS("1");
        else if (key == wxS("thumbnail-side") && value.ToLong(&side) && side > 0 && side <= 1024)
            settings.thumbnailSide = int(side);
        else if (key == wxS("picture-cache-mib") && value.ToLong(&side) && side >= 16 &&
                 side <= 1 << 20)
            settings.pictureCacheMiB = int(side);
    }
    return settings;
}

bool WindowSettings::Save(const wxString& path) const
{
    const wxString text = wxS("strip-share=") + wxString::FromCDouble(stripShare, 4) +
                          wxS("\nthumbnail-side=") + wxString::Format(wxS("%d"), thumbnailSide) +
                          wxS("\npreview-as-gif=") + (previewAsGif ? wxS("1") : wxS("0")) +
                          wxS("\n") +
                          (pictureCacheMiB > 0
                               ? wxString::Format(wxS("picture-cache-mib=%d\n"), pictureCacheMiB)
                               : wxString());
    wxTempFile file(path);
    return file.IsOpened() && file.Write(text, wxConvUTF8) && file.Commit();
}

wxString GetWindowSettingsFilePath()
{
    return GetUserDataDir() + wxS("/window.txt");
}
