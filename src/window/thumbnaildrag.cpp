// Dragging the selected thumbnails to another place in the strip: the
// insertion mark that follows the pointer, scrolling while the pointer rests
// near the top or bottom edge, and the notification when the user lets go.
#include "window/thumbnailctrl.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdlib>

namespace
{
// How near the top or bottom edge the pointer scrolls the strip, in pixels.
const int kScrollZone = 24;
// Scrolling while dragging: one step of this many scroll units per tick.
const int kScrollUnitsPerTick = 2;
const int kScrollTickMs = 40;
}  // namespace

int wxThumbnailCtrl::InsertionIndexAt(const wxPoint& pt)
{
    const int count = GetCount();
    if (count == 0)
        return 0;
    const wxPoint virtualPt = CalcUnscrolledPosition(pt);
    const int perRow = GetItemsPerRow(GetClientSize());
    const int rows = (count + perRow - 1) / perRow;
    const int columnPitch = m_itemWidth + m_spacing;
    const int rowPitch = m_itemHeight + m_spacing;
    const int row = std::clamp((virtualPt.y - m_spacing) / rowPitch, 0, rows - 1);
    // The gap nearest to the point: half a cell right of a gap still counts for it.
    const int x = virtualPt.x - m_spacing + columnPitch / 2;
    const int column = std::clamp(x < 0 ? 0 : x / columnPitch, 0, perRow);
    return std::min(row * perRow + column, count);
}

wxRect wxThumbnailCtrl::InsertionMarkRect(int index)
{
    const int count = GetCount();
    if (index < 0 || index > count || count == 0)
        return wxRect();
    const int perRow = GetItemsPerRow(GetClientSize());
    int row = index / perRow;
    int column = index % perRow;
    // After the last item of a full row the mark ends that row.
    if (index == count && column == 0)
    {
        --row;
        column = perRow;
    }
    // The bar fills the gap before the cell and a pixel of each neighbour.
    const int x = (m_itemWidth + m_spacing) * column - 1;
    const int y = m_spacing + (m_itemHeight + m_spacing) * row;
    return wxRect(x, y, m_spacing + 2, m_itemHeight);
}

void wxThumbnailCtrl::SetInsertionMark(int index)
{
    if (index < -1 || index > GetCount())
        index = -1;
    if (index == m_insertionMark)
        return;
    const int previous = m_insertionMark;
    m_insertionMark = index;
    for (int changed : {previous, index})
    {
        wxRect rect = InsertionMarkRect(changed);
        if (rect.IsEmpty())
            continue;
        rect.SetPosition(CalcScrolledPosition(rect.GetPosition()));
        RefreshRect(rect.Inflate(1), false);
    }
}

void wxThumbnailCtrl::DrawInsertionMark(wxDC& dc)
{
    const wxRect rect = InsertionMarkRect(m_insertionMark);
    if (rect.IsEmpty())
        return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(m_frameLabelColour));
    dc.DrawRectangle(rect);
}

void wxThumbnailCtrl::OnMotion(wxMouseEvent& event)
{
    event.Skip();
    if (!m_dragging)
        UpdateToolTip(event.GetPosition());
    if (!m_dragCandidate || !event.LeftIsDown())
        return;
    if (!m_dragging)
    {
        const int slopX = std::max(3, wxSystemSettings::GetMetric(wxSYS_DRAG_X, this));
        const int slopY = std::max(3, wxSystemSettings::GetMetric(wxSYS_DRAG_Y, this));
        const wxPoint moved = event.GetPosition() - m_dragStart;
        if (std::abs(moved.x) < slopX && std::abs(moved.y) < slopY)
            return;
        m_dragging = true;
        m_pendingSelect = -1;
        if (!HasCapture())
            CaptureMouse();
    }
    DragTo(event.GetPosition());
}

void wxThumbnailCtrl::DragTo(const wxPoint& pt)
{
    SetInsertionMark(InsertionIndexAt(pt));
    const int height = GetClientSize().y;
    m_scrollStep = pt.y < kScrollZone             ? -kScrollUnitsPerTick
                   : pt.y >= height - kScrollZone ? kScrollUnitsPerTick
                                                  : 0;
    if (m_scrollStep != 0 && !m_scrollTimer.IsRunning())
        m_scrollTimer.Start(kScrollTickMs);
    else if (m_scrollStep == 0)
        m_scrollTimer.Stop();
}

void wxThumbnailCtrl::OnScrollTimer(wxTimerEvent&)
{
    if (!m_dragging || m_scrollStep == 0)
    {
        m_scrollTimer.Stop();
        return;
    }
    Scroll(0, std::max(0, GetViewStart().y + m_scrollStep));
    // The pointer may rest while the strip scrolls under it.
    DragTo(ScreenToClient(wxGetMousePosition()));
}

void wxThumbnailCtrl::OnLeftUp(wxMouseEvent& event)
{
    event.Skip();
    if (m_dragging)
    {
        DragTo(event.GetPosition());
        EndDrag(true);
    }
    else if (m_pendingSelect >= 0 && m_pendingSelect < GetCount())
    {
        DoSelection(m_pendingSelect, 0);
    }
    m_dragCandidate = false;
    m_pendingSelect = -1;
}

void wxThumbnailCtrl::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    EndDrag(false);
}

void wxThumbnailCtrl::EndDrag(bool drop)
{
    const int index = m_insertionMark;
    m_dragging = false;
    m_dragCandidate = false;
    m_scrollStep = 0;
    m_scrollTimer.Stop();
    if (HasCapture())
        ReleaseMouse();
    SetInsertionMark(-1);
    if (drop && index >= 0)
        SendEvent(wxEVT_COMMAND_THUMBNAIL_ITEMS_DROPPED, index, 0);
}
