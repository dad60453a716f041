#include "window/gifframe.h"

#include "window/chooserwildcards.h"
#include "window/thumbnailctrl.h"
#include "window/translatedbuttons.h"
#include "window/workerprogress.h"
#include "edit/edithistory.h"
#include "edit/framelist.h"
#include "jobs/imagethread.h"
#include "edit/importrun.h"
#include "decode/picturesequence.h"
#include "jobs/threadevent.h"
#include "decode/unreadablepictures.h"

#include <wx/filedlg.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <algorithm>
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

// The frames left out for damage, as a paragraph of the import's report.
wxString DamageReport(const DamagedFrames& damaged, bool first)
{
    if (damaged.IsEmpty())
        return wxString();
    return (first ? wxString() : wxString(wxS("\n\n"))) +
           wxJoin(damaged.Describe(), wxS('\n'), wxS('\0'));
}

wxString DeleteQuestion(int count)
{
    return wxString::Format(wxPLURAL("Delete %d frame?", "Delete %d frames?", count), count);
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
    ImportRun run(paths, {}, insertAt);
    run.reportUnreadable = reportUnreadable;
    return StartImport(run, false);
}

bool GifFrame::StartImport(const ImportRun& run, bool replaceStrip)
{
    if (IsWorkerRunning())
        return false;
    const bool started =
        m_importWorker->Start([this, &run](const WorkerProgress::StopFlag& stop)
                              {
                                  return new ImageThread(this, run.GetEntries(), stop, run.backlog,
                                                         run.GetVideoEntries());
                              },
                              _("Load Images Progress Dialog"), _(" Loading images...."),
                              _("Cannot start loading the pictures."));
    if (!started)
        return false;

    *m_importRun = run;
    if (replaceStrip)
    {
        m_importRun->undoable = false;
        m_history->Clear();
        m_frames->Clear();
        m_sizeChosen = false;
        ShowFrames();
        ClearPreview();
        m_statusBar1->SetStatusText(wxString(), 1);
    }
    EnableFrameCommands();
    return true;
}

void GifFrame::ThreadUpdate(wxCommandEvent& event)
{
    std::cout << "ThreadUpdate" << std::endl;

    if (auto* picture = static_cast<ImportedPicture*>(event.GetClientData()))
    {
        --*m_importRun->backlog;
        // The whole import is one step to undo.
        if (m_importRun->undoable && m_importRun->GetDelivered() == 0)
            RecordEdit(EditKind::Frames);
        const int frameIndex = int(event.GetExtraLong());
        const ImportRun::Arrival arrival = m_importRun->Take(
            event.GetString(), frameIndex, picture->delay, m_spinctrl_delay->GetValue());
        StripFrame frame =
            MakeStripFrame(picture->image, event.GetString(), frameIndex, arrival.delay,
                           picture->stored, arrival.video);
        frame.orientation = std::uint8_t(arrival.orientation & 7);
        delete picture;
        const int pos = m_frames->Insert(arrival.position, {frame});
        m_thumbnailCtrl->Insert(MakeFrameItem(frame), pos);
        if (m_previewIndex >= pos)
            ++m_previewIndex;
    }

    // The import is over with its last picture, or without one when the
    // last file gave nothing or the import was stopped.
    if (!m_importWorker->Advance(event.GetInt()))
        return;
    if (m_importWorker->WasCancelled() && m_importRun->keepNothingOnCancel &&
        m_importRun->GetDelivered() > 0 && m_history->CanUndo())
        RestoreState(m_history->TakeBack());
    ShowStartTimes();
    UpdateCanvasSize();
    ApplyOpenedProjectSize();
    ApplyOpenedProjectCaptions();
    if (!m_frames->IsEmpty())
        DrawPreviewFrame(std::max(0, m_thumbnailCtrl->GetSelectedFocus()));
    else
        DisableFrameCommands();
    UpdateUndoCommands();

    // Entries refused for a reason are listed with it, not among the missing
    // ones; the pictures of a plain import that gave nothing join them. A
    // cancelled import did not get to every entry.
    wxString report;
    const wxArrayString missing =
        m_importWorker->WasCancelled() ? wxArrayString() : m_importRun->GetUnreadable();
    if (m_importRun->reportUnreadable)
    {
        if (!missing.empty())
            report = _("These pictures of the project are missing or cannot be read:") +
                     wxS("\n\n") + ListUnreadablePictures(missing, wxS("\n"), 20);
    }
    else
        for (const wxString& entry : missing)
            m_importRun->refusals.Add(entry, PictureDecodeStatus::Unreadable);
    if (!m_importRun->refusals.IsEmpty())
        report += (report.empty() ? wxString() : wxS("\n\n")) + m_importRun->refusals.Message(20);
    report += DamageReport(m_importRun->damaged, report.empty());
    if (!report.empty() && !m_importWorker->IsCloseRequested())
        ShowMessageBox(this, report, MessageCaption(), wxOK | wxICON_WARNING);
    *m_importRun = ImportRun();

    UpdateTitle();
    CloseIfRequested(*m_importWorker);
}

