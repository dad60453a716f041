#include "app/language.h"

#include <wx/intl.h>

const std::vector<LanguageEntry>& GetLanguages()
{
    static const std::vector<LanguageEntry> languages = {
        {LANGUAGE_CODE_CHINESE_SIMPLIFIED, "\xE4\xB8\xAD\xE6\x96\x87\xE7\xAE\x80\xE4\xBD\x93",
         wxLANGUAGE_CHINESE_SIMPLIFIED, "zh_CN"},
        {LANGUAGE_CODE_CHINESE_TRADITIONAL, "\xE4\xB8\xAD\xE6\x96\x87\xE7\xB9\x81\xE4\xBD\x93",
         wxLANGUAGE_CHINESE_TRADITIONAL, "zh_TW"},
        {LANGUAGE_CODE_GERMAN, "Deutsch", wxLANGUAGE_GERMAN, "de"},
        {LANGUAGE_CODE_ENGLISH, "English", wxLANGUAGE_ENGLISH, "en"},
        {LANGUAGE_CODE_FRENCH, "Fran\xC3\xA7" "ais", wxLANGUAGE_FRENCH, "fr"},
        {LANGUAGE_CODE_ITALIAN, "Italiano", wxLANGUAGE_ITALIAN, "it"},
        {LANGUAGE_CODE_JAPANESE, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", wxLANGUAGE_JAPANESE, "ja"},
    };
    return languages;
}

int ToolkitLanguageFromCode(int code)
{
    for (const LanguageEntry& entry : GetLanguages())
        if (entry.code == code)
            return entry.toolkitLanguage;
    return wxLANGUAGE_DEFAULT;
}

int CodeFromToolkitLanguage(int toolkitLanguage)
{
    for (const LanguageEntry& entry : GetLanguages())
        if (entry.toolkitLanguage == toolkitLanguage)
            return entry.code;
    return 0;
}

// TODO(languages): the language file.
wxString GetUserDataDir()
{
    return wxString();
}

wxString GetLanguageFilePath()
{
    return GetUserDataDir() + wxS("/language.txt");
}

int ReadLanguage()
{
    return LANGUAGE_CODE_ENGLISH;
}

void WriteLanguage(int)
{
}
