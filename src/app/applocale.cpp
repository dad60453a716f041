#include "app/gifapp.h"

#include "app/language.h"

#include <wx/intl.h>
#include <wx/log.h>

void GifApp::InitAppLocale()
{
    delete m_locale;
    m_locale = nullptr;

    // A machine without the English system locale (a fresh system has only
    // C.UTF-8) makes Init report an error although the catalogs load fine;
    // that error must not reach the user as a message box.
    wxLogNull noLog;
    m_locale = new wxLocale;
    m_locale->Init(ToolkitLanguageFromCode(LANGUAGE_CODE_ENGLISH), wxLOCALE_LOAD_DEFAULT);
    wxLocale::AddCatalogLookupPathPrefix(wxS("m_locale_"));
    m_locale->AddCatalog(wxS("ui"));
}
