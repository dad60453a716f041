#ifndef LOOPFORGE_APP_CRASHREPORT_H
#define LOOPFORGE_APP_CRASHREPORT_H

#include <wx/string.h>

// Writes the compressed crash report with its timestamp, tells the user
// where it is and opens that folder.
void BuildCrashReport();

// Opens a folder in the desktop's file manager.
void OpenFolderInShell(const wxString& folder);

#endif
