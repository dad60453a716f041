#include "app/language.h"

#include "app/product.h"

#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/stdpaths.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

const std::vector<LanguageEntry>& GetLanguages()
{
    static const std::vector<LanguageEntry> languages = {
        {LANGUAGE_CODE_CHINESE_SIMPLIFIED, "\xE4\xB8\xAD\xE6\x96\x87\xE7\xAE\x80\xE4\xBD\x93",
         wxLANGUAGE_CHINESE_SIMPLIFIED, "zh_CN"},
        {LANGUAGE_CODE_CHINESE_TRADITIONAL, "\xE4\xB8\xAD\xE6\x96\x87\xE7\xB9\x81\xE4\xBD\x93",
         wxLANGUAGE_CHINESE_TRADITIONAL, "zh_TW"},
        {LANGUAGE_CODE_GERMAN, "Deutsch", wxLANGUAGE_GERMAN, "de"},
        {LANGUAGE_CODE_ENGLISH, "English", wxLANGUAGE_ENGLISH, "en"},
        {LANGUAGE_CODE_FRENCH, "Fran\u00E7ais", wxLANGUAGE_FRENCH, "fr"},
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

namespace
{
wxString& DocumentsDirOverride()
{
    static wxString dir;
    return dir;
}

// Creates one folder level; an existing folder or a failure is not an error
// here, the later file access reports what matters.
void MakeFolder(const wxString& dir)
{
    ::mkdir(dir.fn_str(), 0777);
}

// Reads a number the way the C library's _wtoi does: leading blanks skipped,
// an optional sign, the digits up to the first other character, 0 without
// digits.
int ParseCode(const char* text, size_t length)
{
    size_t i = 0;
    while (i < length && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    return static_cast<int>(negative ? -value : value);
}
}  // namespace

wxString SetDocumentsDirOverride(const wxString& documentsDir)
{
    const wxString previous = DocumentsDirOverride();
    DocumentsDirOverride() = documentsDir;
    return previous;
}

wxString GetUserDataDir()
{
    wxString dir = DocumentsDirOverride();
    if (dir.empty())
        dir = wxStandardPaths::Get().GetDocumentsDir();
    dir.Replace(wxS("\\"), wxS("/"));
    dir += wxS("/") + GetMakerName() + wxS(" files");
    MakeFolder(dir);
    dir += wxS("/") + GetProductName();
    MakeFolder(dir);
    return dir;
}

wxString GetLanguageFilePath()
{
    return GetUserDataDir() + wxS("/language.txt");
}

int ReadLanguage()
{
    const wxString path = GetLanguageFilePath();
    if (!wxFileExists(path))
    {
        WriteLanguage(LANGUAGE_CODE_ENGLISH);
        return LANGUAGE_CODE_ENGLISH;
    }

    // The file holds a few digits; anything after the eighth byte is ignored.
    FILE* file = wxFopen(path, wxS("rb"));
    if (!file)
        return 0;
    char bytes[8];
    const size_t length = fread(bytes, 1, sizeof(bytes), file);
    fclose(file);
    return ParseCode(bytes, length);
}

void WriteLanguage(int code)
{
    // Written beside the file and renamed into place, so a failed write
    // never leaves a half-written code behind.
    const std::string digits = std::to_string(code);
    wxTempFile file(GetLanguageFilePath());
    if (file.IsOpened() && file.Write(digits.data(), digits.size()))
        file.Commit();
}
