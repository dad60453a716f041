#include "app/environmentlanguage.h"

#include "app/paths.h"

#include <wx/filefn.h>
#include <wx/tokenzr.h>
#include <wx/translation.h>

#include <cstdlib>

namespace
{
// "de_DE.UTF-8@euro" -> "de_DE".
wxString WithoutCodesetAndModifier(const wxString& name)
{
    return name.BeforeFirst(wxS('@')).BeforeFirst(wxS('.'));
}

bool IsEnglish(const wxString& name)
{
    return name == wxS("C") || name == wxS("POSIX") || name == wxS("en") ||
           name.StartsWith(wxS("en_"));
}
}  // namespace

wxString ChooseCatalogFolder(const std::function<wxString(const char*)>& getEnv,
                             const std::function<bool(const wxString&)>& hasCatalog)
{
    wxArrayString asked = wxStringTokenize(getEnv("LANGUAGE"), wxS(":"), wxTOKEN_STRTOK);
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
    {
        const wxString locale = getEnv(variable);
        if (!locale.empty())
        {
            asked.push_back(locale);
            break;
        }
    }
    for (const wxString& entry : asked)
    {
        const wxString name = WithoutCodesetAndModifier(entry);
        if (IsEnglish(name))
            return wxString();
        for (const wxString& folder : {name, name.BeforeFirst(wxS('_'))})
            if (!folder.empty() && hasCatalog(folder))
                return folder;
    }
    return wxString();
}

wxString LoadEnvironmentCatalog()
{
    const wxString languageDir = GetInstallDir() + wxS("/Language");
    const wxString folder = ChooseCatalogFolder(
        [](const char* variable)
        {
            const char* value = std::getenv(variable);
            return value ? wxString(value, wxConvLibc) : wxString();
        },
        [&](const wxString& name)
        { return wxFileExists(languageDir + wxS("/") + name + wxS("/language.mo")); });
    if (folder.empty())
        return folder;

    auto* translations = new wxTranslations;
    wxTranslations::Set(translations);
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(languageDir);
    translations->SetLanguage(folder);
    translations->AddCatalog(wxS("language"));
    return folder;
}
