#ifndef LOOPFORGE_WINDOW_GIFOPTIONSCHOICE_H
#define LOOPFORGE_WINDOW_GIFOPTIONSCHOICE_H

#include "work/gifoptions.h"

#include <wx/string.h>

// The GIF options of the main window: the user's current choice, and the
// choices the last export and the last project save or open used, which the
// export snapshot and the unsaved-project check compare against.
struct GifOptionsChoice
{
    GifOptions current;
    GifOptions exported;
    GifOptions project;
};

// The file that remembers the user's choice: "gif-options.xml" beside the
// language file.
wxString GetGifOptionsFilePath();

// The remembered choice (the defaults without a readable file), and
// remembering a new one; false when the file could not be written.
GifOptions LoadUserGifOptions();
bool SaveUserGifOptions(const GifOptions& options);

#endif
