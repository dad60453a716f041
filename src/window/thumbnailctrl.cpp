#include "window/thumbnailctrl.h"

#include "window/textfit.h"

#include <wx/crt.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>
#include <unordered_set>

wxIMPLEMENT_CLASS(wxThumbnailCtrl, wxScrolledWindow);

// clang-format off
wxBEGIN_EVENT_TABLE(wxThumbnailCtrl, wxScrolledWindow)
    EVT_PAINT(wxThumbnailCtrl::OnPaint)
    EVT_ERASE_BACKGROUND(wxThumbnailCtrl::OnEraseBackground)
    EVT_LEFT_DOWN(wxThumbnailCtrl::OnLeftClick)
    EVT_RIGHT_DOWN(wxThumbnailCtrl::OnRightClick)
    EVT_MIDDLE_DOWN(wxThumbnailCtrl::OnMiddleClick)
    EVT_LEFT_DCLICK(wxThumbnailCtrl::OnLeftDClick)
    EVT_LEFT_UP(wxThumbnailCtrl::OnLeftUp)
    EVT_MOTION(wxThumbnailCtrl::OnMotion)
    EVT_MOUSE_CAPTURE_LOST(wxThumbnailCtrl::OnCaptureLost)
    EVT_TIMER(wxID_ANY, wxThumbnailCtrl::OnScrollTimer)
    EVT_CHAR(wxThumbnailCtrl::OnChar)
    EVT_MOUSEWHEEL(wxThumbnailCtrl::OnMouseWheel)
    EVT_SIZE(wxThumbnailCtrl::OnSize)
    EVT_SET_FOCUS(wxThumbnailCtrl::OnSetFocus)
    EVT_KILL_FOCUS(wxThumbnailCtrl::OnSetFocus)
    EVT_MENU(wxID_SELECTALL, wxThumbnailCtrl::OnSelectAll)
    EVT_UPDATE_UI(wxID_SELECTALL, wxThumbnailCtrl::OnUpdateSelectAll)
wxEND_EVENT_TABLE()

namespace
{
// The strip scrolls vertically only, in steps of this many pixels.
const int kPixelsPerScrollUnit = 10;

// Low style bits the strip always carries: multiple selection, file-name
// label and frame label row.
const long kThumbnailStyleBits = 0xF0;

// Integer division rounded up, for non-negative numerators.
int DivideRoundingUp(int value, int divisor)
{
    return (value + divisor - 1) / divisor;
}
}  // namespace
// clang-format on

// Refuses an index outside 0 .. count-1 and reports it through the assertion
// handler with the condition as callers know it; negative indices are refused
// too so that they never reach the item array.
#define LF_CHECK_INDEX(index, condition, result)                    \
    if ((index) < 0 || (index) >= GetCount())                       \
    {                                                               \
        wxFAIL_COND_MSG(condition, "thumbnail index out of range"); \
        return result;                                              \
    }

wxThumbnailCtrl::wxThumbnailCtrl(wxWindow* parent, const wxPoint& pos, const wxSize& size)
    : m_labelDelay(0),
      m_itemWidth(0),
      m_itemHeight(0),
      m_thumbnailImageSize(80, 80),
      m_spacing(3),
      m_itemMargin(3),
      m_labelHeight(0),
      m_freezeCount(0),
      m_firstSelection(-1),
      m_lastSelection(-1),
      m_focusItem(-1),
      m_focusedSelectionColour(140, 140, 140),
      m_unfocusedSelectionColour(175, 175, 175),
      m_itemBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)),
      m_focusRectColour(100, 80, 80),
      m_frameLabelColour(0, 0, 200),
      m_dragCandidate(false),
      m_dragging(false),
      m_pendingSelect(-1),
      m_insertionMark(-1),
      m_scrollStep(0),
      m_scrollTimer(this),
      m_toolTipItem(-1),
      m_wheelRest(0)
{
    // Every pixel is painted from the buffer, so the toolkit need not clear first.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, ID_THUMBNAIL_CTRL, pos, size, wxHSCROLL | wxBORDER_SUNKEN | kThumbnailStyleBits,
           wxPanelNameStr);
    if (!GetFont().IsOk())
        SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));

    {
        // File names may be in any script, so the label rows have room for all.
        wxClientDC dc(this);
        dc.SetFont(GetFont());
        m_labelHeight = AnyScriptLineHeight(dc);
    }
    m_itemWidth = m_thumbnailImageSize.x + 2 * m_itemMargin;
    m_itemHeight = m_thumbnailImageSize.y + 4 * m_itemMargin + 2 * m_labelHeight;

    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    SetInitialSize(size);
    RecreateBuffer(size);
}

