#ifndef LOOPFORGE_WORK_DROPPEDFILES_H
#define LOOPFORGE_WORK_DROPPEDFILES_H

#include <wx/arrstr.h>
#include <wx/string.h>

// What files dropped from a file manager ask for.
struct DroppedFiles
{
    // One project file (".xml" in any case) dropped alone: to be opened.
    wxString project;
    // Otherwise the files to import, a folder standing for the picture files
    // directly inside it (PNG, JPEG, BMP and GIF endings in any case), all in
    // the order of their names as a file manager shows them ("frame2" before
    // "frame10").
    wxArrayString pictures;
    // Otherwise one video clip (decode/videoclip.h) dropped alone: to be
    // imported as Import Video does.
    wxString video;
};

DroppedFiles SortOutDroppedFiles(const wxArrayString& dropped);

#endif
