#ifndef LOOPFORGE_APP_ENVIRONMENTLANGUAGE_H
#define LOOPFORGE_APP_ENVIRONMENTLANGUAGE_H

#include <wx/string.h>

#include <functional>

// The language a program without a window speaks: the one the environment
// asks for, as gettext reads it. LANGUAGE (a list such as "pt:de") comes
// first, then the first set of LC_ALL, LC_MESSAGES and LANG ("de_DE.UTF-8").
// LANGUAGE counts even under the C locale: on a system without the locale
// of a language it is the way to ask for that language.

// The catalog folder to use ("de", "zh_CN"), or an empty text for English:
// the first name asked for that hasCatalog accepts, tried whole and then as
// its language alone ("de_AT" then "de"); English, C and POSIX end the search.
wxString ChooseCatalogFolder(const std::function<wxString(const char*)>& getEnv,
                             const std::function<bool(const wxString&)>& hasCatalog);

// Loads the catalog of that language from the install folder's Language
// folder for the toolkit's translations; returns its folder, empty for English.
wxString LoadEnvironmentCatalog();

#endif
