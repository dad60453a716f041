#ifndef LOOPFORGE_WINDOW_THUMBNAILCTRL_H
#define LOOPFORGE_WINDOW_THUMBNAILCTRL_H

#include <wx/bitmap.h>
#include <wx/dynarray.h>
#include <wx/image.h>
#include <wx/scrolwin.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <vector>

class wxDC;
class wxThumbnailCtrl;

// ---------------------------------------------------------------------------
// Items
// ---------------------------------------------------------------------------

// State bits handed to the painting hooks.
enum
{
    wxTHUMBNAIL_SELECTED = 0x01,
    wxTHUMBNAIL_FOCUSSED = 0x04,  // the control has the keyboard focus
    wxTHUMBNAIL_IS_FOCUS = 0x08   // this item carries the focus rectangle
};

// One cell of the strip: a source name and the painting every cell shares.
class wxThumbnailItem : public wxObject
{
public:
    explicit wxThumbnailItem(const wxString& filename);

    const wxString& GetFilename() const { return m_filename; }
    void SetFilename(const wxString& filename) { m_filename = filename; }

    virtual bool Draw(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& imageRect, int flags);
    virtual bool DrawBackground(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& rect,
                                const wxRect& imageRect, int flags, int index);
    virtual bool Load(wxThumbnailCtrl* ctrl, bool forceUpdate);

private:
    wxString m_filename;

    wxDECLARE_ABSTRACT_CLASS(wxThumbnailItem);
};

// A frame of the animation: a decoded picture, kept once at full size as a
// wxImage (readable by the export worker), plus its thumbnail bitmap.
class wxImageThumbnailItem : public wxThumbnailItem
{
public:
    // Takes ownership of image.
    wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& filename);
    // Shows a picture the window's frame list holds, under the frame's final
    // name: loading only makes the thumbnail, whether or not the file is
    // still there. picture gives the full-size picture of that size when
    // asked (GUI thread); key tells the frame's items apart.
    using PictureLoader = std::function<wxImage()>;
    wxImageThumbnailItem(PictureLoader picture, const wxSize& size, const void* key,
                         int frameIndex, const wxString& name);

    bool Draw(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& imageRect, int flags) override;
    bool Load(wxThumbnailCtrl* ctrl, bool forceUpdate) override;

    // The full-size picture; GUI thread only.
    wxImage GetImage() const;
    // What the item shows: the frame's key, or its own picture.
    const void* GetKey() const { return m_key ? m_key : m_picture.get(); }
    wxSize GetImageSize() const;
    // A full-size bitmap made from the picture; GUI thread only.
    wxBitmap GetBitmap() const;
    const wxBitmap& GetThumbnail() const { return m_thumbnail; }
    int GetFrameIndex() const { return m_frameIndex; }
    // Shows the part of the picture inside crop (empty: all of it), turned
    // and mirrored (encode/pictureorientation.h).
    void SetView(int orientation, const wxRect& crop, wxThumbnailCtrl* ctrl);
    int GetOrientation() const { return m_orientation; }

    // Shrinks an image to fit the box, never enlarging it.
    static wxImage ScaleToFit(const wxImage& image, int boxWidth, int boxHeight);

private:
    // The file the frame came from: the name before a frame suffix was added.
    wxString GetSourcePath() const;

    std::shared_ptr<const wxImage> m_picture;  // an own picture, or
    PictureLoader m_load;                      // a picture of the frame list
    wxSize m_size;
    const void* m_key = nullptr;
    int m_frameIndex;
    int m_orientation = 0;
    wxRect m_crop;
    wxBitmap m_thumbnail;
    bool m_hasFrameSuffix;
    bool m_nameIsFinal;  // made from the frame list: no file check, no renaming

    wxDECLARE_CLASS(wxImageThumbnailItem);
};

WX_DEFINE_ARRAY_PTR(wxThumbnailItem*, wxThumbnailItemArray);

// ---------------------------------------------------------------------------
// Notifications
// ---------------------------------------------------------------------------

// Modifier bits of a notification.
enum
{
    wxTHUMBNAIL_SHIFT_DOWN = 0x01,
    wxTHUMBNAIL_CTRL_DOWN = 0x02,
    wxTHUMBNAIL_ALT_DOWN = 0x04
};

class wxThumbnailEvent : public wxNotifyEvent
{
public:
    wxThumbnailEvent(wxEventType commandType, int winid);
    wxThumbnailEvent(const wxThumbnailEvent& event);

    wxEvent* Clone() const override { return new wxThumbnailEvent(*this); }

    int GetIndex() const { return m_itemIndex; }
    void SetIndex(int index) { m_itemIndex = index; }
    int GetFlags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }

private:
    int m_itemIndex;
    int m_flags;

    wxDECLARE_ABSTRACT_CLASS(wxThumbnailEvent);
};

