#ifndef LOOPFORGE_WINDOW_GIFOPTIONSCHOICE_H
#define LOOPFORGE_WINDOW_GIFOPTIONSCHOICE_H

#include "encode/gifoptions.h"

#include <wx/string.h>

// The file that remembers the user's choice: "gif-options.xml" beside the
// language file.
wxString GetGifOptionsFilePath();

// The remembered choice (the defaults without a readable file), and
// remembering a new one; false when the file could not be written. A file
// that cannot be read is moved aside to "gif-options.xml.bad", so that it is
// reported once: problem then tells the user, ready to show.
GifOptions LoadUserGifOptions(wxString* problem = nullptr);
bool SaveUserGifOptions(const GifOptions& options);

#endif
