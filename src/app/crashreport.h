#ifndef LOOPFORGE_APP_CRASHREPORT_H
#define LOOPFORGE_APP_CRASHREPORT_H

#include <wx/string.h>

class wxDateTime;

// Writes the compressed crash report with its timestamp, tells the user
// where it is and opens that folder.
void BuildCrashReport();

// Opens a folder in the desktop's file manager without waiting for it.
void OpenFolderInShell(const wxString& folder);

// The content of "timestamp.my": ISO date, a space, ISO time.
wxString CrashTimestampText(const wxDateTime& when);

// The message that tells the user where the report is; the folder stands
// alone on its third line.
wxString CrashReportMessage(const wxString& folder);

#endif