typedef void (wxEvtHandler::*wxThumbnailEventFunction)(wxThumbnailEvent&);
#define wxThumbnailEventHandler(func) wxEVENT_HANDLER_CAST(wxThumbnailEventFunction, func)

wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_RETURN, wxThumbnailEvent);
// The user dragged the selected items and let go; the index is the position
// before which they go (the count: at the end). The control leaves moving
// them to its owner.
wxDECLARE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEMS_DROPPED, wxThumbnailEvent);

#define EVT_THUMBNAIL_EVENT(type, id, fn) wx__DECLARE_EVT1(type, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBNAIL_ITEM_SELECTED(id, fn) \
    EVT_THUMBNAIL_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, id, fn)
#define EVT_THUMBNAIL_ITEM_DESELECTED(id, fn) \
    EVT_THUMBNAIL_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, id, fn)
#define EVT_THUMBNAIL_LEFT_CLICK(id, fn) \
    EVT_THUMBNAIL_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, id, fn)
#define EVT_THUMBNAIL_LEFT_DCLICK(id, fn) \
    EVT_THUMBNAIL_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, id, fn)
#define EVT_THUMBNAIL_RIGHT_CLICK(id, fn) \
    EVT_THUMBNAIL_EVENT(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, id, fn)
#define EVT_THUMBNAIL_MIDDLE_CLICK(id, fn) \
    EVT_THUMBNAIL_EVENT(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, id, fn)
#define EVT_THUMBNAIL_RETURN(id, fn) EVT_THUMBNAIL_EVENT(wxEVT_COMMAND_THUMBNAIL_RETURN, id, fn)
#define EVT_THUMBNAIL_ITEMS_DROPPED(id, fn) \
    EVT_THUMBNAIL_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEMS_DROPPED, id, fn)

// ---------------------------------------------------------------------------
// The control
// ---------------------------------------------------------------------------

// Window id of the strip; the main window routes its notifications by it.
enum
{
    ID_THUMBNAIL_CTRL = 3
};

// The scrolling grid of frame thumbnails: owns the items, lays them out in
// rows that fill the client width, keeps selection and focus, and paints
// through an off-screen buffer.
class wxThumbnailCtrl : public wxScrolledWindow
{
public:
    wxThumbnailCtrl(wxWindow* parent, const wxPoint& pos = wxDefaultPosition,
                    const wxSize& size = wxDefaultSize);
    ~wxThumbnailCtrl() override;

    // Painting hooks.
    virtual bool DrawItem(int n, wxDC& dc, const wxRect& imageRect, int flags);
    virtual bool DrawItemBackground(int n, wxDC& dc, const wxRect& rect, const wxRect& imageRect,
                                    int flags);

    // Item list.
    virtual int Append(wxThumbnailItem* item, int delay);
    virtual int Insert(wxThumbnailItem* item, int pos);
    virtual void Clear();
    virtual void Delete(int n);
    virtual int GetCount() const;
    wxThumbnailItem* GetItem(int n);
    // Replaces the item list by the items in that order; the control owns
    // them from now on and destroys every earlier item not among them. New
    // items are loaded (kept even when that fails); the selection, anchor and
    // focus are cleared.
    void SetItems(const std::vector<wxThumbnailItem*>& items);
    void SetLabelDelay(int delay) { m_labelDelay = delay; }
    int GetLabelDelay() const { return m_labelDelay; }
    // The start time of every item, in hundredths of a second, for frames of
    // different delays; repaints the labels. Until set, and after any other
    // change of the list, item n starts at n times the label delay.
    void SetStartTimes(const std::vector<long long>& hundredths);
    long long GetStartTime(int n) const;
    void Freeze();
    void Thaw();
    bool IsFrozen() const { return m_freezeCount > 0; }

    // Geometry.
    bool GetItemRect(int n, wxRect& rect, bool transform = true);
    bool GetItemRectImage(int n, wxRect& rect, bool transform = true);
    bool GetRowCol(int item, const wxSize& clientSize, int& row, int& col);
    int GetItemsPerRow(const wxSize& clientSize) const;
    bool HitTest(const wxPoint& pt, int& n);
    // The position a point (client coordinates) names between items, from 0
    // (before the first) to the count (after the last): the gap nearest to it
    // in its row.
    int InsertionIndexAt(const wxPoint& pt);
    // Marks the gap before item index (the count: after the last) with a
    // bar; -1 removes the mark.
    void SetInsertionMark(int index);
    int GetInsertionMark() const { return m_insertionMark; }
    bool IsDragging() const { return m_dragging; }
    wxSize GetThumbnailImageSize() const { return m_thumbnailImageSize; }
    wxSize GetItemSize() const { return wxSize(m_itemWidth, m_itemHeight); }
    int GetSpacing() const { return m_spacing; }
    int GetItemMargin() const { return m_itemMargin; }

