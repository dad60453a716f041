#include "window/gifframe.h"

// TODO(export): Save, Save As and the export progress.
void GifFrame::OnSaveAnimator(wxCommandEvent&) {}
void GifFrame::OnSaveAsGif(wxCommandEvent&) {}
void GifFrame::WorkSaveAsGifThreadUpdate(wxCommandEvent&) {}
wxString GifFrame::EnsureGifExtension(const wxString& path)
{
    return path.EndsWith(wxS(".gif")) ? path : path + wxS(".gif");
}
bool GifFrame::StartExport(int, int, const wxString&)
{
    return false;
}
