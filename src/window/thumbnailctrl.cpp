#include "window/thumbnailctrl.h"

// TODO(strip): the whole control; this placeholder only lets the program link.
wxIMPLEMENT_CLASS(wxThumbnailCtrl, wxScrolledWindow);

wxBEGIN_EVENT_TABLE(wxThumbnailCtrl, wxScrolledWindow)
wxEND_EVENT_TABLE()

wxThumbnailCtrl::wxThumbnailCtrl(wxWindow* parent, const wxPoint& pos, const wxSize& size)
    : m_labelDelay(0), m_itemWidth(86), m_itemHeight(92), m_thumbnailImageSize(80, 80),
      m_spacing(3), m_itemMargin(3), m_labelHeight(0), m_freezeCount(0), m_firstSelection(-1),
      m_lastSelection(-1), m_focusItem(-1)
{
    Create(parent, ID_THUMBNAIL_CTRL, pos, size, wxHSCROLL | wxBORDER_SUNKEN | 0xF0);
}
wxThumbnailCtrl::~wxThumbnailCtrl()
{
    Clear();
}
bool wxThumbnailCtrl::DrawItem(int, wxDC&, const wxRect&, int) { return false; }
bool wxThumbnailCtrl::DrawItemBackground(int, wxDC&, const wxRect&, const wxRect&, int) { return false; }
int wxThumbnailCtrl::Append(wxThumbnailItem* item, int)
{
    if (!item->Load(this, false))
        return -1;
    m_items.Add(item);
    return int(m_items.size()) - 1;
}
int wxThumbnailCtrl::Insert(wxThumbnailItem* item, int pos)
{
    m_items.Insert(item, pos);
    item->Load(this, false);
    return pos;
}
void wxThumbnailCtrl::Clear()
{
    for (wxThumbnailItem* item : m_items)
        delete item;
    m_items.clear();
    m_selections.clear();
}
void wxThumbnailCtrl::Delete(int n)
{
    delete m_items[n];
    m_items.RemoveAt(n);
}
int wxThumbnailCtrl::GetCount() const { return int(m_items.size()); }
wxThumbnailItem* wxThumbnailCtrl::GetItem(int n) { return n < GetCount() ? m_items[n] : nullptr; }
void wxThumbnailCtrl::Freeze() { ++m_freezeCount; }
void wxThumbnailCtrl::Thaw() { --m_freezeCount; }
bool wxThumbnailCtrl::GetItemRect(int, wxRect&, bool) { return false; }
bool wxThumbnailCtrl::GetItemRectImage(int, wxRect&, bool) { return false; }
bool wxThumbnailCtrl::GetRowCol(int, const wxSize&, int&, int&) { return false; }
int wxThumbnailCtrl::GetItemsPerRow(const wxSize&) const { return 1; }
bool wxThumbnailCtrl::HitTest(const wxPoint&, int&) { return false; }
void wxThumbnailCtrl::Select(int, bool) {}
void wxThumbnailCtrl::SelectAll() {}
bool wxThumbnailCtrl::IsSelected(int) const { return false; }
void wxThumbnailCtrl::SetFocusItem(int) {}
void wxThumbnailCtrl::DoSelection(int, int) {}
bool wxThumbnailCtrl::Navigate(int, int) { return false; }
void wxThumbnailCtrl::EnsureVisible(int) {}
void wxThumbnailCtrl::ScrollIntoView(int, int) {}
void wxThumbnailCtrl::SetupScrollbars() {}
bool wxThumbnailCtrl::RecreateBuffer(const wxSize&) { return false; }
void wxThumbnailCtrl::OnPaint(wxPaintEvent&) {}
void wxThumbnailCtrl::OnEraseBackground(wxEraseEvent&) {}
void wxThumbnailCtrl::OnLeftClick(wxMouseEvent&) {}
void wxThumbnailCtrl::OnRightClick(wxMouseEvent&) {}
void wxThumbnailCtrl::OnMiddleClick(wxMouseEvent&) {}
void wxThumbnailCtrl::OnLeftDClick(wxMouseEvent&) {}
void wxThumbnailCtrl::OnChar(wxKeyEvent&) {}
void wxThumbnailCtrl::OnSize(wxSizeEvent&) {}
void wxThumbnailCtrl::OnSetFocus(wxFocusEvent&) {}
void wxThumbnailCtrl::OnSelectAll(wxCommandEvent&) {}
void wxThumbnailCtrl::OnUpdateSelectAll(wxUpdateUIEvent&) {}
void wxThumbnailCtrl::PaintBackground(wxDC&) {}
void wxThumbnailCtrl::RefreshItem(int) {}
void wxThumbnailCtrl::SendEvent(wxEventType, int, int) {}
int wxThumbnailCtrl::ModifierFlags(const wxKeyboardState&) { return 0; }
