#include "window/toolbarfit.h"

#include <wx/toolbar.h>

ToolbarFit::ToolbarFit(wxToolBar* bar, std::vector<wxWindow*> decorations)
    : m_bar(bar), m_decorations(std::move(decorations))
{
}

void ToolbarFit::ShowDecorations(bool show)
{
    for (wxWindow* window : m_decorations)
        window->Show(show);
    m_bar->InvalidateBestSize();
}

void ToolbarFit::Fit(int width)
{
    if (!m_bar || width <= 0)
        return;
    // The toolbar's best width is the one it needs to show every tool.
    ShowDecorations(true);
    const bool compact = m_bar->GetBestSize().x > width;
    if (compact)
        ShowDecorations(false);
    if (compact != m_compact)
    {
        m_compact = compact;
        m_bar->Realize();
    }
}
