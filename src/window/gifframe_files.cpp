// Files that come from outside the strip's own commands: the command line and
// the file manager, the recent projects, and the title that names the work.
#include "window/gifframe.h"

#include "app/product.h"
#include "decode/videoclip.h"
#include "edit/framelist.h"
#include "window/recentprojects.h"
#include "window/shortcutsdialog.h"
#include "window/translatedbuttons.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/menu.h>

wxString GifFrame::WindowTitle(const wxString& name, bool modified)
{
    return (modified ? wxS("*") : wxS("")) + name + wxS(" - ") + GetProductName();
}

bool GifFrame::HasUnsavedWork() const
{
    if (m_frames->IsEmpty())
        return false;
    if (!m_projectPath.empty())
        return IsProjectModified();
    if (!m_gifPath.empty())
        return !IsExportSnapshotCurrent();
    return true;
}

void GifFrame::UpdateTitle()
{
    const bool modified = HasUnsavedWork();
    wxString title;
    // A project file not ending in ".xml" (upper case too) gives an empty name.
    if (!m_projectPath.empty())
        title = WindowTitle(m_projectFileName.EndsWith(wxS(".xml"))
                                ? m_projectFileName.Left(m_projectFileName.length() - 4)
                                : wxString(),
                            modified);
    else if (!m_gifPath.empty())
        title = WindowTitle(wxFileNameFromPath(m_gifPath), modified);
    else
        title = (modified ? wxS("*") : wxS("")) + GetProductName();
    if (title != GetTitle())
        SetTitle(title);
}

wxString GifFrame::MessageCaption() const
{
    const wxString title = GetTitle();
    return title.StartsWith(wxS("*")) ? title.Mid(1) : title;
}

void GifFrame::OnIdleTitle(wxIdleEvent& event)
{
    event.Skip();
    // The work is complete only once a running import or export is over;
    // their end sets the title.
    if (!IsWorkerRunning())
        UpdateTitle();
}

void GifFrame::FillRecentMenu()
{
    if (!m_menuRecent)
        return;
    while (m_menuRecent->GetMenuItemCount() > 0)
        m_menuRecent->Destroy(m_menuRecent->FindItemByPosition(0));
    const wxArrayString& paths = m_recentProjects->GetPaths();
    for (size_t i = 0; i < paths.size(); ++i)
    {
        wxString shown = paths[i];
        shown.Replace(wxS("&"), wxS("&&"));
        m_menuRecent->Append(ID_MENU_RECENT_FIRST + int(i),
                             wxString::Format(wxS("&%zu %s"), i + 1, shown));
    }
    if (paths.empty())
        m_menuRecent->Append(ID_MENU_RECENT_FIRST, _("No recent projects"))->Enable(false);
}

void GifFrame::RememberProject(const wxString& path)
{
    m_recentProjects->Add(wxFileName(path).GetAbsolutePath());
    FillRecentMenu();
}

bool GifFrame::OpenRecentProject(size_t index)
{
    const wxArrayString& paths = m_recentProjects->GetPaths();
    if (index >= paths.size())
        return false;
    const wxString path = paths[index];
    StopPlayback();
    if (!wxFileName::FileExists(path))
    {
        m_recentProjects->Remove(path);
        FillRecentMenu();
        ShowMessageBox(this,
                       wxString::Format(_("The project \"%s\" no longer exists; it has been "
                                          "removed from the recent projects."),
                                        path),
                       MessageCaption(), wxOK | wxICON_WARNING);
        return false;
    }
    if (IsWorkerRunning() || !MayOpenAnotherProject())
        return false;
    return OpenProjectPath(path);
}

void GifFrame::OnRecentProject(wxCommandEvent& event)
{
    OpenRecentProject(size_t(event.GetId() - ID_MENU_RECENT_FIRST));
}

bool GifFrame::OpenFiles(const wxArrayString& paths)
{
    wxArrayString pictures;
    wxString project;
    for (const wxString& path : paths)
    {
        const wxFileName name(path);
        if (name.GetExt().Lower() == wxS("xml"))
        {
            if (project.empty())
                project = name.GetAbsolutePath();
        }
        else
            pictures.Add(name.GetAbsolutePath());
    }
    StopPlayback();
    if (IsWorkerRunning())
        return false;
    // A project replaces the strip, so it is opened alone.
    if (!project.empty())
        return MayOpenAnotherProject() && OpenProjectPath(project);
    // A clip alone is imported as Import Video does.
    if (pictures.size() == 1 && IsVideoClipPath(pictures[0]))
        return ImportVideo(pictures[0]);
    return !pictures.empty() && ImportFiles(pictures);
}

void GifFrame::OnKeyboardShortcuts(wxCommandEvent&)
{
    ShortcutsDialog dialog(this, CollectShortcuts(*m_menuBar));
    dialog.ShowModal();
}
