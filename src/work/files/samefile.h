#ifndef LOOPFORGE_WORK_SAMEFILE_H
#define LOOPFORGE_WORK_SAMEFILE_H

#include <wx/string.h>

// Whether two paths name one file: the same device and inode when both
// exist, else the same path once both are made absolute and the links of
// their folders resolved (a file not yet written is named by its folder).
bool IsSameFile(const wxString& a, const wxString& b);

#endif
