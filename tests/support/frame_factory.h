#ifndef LOOPFORGE_TESTS_FRAME_FACTORY_H
#define LOOPFORGE_TESTS_FRAME_FACTORY_H

// Makes strip frames for window tests: real files on disk (items check that
// their file exists) with pictures of a given size and colour.
#include "edit/framelist.h"
#include "test_pictures.h"
#include "window/gifframe.h"
#include "window/thumbnailctrl.h"

// Appends a frame with the picture to a bare strip as the import does.
inline int AppendFrame(wxThumbnailCtrl* strip, const wxString& path, const wxImage& image,
                       int frameIndex = 0, int delay = 10)
{
    return strip->Append(new wxImageThumbnailItem(new wxImage(image), frameIndex, path), delay);
}

// Appends a frame with the picture to the main window's frames, as an
// insertion at the end; returns its index.
inline int AppendFrame(GifFrame* frame, const wxString& path, const wxImage& image,
                       int frameIndex = 0)
{
    if (!frame->InsertFrames(-1, {MakeStripFrame(image, path, frameIndex)}))
        return -1;
    return frame->GetFrames().GetCount() - 1;
}

#endif
