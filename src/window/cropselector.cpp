#include "window/cropselector.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include <algorithm>

namespace
{
const int kHandleSize = 8;
}  // namespace

CropSelector::CropSelector(wxWindow* parent, wxWindowID id, const wxImage& picture,
                           const wxSize& size)
    : wxWindow(parent, id, wxDefaultPosition, size, wxFULL_REPAINT_ON_RESIZE),
      m_picture(picture),
      m_selection(wxPoint(0, 0), picture.GetSize())
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(size);
    Bind(wxEVT_PAINT, &CropSelector::OnPaint, this);
    Bind(wxEVT_SIZE, &CropSelector::OnSize, this);
    Bind(wxEVT_LEFT_DOWN, &CropSelector::OnLeftDown, this);
    Bind(wxEVT_MOTION, &CropSelector::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CropSelector::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { m_drag = Drag::None; });
}

void CropSelector::SetSelection(const wxRect& selection)
{
    const wxSize size = m_picture.GetSize();
    wxRect rect = selection;
    rect.x = std::clamp(rect.x, 0, std::max(0, size.x - 1));
    rect.y = std::clamp(rect.y, 0, std::max(0, size.y - 1));
    rect.width = std::clamp(rect.width, 1, std::max(1, size.x - rect.x));
    rect.height = std::clamp(rect.height, 1, std::max(1, size.y - rect.y));
    if (rect == m_selection)
        return;
    m_selection = rect;
    Refresh(false);
}

wxRect CropSelector::GetPicturePlacement() const
{
    const wxSize client = GetClientSize();
    const wxSize picture = m_picture.GetSize();
    if (picture.x < 1 || picture.y < 1 || client.x < 1 || client.y < 1)
        return wxRect();
    // Leaves room for the handles at the edges; never enlarges.
    const wxSize room(std::max(1, client.x - kHandleSize), std::max(1, client.y - kHandleSize));
    const double scale =
        std::min({1.0, double(room.x) / picture.x, double(room.y) / picture.y});
    const wxSize shown(std::max(1, int(picture.x * scale)), std::max(1, int(picture.y * scale)));
    return wxRect(wxPoint((client.x - shown.x) / 2, (client.y - shown.y) / 2), shown);
}

wxPoint CropSelector::ToPicture(const wxPoint& window) const
{
    const wxRect placement = GetPicturePlacement();
    if (placement.IsEmpty())
        return wxPoint(0, 0);
    const wxSize picture = m_picture.GetSize();
    const int x = int((long long)(window.x - placement.x) * picture.x / placement.width);
    const int y = int((long long)(window.y - placement.y) * picture.y / placement.height);
    return wxPoint(std::clamp(x, 0, picture.x), std::clamp(y, 0, picture.y));
}

wxPoint CropSelector::ToWindow(const wxPoint& picture) const
{
    const wxRect placement = GetPicturePlacement();
    const wxSize size = m_picture.GetSize();
    if (placement.IsEmpty() || size.x < 1 || size.y < 1)
        return placement.GetPosition();
    return wxPoint(placement.x + int((long long)picture.x * placement.width / size.x),
                   placement.y + int((long long)picture.y * placement.height / size.y));
}

wxRect CropSelector::HandleRect(int handle) const
{
    const wxPoint topLeft = ToWindow(m_selection.GetTopLeft());
    const wxPoint bottomRight =
        ToWindow(wxPoint(m_selection.GetRight() + 1, m_selection.GetBottom() + 1));
    const int xs[] = {topLeft.x, (topLeft.x + bottomRight.x) / 2, bottomRight.x};
    const int ys[] = {topLeft.y, (topLeft.y + bottomRight.y) / 2, bottomRight.y};
    // Clockwise from the top left: corners and edge middles.
    const int column[] = {0, 1, 2, 2, 2, 1, 0, 0};
    const int row[] = {0, 0, 0, 1, 2, 2, 2, 1};
    return wxRect(xs[column[handle]] - kHandleSize / 2, ys[row[handle]] - kHandleSize / 2,
                  kHandleSize, kHandleSize);
}

int CropSelector::HandleAt(const wxPoint& window) const
{
    for (int handle = 0; handle < 8; ++handle)
        if (HandleRect(handle).Inflate(2).Contains(window))
            return handle;
    return -1;
}

