#include "window/gifframe.h"

#include "window/chooserwildcards.h"
#include "window/thumbnailctrl.h"
#include "window/translatedbuttons.h"
#include "work/imagethread.h"
#include "work/importrefusals.h"
#include "work/picturesequence.h"
#include "work/threadevent.h"
#include "work/unreadablepictures.h"

#include <wx/filedlg.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <functional>
#include <iostream>

namespace
{
// The picture file chooser shared by Add Image and Insert Image.
wxArrayString ChoosePictures(wxWindow* parent, const wxString& title)
{
    wxFileDialog dialog(parent, title, wxString(), wxString(), PictureChooserWildcard(),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE);
    wxArrayString paths;
    if (dialog.ShowModal() == wxID_OK)
        dialog.GetPaths(paths);
    return paths;
}

const long kProgressStyle = wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME | wxPD_REMAINING_TIME;

// The name under which a delivered picture answers a request: the path, or
// for a GIF frame the frame reference.
wxString DeliveredName(const wxString& path, long frameIndex)
{
    return frameIndex > 0 || path.EndsWith(wxS(".gif"))
               ? path + wxString::Format(wxS("_%ld"), frameIndex)
               : path;
}
}  // namespace

void GifFrame::OnAddImage(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning())
        return;
    const wxArrayString paths = ChoosePictures(this, _("Add Image Files"));
    if (paths.empty())
        return;
    ImportFiles(paths);
}

bool GifFrame::ImportFiles(const wxArrayString& paths, bool reportUnreadable, int insertAt)
{
    if (IsWorkerRunning())
        return false;

    m_workerCancel = std::make_shared<std::atomic<bool>>(false);
    m_importBacklog = std::make_shared<std::atomic<int>>(0);
    ImageThread* thread = new ImageThread(this, paths, m_workerCancel, m_importBacklog);
    if (thread->Create() != wxTHREAD_NO_ERROR || thread->Run() != wxTHREAD_NO_ERROR)
    {
        // No picture event will ever come, so no progress dialog may wait for one.
        delete thread;
        m_workerCancel.reset();
        ShowMessageBox(this, _("Cannot start loading the pictures."), GetTitle(),
                       wxOK | wxICON_ERROR);
        return false;
    }
    // The thread's events wait in the queue until the dialog below exists:
    // the dialog only lets the toolkit's own events through while it opens.
    m_importInsertAt = insertAt >= 0 && insertAt < m_thumbnailCtrl->GetCount() ? insertAt : -1;
    m_importRequested = reportUnreadable ? paths : wxArrayString();
    m_importDelivered.clear();
    m_importReportUnreadable = reportUnreadable;
    m_importRefusals->Clear();
    m_importProgress = new wxProgressDialog(_("Load Images Progress Dialog"),
                                            _(" Loading images...."), 100, this, kProgressStyle);
    EnableFrameCommands();
    return true;
}

void GifFrame::ThreadUpdate(wxCommandEvent& event)
{
    std::cout << "ThreadUpdate" << std::endl;

    if (auto* image = static_cast<wxImage*>(event.GetClientData()))
    {
        if (m_importBacklog)
            --*m_importBacklog;
        auto* item = new wxImageThumbnailItem(image, int(event.GetExtraLong()), event.GetString());
        if (!AddImportedItem(item))
            delete item;
        else if (m_importReportUnreadable)
        {
            // Both names count: a request may name the file or one of its frames.
            m_importDelivered.push_back(event.GetString());
            m_importDelivered.push_back(DeliveredName(event.GetString(), event.GetExtraLong()));
        }
    }

    // The import is over with its last picture, or without one when the
    // last file gave nothing or the import was stopped.
    if (!AdvanceWorkerProgress(m_importProgress, event.GetInt()))
        return;
    UpdateCanvasSize();
    ApplyOpenedProjectSize();
    if (m_thumbnailCtrl->GetCount() > 0)
        DrawPreviewFrame(0);
    else
        DisableFrameCommands();

    // Entries refused for a reason are listed with it, not among the missing ones.
    wxString report;
    if (m_importReportUnreadable)
    {
        wxArrayString missing;
        for (const wxString& path : m_importRequested)
            if (m_importDelivered.Index(path) == wxNOT_FOUND && !m_importRefusals->Contains(path))
                missing.push_back(path);
        if (!missing.empty())
            report = _("These pictures of the project are missing or cannot be read:") +
                     wxS("\n\n") + ListUnreadablePictures(missing, wxS("\n"), 20);
    }
    if (!m_importRefusals->IsEmpty())
        report += (report.empty() ? wxString() : wxS("\n\n")) + m_importRefusals->Message(20);
    if (!report.empty() && !m_closeRequested)
        ShowMessageBox(this, report, GetTitle(), wxOK | wxICON_WARNING);
    m_importRequested.clear();
    m_importDelivered.clear();
    m_importRefusals->Clear();

    CloseIfRequested();
}

