#ifndef LOOPFORGE_TESTS_FRAME_FACTORY_H
#define LOOPFORGE_TESTS_FRAME_FACTORY_H

// Makes strip frames for window tests: real files on disk (items check that
// their file exists) with pictures of a given size and colour.
#include "temp_dir.h"
#include "window/thumbnailctrl.h"

#include <wx/image.h>

inline wxImage SolidImage(int width, int height, const wxColour& colour)
{
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), colour.Red(), colour.Green(), colour.Blue());
    return image;
}

// Writes a PNG of the given size and colour and returns its path.
inline wxString WritePng(const TempDir& dir, const wxString& name, int width, int height,
                         const wxColour& colour = *wxRED)
{
    const wxString path = dir.File(name);
    SolidImage(width, height, colour).SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}

// Appends a frame with the picture to the strip as the import does.
inline int AppendFrame(wxThumbnailCtrl* strip, const wxString& path, const wxImage& image,
                       int frameIndex = 0, int delay = 10)
{
    return strip->Append(new wxImageThumbnailItem(new wxImage(image), frameIndex, path), delay);
}

#endif