void GifFrame::OnImportProgress(wxCommandEvent& event)
{
    m_importWorker->Advance(std::min(event.GetInt(), 99));
}

void GifFrame::OnPictureRefused(wxCommandEvent& event)
{
    // The import's end, which comes after every refusal, reports them.
    m_importRun->refusals.Add(event.GetString(), static_cast<PictureDecodeStatus>(event.GetInt()));
}

void GifFrame::OnPictureDamaged(wxCommandEvent& event)
{
    m_importRun->damaged.Add(event.GetString(), event.GetInt());
}

void GifFrame::OnInsertImage(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning())
        return;
    const wxArrayString paths = ChoosePictures(this, _("Insert Image Files"));
    if (paths.empty())
        return;

    // The pictures go before the first selected frame (a right click
    // selects the frame it is on), else at the end.
    const wxArrayInt& selections = m_thumbnailCtrl->GetSelections();
    InsertFiles(paths, selections.empty() ? -1 : selections[0]);
}

int GifFrame::InsertFiles(const wxArrayString& paths, int pos)
{
    std::vector<StripFrame> frames;
    ImportRefusals refusals;
    DamagedFrames damaged;
    PictureSequence sequence(
        paths,
        [&](std::size_t entry, PictureDecodeStatus status)
        {
            if (status != PictureDecodeStatus::Decoded)
                refusals.Add(paths[entry], status);
        },
        [&](std::size_t entry, int frameIndex)
        { damaged.Add(DescribePictureEntry(paths[entry]).path, frameIndex); });
    for (SequencePicture picture; sequence.Next(picture);)
        frames.push_back(
            MakeStripFrame(*picture.image, picture.path, picture.frameIndex,
                           OwnDelayFromFile(picture.delay, m_spinctrl_delay->GetValue())));
    InsertFrames(pos, frames);
    const wxString report = (refusals.IsEmpty() ? wxString() : refusals.Message(20)) +
                            DamageReport(damaged, refusals.IsEmpty());
    if (!report.empty())
        ShowMessageBox(this, report, MessageCaption(), wxOK | wxICON_WARNING);
    return int(frames.size());
}

void GifFrame::OnDeleteImage(wxCommandEvent&)
{
    StopPlayback();
    // The workers read the strip; it stays as it is until they are done.
    if (IsWorkerRunning())
        return;
    const std::vector<int> selected = GetSelectedFrames();
    if (m_frames->IsEmpty() || selected.empty())
        return;

    if (ShowMessageBox(this, DeleteQuestion(int(selected.size())), _("Confirm"),
                       wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION) == wxID_YES)
        DeleteFrames(selected);

    m_statusBar1->SetStatusText(wxString(), 1);
    UpdateCanvasSize();
    if (m_frames->IsEmpty())
        DisableFrameCommands();
}

bool GifFrame::DeleteFrames(const std::vector<int>& indices)
{
    if (!EditFrames([&](FrameList& list) { return list.Remove(indices); }))
        return false;
    ClearPreview();
    return true;
}

void GifFrame::OnClearAll(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning())
        return;
    EditFrames(
        [this](FrameList& list)
        {
            const bool hadFrames = !list.IsEmpty();
            list.Clear();
            // An empty strip starts afresh: the next frames choose the size
            // again and are shown whole.
            m_sizeChosen = false;
            *m_crop = CropArea();
            return hadFrames;
        });
    DisableFrameCommands();
    m_statusBar1->SetStatusText(wxString(), 1);
    ClearPreview();
}

void GifFrame::OnThumbnailRightClick(wxThumbnailEvent&)
{
    StopPlayback();
    wxMenu menu;
    menu.Append(ID_INSERT_IMAGE, _("&Insert Image"));
    menu.Append(wxID_DELETE, _("&Delete") + wxS("\tCtrl+Del"));
    menu.AppendSeparator();
    menu.Append(ID_MENU_MOVE_LEFT, _("Move Left") + wxS("\tCtrl+Shift+Left"));
    menu.Append(ID_MENU_MOVE_RIGHT, _("Move Right") + wxS("\tCtrl+Shift+Right"));
    menu.Append(ID_MENU_FRAME_DELAY, FrameDelayLabel());
    menu.Append(ID_MENU_ADD_CAPTION, AddCaptionLabel());
    PopupMenu(&menu);
}

void GifFrame::OnStripKey(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    const int modifiers = event.GetModifiers();
    // The strip would take these as navigation before the menu saw them.
    if (modifiers == (wxMOD_CONTROL | wxMOD_SHIFT) && (key == WXK_LEFT || key == WXK_RIGHT))
    {
        wxCommandEvent move(wxEVT_MENU, key == WXK_LEFT ? ID_MENU_MOVE_LEFT : ID_MENU_MOVE_RIGHT);
        OnMoveFrames(move);
        return;
    }
    wxCommandEvent command;
    if (modifiers == wxMOD_NONE && (key == WXK_DELETE || key == WXK_NUMPAD_DELETE))
        OnDeleteImage(command);
    else if (modifiers == wxMOD_NONE && key == WXK_SPACE)
        OnPlay(command);
    else
        event.Skip();
}
