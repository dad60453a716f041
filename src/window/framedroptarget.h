#ifndef LOOPFORGE_WINDOW_FRAMEDROPTARGET_H
#define LOOPFORGE_WINDOW_FRAMEDROPTARGET_H

#include <wx/dnd.h>

class GifFrame;
class wxThumbnailCtrl;

// Where pictures dropped on the strip at point (client coordinates) go:
// before the item under the point (the gap before an item counts as the
// item), after a row's last item for a point right of it, else at the end.
int DropInsertIndex(wxThumbnailCtrl& strip, const wxPoint& point);

// Takes files dropped from a file manager onto the strip (inserted where
// they are dropped) or onto the preview (appended), through the window's
// import as Add Image does; one project file dropped alone is opened as Open
// Project does, and one video clip dropped alone is imported as Import
// Video does. Nothing is taken while an import or export runs.
class FrameDropTarget : public wxFileDropTarget
{
public:
    // strip: the strip the target belongs to; null for the preview.
    FrameDropTarget(GifFrame* frame, wxThumbnailCtrl* strip);

    // What a drop of these files at point does; false when it takes nothing.
    bool DropFiles(const wxArrayString& files, const wxPoint& point);

    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult suggested) override;
    void OnLeave() override;
    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

private:
    GifFrame* m_frame;
    wxThumbnailCtrl* m_strip;
};

#endif
