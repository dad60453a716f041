#include "window/framedroptarget.h"

#include "edit/droppedfiles.h"
#include "window/gifframe.h"
#include "window/thumbnailctrl.h"

#include <algorithm>

int DropInsertIndex(wxThumbnailCtrl& strip, const wxPoint& point)
{
    const wxPoint at = strip.CalcUnscrolledPosition(point);
    const wxSize cell = strip.GetItemSize() + wxSize(strip.GetSpacing(), strip.GetSpacing());
    const int perRow = strip.GetItemsPerRow(strip.GetClientSize());
    const int column = std::min(std::max(at.x, 0) / cell.x, perRow);
    const int row = std::max(at.y, 0) / cell.y;
    return std::min(row * perRow + column, strip.GetCount());
}

FrameDropTarget::FrameDropTarget(GifFrame* frame, wxThumbnailCtrl* strip)
    : m_frame(frame), m_strip(strip)
{
}

bool FrameDropTarget::DropFiles(const wxArrayString& files, const wxPoint& point)
{
    if (m_frame->IsWorkerRunning())
        return false;
    const DroppedFiles dropped = SortOutDroppedFiles(files);
    if (!dropped.project.empty())
    {
        m_frame->OpenDroppedProject(dropped.project);
        return true;
    }
    const int insertAt = m_strip ? DropInsertIndex(*m_strip, point) : -1;
    if (!dropped.video.empty())
    {
        m_frame->StopPlayback();
        return m_frame->ImportVideo(dropped.video, insertAt);
    }
    if (dropped.pictures.empty())
        return false;
    m_frame->StopPlayback();
    return m_frame->ImportFiles(dropped.pictures, false, insertAt);
}

wxDragResult FrameDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult suggested)
{
    if (m_frame->IsWorkerRunning())
        return wxDragNone;
    // The strip shows where the pictures will go, as when frames are dragged.
    if (m_strip)
        m_strip->SetInsertionMark(DropInsertIndex(*m_strip, wxPoint(x, y)));
    return suggested;
}

void FrameDropTarget::OnLeave()
{
    if (m_strip)
        m_strip->SetInsertionMark(-1);
}

bool FrameDropTarget::OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files)
{
    OnLeave();
    // The window may open dialogs; the file manager waits for the drop to end.
    m_frame->CallAfter([this, files, x, y] { DropFiles(files, wxPoint(x, y)); });
    return true;
}
