#include "window/gifframe.h"

#include "app/paths.h"
#include "edit/framelist.h"
#include "encode/classicreduction.h"
#include "encode/framefitting.h"
#include "encode/picturecrop.h"
#include "encode/pictureorientation.h"
#include "window/checkerboard.h"
#include "window/captionpreview.h"
#include "window/loopcountdialog.h"
#include "window/previewcache.h"
#include "window/windowsettings.h"
#include "window/thumbnailctrl.h"

#include <wx/dcbuffer.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/menuitem.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <iostream>

void GifFrame::OnPlay(wxCommandEvent&)
{
    if (m_playing)
    {
        m_timer.Stop();
        m_playIndex = 0;
        ShowPlayState();
    }
    else
    {
        if (m_frames->IsEmpty())
            return;
        const int first = std::min(m_playIndex, m_frames->GetCount() - 1);
        m_timer.Start(m_frames->GetDelay(first, m_spinctrl_delay->GetValue()) * 10,
                      wxTIMER_CONTINUOUS);
        ShowStopState();
    }
    m_playing = !m_playing;
}

void GifFrame::StopPlayback()
{
    m_timer.Stop();
    m_playIndex = 0;
    ShowPlayState();
    m_playing = false;
}

namespace
{
void SetRunTool(wxToolBar* toolBar, const wxString& picture)
{
    if (!toolBar)
        return;
    wxLogNull noLog;
    const wxBitmap bitmap(GetInstallDir() + wxS("/Themes/") + picture, wxBITMAP_TYPE_ANY);
    toolBar->SetToolNormalBitmap(XRCID("m_tool_play"), bitmap);
}
}  // namespace

void GifFrame::ShowPlayState()
{
    SetRunTool(m_toolBar_button, wxS("play.png"));
    if (m_menuItem_run)
        m_menuItem_run->SetItemLabel(_("Run animation") + wxS("\tCtrl+P"));
}

void GifFrame::ShowStopState()
{
    SetRunTool(m_toolBar_button, wxS("stop.png"));
    if (m_menuItem_run)
        m_menuItem_run->SetItemLabel(_("Stop animation") + wxS("\tCtrl+T"));
}

void GifFrame::OnTimer(wxTimerEvent&)
{
    const int count = m_frames->GetCount();
    if (count == 0)
    {
        StopPlayback();
        return;
    }
    DrawPreviewFrame(m_playIndex);
    // The frame drawn stays for its own delay.
    const int interval = m_frames->GetDelay(m_playIndex, m_spinctrl_delay->GetValue()) * 10;
    if (m_timer.IsRunning() && m_timer.GetInterval() != interval)
        m_timer.Start(interval, wxTIMER_CONTINUOUS);
    ++m_playIndex;
    if (m_playIndex >= count)
    {
        ++m_loopsPlayed;
        if (m_loopsPlayed == m_loopCount)
        {
            m_timer.Stop();
            m_loopsPlayed = 0;
            ShowPlayState();
            m_playing = false;
        }
        m_playIndex = 0;
    }
}

wxRect GifFrame::PreviewPlacement(const wxSize& picture, const wxSize& panel)
{
    if (picture.x < 1 || picture.y < 1)
        return wxRect();
    const double sx = double(panel.x) / picture.x;
    const double sy = double(panel.y) / picture.y;
    wxSize size = picture;
    if (sx < 1 || sy < 1)
    {
        const double s = std::min(sx, sy);
        size = wxSize(int(picture.x * s), int(picture.y * s));
    }
    // The frame sits 30 pixels below the centre where the panel has room for
    // that; a taller frame moves up, so its bottom rows never leave the panel.
    const int y = std::max(0, std::min((panel.y - size.y) / 2 + 30, panel.y - size.y));
    return wxRect((panel.x - size.x) / 2, y, size.x, size.y);
}

