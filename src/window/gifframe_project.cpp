#include "window/gifframe.h"

// TODO(projects): project files and the unsaved-project prompts.
void GifFrame::OnSaveProject(wxCommandEvent&) {}
bool GifFrame::SaveProject()
{
    return false;
}
void GifFrame::OnOpenProject(wxCommandEvent&) {}
void GifFrame::OpenProjectFile() {}
bool GifFrame::OpenProjectPath(const wxString&)
{
    return false;
}
void GifFrame::ConfirmCloseProject()
{
    Destroy();
}
bool GifFrame::IsProjectModified() const
{
    return false;
}
