#ifndef LOOPFORGE_TESTS_TEST_FILES_H
#define LOOPFORGE_TESTS_TEST_FILES_H

// Reading and writing whole files, listing folders and building path lists
// for checks of what the program wrote.
#include <wx/arrstr.h>
#include <wx/dir.h>
#include <wx/ffile.h>
#include <wx/string.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFileBytes(const wxString& path)
{
    wxFFile file(path, wxS("rb"));
    if (!file.IsOpened())
        return std::string();
    std::string bytes(static_cast<size_t>(file.Length()), '\0');
    if (!bytes.empty())
        file.Read(&bytes[0], bytes.size());
    return bytes;
}

inline void WriteFileBytes(const wxString& path, const std::string& bytes)
{
    wxFFile file(path, wxS("wb"));
    file.Write(bytes.data(), bytes.size());
}

// The names of the files in a folder, hidden ones (temporary files) included, sorted.
inline std::vector<wxString> FilesIn(const wxString& folder)
{
    std::vector<wxString> names;
    wxDir dir(folder);
    wxString name;
    for (bool more = dir.IsOpened() && dir.GetFirst(&name, wxString(), wxDIR_FILES | wxDIR_HIDDEN);
         more; more = dir.GetNext(&name))
        names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

inline wxArrayString Paths(std::initializer_list<wxString> paths)
{
    wxArrayString list;
    for (const wxString& path : paths)
        list.push_back(path);
    return list;
}

#endif
