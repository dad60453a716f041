#include "window/gifframe.h"

// TODO(update check)
void GifFrame::CheckForUpdate() {}
void GifFrame::OnUpdateResult(wxCommandEvent&) {}
