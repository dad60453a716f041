#include "window/gifframe.h"

#include "window/confirmreplace.h"
#include "window/thumbnailctrl.h"
#include "window/translatedbuttons.h"
#include "work/threadevent.h"
#include "work/worksaveasgifthread.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <iostream>
#include <vector>

namespace
{
// The GIF file chooser shared by Save and Save As; empty when cancelled.
wxString ChooseGifFile(wxWindow* parent, const wxString& title)
{
    wxFileDialog dialog(parent, title, wxString(), wxS("*.gif"),
                        _("Image files") + wxS(" (*.gif)|*.gif"),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return wxString();
    return dialog.GetPath();
}
}  // namespace

wxString GifFrame::EnsureGifExtension(const wxString& path)
{
    return path.EndsWith(wxS(".gif")) ? path : path + wxS(".gif");
}

bool GifFrame::StartExport(int width, int height, const wxString& title)
{
    if (IsWorkerRunning())
        return false;

    // The worker reads the items' pictures in place; the progress dialog
    // keeps the strip unchanged until it is done.
    std::vector<ExportFrame> frames;
    const int count = m_thumbnailCtrl->GetCount();
    frames.reserve(count);
    for (int i = 0; i < count; ++i)
        if (const auto* item = wxDynamicCast(m_thumbnailCtrl->GetItem(i), wxImageThumbnailItem))
            frames.push_back({&item->GetImage(), m_exportDelay});

    m_workerCancel = std::make_shared<std::atomic<bool>>(false);
    auto* thread = new WorkSaveAsGifThread(this, frames, m_gifPath, width, height, m_workerCancel);
    if (thread->Run() != wxTHREAD_NO_ERROR)
    {
        delete thread;
        m_workerCancel.reset();
        // Nothing was written, so the next Save must not take the file as up to date.
        m_exportCount = m_exportDelay = m_exportWidth = m_exportHeight = -1;
        ShowMessageBox(this, wxString::Format(_("Cannot start saving \"%s\"."), m_gifPath),
                       GetTitle(), wxOK | wxICON_ERROR);
        return false;
    }
    m_exportProgress =
        new wxProgressDialog(title, _(" Saving images...."), 100, this,
                             wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME | wxPD_REMAINING_TIME);
    return true;
}

void GifFrame::OnSaveAnimator(wxCommandEvent&)
{
    std::cout << "OnSaveAnimator" << std::endl;
    StopPlayback();
    if (IsWorkerRunning())
        return;

    if (m_thumbnailCtrl->GetCount() == 0)
    {
        if (m_gifPath.empty())
        {
            const wxString chosen = ChooseGifFile(this, _("Save GIF Files"));
            if (!chosen.empty())
            {
                m_gifPath = chosen;
                m_gifFileName = wxFileNameFromPath(chosen);
            }
        }
        return;
    }

    if (m_gifPath.empty())
    {
        const wxString chosen = ChooseGifFile(this, _("Save GIF Files"));
        if (chosen.empty())
            return;
        const wxString path = EnsureGifExtension(chosen);
        if (!MayWriteWithAddedEnding(this, chosen, path, _("Save GIF Files")))
            return;
        m_gifPath = path;
        m_gifFileName = wxFileNameFromPath(m_gifPath);
    }
    else
    {
        if (IsExportSnapshotCurrent() && wxFileName::FileExists(m_gifPath))
            return;
    }

    TakeExportSnapshot();
    if (StartExport(m_exportWidth, m_exportHeight, _("Save GIF Progress Dialog")))
        ShowExportStatus();
}

void GifFrame::OnSaveAsGif(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning() || m_thumbnailCtrl->GetCount() == 0)
        return;

    const wxString chosen = ChooseGifFile(this, _("Save As GIF Files"));
    if (chosen.empty())
    {
        // Cancelling Save As forgets the remembered output file.
        m_gifPath.clear();
        return;
    }
    const wxString path = EnsureGifExtension(chosen);
    if (!MayWriteWithAddedEnding(this, chosen, path, _("Save As GIF Files")))
        return;
    m_gifPath = path;
    m_gifFileName = wxFileNameFromPath(m_gifPath);
    TakeExportSnapshot();
    if (StartExport(m_gifWidth, m_gifHeight, _("Save As GIF Progress Dialog")))
        ShowExportStatus();
}

void GifFrame::TakeExportSnapshot()
{
    m_exportCount = m_thumbnailCtrl->GetCount();
    m_exportDelay = m_spinctrl_delay->GetValue();
    m_exportWidth = m_spinctrl_width->GetValue();
    m_exportHeight = m_spinctrl_height->GetValue();
}

bool GifFrame::IsExportSnapshotCurrent() const
{
    return m_exportCount == m_thumbnailCtrl->GetCount() &&
           m_exportDelay == m_spinctrl_delay->GetValue() &&
           m_exportWidth == m_spinctrl_width->GetValue() &&
           m_exportHeight == m_spinctrl_height->GetValue();
}

void GifFrame::ShowExportStatus()
{
    m_statusBar1->SetStatusText(
        wxString::Format(wxS("%s (%d * %d)px"), m_gifFileName, m_spinctrl_width->GetValue(),
                         m_spinctrl_height->GetValue()),
        0);
}

void GifFrame::WorkSaveAsGifThreadUpdate(wxCommandEvent& event)
{
    std::cout << "WorkSaveAsGifThreadUpdate:" << std::endl;
    if (!AdvanceWorkerProgress(m_exportProgress, event.GetInt()))
        return;

    if (event.GetExtraLong() == 0)
    {
        // Nothing was written: the next Save must try again.
        m_exportCount = m_exportDelay = m_exportWidth = m_exportHeight = -1;
        if (!m_closeRequested)
            ShowMessageBox(this, event.GetString(), GetTitle(), wxOK | wxICON_ERROR);
    }

    CloseIfRequested();
}
