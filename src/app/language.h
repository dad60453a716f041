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

// The folder for the user's own files of the program: <documents>/Corvanel
// files/Corvanel Loopforge, both folders created when missing. <documents>
// is the folder the toolkit reports as the user's documents folder (on Linux
// the XDG documents folder).
wxString GetUserDataDir();
wxString GetLanguageFilePath();  // GetUserDataDir() + "/language.txt"

// Replaces the documents folder the user data folder is built from and
// returns the previous replacement; an empty text returns to the toolkit's.
// Tests use it to keep away from the real user's folder.
wxString SetDocumentsDirOverride(const wxString& documentsDir);

// The saved code: 58 (written) when there is no file, 0 when it holds no number.
int ReadLanguage();
// Replaces the file's content with the code in decimal digits.
void WriteLanguage(int code);

#endif
