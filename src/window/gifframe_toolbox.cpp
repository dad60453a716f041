// Selecting, duplicating, copying and pasting frames, and the edits of the
// whole animation: reverse, yo-yo, speed, removing repeated frames, turning
// and mirroring, and the crop.
#include "window/gifframe.h"

#include "edit/animationspeed.h"
#include "edit/edithistory.h"
#include "edit/framelist.h"
#include "edit/repeatedframes.h"
#include "window/cropdialog.h"
#include "window/repeatedframesdialog.h"
#include "window/speeddialog.h"
#include "window/thumbnailctrl.h"
#include "window/translatedbuttons.h"

#include <wx/intl.h>
#include <wx/spinctrl.h>
#include <wx/utils.h>

void GifFrame::SelectFrames(const std::vector<int>& indices)
{
    m_thumbnailCtrl->Freeze();
    for (int i = 0; i < m_thumbnailCtrl->GetCount(); ++i)
        if (m_thumbnailCtrl->IsSelected(i))
            m_thumbnailCtrl->Select(i, false);
    for (int index : indices)
        m_thumbnailCtrl->Select(index, true);
    m_thumbnailCtrl->Thaw();
    if (!indices.empty())
        m_thumbnailCtrl->EnsureVisible(indices.front());
}

void GifFrame::SelectAllFrames()
{
    std::vector<int> all(size_t(m_frames->GetCount()));
    for (int i = 0; i < m_frames->GetCount(); ++i)
        all[size_t(i)] = i;
    SelectFrames(all);
}

std::vector<int> GifFrame::GetEditScope() const
{
    std::vector<int> selected = GetSelectedFrames();
    if (selected.size() < 2)
        selected.clear();
    return selected;
}

bool GifFrame::DuplicateFrames(const std::vector<int>& indices)
{
    std::vector<int> copies;
    if (!EditFrames(
            [&](FrameList& list)
            {
                copies = list.Duplicate(indices);
                return !copies.empty();
            }))
        return false;
    SelectFrames(copies);
    return true;
}

bool GifFrame::CopyFrames(const std::vector<int>& indices)
{
    std::vector<StripFrame> frames = m_frames->Copy(indices);
    if (frames.empty())
        return false;
    m_clipboard->swap(frames);
    return true;
}

bool GifFrame::CutFrames(const std::vector<int>& indices)
{
    if (IsWorkerRunning() || !CopyFrames(indices))
        return false;
    return DeleteFrames(indices);
}

bool GifFrame::PasteFrames(int before)
{
    int first = -1;
    if (!EditFrames(
            [&](FrameList& list)
            {
                first = list.Insert(before, *m_clipboard);
                return !m_clipboard->empty();
            }))
        return false;
    std::vector<int> pasted;
    for (int i = 0; i < int(m_clipboard->size()); ++i)
        pasted.push_back(first + i);
    SelectFrames(pasted);
    return true;
}

bool GifFrame::ReverseFrames(const std::vector<int>& indices)
{
    return EditFrames(
        [&](FrameList& list)
        {
            if (!indices.empty())
                return list.Reverse(indices);
            std::vector<int> all(size_t(list.GetCount()));
            for (int i = 0; i < list.GetCount(); ++i)
                all[size_t(i)] = i;
            return list.Reverse(all);
        });
}

bool GifFrame::YoyoFrames()
{
    return EditFrames([](FrameList& list) { return list.AppendReversed(); });
}

bool GifFrame::ChangeFramesSpeed(const std::vector<int>& indices, int percent)
{
    return EditWork([&](EditState& state) { return ChangeSpeed(state, indices, percent); });
}

std::vector<int> GifFrame::FindDuplicateFrames(double tolerance) const
{
    return FindRepeatedFrames(*m_frames, m_spinctrl_delay->GetValue(), tolerance,
                              GetEditScope());
}

bool GifFrame::RemoveDuplicateFrames(const std::vector<int>& repeated)
{
    const int delay = m_spinctrl_delay->GetValue();
    return EditFrames([&](FrameList& list)
                      { return RemoveRepeatedFrames(list, delay, repeated); });
}

bool GifFrame::OrientFrames(const std::vector<int>& indices, OrientationEdit edit)
{
    return EditFrames(
        [&](FrameList& list)
        {
            if (!indices.empty())
                return list.Orient(indices, edit);
            std::vector<int> all(size_t(list.GetCount()));
            for (int i = 0; i < list.GetCount(); ++i)
                all[size_t(i)] = i;
            return list.Orient(all, edit);
        });
}

