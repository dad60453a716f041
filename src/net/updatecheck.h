#ifndef LOOPFORGE_NET_UPDATECHECK_H
#define LOOPFORGE_NET_UPDATECHECK_H

#include <wx/event.h>
#include <wx/string.h>

class wxInputStream;

// Carries the latest version found by an update check (empty when none).
wxDECLARE_EVENT(wxEVT_UPDATE_CHECK, wxCommandEvent);

// The version the update document gives for this product, or empty.
wxString GetLatestVersion(wxInputStream& stream);

// Negative when latest is newer than current.
int CompareVersions(const wxString& current, const wxString& latest);

#endif
