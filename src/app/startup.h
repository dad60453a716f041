#ifndef LOOPFORGE_APP_STARTUP_H
#define LOOPFORGE_APP_STARTUP_H

#include <wx/string.h>

class GifFrame;

// Loads every resource file of the Themes folder of installDir; a file that
// fails to load does not stop the others. Returns the number loaded.
int LoadThemeResources(const wxString& installDir);

// Creates the main window from the resource "MyFrame1" and sets it up. On
// failure returns null and explains what is missing in error.
GifFrame* CreateMainFrame(wxString* error);

#endif
