#include "window/gifframe.h"

#include "app/product.h"
#include "net/domainoption.h"
#include "net/updatecheck.h"
#include "window/translatedbuttons.h"

#include <wx/intl.h>
#include <wx/utils.h>

void GifFrame::CheckForUpdate()
{
    StopPlayback();

    // An address that cannot be fetched is a configuration matter: nothing
    // is shown, as for a malformed address.
    const wxString url = g_domainOption ? g_domainOption->m_updateUrl : wxString();
    if (!IsUpdateAddress(url))
        return;

    wxCommandEvent* result = new wxCommandEvent(wxEVT_UPDATE_CHECK, 0);
    {
        wxBusyCursor busy;
        result->SetString(RequestLatestVersion(url, UPDATE_CHECK_TIMEOUT_SECONDS));
    }
    wxQueueEvent(this, result);
}

void GifFrame::OnUpdateResult(wxCommandEvent& event)
{
    const wxString latest = event.GetString();
    const wxString product = GetProductName();

    if (latest.empty())
    {
        ShowMessageBox(nullptr, _("Update failed!Please check if the network is available."),
                       product, wxOK | wxCENTRE);
        return;
    }

    if (CompareVersions(GetProductVersion(), latest) < 0)
    {
        const int answer =
            ShowMessageBox(this,
                           wxS("A new version of ") + product + wxS("(") + latest +
                               wxS(") is available. Click Yes to open download page."),
                           product, wxYES_NO | wxCENTRE);
        if (answer == wxID_YES && g_domainOption && IsWebAddress(g_domainOption->m_downloadPageUrl))
            wxLaunchDefaultBrowser(g_domainOption->m_downloadPageUrl);
        return;
    }

    ShowMessageBox(nullptr,
                   wxS("This version of ") + product + wxS("(") + GetProductVersion() +
                       wxS(") is the latest version."),
                   product, wxOK | wxCENTRE);
}
