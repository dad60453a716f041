#include "window/gifframe.h"

#include "app/product.h"
#include "edit/framelist.h"
#include "edit/importrun.h"
#include "jobs/renderjob.h"
#include "project/projectcaptions.h"
#include "project/projectfile.h"
#include "project/savedstate.h"
#include "window/chooserwildcards.h"
#include "window/confirmreplace.h"
#include "window/thumbnailctrl.h"
#include "window/translatedbuttons.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

namespace
{
// Asks whether to save the unsaved project; wxID_YES, wxID_NO or wxID_CANCEL.
int AskToSaveProject(wxWindow* parent, const wxString& caption)
{
    const int answer =
        ShowMessageBox(parent,
                       _("The project is unsaved,you can continue to edit\n your project when "
                         "you open it next time,do you \nwant to save the project now?"),
                       caption, wxYES_NO | wxCANCEL | wxNO_DEFAULT | wxICON_EXCLAMATION);
    return answer == wxID_YES || answer == wxID_NO ? answer : wxID_CANCEL;
}

}  // namespace

// Any change of the frames (order, sources, own delays) or of the settings
// since the project was last saved or opened counts.
bool GifFrame::IsProjectModified() const
{
    return !m_projectSaved || !m_projectSaved->SameWork(CurrentSavedState());
}

void GifFrame::TakeProjectSnapshot()
{
    m_projectSaved.reset(new SavedState(CurrentSavedState()));
}

void GifFrame::OnSaveProject(wxCommandEvent&)
{
    SaveProject();
}

bool GifFrame::SaveProject()
{
    if (m_frames->IsEmpty())
        return false;

    Project project;
    project.gifName = wxFileNameFromPath(m_gifPath);
    project.width = m_spinctrl_width->GetValue();
    project.height = m_spinctrl_height->GetValue();
    project.delay = m_spinctrl_delay->GetValue();
    project.framePaths = m_frames->GetNames();
    project.frameDelays = m_frames->GetOwnDelays();
    project.frameOrientations = m_frames->GetOrientations();
    project.frameVideos = m_frames->GetVideoEntries();
    project.crop = *m_crop;
    project.gifOptions = m_gifOptions;
    project.captions = SavedState::CaptionsOf(*m_frames);

    wxString path = m_projectPath;
    if (path.empty())
    {
        wxFileDialog dialog(this, _("Save XML Files"), wxString(), wxString(),
                            _("XML files") + wxS(" (*.xml)|*.xml"),
                            wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dialog.ShowModal() == wxID_OK)
            path = dialog.GetPath();
        if (path.empty())
            return false;
        const wxString final = path.EndsWith(wxS(".xml")) ? path : path + wxS(".xml");
        if (!MayWriteWithAddedEnding(this, path, final, _("Save XML Files")))
            return false;
        path = final;
    }
    if (!path.EndsWith(wxS(".xml")))
        path += wxS(".xml");

    wxString error;
    if (!WriteProjectFile(path, project, &error))
    {
        ShowMessageBox(this, error, MessageCaption(), wxOK | wxICON_ERROR);
        return false;
    }

    // The project counts as saved only once the file really is on disk.
    TakeProjectSnapshot();
    m_projectPath = path;
    m_projectFileName = wxFileNameFromPath(path);
    RememberProject(path);
    UpdateTitle();
    return true;
}

void GifFrame::OnOpenProject(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning() || !MayOpenAnotherProject())
        return;
    OpenProjectFile();
}

void GifFrame::OpenDroppedProject(const wxString& path)
{
    StopPlayback();
    if (IsWorkerRunning() || !MayOpenAnotherProject())
        return;
    OpenProjectPath(path);
}

bool GifFrame::MayOpenAnotherProject()
{
    if (m_frames->IsEmpty())
        return true;
    int answer;
    if (m_projectPath.empty())
        answer = AskToSaveProject(this, _("Warning!"));
    else if (IsProjectModified())
        answer = AskToSaveProject(this, _("Warning"));
    else
        return true;
    // A save the user asked for that did not happen keeps the current work.
    return answer != wxID_CANCEL && (answer != wxID_YES || SaveProject());
}

