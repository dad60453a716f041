#ifndef LOOPFORGE_WINDOW_WINDOWSETTINGS_H
#define LOOPFORGE_WINDOW_WINDOWSETTINGS_H

#include <wx/string.h>

// How the user arranged the window, kept between runs in a small text file
// of "key=value" lines; unknown keys and bad values are ignored.
struct WindowSettings
{
    double stripShare = 0.0;  // the strip's part of the splitter's height; 0: the resource's sash
    int thumbnailSide = 0;    // 0: the strip's own size
    bool previewAsGif = false;  // the preview shows frames as the export makes them
    // How many MiB of decoded pictures the strip keeps at most ("picture-cache-mib",
    // set by hand); 0: chosen from the machine's memory (PictureCache::DefaultLimit).
    int pictureCacheMiB = 0;

    static WindowSettings Load(const wxString& path);
    bool Save(const wxString& path) const;
};

wxString GetWindowSettingsFilePath();

#endif
