#include "window/gifframe.h"

#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/splitter.h>

// TODO(preview): playback, preview drawing, loop count.
void GifFrame::OnPlay(wxCommandEvent&) {}
void GifFrame::StopPlayback()
{
    m_timer.Stop();
    m_playIndex = 0;
    m_playing = false;
}
void GifFrame::ShowPlayState() {}
void GifFrame::ShowStopState() {}
void GifFrame::OnTimer(wxTimerEvent&) {}
void GifFrame::DrawPreviewFrame(int) {}
void GifFrame::OnThumbnailLeftClick(wxThumbnailEvent&) {}
void GifFrame::OnChangeSplitterWindow(wxSplitterEvent&) {}
void GifFrame::OnLoopCount(wxCommandEvent&) {}
wxString GifFrame::PreviewStatusText(const wxString& fileName, int width, int height) const
{
    const wxString format = wxS("%s ") + _("Width") + wxS(":") + wxS("%d") + _("px") + wxS(",") +
                            _("Height") + wxS(":%d ") + _("px");
    return wxString::Format(format, fileName, width, height);
}
void GifFrame::OnPreviewPaint(wxPaintEvent& event)
{
    event.Skip();
}
