// The frame list behind the strip: showing it, reordering frames, their own
// delays, and undoing and redoing edits.
#include "window/gifframe.h"

#include "edit/edithistory.h"
#include "edit/framelist.h"
#include "window/framedelaydialog.h"
#include "window/localnumbers.h"
#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

wxString GifFrame::FrameDelayLabel()
{
    // The ellipsis is no ASCII character: the text is taken as UTF-8 whatever
    // the C library's locale.
    return wxGetTranslation(wxString::FromUTF8(wxTRANSLATE("Frame Delay…")));
}

namespace
{
// The part of a picture the crop keeps; empty for the whole picture.
wxRect ShownPart(const CropArea& crop, const FrameSource& source)
{
    return crop.IsSet() && source.IsOk() ? CropRectFor(crop, source.GetSize()) : wxRect();
}
}  // namespace

wxImageThumbnailItem* GifFrame::MakeFrameItem(const StripFrame& frame) const
{
    const std::shared_ptr<const FrameSource> source = frame.source;
    auto* item = new wxImageThumbnailItem([source] { return source->Picture(); },
                                          source->GetSize(), source.get(), source->frameIndex,
                                          source->name);
    item->SetView(frame.orientation, ShownPart(*m_crop, *source), nullptr);
    return item;
}

wxString GifFrame::FrameToolTip(int index) const
{
    if (index < 0 || index >= m_frames->GetCount())
        return wxString();
    const FrameSource& source = *m_frames->Get(index).source;
    const wxSize size = source.GetSize();
    const int delay = m_frames->GetDelay(index, m_spinctrl_delay->GetValue());
    const std::vector<long long> starts = m_frames->GetStartTimes(m_spinctrl_delay->GetValue());
    const auto seconds = [](long long hundredths) { return LocalNumber(hundredths / 100.0, 2); };
    return source.name + wxS("\n") +
           wxString::Format(wxGetTranslation(wxString::FromUTF8(wxTRANSLATE("%s × %s pixels"))),
                            LocalInteger(size.x), LocalInteger(size.y)) +
           wxS("\n") + wxString::Format(_("Delay: %s s"), seconds(delay)) + wxS("\n") +
           wxString::Format(_("Starts at: %s s"), seconds(starts[size_t(index)]));
}

std::vector<int> GifFrame::GetSelectedFrames() const
{
    std::vector<int> selected;
    for (int index : m_thumbnailCtrl->GetSelections())
        if (index >= 0 && index < m_frames->GetCount())
            selected.push_back(index);
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    return selected;
}

void GifFrame::ShowFrames()
{
    // Items are found again by their pictures: a frame keeps its thumbnail,
    // its selection and its place in the preview wherever it goes.
    const void* previewed = nullptr;
    const void* focused = nullptr;
    std::unordered_multimap<const void*, wxThumbnailItem*> shown;
    std::unordered_set<const void*> selected;
    for (int i = 0; i < m_thumbnailCtrl->GetCount(); ++i)
    {
        const auto* item = wxDynamicCast(m_thumbnailCtrl->GetItem(i), wxImageThumbnailItem);
        if (!item)
            continue;
        const void* picture = item->GetKey();
        shown.emplace(picture, m_thumbnailCtrl->GetItem(i));
        if (m_thumbnailCtrl->IsSelected(i))
            selected.insert(picture);
        if (i == m_previewIndex)
            previewed = picture;
        if (i == m_thumbnailCtrl->GetFocusItem())
            focused = picture;
    }

    std::vector<wxThumbnailItem*> items;
    std::vector<int> select;
    int previewIndex = -1;
    int focusIndex = -1;
    for (int i = 0; i < m_frames->GetCount(); ++i)
    {
        const StripFrame& frame = m_frames->Get(i);
        const void* picture = frame.source.get();
        const auto found = shown.find(picture);
        if (found == shown.end())
            items.push_back(MakeFrameItem(frame));
        else
        {
            items.push_back(found->second);
            shown.erase(found);
            if (auto* item = wxDynamicCast(items.back(), wxImageThumbnailItem))
                item->SetView(frame.orientation, ShownPart(*m_crop, *frame.source),
                              m_thumbnailCtrl);
        }
        if (selected.count(picture))
            select.push_back(i);
        if (picture == previewed && previewIndex < 0)
            previewIndex = i;
        if (picture == focused && focusIndex < 0)
            focusIndex = i;
    }

    m_thumbnailCtrl->Freeze();
    m_thumbnailCtrl->SetItems(items);
    for (int index : select)
        m_thumbnailCtrl->Select(index, true);
    if (focusIndex >= 0)
        m_thumbnailCtrl->SetFocusItem(focusIndex);
    m_thumbnailCtrl->Thaw();
    ShowStartTimes();

    // The preview shows what the selection is about, as after a click.
    const int selectedFocus = m_thumbnailCtrl->GetSelectedFocus();
    if (selectedFocus >= 0 && !m_playing)
        DrawPreviewFrame(selectedFocus);
    else if (previewIndex >= 0)
        m_previewIndex = previewIndex;
    else if (m_previewIndex >= 0)
    {
        ClearPreview();
        m_statusBar1->SetStatusText(wxString(), 1);
    }
}

