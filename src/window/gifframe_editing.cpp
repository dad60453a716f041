#include "window/gifframe.h"

#include "window/thumbnailctrl.h"

// TODO(editing): add, insert, delete, clear, pop-up menu, import progress.
void GifFrame::OnAddImage(wxCommandEvent&) {}
void GifFrame::OnInsertImage(wxCommandEvent&) {}
void GifFrame::OnDeleteImage(wxCommandEvent&) {}
void GifFrame::OnClearAll(wxCommandEvent&) {}
void GifFrame::OnThumbnailRightClick(wxThumbnailEvent&) {}
void GifFrame::ThreadUpdate(wxCommandEvent&) {}
bool GifFrame::ImportFiles(const wxArrayString&)
{
    return false;
}
int GifFrame::InsertFiles(const wxArrayString&, int)
{
    return 0;
}
void GifFrame::DeleteFrames(const wxArrayInt&) {}
