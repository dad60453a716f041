#include "net/updatecheck.h"

wxDEFINE_EVENT(wxEVT_UPDATE_CHECK, wxCommandEvent);

// TODO(update check)
wxString GetLatestVersion(wxInputStream&)
{
    return wxString();
}

int CompareVersions(const wxString&, const wxString&)
{
    return 0;
}