wxThumbnailCtrl::~wxThumbnailCtrl()
{
    for (wxThumbnailItem* item : m_items)
        delete item;
    m_items.clear();
}

// ---------------------------------------------------------------------------
// Item list
// ---------------------------------------------------------------------------

int wxThumbnailCtrl::Append(wxThumbnailItem* item, int delay)
{
    wxPuts(wxS("Append"));
    wxCHECK_MSG(item, -1, "no item to append");
    m_labelDelay = delay;
    if (!item->Load(this, false))
        return -1;
    m_items.Add(item);
    m_startTimes.clear();
    ResetAnchorAndFocus();
    LayoutChanged();
    return GetCount() - 1;
}

int wxThumbnailCtrl::Insert(wxThumbnailItem* item, int pos)
{
    wxCHECK_MSG(item, -1, "no item to insert");
    // A position outside the list (the caller found no selection) appends.
    if (pos < 0 || pos > GetCount())
        pos = GetCount();
    m_items.Insert(item, pos);
    m_startTimes.clear();
    // Selection, anchor and focus stay on their items.
    for (int* index : {&m_firstSelection, &m_lastSelection, &m_focusItem})
        if (*index >= pos)
            ++*index;
    for (int& selected : m_selections)
    {
        if (selected >= pos)
            ++selected;
    }
    // An item whose file has gone still takes its place, showing only its labels.
    item->Load(this, false);
    LayoutChanged();
    return pos;
}

void wxThumbnailCtrl::Delete(int n)
{
    if (n < 0 || n >= GetCount())
    {
        wxFAIL_COND_MSG(uiIndex < size(), "bad index in wxThumbnailItemArray::RemoveAt()");
        return;
    }
    if (m_firstSelection == n)
        m_firstSelection = -1;
    if (m_lastSelection == n)
        m_lastSelection = -1;
    if (m_focusItem == n)
        m_focusItem = -1;
    const int selectedAt = m_selections.Index(n);
    if (selectedAt != wxNOT_FOUND)
        m_selections.RemoveAt(selectedAt);
    delete m_items[n];
    m_items.RemoveAt(n);
    m_startTimes.clear();
    for (int& selected : m_selections)
    {
        if (selected > n)
            --selected;
    }
    LayoutChanged();
}

void wxThumbnailCtrl::Clear()
{
    ResetAnchorAndFocus();
    for (wxThumbnailItem* item : m_items)
        delete item;
    m_items.clear();
    m_selections.clear();
    m_startTimes.clear();
    LayoutChanged();
}

void wxThumbnailCtrl::SetItems(const std::vector<wxThumbnailItem*>& items)
{
    const std::unordered_set<wxThumbnailItem*> kept(items.begin(), items.end());
    for (wxThumbnailItem* item : m_items)
        if (kept.count(item) == 0)
            delete item;
    m_items.clear();
    for (wxThumbnailItem* item : items)
    {
        // Loading an item that is loaded already does nothing.
        item->Load(this, false);
        m_items.Add(item);
    }
    ResetAnchorAndFocus();
    m_selections.clear();
    m_startTimes.clear();
    LayoutChanged();
}

void wxThumbnailCtrl::SetStartTimes(const std::vector<long long>& hundredths)
{
    m_startTimes = hundredths;
    if (m_freezeCount == 0)
        Refresh();
}

