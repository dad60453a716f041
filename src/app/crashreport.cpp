#include "app/crashreport.h"

// TODO(crash report)
void BuildCrashReport()
{
}

void OpenFolderInShell(const wxString&)
{
}
