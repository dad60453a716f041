#include "window/gifframe.h"

#include "window/thumbnailctrl.h"

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
void GifFrame::OnPreviewPaint(wxPaintEvent& event)
{
    event.Skip();
}