long long wxThumbnailCtrl::GetStartTime(int n) const
{
    if (n >= 0 && size_t(n) < m_startTimes.size())
        return m_startTimes[size_t(n)];
    return (long long)n * m_labelDelay;
}

int wxThumbnailCtrl::GetCount() const
{
    return int(m_items.size());
}

wxThumbnailItem* wxThumbnailCtrl::GetItem(int n)
{
    LF_CHECK_INDEX(n, n < GetCount(), nullptr);
    return m_items[n];
}

void wxThumbnailCtrl::Freeze()
{
    ++m_freezeCount;
}

void wxThumbnailCtrl::Thaw()
{
    wxCHECK_RET(m_freezeCount > 0, "Thaw() without a matching Freeze()");
    --m_freezeCount;
    LayoutChanged();
}

void wxThumbnailCtrl::ResetAnchorAndFocus()
{
    m_firstSelection = -1;
    m_lastSelection = -1;
    m_focusItem = -1;
}

void wxThumbnailCtrl::LayoutChanged()
{
    m_toolTipItem = -1;  // the next move shows the tooltip of what is there now
    if (m_freezeCount > 0)
        return;
    SetupScrollbars();
    Refresh();
}

// ---------------------------------------------------------------------------
// Geometry
// ---------------------------------------------------------------------------

int wxThumbnailCtrl::GetItemsPerRow(const wxSize& clientSize) const
{
    return std::max(1, clientSize.x / (m_itemWidth + m_spacing));
}

bool wxThumbnailCtrl::GetRowCol(int item, const wxSize& clientSize, int& row, int& col)
{
    LF_CHECK_INDEX(item, item < GetCount(), false);
    const int perRow = GetItemsPerRow(clientSize);
    row = item / perRow;
    col = item % perRow;
    return true;
}

bool wxThumbnailCtrl::GetItemRect(int n, wxRect& rect, bool transform)
{
    LF_CHECK_INDEX(n, n < GetCount(), false);
    int row = 0;
    int col = 0;
    GetRowCol(n, GetClientSize(), row, col);
    rect = wxRect(m_spacing + (m_spacing + m_itemWidth) * col,
                  m_spacing + (m_spacing + m_itemHeight) * row, m_itemWidth, m_itemHeight);
    if (transform)
        rect.SetPosition(CalcScrolledPosition(rect.GetPosition()));
    return true;
}

bool wxThumbnailCtrl::GetItemRectImage(int n, wxRect& rect, bool transform)
{
    LF_CHECK_INDEX(n, n < GetCount(), false);
    wxRect cell;
    GetItemRect(n, cell, transform);
    rect = wxRect(cell.x + (cell.width - m_thumbnailImageSize.x) / 2,
                  cell.y + (cell.height - m_thumbnailImageSize.y) / 2, m_thumbnailImageSize.x,
                  m_thumbnailImageSize.y);
    return true;
}

// Only a point inside a cell hits: the gaps between cells and the space right
// of the last full column belong to no item, so a click there never picks a
// neighbour.
bool wxThumbnailCtrl::HitTest(const wxPoint& pt, int& n)
{
    const wxPoint virtualPt = CalcUnscrolledPosition(pt);
    const int x = virtualPt.x - m_spacing;
    const int y = virtualPt.y - m_spacing;
    if (x < 0 || y < 0)
        return false;
    const int col = x / (m_itemWidth + m_spacing);
    const int row = y / (m_itemHeight + m_spacing);
    if (x % (m_itemWidth + m_spacing) >= m_itemWidth ||
        y % (m_itemHeight + m_spacing) >= m_itemHeight)
        return false;
    const int perRow = GetItemsPerRow(GetClientSize());
    if (col >= perRow)
        return false;
    const int index = row * perRow + col;
    if (index >= GetCount())
        return false;
    n = index;
    return true;
}

// ---------------------------------------------------------------------------
// Selection and focus
// ---------------------------------------------------------------------------

bool wxThumbnailCtrl::IsSelected(int n) const
{
    return m_selections.Index(n) != wxNOT_FOUND;
}