void GifFrame::OpenProjectFile()
{
    StopPlayback();
    wxFileDialog dialog(this, _("Load Xml Files"), wxString(), wxString(), ProjectChooserWildcard(),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return;
    OpenProjectPath(dialog.GetPath());
}

bool GifFrame::OpenProjectPath(const wxString& path)
{
    StopPlayback();
    const ProjectReadResult read = ReadProjectFile(path);
    const Project& project = read.project;

    // Settings read before a mismatch are applied, in the file's order.
    if (read.stage > ProjectReadStage::NoWidth)
        m_spinctrl_width->SetValue(project.width);
    if (read.HasSize())
    {
        m_spinctrl_height->SetValue(project.height);
        m_gifFileName = project.gifName;
        const wxString format =
            m_gifFileName.empty() ? wxString(wxS("Unititle.gif(%d * %d)")) : wxS("%s(%d * %d)");
        const wxString status =
            m_gifFileName.empty()
                ? wxString::Format(format, project.width, project.height)
                : wxString::Format(format, m_gifFileName, project.width, project.height);
        m_statusBar1->SetStatusText(status + _("px"), 0);
        m_sourceWidth = m_gifWidth = project.width;
        m_sourceHeight = m_gifHeight = project.height;
    }
    if (read.HasDelay())
    {
        m_spinctrl_delay->SetValue(project.delay);
        m_lastDelay = m_spinctrl_delay->GetValue();
        m_thumbnailCtrl->SetLabelDelay(m_lastDelay);
    }

    // A file that is not a whole project never becomes the current project,
    // so a later Save Project cannot overwrite an unrelated file.
    if (!read.IsComplete())
    {
        // A file refused before it was parsed says why.
        wxString message = _("Failed to load XML file!");
        if (read.stage < ProjectReadStage::NotXml)
            message += wxS("\n\n") + path + wxS(": ") + DescribeProjectReadStage(read.stage);
        ShowMessageBox(this, message, MessageCaption(), wxOK | wxICON_INFORMATION);
        return false;
    }

    // The project's frames replace the strip once they are on their way.
    ImportRun run(project.framePaths, project.frameDelays, -1, project.frameOrientations);
    run.SetVideoEntries(project.frameVideos);
    run.reportUnreadable = true;
    if (!StartImport(run, true))
        return false;

    m_projectPath = path;
    m_projectFileName = wxFileNameFromPath(path);
    RememberProject(path);
    // A project without GIF options is a classic one.
    m_gifOptions = project.gifOptions;
    // The crop shapes the frames as they arrive; the import undoes nothing.
    *m_crop = project.crop;
    // The GIF the project names lies beside it, where the renderer writes it
    // too; the next Save writes it again.
    m_gifPath = project.gifName.empty() ? wxString() : ProjectDefaultOutput(path, project.gifName);
    m_gifFileName = wxFileNameFromPath(m_gifPath);
    m_exportSaved.reset();

    // The project as the file has it; pictures that do not arrive, or a
    // stored size no GIF can have, leave it unsaved.
    m_projectSaved.reset(new SavedState{project.framePaths,
                                        project.frameDelays,
                                        project.delay,
                                        project.width,
                                        project.height,
                                        project.gifOptions,
                                        {},
                                        project.frameOrientations,
                                        project.crop,
                                        project.captions});
    m_projectSaved->ownDelays.resize(project.framePaths.size(), 0);
    m_openedProjectSize = ProjectOutputSize(project);
    m_openedProjectCaptions.reset(
        project.captions.empty()
            ? nullptr
            : new PendingProjectCaptions{project.captions, project.framePaths});
    UpdateTitle();
    return true;
}

void GifFrame::ApplyOpenedProjectSize()
{
    const wxSize size = m_openedProjectSize;
    m_openedProjectSize = wxSize();
    if (size.x < 1 || size.y < 1 || m_frames->IsEmpty())
        return;
    // A size other than the frames give was the user's choice: edits keep it.
    m_sizeChosen = size != wxSize(m_sourceWidth, m_sourceHeight);
    m_gifWidth = size.x;
    m_gifHeight = size.y;
    m_spinctrl_width->SetValue(size.x);
    m_spinctrl_height->SetValue(size.y);
    m_statusBar1->SetStatusText(StatusSizeText(size.x, size.y), 0);
}

void GifFrame::ConfirmCloseProject()
{
    if (!IsProjectModified())
    {
        Destroy();
        return;
    }
    switch (AskToSaveProject(this, _("Warning")))
    {
        case wxID_YES:
            // Closing after a save that did not happen would lose the work.
            if (SaveProject())
                Destroy();
            break;
        case wxID_NO:
            Destroy();
            break;
        default:
            break;
    }
}

void GifFrame::ApplyOpenedProjectCaptions()
{
    const std::unique_ptr<PendingProjectCaptions> pending = std::move(m_openedProjectCaptions);
    if (!pending)
        return;
    // Part of opening the project, not an edit to undo.
    ApplyProjectCaptions(pending->captions, pending->frames, *m_frames);
    m_panel_down->Refresh(false);
}