void GifFrame::ShowStartTimes()
{
    m_thumbnailCtrl->SetStartTimes(m_frames->GetStartTimes(m_spinctrl_delay->GetValue()));
}

EditState GifFrame::CurrentState() const
{
    EditState state;
    state.frames = *m_frames;
    state.delay = m_spinctrl_delay->GetValue();
    state.size = wxSize(m_gifWidth, m_gifHeight);
    state.reference = wxSize(m_sourceWidth, m_sourceHeight);
    state.sizeChosen = m_sizeChosen;
    state.crop = *m_crop;
    return state;
}

void GifFrame::RecordEdit(EditKind kind)
{
    EditState before = CurrentState();
    // The spin shows the new delay already.
    if (kind == EditKind::Delay)
        before.delay = m_lastDelay;
    m_history->Record(before, kind);
    UpdateUndoCommands();
}

void GifFrame::RestoreState(const EditState& state)
{
    StopPlayback();
    *m_frames = state.frames;
    m_spinctrl_delay->SetValue(state.delay);
    m_lastDelay = state.delay;
    m_thumbnailCtrl->SetLabelDelay(state.delay);
    m_gifWidth = state.size.x;
    m_gifHeight = state.size.y;
    m_sourceWidth = state.reference.x;
    m_sourceHeight = state.reference.y;
    m_sizeChosen = state.sizeChosen;
    *m_crop = state.crop;
    ShowChangedFrames();
}

void GifFrame::ShowChangedFrames()
{
    ShowFrames();
    // The previewed frame may have turned.
    if (m_previewIndex >= 0)
        m_panel_down->Refresh(false);
    // The size chosen from the frames depends on which they are and their order.
    UpdateCanvasSize();
    if (m_frames->IsEmpty())
        DisableFrameCommands();
    else
        EnableFrameCommands();
}

void GifFrame::UpdateUndoCommands()
{
    if (!m_menuBar)
        return;
    m_menuBar->Enable(ID_MENU_UNDO, m_history->CanUndo());
    m_menuBar->Enable(ID_MENU_REDO, m_history->CanRedo());
}

bool GifFrame::EditFrames(const std::function<bool(FrameList&)>& change)
{
    if (IsWorkerRunning())
        return false;
    const EditState previous = CurrentState();
    if (!change(*m_frames))
        return false;
    m_history->Record(previous);
    StopPlayback();
    ShowChangedFrames();
    return true;
}

bool GifFrame::EditWork(const std::function<bool(EditState&)>& change)
{
    if (IsWorkerRunning())
        return false;
    const EditState previous = CurrentState();
    EditState next = previous;
    if (!change(next))
        return false;
    m_history->Record(previous);
    RestoreState(next);
    return true;
}

bool GifFrame::InsertFrames(int pos, const std::vector<StripFrame>& frames)
{
    return EditFrames(
        [&](FrameList& list)
        {
            list.Insert(pos, frames);
            return !frames.empty();
        });
}

bool GifFrame::MoveFrames(const std::vector<int>& indices, int before)
{
    return EditFrames([&](FrameList& list) { return !list.Move(indices, before).empty(); });
}

bool GifFrame::ShiftFrames(const std::vector<int>& indices, int step)
{
    std::vector<int> moved;
    if (!EditFrames(
            [&](FrameList& list)
            {
                moved = list.Shift(indices, step);
                return !moved.empty();
            }))
        return false;
    m_thumbnailCtrl->EnsureVisible(step < 0 ? moved.front() : moved.back());
    return true;
}

bool GifFrame::SetFramesDelay(const std::vector<int>& indices, int delay)
{
    return EditFrames([&](FrameList& list) { return list.SetOwnDelay(indices, delay); });
}

bool GifFrame::Undo()
{
    if (IsWorkerRunning() || !m_history->CanUndo())
        return false;
    RestoreState(m_history->Undo(CurrentState()));
    return true;
}

bool GifFrame::Redo()
{
    if (IsWorkerRunning() || !m_history->CanRedo())
        return false;
    RestoreState(m_history->Redo(CurrentState()));
    return true;
}

void GifFrame::OnMoveFrames(wxCommandEvent& event)
{
    StopPlayback();
    ShiftFrames(GetSelectedFrames(), event.GetId() == ID_MENU_MOVE_LEFT ? -1 : 1);
}

void GifFrame::OnFrameDelay(wxCommandEvent&)
{
    StopPlayback();
    const std::vector<int> selected = GetSelectedFrames();
    if (selected.empty() || IsWorkerRunning())
        return;
    FrameDelayDialog dialog(this, m_frames->Get(selected.front()).delay);
    if (dialog.ShowModal() == wxID_OK)
        SetFramesDelay(selected, dialog.GetDelay());
}

void GifFrame::OnUndoRedo(wxCommandEvent& event)
{
    if (event.GetId() == ID_MENU_UNDO)
        Undo();
    else
        Redo();
}

void GifFrame::OnThumbnailItemsDropped(wxThumbnailEvent& event)
{
    StopPlayback();
    MoveFrames(GetSelectedFrames(), event.GetIndex());
}