    // Selection and focus.
    void Select(int n, bool select = true);
    void SelectAll();
    bool IsSelected(int n) const;
    const wxArrayInt& GetSelections() const { return m_selections; }
    void SetFocusItem(int item);
    int GetFocusItem() const { return m_focusItem; }
    // The item the selection is about: the focused item when it is selected,
    // else the earliest selected one; -1 without a selection.
    int GetSelectedFocus() const;
    int GetFirstSelection() const { return m_firstSelection; }
    int GetLastSelection() const { return m_lastSelection; }
    void DoSelection(int n, int flags);
    virtual bool Navigate(int keyCode, int flags);
    void EnsureVisible(int n);
    void ScrollIntoView(int n, int keyCode);

    // The side of the square each thumbnail fits in, kMinThumbnailSide to
    // kMaxThumbnailSide; the items are scaled again and the rows re-laid.
    static constexpr int kMinThumbnailSide = 48;
    static constexpr int kMaxThumbnailSide = 256;
    void SetThumbnailSide(int side);
    int GetThumbnailSide() const { return m_thumbnailImageSize.x; }
    // The pixels from one row's top to the next.
    int GetRowPitch() const { return m_itemHeight + m_spacing; }
    // Scrolls by whole rows (negative: up), so a row's top meets the view's.
    void ScrollRows(int rows);
    // Called with the new side after the user changed it (Ctrl+wheel).
    void SetThumbnailSideHandler(std::function<void(int)> handler)
    {
        m_sideChanged = std::move(handler);
    }

    // Gives the text of an item's tooltip; without one, items have none.
    void SetToolTipText(std::function<wxString(int)> text) { m_toolTipText = std::move(text); }
    // Shows the tooltip of the item at pt (client coordinates), if any.
    void UpdateToolTip(const wxPoint& pt);

    // Colours.
    const wxColour& GetFocusedSelectionColour() const { return m_focusedSelectionColour; }
    const wxColour& GetUnfocusedSelectionColour() const { return m_unfocusedSelectionColour; }
    const wxColour& GetItemBackgroundColour() const { return m_itemBackgroundColour; }
    const wxColour& GetFocusRectColour() const { return m_focusRectColour; }
    const wxColour& GetFrameLabelColour() const { return m_frameLabelColour; }

    // Scrolling, buffer and painting (public for tests and benchmarks).
    void SetupScrollbars();
    bool RecreateBuffer(const wxSize& size = wxDefaultSize);
    const wxBitmap& GetBuffer() const { return m_bufferBitmap; }
    // Paints the background and every cell that touches the update region
    // (client coordinates) into a DC prepared for scrolling.
    void DrawContents(wxDC& dc, const wxRegion& updateRegion);

protected:
    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnLeftClick(wxMouseEvent& event);
    void OnRightClick(wxMouseEvent& event);
    void OnMiddleClick(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnScrollTimer(wxTimerEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnSelectAll(wxCommandEvent& event);
    void OnUpdateSelectAll(wxUpdateUIEvent& event);

private:
    void PaintBackground(wxDC& dc);
    void RefreshItem(int n);
    void ResetAnchorAndFocus();
    void LayoutChanged();
    int GetViewTop() const;
    void ScrollToPixel(int top);
    bool ApplyBottomRule(int n);
    bool ApplyTopRule(int n);
    void SendEvent(wxEventType type, int index, int flags);
    static int ModifierFlags(const wxKeyboardState& state);
    // Dragging the selection (thumbnaildrag.cpp).
    void DragTo(const wxPoint& pt);
    void EndDrag(bool drop);
    wxRect InsertionMarkRect(int index);
    void DrawInsertionMark(wxDC& dc);

    int m_labelDelay;
    std::vector<long long> m_startTimes;
    wxThumbnailItemArray m_items;
    wxArrayInt m_selections;
    int m_itemWidth;
    int m_itemHeight;
    wxSize m_thumbnailImageSize;
    int m_spacing;
    int m_itemMargin;
    int m_labelHeight;
    int m_freezeCount;
    int m_firstSelection;
    int m_lastSelection;
    int m_focusItem;
    wxColour m_focusedSelectionColour;
    wxColour m_unfocusedSelectionColour;
    wxColour m_itemBackgroundColour;
    wxColour m_focusRectColour;
    wxColour m_frameLabelColour;
    wxBitmap m_bufferBitmap;

    // Dragging: a press on a selected item may start a drag of the selection.
    bool m_dragCandidate;
    bool m_dragging;
    wxPoint m_dragStart;
    int m_pendingSelect;  // pressed among several selected: selected alone if not dragged
    int m_insertionMark;
    int m_scrollStep;  // scroll units per tick while the pointer is near an edge
    wxTimer m_scrollTimer;

    // The tooltip names the item under the pointer in the owner's words.
    std::function<wxString(int)> m_toolTipText;
    int m_toolTipItem;
    std::function<void(int)> m_sideChanged;
    int m_wheelRest;  // wheel rotation short of a whole step

    wxDECLARE_CLASS(wxThumbnailCtrl);
    wxDECLARE_EVENT_TABLE();
};

#endif