void GifFrame::DrawPreviewFrame(int index)
{
    if (index < 0 || index >= m_frames->GetCount())
        return;
    const FrameSource& source = *m_frames->Get(index).source;

    m_previewIndex = index;
    m_previewFileName = wxFileNameFromPath(source.name);
    m_previewSize = source.IsOk()
                        ? OrientedSize(CropRectFor(*m_crop, source.GetSize()).GetSize(),
                                       m_frames->Get(index).orientation)
                        : wxSize(0, 0);

    // The paint handler draws the frame, so a covered or resized panel shows
    // it again; Update() puts it on screen now, as playback needs.
    m_panel_down->Refresh(false);
    m_panel_down->Update();

    m_statusBar1->SetStatusText(
        PreviewStatusText(m_previewFileName, m_previewSize.x, m_previewSize.y), 1);
}

void GifFrame::ClearPreview()
{
    m_previewIndex = -1;
    m_previewCache->Clear();
    m_captionPreview->Clear();
    m_panel_down->Refresh();
}

void GifFrame::OnPreviewPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(m_panel_down);
    const wxColour background = m_panel_down->GetBackgroundColour();
    dc.SetBrush(wxBrush(background));
    dc.SetPen(wxPen(background));
    dc.DrawRectangle(wxPoint(0, 0), m_panel_down->GetClientSize());
    if (m_previewIndex < 0 || m_previewIndex >= m_frames->GetCount())
        return;
    const StripFrame& frame = m_frames->Get(m_previewIndex);
    const FrameSource& stored = *frame.source;
    const wxSize panel = m_panel_down->GetClientSize();
    if (!stored.IsOk())
        return;
    const FrameCaptions captions = m_frames->GetFrameCaptions(m_previewIndex);
    const wxSize output(m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue());
    const bool captioned = !captions.empty() && output.x > 0 && output.y > 0;
    wxBitmap bitmap;
    wxRect placement;
    if (m_windowSettings->previewAsGif)
    {
        // Made afresh for each paint: the output size and options change.
        const wxImage picture = PreviewPicture(m_previewIndex);
        placement = PreviewPlacement(picture.GetSize(), panel);
        if (placement.width > 0 && placement.height > 0)
            bitmap = wxBitmap(placement.GetSize() == picture.GetSize()
                                  ? picture
                                  : picture.Scale(placement.width, placement.height,
                                                  wxIMAGE_QUALITY_NORMAL));
    }
    else if (captioned)
    {
        // A frame with captions shows at the output size, as the GIF will have it.
        placement = PreviewPlacement(output, panel);
        const wxImage source = stored.Picture();
        const wxRect part = CropRectFor(*m_crop, source.GetSize());
        if (part == wxRect(wxPoint(0, 0), source.GetSize()) &&
            frame.orientation == kUprightOrientation)
        {
            bitmap = m_captionPreview->Get(stored.key, source, captions, output, panel);
        }
        else if (placement.width > 0 && placement.height > 0)
        {
            // Cut and turned pictures are made afresh (the cache knows
            // pictures by their pixels' address).
            wxImage shaped = source.GetSubImage(part);
            if (frame.orientation != kUprightOrientation)
                shaped = OrientPicture(shaped, frame.orientation);
            wxImage shown = CaptionedFrame(shaped, captions, output);
            if (shown.IsOk() && shown.GetSize() != placement.GetSize())
                shown.Rescale(placement.width, placement.height, wxIMAGE_QUALITY_NORMAL);
            bitmap = wxBitmap(shown);
        }
    }
    else
    {
        // A frame shown before needs no picture loaded.
        const wxRect part = CropRectFor(*m_crop, stored.GetSize());
        bitmap = m_previewCache->Find(stored.key, frame.orientation, part, panel);
        if (!bitmap.IsOk())
            bitmap = m_previewCache->Get(stored.key, stored.Picture(), frame.orientation, part,
                                         panel);
        placement = PreviewPlacement(OrientedSize(part.GetSize(), frame.orientation), panel);
    }
    if (!bitmap.IsOk())
        return;
    DrawOverCheckerboard(dc, bitmap, placement.GetTopLeft());
}

