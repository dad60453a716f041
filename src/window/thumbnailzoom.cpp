// The strip's thumbnail size and its mouse wheel: the wheel scrolls whole
// rows, Ctrl+wheel makes the thumbnails larger or smaller.
#include "window/thumbnailctrl.h"

#include <algorithm>

namespace
{
const int kSideStep = 16;
}

void wxThumbnailCtrl::SetThumbnailSide(int side)
{
    side = std::clamp(side, kMinThumbnailSide, kMaxThumbnailSide);
    if (side == m_thumbnailImageSize.x && m_itemWidth > 0)
        return;
    m_thumbnailImageSize = wxSize(side, side);
    m_itemWidth = m_thumbnailImageSize.x + 2 * m_itemMargin;
    m_itemHeight = m_thumbnailImageSize.y + 4 * m_itemMargin + 2 * m_labelHeight;
    for (wxThumbnailItem* item : m_items)
        item->Load(this, true);
    LayoutChanged();
    if (m_focusItem >= 0 && m_focusItem < GetCount())
        EnsureVisible(m_focusItem);
}

void wxThumbnailCtrl::ScrollRows(int rows)
{
    int ppuX = 0;
    int ppuY = 0;
    GetScrollPixelsPerUnit(&ppuX, &ppuY);
    if (ppuY < 1)
        return;
    const int pitch = GetRowPitch();
    const int top = GetViewStart().y * ppuY;
    // The row at the view's top, then that many rows on; a scroll unit may
    // not meet a row's top exactly, so the nearest unit at or above it.
    const int row = std::max(0, (top + pitch / 2) / pitch + rows);
    Scroll(0, row * pitch / ppuY);
}

void wxThumbnailCtrl::OnMouseWheel(wxMouseEvent& event)
{
    const int delta = std::max(1, event.GetWheelDelta());
    m_wheelRest += event.GetWheelRotation();
    const int steps = m_wheelRest / delta;
    m_wheelRest -= steps * delta;
    if (steps == 0)
        return;
    if (event.ControlDown())
    {
        SetThumbnailSide(GetThumbnailSide() + steps * kSideStep);
        if (m_sideChanged)
            m_sideChanged(GetThumbnailSide());
    }
    else
        ScrollRows(-steps);
}
