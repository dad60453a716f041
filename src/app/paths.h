#ifndef LOOPFORGE_APP_PATHS_H
#define LOOPFORGE_APP_PATHS_H

#include <wx/string.h>

// Folder rules on a program path: backslashes become slashes and the text is
// cut before its last "/". These are pure string functions.
wxString ExecutableDirFromProgramPath(const wxString& programPath);  // "." without a "/"
wxString ParentDirOf(const wxString& dir);                           // "" without a "/"

// The real path of the running executable (symbolic links resolved), or
// argv[0] when the system cannot tell it.
wxString GetProgramPath();

// Overrides the program path; used by tests and by programs that know better.
void SetProgramPath(const wxString& programPath);

wxString GetExecutableDir();   // folder of the executable
wxString GetInstallDir();      // its parent: holds Themes, Language and option.cfg
wxString GetOptionFilePath();  // GetInstallDir() + "/option.cfg"

#endif