wxImage GifFrame::PreviewPicture(int index) const
{
    if (index < 0 || index >= m_frames->GetCount())
        return wxImage();
    const StripFrame& frame = m_frames->Get(index);
    wxImage picture = frame.source->Picture();
    if (!m_windowSettings->previewAsGif || m_gifWidth < 1 || m_gifHeight < 1 || !picture.IsOk())
        return picture;
    // Cut and turned as the export does before fitting.
    const wxRect part = CropRectFor(*m_crop, picture.GetSize());
    if (part != wxRect(wxPoint(0, 0), picture.GetSize()))
        picture = picture.GetSubImage(part);
    if (frame.orientation != kUprightOrientation)
        picture = OrientPicture(picture, frame.orientation);
    FittedFrame fitted;
    if (!fitted.Fit(picture, m_gifWidth, m_gifHeight, m_gifOptions.optimised && m_gifOptions.smooth,
                    m_gifOptions.optimised) ||
        !fitted.AddCaptions(m_frames->GetFrameCaptions(index)))
        return picture;
    const size_t bytes = size_t(m_gifWidth) * m_gifHeight * 3;
    wxImage shown(m_gifWidth, m_gifHeight, false);
    std::copy(fitted.Pixels(), fitted.Pixels() + bytes, shown.GetData());
    // The optimised profile keeps transparency, shown over the checkerboard.
    if (const std::uint8_t* opacity = fitted.Opacity())
    {
        shown.SetAlpha();
        for (size_t i = 0; i < size_t(m_gifWidth) * m_gifHeight; ++i)
            shown.GetAlpha()[i] = opacity[i] ? 255 : 0;
    }
    // The classic profile's colours are known frame by frame.
    ClassicReduction reduction;
    if (!m_gifOptions.optimised && reduction.Reduce(shown.GetData(), m_gifWidth, m_gifHeight))
    {
        unsigned char* out = shown.GetData();
        const std::uint8_t* palette = reduction.Palette().rgb;
        for (const std::uint8_t entry : reduction.Indices())
            out = std::copy(palette + 3 * entry, palette + 3 * entry + 3, out);
    }
    return shown;
}

void GifFrame::OnPreviewAsGif(wxCommandEvent& event)
{
    m_windowSettings->previewAsGif = event.IsChecked();
    m_menuBar->Check(ID_MENU_PREVIEW_AS_GIF, event.IsChecked());
    m_windowSettings->Save(GetWindowSettingsFilePath());
    m_panel_down->Refresh(false);
}

wxString GifFrame::PreviewStatusText(const wxString& fileName, int width, int height) const
{
    const wxString format = wxS("%s ") + _("Width") + wxS(":") + wxS("%d") + _("px") + wxS(",") +
                            _("Height") + wxS(":%d ") + _("px");
    return wxString::Format(format, fileName, width, height);
}

void GifFrame::OnThumbnailLeftClick(wxThumbnailEvent& event)
{
    if (m_frames->IsEmpty())
        return;
    StopPlayback();
    DrawPreviewFrame(event.GetIndex());
}

void GifFrame::OnStripSelection(wxThumbnailEvent& event)
{
    event.Skip();
    const int shown = m_thumbnailCtrl->GetSelectedFocus();
    if (shown < 0 || (shown == m_previewIndex && !m_playing))
        return;
    StopPlayback();
    DrawPreviewFrame(shown);
}

void GifFrame::OnChangeSplitterWindow(wxSplitterEvent& event)
{
    std::cout << "OnChangeSplitterWindow" << std::endl;
    event.Skip();
    // The strip keeps the share of the window the user gave it.
    const int height = m_splitter3->GetClientSize().y;
    if (height > 0 && event.GetSashPosition() > 0)
    {
        m_windowSettings->stripShare = double(event.GetSashPosition()) / height;
        m_splitter3->SetSashGravity(m_windowSettings->stripShare);
        m_windowSettings->Save(GetWindowSettingsFilePath());
    }
    if (m_thumbnailCtrl && !m_thumbnailCtrl->GetSelections().empty())
        DrawPreviewFrame(m_thumbnailCtrl->GetSelections()[0]);
}

void GifFrame::OnLoopCount(wxCommandEvent&)
{
    if (m_frames->IsEmpty())
        return;
    LoopCountDialog dialog(this);
    if (dialog.ShowModal() == wxID_OK)
    {
        m_loopCount = dialog.GetLoopCount();
        m_loopsPlayed = 0;
    }
    StopPlayback();
}