void CropSelector::OnSize(wxSizeEvent& event)
{
    m_shown = wxBitmap();
    Refresh(false);
    event.Skip();
}

void CropSelector::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_APPWORKSPACE)));
    dc.Clear();
    const wxRect placement = GetPicturePlacement();
    if (placement.IsEmpty() || !m_picture.IsOk())
        return;
    if (!m_shown.IsOk() || m_shown.GetSize() != placement.GetSize())
        m_shown = wxBitmap(placement.GetSize() == m_picture.GetSize()
                               ? m_picture
                               : m_picture.Scale(placement.width, placement.height,
                                                 wxIMAGE_QUALITY_NORMAL));
    dc.DrawBitmap(m_shown, placement.GetPosition(), true);

    const wxPoint topLeft = ToWindow(m_selection.GetTopLeft());
    const wxPoint bottomRight =
        ToWindow(wxPoint(m_selection.GetRight() + 1, m_selection.GetBottom() + 1));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(*wxBLACK, 3));
    dc.DrawRectangle(wxRect(topLeft, bottomRight));
    dc.SetPen(wxPen(*wxWHITE, 1, wxPENSTYLE_SHORT_DASH));
    dc.DrawRectangle(wxRect(topLeft, bottomRight));
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxWHITE_BRUSH);
    for (int handle = 0; handle < 8; ++handle)
        dc.DrawRectangle(HandleRect(handle));
}

void CropSelector::OnLeftDown(wxMouseEvent& event)
{
    const wxPoint window = event.GetPosition();
    m_handle = HandleAt(window);
    m_anchor = ToPicture(window);
    m_dragStart = m_selection;
    // A selection of the whole picture cannot move: a drag on it draws anew.
    const bool whole = m_selection == wxRect(wxPoint(0, 0), m_picture.GetSize());
    if (m_handle >= 0)
        m_drag = Drag::Handle;
    else if (m_selection.Contains(m_anchor) && !whole)
        m_drag = Drag::Move;
    else
        m_drag = Drag::New;
    CaptureMouse();
}

void CropSelector::OnMotion(wxMouseEvent& event)
{
    if (m_drag == Drag::None || !event.LeftIsDown())
        return;
    const wxPoint at = ToPicture(event.GetPosition());
    const wxSize size = m_picture.GetSize();
    wxRect next = m_selection;
    if (m_drag == Drag::New)
    {
        const wxPoint a(std::min(m_anchor.x, at.x), std::min(m_anchor.y, at.y));
        const wxPoint b(std::max(m_anchor.x, at.x), std::max(m_anchor.y, at.y));
        next = wxRect(a, wxSize(std::max(1, b.x - a.x), std::max(1, b.y - a.y)));
    }
    else if (m_drag == Drag::Move)
    {
        next = m_dragStart;
        next.x = std::clamp(m_dragStart.x + at.x - m_anchor.x, 0, size.x - next.width);
        next.y = std::clamp(m_dragStart.y + at.y - m_anchor.y, 0, size.y - next.height);
    }
    else
    {
        // The edges a handle moves; the opposite ones stay.
        int left = m_dragStart.x, top = m_dragStart.y;
        int right = m_dragStart.GetRight() + 1, bottom = m_dragStart.GetBottom() + 1;
        const bool movesLeft = m_handle == 0 || m_handle == 6 || m_handle == 7;
        const bool movesRight = m_handle >= 2 && m_handle <= 4;
        const bool movesTop = m_handle <= 2;
        const bool movesBottom = m_handle >= 4 && m_handle <= 6;
        if (movesLeft)
            left = std::min(at.x, right - 1);
        if (movesRight)
            right = std::max(at.x, left + 1);
        if (movesTop)
            top = std::min(at.y, bottom - 1);
        if (movesBottom)
            bottom = std::max(at.y, top + 1);
        next = wxRect(left, top, right - left, bottom - top);
    }
    SetSelection(next);
    if (m_changed)
        m_changed();
}

void CropSelector::OnLeftUp(wxMouseEvent& event)
{
    if (m_drag == Drag::None)
        return;
    OnMotion(event);
    m_drag = Drag::None;
    if (HasCapture())
        ReleaseMouse();
}
