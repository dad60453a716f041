#include "window/gifframe.h"

#include "app/product.h"
#include "net/domainoption.h"
#include "window/translatedbuttons.h"

#include <wx/dialog.h>
#include <wx/hyperlink.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

namespace
{
// The year this version was published, part of the ownership notice.
const wxString kPublicationYear = wxS("2026");
}  // namespace

void GifFrame::OnAbout(wxCommandEvent&)
{
    wxDialog dialog;
    wxLogNull noLog;
    // Without its resource the dialog has no window to show.
    if (!wxXmlResource::Get()->LoadDialog(&dialog, this, wxS("AboutDialog")))
        return;

    if (wxStaticText* version =
            wxDynamicCast(dialog.FindWindow(XRCID("m_static_version_name")), wxStaticText))
        version->SetLabel(wxString::Format(wxS("%s %s"), GetProductName(), GetProductVersion()));

    if (wxStaticText* information =
            wxDynamicCast(dialog.FindWindow(XRCID("m_static_information")), wxStaticText))
        information->SetLabel(_("Copyright (C)") + wxS(" ") + kPublicationYear + wxS(" ") +
                              GetMakerName() + _(". All rights reserved."));

    if (wxHyperlinkCtrl* link =
            wxDynamicCast(dialog.FindWindow(XRCID("m_hyperlink")), wxHyperlinkCtrl))
    {
        // The link opens the browser when clicked: only a web page may be in it.
        wxString downloadPage;
        if (g_domainOption && IsWebAddress(g_domainOption->m_downloadPageUrl))
            downloadPage = g_domainOption->m_downloadPageUrl;
        link->SetLabel(downloadPage);
        link->SetURL(downloadPage);
    }

    ShowOwnButtonLabels(&dialog);

    // Translated texts differ in length from the resource's placeholders.
    if (dialog.GetSizer())
        dialog.GetSizer()->SetSizeHints(&dialog);
    dialog.ShowModal();
}