void wxThumbnailCtrl::Select(int n, bool select)
{
    LF_CHECK_INDEX(n, n < GetCount(), );
    const int selectedAt = m_selections.Index(n);
    if (select && selectedAt == wxNOT_FOUND)
        m_selections.Add(n);
    else if (!select && selectedAt != wxNOT_FOUND)
        m_selections.RemoveAt(selectedAt);

    const int previousFocus = m_focusItem;
    m_firstSelection = n;
    m_lastSelection = n;
    m_focusItem = n;
    if (m_freezeCount > 0)
        return;
    RefreshItem(n);
    if (previousFocus != n)
        RefreshItem(previousFocus);
}

void wxThumbnailCtrl::SetFocusItem(int item)
{
    LF_CHECK_INDEX(item, item < GetCount(), );
    const int previousFocus = m_focusItem;
    m_focusItem = item;
    if (m_freezeCount > 0)
        return;
    RefreshItem(previousFocus);
    RefreshItem(item);
}

int wxThumbnailCtrl::GetSelectedFocus() const
{
    if (m_focusItem >= 0 && m_focusItem < GetCount() && IsSelected(m_focusItem))
        return m_focusItem;
    int first = -1;
    for (int index : m_selections)
        if (index >= 0 && index < GetCount() && (first < 0 || index < first))
            first = index;
    return first;
}

void wxThumbnailCtrl::SelectAll()
{
    Freeze();
    for (int i = 0; i < GetCount(); ++i)
        Select(i, true);
    m_focusItem = GetCount() - 1;
    Thaw();
}

void wxThumbnailCtrl::RefreshItem(int n)
{
    if (n < 0 || n >= GetCount())
        return;
    wxRect rect;
    GetItemRect(n, rect, true);
    RefreshRect(rect, false);
}

// ---------------------------------------------------------------------------
// Scrolling and buffer
// ---------------------------------------------------------------------------

int wxThumbnailCtrl::GetViewTop() const
{
    int ppuX = 0;
    int ppuY = 0;
    GetScrollPixelsPerUnit(&ppuX, &ppuY);
    return GetViewStart().y * ppuY;
}

// The unit counts are rounded up so that the bottom rows are reachable to
// their last pixel; rounding down would cut up to nine pixels off them.
void wxThumbnailCtrl::SetupScrollbars()
{
    if (m_freezeCount > 0)
        return;
    if (GetCount() == 0)
    {
        SetScrollbars(0, 0, 0, 0, 0, 0);
        return;
    }
    const wxSize client = GetClientSize();
    int lastRow = 0;
    int lastCol = 0;
    GetRowCol(GetCount() - 1, client, lastRow, lastCol);
    const int totalHeight = m_spacing + (m_spacing + m_itemHeight) * (lastRow + 1);
    const int units = DivideRoundingUp(totalHeight, kPixelsPerScrollUnit);
    const int maxPosition =
        DivideRoundingUp(std::max(0, totalHeight - client.y), kPixelsPerScrollUnit);
    const int position = std::min(GetViewStart().y, maxPosition);
    SetScrollbars(0, kPixelsPerScrollUnit, 0, units, 0, position);
}

void wxThumbnailCtrl::ScrollToPixel(int top)
{
    Scroll(0, top / kPixelsPerScrollUnit);
}

// Brings the bottom of item n (and the gap below it) into view when it lies
// below the visible area.
bool wxThumbnailCtrl::ApplyBottomRule(int n)
{
    wxRect rect;
    if (n < 0 || n >= GetCount() || !GetItemRect(n, rect, false))
        return false;
    const int viewTop = GetViewTop();
    const int clientHeight = GetClientSize().y;
    if (viewTop + clientHeight >= rect.y + rect.height)
        return false;
    const int wantedTop = m_spacing + m_itemHeight + rect.y - clientHeight;
    Scroll(0, DivideRoundingUp(std::max(0, wantedTop), kPixelsPerScrollUnit));
    return true;
}

