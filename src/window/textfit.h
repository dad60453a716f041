#ifndef LOOPFORGE_WINDOW_TEXTFIT_H
#define LOOPFORGE_WINDOW_TEXTFIT_H

#include <wx/string.h>

class wxDC;
class wxFrame;
class wxStatusBar;

// Room for text as it is really drawn. Characters the window's font lacks
// (Chinese and Japanese ones in most Latin fonts) come from a fallback font
// whose lines are taller, so a height taken from the font alone cuts them.

// The height of a line in the DC's font holding Latin accents and
// descenders, Chinese, Japanese and Korean characters, and the given text.
int AnyScriptLineHeight(wxDC& dc, const wxString& text = wxString());

// Makes the frame's status bar tall enough for such lines; shownText adds
// the texts of the language in use. Call again after a language switch.
void FitStatusBarHeight(wxFrame* frame, wxStatusBar* bar, const wxString& shownText);

// The text as it fits width pixels in the DC's font: whole, or cut at its
// end with "…" after the last character that still fits.
wxString FitWithEllipsis(wxDC& dc, const wxString& text, int width);

#endif
