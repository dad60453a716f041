#ifndef LOOPFORGE_WINDOW_CROPSELECTOR_H
#define LOOPFORGE_WINDOW_CROPSELECTOR_H

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/window.h>

#include <functional>

// A picture, shrunk to fit, with a rectangle on it to keep: drag on the
// picture for a new rectangle, inside it to move it (unless it is the whole
// picture), or on one of its eight handles to move that corner or edge. The rectangle is in the picture's
// own pixels.
class CropSelector : public wxWindow
{
public:
    CropSelector(wxWindow* parent, wxWindowID id, const wxImage& picture, const wxSize& size);

    const wxRect& GetSelection() const { return m_selection; }
    wxSize GetPictureSize() const { return m_picture.GetSize(); }
    // Kept inside the picture and at least one pixel.
    void SetSelection(const wxRect& selection);
    // Called after every change the mouse makes.
    void OnSelectionChanged(std::function<void()> changed) { m_changed = std::move(changed); }

    // Where the picture is drawn in the window.
    wxRect GetPicturePlacement() const;
    // The picture pixel under a window point, and the window point of a pixel corner.
    wxPoint ToPicture(const wxPoint& window) const;
    wxPoint ToWindow(const wxPoint& picture) const;

private:
    enum class Drag
    {
        None,
        New,
        Move,
        Handle
    };

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    // The handle under a window point: 0 to 7 clockwise from the top left, -1 for none.
    int HandleAt(const wxPoint& window) const;
    wxRect HandleRect(int handle) const;

    wxImage m_picture;
    wxBitmap m_shown;  // the picture as placed, made when the size changes
    wxRect m_selection;
    Drag m_drag = Drag::None;
    int m_handle = -1;
    wxPoint m_anchor;       // the picture pixel where the drag began
    wxRect m_dragStart;     // the selection when the drag began
    std::function<void()> m_changed;
};

#endif
