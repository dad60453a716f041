#ifndef LOOPFORGE_WINDOW_TOOLBARFIT_H
#define LOOPFORGE_WINDOW_TOOLBARFIT_H

#include <vector>

class wxToolBar;
class wxWindow;

// Keeps every setting of the toolbar reachable in a narrow window. GTK hides
// the tools that do not fit behind an overflow arrow whose menu cannot show
// a control, so the Height field would be lost; instead the toolbar drops
// what only decorates it (the gaps, the "GIF:" label and the units) when the
// window is narrower than the whole toolbar.
class ToolbarFit
{
public:
    // decorations: the toolbar's controls that may go.
    ToolbarFit(wxToolBar* bar, std::vector<wxWindow*> decorations);

    // Shows the decorations if the toolbar fits width with them, else hides them.
    void Fit(int width);
    bool IsCompact() const { return m_compact; }

private:
    void ShowDecorations(bool show);

    wxToolBar* m_bar;
    std::vector<wxWindow*> m_decorations;
    bool m_compact = false;
};

#endif
