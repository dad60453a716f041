#include "window/gifframe.h"

// TODO(canvas): delay, width and height settings, status field 0.
void GifFrame::OnSetDelay(wxCommandEvent&) {}
void GifFrame::OnWidthChanged(wxCommandEvent&) {}
void GifFrame::OnHeightChanged(wxCommandEvent&) {}
void GifFrame::UpdateCanvasSize() {}
wxString GifFrame::StatusSizeText(int, int) const
{
    return wxString();
}
