#ifndef LOOPFORGE_APP_LANGUAGE_H
#define LOOPFORGE_APP_LANGUAGE_H

#include <wx/string.h>

#include <vector>

// Language codes: stored in the language file and used as the ids of the
// language menu items. They are fixed numbers; the toolkit numbers its own
// language constants differently, so they are converted through this table.
enum LanguageCode
{
    LANGUAGE_CODE_CHINESE_SIMPLIFIED = 46,
    LANGUAGE_CODE_CHINESE_TRADITIONAL = 47,
    LANGUAGE_CODE_ENGLISH = 58,
    LANGUAGE_CODE_FRENCH = 80,
    LANGUAGE_CODE_GERMAN = 89,
    LANGUAGE_CODE_ITALIAN = 110,
    LANGUAGE_CODE_JAPANESE = 112
};

struct LanguageEntry
{
    int code;             // LanguageCode
    const char* label;    // menu label in the language itself (UTF-8), never translated
    int toolkitLanguage;  // wxLANGUAGE_...
    const char* folder;   // catalog folder under Language/
};

// The seven languages in menu order.
const std::vector<LanguageEntry>& GetLanguages();

// The toolkit constant for a stored code; wxLANGUAGE_DEFAULT for 0 and for
// codes that are not one of the seven.
int ToolkitLanguageFromCode(int code);
// The stored code for a toolkit constant; 0 when it is not one of the seven.
int CodeFromToolkitLanguage(int toolkitLanguage);

wxString GetUserDataDir();       // <documents>/Corvanel files/Corvanel Loopforge
wxString GetLanguageFilePath();  // GetUserDataDir() + "/language.txt"

// The saved code: 58 (written) when there is no file, 0 when it holds no number.
int ReadLanguage();
void WriteLanguage(int code);

#endif