bool wxThumbnailCtrl::ApplyTopRule(int n)
{
    wxRect rect;
    if (n < 0 || n >= GetCount() || !GetItemRect(n, rect, false))
        return false;
    if (rect.y >= GetViewTop())
        return false;
    ScrollToPixel(rect.y);
    return true;
}

void wxThumbnailCtrl::EnsureVisible(int n)
{
    if (!ApplyBottomRule(n))
        ApplyTopRule(n);
}

void wxThumbnailCtrl::ScrollIntoView(int n, int keyCode)
{
    switch (keyCode)
    {
        case WXK_END:
        case WXK_RIGHT:
        case WXK_DOWN:
        case WXK_PAGEDOWN:
            if (!ApplyBottomRule(n))
                ApplyTopRule(n);
            break;
        case WXK_HOME:
        case WXK_LEFT:
        case WXK_UP:
        case WXK_PAGEUP:
            if (!ApplyTopRule(n))
                ApplyBottomRule(n);
            break;
        default:
            break;
    }
}

bool wxThumbnailCtrl::RecreateBuffer(const wxSize& size)
{
    const wxSize wanted = size == wxDefaultSize ? GetClientSize() : size;
    if (wanted.x < 1 || wanted.y < 1)
        return false;
    if (m_bufferBitmap.IsOk() && m_bufferBitmap.GetWidth() >= wanted.x &&
        m_bufferBitmap.GetHeight() >= wanted.y)
        return false;
    m_bufferBitmap = wxBitmap(wanted.x, wanted.y);
    return true;
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

bool wxThumbnailCtrl::DrawItem(int n, wxDC& dc, const wxRect& imageRect, int flags)
{
    if (n < 0 || n >= GetCount())
        return false;
    return m_items[n]->Draw(dc, this, imageRect, flags);
}

bool wxThumbnailCtrl::DrawItemBackground(int n, wxDC& dc, const wxRect& rect,
                                         const wxRect& imageRect, int flags)
{
    if (n < 0 || n >= GetCount())
        return false;
    return m_items[n]->DrawBackground(dc, this, rect, imageRect, flags, n);
}

void wxThumbnailCtrl::PaintBackground(wxDC& dc)
{
    wxColour colour = GetBackgroundColour();
    if (!colour.IsOk())
        colour = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    dc.SetBrush(wxBrush(colour));
    dc.SetPen(*wxTRANSPARENT_PEN);
    const wxSize client = GetClientSize();
    const wxPoint topLeft = CalcUnscrolledPosition(wxPoint(-2, -2));
    dc.DrawRectangle(topLeft.x, topLeft.y, client.x + 4, client.y + 4);
}

void wxThumbnailCtrl::DrawContents(wxDC& dc, const wxRegion& updateRegion)
{
    PaintBackground(dc);
    const int count = GetCount();
    if (count == 0)
        return;

    const bool hasFocus = FindFocus() == this;
    const wxSize client = GetClientSize();
    const int perRow = GetItemsPerRow(client);
    const int rowPitch = m_itemHeight + m_spacing;
    const int viewTop = GetViewTop();
    // Only the rows inside the visible area can touch the update region.
    const int first = std::min(count, viewTop / rowPitch * perRow);
    const int end = std::min(count, ((viewTop + client.y) / rowPitch + 1) * perRow);
    for (int i = first; i < end; ++i)
    {
        wxRect clientRect;
        GetItemRect(i, clientRect, true);
        if (updateRegion.Contains(clientRect) == wxOutRegion)
            continue;
        int flags = IsSelected(i) ? wxTHUMBNAIL_SELECTED : 0;
        if (hasFocus)
        {
            flags |= wxTHUMBNAIL_FOCUSSED;
            if (i == m_focusItem)
                flags |= wxTHUMBNAIL_IS_FOCUS;
        }
        wxRect rect;
        wxRect imageRect;
        GetItemRect(i, rect, false);
        GetItemRectImage(i, imageRect, false);
        DrawItemBackground(i, dc, rect, imageRect, flags);
        DrawItem(i, dc, imageRect, flags);
    }
    DrawInsertionMark(dc);
}

void wxThumbnailCtrl::OnPaint(wxPaintEvent&)
{
    const wxSize client = GetClientSize();
    if (client.x < 1 || client.y < 1)
    {
        wxPaintDC dc(this);
        return;
    }
    RecreateBuffer(client);
    wxBufferedPaintDC dc(this, m_bufferBitmap, wxBUFFER_CLIENT_AREA);
    PrepareDC(dc);
    if (m_freezeCount > 0)
        return;
    DrawContents(dc, GetUpdateRegion());
}

// The paint handler covers the whole client area.
void wxThumbnailCtrl::OnEraseBackground(wxEraseEvent&) {}

// ---------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------

int wxThumbnailCtrl::ModifierFlags(const wxKeyboardState& state)
{
    int flags = 0;
    if (state.ShiftDown())
        flags |= wxTHUMBNAIL_SHIFT_DOWN;
    if (state.ControlDown())
        flags |= wxTHUMBNAIL_CTRL_DOWN;
    if (state.AltDown())
        flags |= wxTHUMBNAIL_ALT_DOWN;
    return flags;
}

void wxThumbnailCtrl::SendEvent(wxEventType type, int index, int flags)
{
    wxThumbnailEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetIndex(index);
    event.SetFlags(flags);
    GetEventHandler()->ProcessEvent(event);
}

void wxThumbnailCtrl::OnLeftClick(wxMouseEvent& event)
{
    SetFocus();
    m_dragCandidate = false;
    m_pendingSelect = -1;
    int n = -1;
    if (!HitTest(event.GetPosition(), n))
        return;
    const int flags = ModifierFlags(event);
    EnsureVisible(n);
    // A plain press on one of several selected items may start dragging them
    // all, so it selects that item alone only when released without a drag.
    if (flags == 0 && IsSelected(n) && m_selections.size() > 1)
    {
        m_pendingSelect = n;
        SetFocusItem(n);
    }
    else
        DoSelection(n, flags);
    m_dragCandidate = IsSelected(n);
    m_dragStart = event.GetPosition();
    SendEvent(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, n, flags);
}

// A right click acts on what it is on: an item that is not selected becomes
// the selection first.
void wxThumbnailCtrl::OnRightClick(wxMouseEvent& event)
{
    SetFocus();
    int n = -1;
    if (!HitTest(event.GetPosition(), n))
        return;
    if (!IsSelected(n))
        DoSelection(n, 0);
    else if (n != m_focusItem)
        SetFocusItem(n);
    SendEvent(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, n, ModifierFlags(event));
}

void wxThumbnailCtrl::OnMiddleClick(wxMouseEvent& event)
{
    int n = -1;
    if (HitTest(event.GetPosition(), n))
        SendEvent(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, n, ModifierFlags(event));
}

void wxThumbnailCtrl::OnLeftDClick(wxMouseEvent& event)
{
    int n = -1;
    if (HitTest(event.GetPosition(), n))
        SendEvent(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, n, ModifierFlags(event));
}

void wxThumbnailCtrl::OnChar(wxKeyEvent& event)
{
    const int flags = ModifierFlags(event);
    const int keyCode = event.GetKeyCode();
    switch (keyCode)
    {
        case WXK_LEFT:
        case WXK_RIGHT:
        case WXK_UP:
        case WXK_DOWN:
        case WXK_HOME:
        case WXK_END:
        case WXK_PAGEUP:
        case WXK_PAGEDOWN:
            Navigate(keyCode, flags);
            break;
        case WXK_RETURN:
            SendEvent(wxEVT_COMMAND_THUMBNAIL_RETURN, -1, flags);
            break;
        case WXK_ESCAPE:
            if (m_dragging)
                EndDrag(false);
            else
                event.Skip();
            break;
        default:
            event.Skip();
            break;
    }
}

void wxThumbnailCtrl::UpdateToolTip(const wxPoint& pt)
{
    int n = -1;
    if (!m_toolTipText || !HitTest(pt, n))
        n = -1;
    if (n == m_toolTipItem)
        return;
    m_toolTipItem = n;
    if (n < 0)
        UnsetToolTip();
    else
        SetToolTip(m_toolTipText(n));
}

void wxThumbnailCtrl::OnSize(wxSizeEvent& event)
{
    SetupScrollbars();
    RecreateBuffer();
    event.Skip();
}

void wxThumbnailCtrl::OnSetFocus(wxFocusEvent& event)
{
    if (GetCount() > 0)
        Refresh();
    event.Skip();
}

void wxThumbnailCtrl::OnSelectAll(wxCommandEvent&)
{
    SelectAll();
}

void wxThumbnailCtrl::OnUpdateSelectAll(wxUpdateUIEvent& event)
{
    event.Enable(GetCount() > 0);
}

// ---------------------------------------------------------------------------
// User selection and keyboard navigation
// ---------------------------------------------------------------------------

void wxThumbnailCtrl::DoSelection(int n, int flags)
{
    LF_CHECK_INDEX(n, n < GetCount(), );
    wxArrayInt changed;
    const auto recordOnce = [&changed](int index)
    {
        if (changed.Index(index) == wxNOT_FOUND)
            changed.Add(index);
    };

    if (flags & wxTHUMBNAIL_CTRL_DOWN)
    {
        Select(n, !IsSelected(n));
        changed.Add(n);
    }
    else if (flags & wxTHUMBNAIL_SHIFT_DOWN)
    {
        const int anchor = m_firstSelection;
        const wxArrayInt oldSelections = m_selections;
        m_selections.clear();
        const bool buildRange = anchor != -1 && anchor < GetCount() && anchor != n;
        if (buildRange)
        {
            const int step = n > anchor ? 1 : -1;
            for (int i = anchor; i != n; i += step)
            {
                m_selections.Add(i);
                changed.Add(i);
                RefreshItem(i);
            }
        }
        for (int old : oldSelections)
        {
            if (!IsSelected(old))
                RefreshItem(old);
        }
        Select(n, true);
        recordOnce(n);
        // Keeps the anchor so that repeated Shift-clicks extend the same range.
        if (buildRange)
            m_firstSelection = anchor;
    }
    else
    {
        for (int old : m_selections)
        {
            RefreshItem(old);
            changed.Add(old);
        }
        m_selections.clear();
        Select(n, true);
        recordOnce(n);
    }

    for (int index : changed)
    {
        SendEvent(IsSelected(index) ? wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED
                                    : wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED,
                  index, 0);
    }
}

bool wxThumbnailCtrl::Navigate(int keyCode, int flags)
{
    const int count = GetCount();
    if (count == 0)
        return false;
    const wxSize client = GetClientSize();
    const int perRow = GetItemsPerRow(client);
    const int rowsPerPage = std::max(1, client.y / (m_itemHeight + m_spacing));

    // A number left at the count by Delete means no item, like -1.
    int current = m_focusItem >= 0 && m_focusItem < count ? m_focusItem : m_lastSelection;
    if (current < 0 || current >= count)
    {
        m_lastSelection = 0;
        DoSelection(0, flags);
        ScrollIntoView(0, keyCode);
        return true;
    }

    int target = -1;
    switch (keyCode)
    {
        case WXK_END:
            target = count - 1;
            break;
        case WXK_HOME:
            target = 0;
            break;
        case WXK_LEFT:
            target = current - 1;
            break;
        case WXK_UP:
            target = current - perRow;
            break;
        case WXK_RIGHT:
            target = current + 1;
            break;
        case WXK_DOWN:
            target = current + perRow;
            break;
        case WXK_PAGEUP:
            target = std::max(0, current - rowsPerPage * perRow);
            break;
        case WXK_PAGEDOWN:
            target = std::min(count - 1, current + rowsPerPage * perRow);
            break;
        default:
            break;
    }
    if (target >= 0 && target < count)
    {
        DoSelection(target, flags);
        ScrollIntoView(target, keyCode);
    }
    return true;
}
