#ifndef LOOPFORGE_WINDOW_CHECKERBOARD_H
#define LOOPFORGE_WINDOW_CHECKERBOARD_H

#include <wx/gdicmn.h>

class wxBitmap;
class wxDC;

// Draws bitmap at position with its transparent pixels (mask or alpha)
// showing a grey checkerboard, as picture editors show transparency, rather
// than whatever lies behind.
void DrawOverCheckerboard(wxDC& dc, const wxBitmap& bitmap, const wxPoint& position);

#endif
