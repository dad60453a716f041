#ifndef LOOPFORGE_WINDOW_RECENTPROJECTS_H
#define LOOPFORGE_WINDOW_RECENTPROJECTS_H

#include <wx/arrstr.h>
#include <wx/string.h>

// The projects opened or saved last, newest first, kept in a text file of
// one path a line so that they survive the program.
class RecentProjects
{
public:
    static constexpr size_t kMaxCount = 8;

    // An empty file path keeps the list in memory only.
    explicit RecentProjects(const wxString& filePath = wxString());

    // Reads the list again from the file; a missing file gives none.
    void Load();
    // Puts the path first (once), dropping the oldest beyond kMaxCount.
    void Add(const wxString& path);
    void Remove(const wxString& path);
    const wxArrayString& GetPaths() const { return m_paths; }

private:
    void Save() const;

    wxString m_filePath;
    wxArrayString m_paths;
};

// Where the user's list lives.
wxString GetRecentProjectsFilePath();

#endif
