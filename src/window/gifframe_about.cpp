#include "window/gifframe.h"

// TODO(about): the About dialog.
void GifFrame::OnAbout(wxCommandEvent&) {}
