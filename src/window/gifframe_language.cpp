#include "window/gifframe.h"

#include "app/language.h"
#include "app/paths.h"
#include "app/product.h"
#include "window/textfit.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

void GifFrame::InitWindowLocale(int code)
{
    if (m_locale)
    {
        delete m_locale;
        m_locale = nullptr;
    }

    // Without the system locale of the chosen language (a fresh system has
    // only C.UTF-8) Init reports an error, yet the catalogs load and the texts
    // change; the switch must not show that error to the user.
    wxLogNull noLog;
    m_locale = new wxLocale;
    m_locale->Init(ToolkitLanguageFromCode(code), wxLOCALE_LOAD_DEFAULT);
    wxLocale::AddCatalogLookupPathPrefix(GetInstallDir() + wxS("/Language"));
    m_locale->AddCatalog(wxS("language"));

    // The resource translated the tool tips when the window was loaded, in
    // the language in force then.
    if (m_toolBar_button)
    {
        m_toolBar_button->SetToolShortHelp(XRCID("m_tool_insert"), _("Add Image"));
        m_toolBar_button->SetToolShortHelp(XRCID("m_tool_delete"), _("Delete"));
        m_toolBar_button->SetToolShortHelp(XRCID("m_tool_play"), _("Run animation"));
    }
}

void GifFrame::OnLanguage(wxCommandEvent& event)
{
    const int code = event.GetId();
    m_language = code;
    WriteLanguage(code);
    InitWindowLocale(code);
    CreateMenuBar();
    UpdateLabels();
}

void GifFrame::UpdateLabels()
{
    SetStaticLabels();
    FitStatusBarHeight(this, m_statusBar1, PreviewStatusText(wxString(), 0, 0));

    // An empty field names no frame (none drawn yet, or the strip was
    // emptied); it stays empty instead of naming a frame that is gone.
    if (!m_statusBar1->GetStatusText(1).empty())
        m_statusBar1->SetStatusText(
            PreviewStatusText(m_previewFileName, m_previewSize.x, m_previewSize.y), 1);

    UpdateCanvasSize();

    // The rebuilt menu bar reads "Run animation"; a running preview keeps
    // its stop label and accelerator.
    if (m_playing)
        ShowStopState();

    // A project's title holds no translated text; only the plain title is set.
    if (m_projectPath.empty())
        SetTitle(GetProductName());
}
