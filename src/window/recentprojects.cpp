#include "window/recentprojects.h"

#include "app/language.h"

#include <wx/ffile.h>
#include <wx/file.h>
#include <wx/filename.h>
#include <wx/tokenzr.h>

RecentProjects::RecentProjects(const wxString& filePath) : m_filePath(filePath)
{
}

void RecentProjects::Load()
{
    m_paths.clear();
    if (m_filePath.empty() || !wxFileName::FileExists(m_filePath))
        return;
    wxFFile file(m_filePath, wxS("rb"));
    wxString text;
    if (!file.IsOpened() || !file.ReadAll(&text, wxConvUTF8))
        return;
    wxStringTokenizer lines(text, wxS("\r\n"), wxTOKEN_STRTOK);
    while (lines.HasMoreTokens() && m_paths.size() < kMaxCount)
    {
        const wxString path = lines.GetNextToken();
        if (m_paths.Index(path) == wxNOT_FOUND)
            m_paths.Add(path);
    }
}

void RecentProjects::Add(const wxString& path)
{
    if (path.empty())
        return;
    const int at = m_paths.Index(path);
    if (at != wxNOT_FOUND)
        m_paths.RemoveAt(at);
    m_paths.Insert(path, 0);
    while (m_paths.size() > kMaxCount)
        m_paths.RemoveAt(m_paths.size() - 1);
    Save();
}

void RecentProjects::Remove(const wxString& path)
{
    const int at = m_paths.Index(path);
    if (at == wxNOT_FOUND)
        return;
    m_paths.RemoveAt(at);
    Save();
}

void RecentProjects::Save() const
{
    if (m_filePath.empty())
        return;
    wxString text;
    for (const wxString& path : m_paths)
        text += path + wxS("\n");
    // Written beside the file and renamed into place.
    wxTempFile file(m_filePath);
    if (file.IsOpened() && file.Write(text, wxConvUTF8))
        file.Commit();
}

wxString GetRecentProjectsFilePath()
{
    return GetUserDataDir() + wxS("/recent-projects.txt");
}