bool GifFrame::AddImportedItem(wxImageThumbnailItem* item)
{
    if (m_importInsertAt < 0)
        return m_thumbnailCtrl->Append(item, m_spinctrl_delay->GetValue()) >= 0;
    m_thumbnailCtrl->Freeze();
    m_thumbnailCtrl->Insert(item, m_importInsertAt);
    m_thumbnailCtrl->Thaw();
    ++m_importInsertAt;
    return true;
}

void GifFrame::OnImportProgress(wxCommandEvent& event)
{
    AdvanceWorkerProgress(m_importProgress, std::min(event.GetInt(), 99));
}

void GifFrame::OnPictureRefused(wxCommandEvent& event)
{
    // The import's end, which comes after every refusal, reports them.
    m_importRefusals->Add(event.GetString(), static_cast<PictureDecodeStatus>(event.GetInt()));
}

void GifFrame::OnInsertImage(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning())
        return;
    const wxArrayString paths = ChoosePictures(this, _("Insert Image Files"));
    if (paths.empty())
        return;

    // With nothing selected (a right click only moves the focus) the
    // pictures go before the item that was right-clicked, else at the end.
    int pos = m_thumbnailCtrl->GetCount();
    const wxArrayInt& selections = m_thumbnailCtrl->GetSelections();
    if (!selections.empty())
        pos = selections[0];
    else if (m_rightClickIndex >= 0 && m_rightClickIndex < m_thumbnailCtrl->GetCount())
        pos = m_rightClickIndex;
    InsertFiles(paths, pos);
}

int GifFrame::InsertFiles(const wxArrayString& paths, int pos)
{
    const int count = m_thumbnailCtrl->GetCount();
    if (pos < 0 || pos > count)
        pos = count;
    int inserted = 0;
    ImportRefusals refusals;
    PictureSequence sequence(paths,
                             [&](std::size_t entry, PictureDecodeStatus status)
                             {
                                 if (IsReportedRefusal(status))
                                     refusals.Add(paths[entry], status);
                             });
    for (SequencePicture picture; sequence.Next(picture); ++inserted)
    {
        // A frame reference names its GIF file; the item adds the frame number.
        m_thumbnailCtrl->Freeze();
        m_thumbnailCtrl->Insert(
            new wxImageThumbnailItem(picture.image.release(), picture.frameIndex, picture.path),
            pos + inserted);
        m_thumbnailCtrl->Thaw();
    }
    // The preview knows its frame by position; it goes on showing the same frame.
    if (m_previewIndex >= pos)
        m_previewIndex += inserted;
    UpdateCanvasSize();
    if (inserted > 0)
        EnableFrameCommands();
    if (!refusals.IsEmpty())
        ShowMessageBox(this, refusals.Message(20), GetTitle(), wxOK | wxICON_WARNING);
    return inserted;
}

void GifFrame::OnDeleteImage(wxCommandEvent&)
{
    StopPlayback();
    // The workers read the strip; it stays as it is until they are done.
    if (IsWorkerRunning())
        return;
    const wxArrayInt& selections = m_thumbnailCtrl->GetSelections();
    if (m_thumbnailCtrl->GetCount() == 0 || selections.empty() || selections[0] < 0)
        return;

    wxArrayInt descending(selections);
    std::sort(descending.begin(), descending.end(), std::greater<int>());

    if (ShowMessageBox(this, _("Are you sure you want to delete selected image(s)?"), _("Confirm"),
                       wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION) == wxID_YES)
        DeleteFrames(descending);

    m_statusBar1->SetStatusText(wxString(), 1);
    UpdateCanvasSize();
    if (m_thumbnailCtrl->GetCount() == 0)
        DisableFrameCommands();
}

void GifFrame::DeleteFrames(const wxArrayInt& descendingIndices)
{
    for (int index : descendingIndices)
        if (index >= 0 && index < m_thumbnailCtrl->GetCount())
            m_thumbnailCtrl->Delete(index);
    ClearPreview();
}

void GifFrame::OnClearAll(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning())
        return;
    DisableFrameCommands();
    m_thumbnailCtrl->Clear();
    UpdateCanvasSize();
    m_statusBar1->SetStatusText(wxString(), 1);
    ClearPreview();
}

void GifFrame::OnThumbnailRightClick(wxThumbnailEvent& event)
{
    StopPlayback();
    m_rightClickIndex = event.GetIndex();
    wxMenu menu;
    menu.Append(ID_INSERT_IMAGE, _("&Insert Image") + wxS("\tCtrl+Ins"));
    menu.Append(wxID_DELETE, _("&Delete") + wxS("\tCtrl+Del"));
    PopupMenu(&menu);
}