void GifFrame::OnOrient(wxCommandEvent& event)
{
    StopPlayback();
    const int id = event.GetId();
    const OrientationEdit edit = id == ID_MENU_ROTATE_LEFT    ? OrientationEdit::RotateLeft
                                 : id == ID_MENU_ROTATE_RIGHT ? OrientationEdit::RotateRight
                                 : id == ID_MENU_ROTATE_180   ? OrientationEdit::Rotate180
                                 : id == ID_MENU_FLIP_HORIZONTAL
                                     ? OrientationEdit::FlipHorizontal
                                     : OrientationEdit::FlipVertical;
    OrientFrames(GetEditScope(), edit);
    // The preview shows its frame in the new orientation.
    if (m_previewIndex >= 0)
        DrawPreviewFrame(m_previewIndex);
}

bool GifFrame::SetCrop(const CropArea& crop)
{
    return EditWork(
        [&](EditState& state)
        {
            if (state.crop == crop)
                return false;
            state.crop = crop;
            // The output size follows the part kept.
            state.sizeChosen = false;
            return true;
        });
}

void GifFrame::OnCrop(wxCommandEvent&)
{
    StopPlayback();
    if (m_frames->IsEmpty() || IsWorkerRunning())
        return;
    // The rectangle is drawn on the frame in the preview, else the first selected one.
    const std::vector<int> selected = GetSelectedFrames();
    const int index = m_previewIndex >= 0 ? m_previewIndex : selected.empty() ? 0 : selected[0];
    const StripFrame& frame = m_frames->Get(index);
    const wxImage picture = frame.source->Picture();
    if (!picture.IsOk())
        return;
    const wxSize size = picture.GetSize();
    // The dialog shows the frame turned as it plays; the crop lies in the
    // picture as it was read.
    CropDialog dialog(this, OrientPicture(picture, frame.orientation),
                      OrientRect(CropRectFor(*m_crop, size), size, frame.orientation));
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxRect rect = OrientRect(dialog.GetSelection(), OrientedSize(size, frame.orientation),
                                   InverseOrientation(frame.orientation));
    SetCrop(rect == wxRect(wxPoint(0, 0), size) ? CropArea() : CropArea{rect, size});
    DrawPreviewFrame(index);
}

void GifFrame::OnSelectAll(wxCommandEvent&)
{
    SelectAllFrames();
}

void GifFrame::OnDuplicate(wxCommandEvent&)
{
    StopPlayback();
    DuplicateFrames(GetSelectedFrames());
}

void GifFrame::OnCutCopy(wxCommandEvent& event)
{
    StopPlayback();
    if (event.GetId() == ID_MENU_CUT)
        CutFrames(GetSelectedFrames());
    else
        CopyFrames(GetSelectedFrames());
}

void GifFrame::OnPaste(wxCommandEvent&)
{
    StopPlayback();
    // Before the frame with the keyboard focus, else at the end.
    const int focus = m_thumbnailCtrl->GetFocusItem();
    PasteFrames(focus >= 0 && focus < m_frames->GetCount() ? focus : -1);
}

void GifFrame::OnReverse(wxCommandEvent&)
{
    StopPlayback();
    ReverseFrames(GetEditScope());
}

void GifFrame::OnYoyo(wxCommandEvent&)
{
    StopPlayback();
    YoyoFrames();
}

void GifFrame::OnSpeed(wxCommandEvent&)
{
    StopPlayback();
    if (m_frames->IsEmpty() || IsWorkerRunning())
        return;
    SpeedDialog dialog(this);
    if (dialog.ShowModal() == wxID_OK)
        ChangeFramesSpeed(GetEditScope(), dialog.GetPercent());
}

void GifFrame::OnRemoveDuplicates(wxCommandEvent&)
{
    StopPlayback();
    if (m_frames->IsEmpty() || IsWorkerRunning())
        return;
    RepeatedFramesDialog dialog(this);
    if (dialog.ShowModal() != wxID_OK)
        return;
    std::vector<int> repeated;
    {
        wxBusyCursor busy;
        repeated = FindDuplicateFrames(dialog.GetTolerance());
    }
    const int count = int(repeated.size());
    if (count == 0)
    {
        ShowMessageBox(this, _("No frame repeats the one before it."), GetTitle(),
                       wxOK | wxICON_INFORMATION);
        return;
    }
    const wxString question =
        wxString::Format(wxPLURAL("%d frame repeats the one before it and will be removed.",
                                  "%d frames repeat the one before them and will be removed.",
                                  count),
                         count) +
        wxS("\n") + _("Remove them?");
    if (ShowMessageBox(this, question, _("Remove Duplicate Frames"),
                       wxYES_NO | wxICON_QUESTION) == wxID_YES)
        RemoveDuplicateFrames(repeated);
}
