#include "window/gifframe.h"

// TODO(languages): locales and the language switch.
void GifFrame::InitWindowLocale(int) {}
void GifFrame::OnLanguage(wxCommandEvent&) {}
void GifFrame::UpdateLabels() {}
