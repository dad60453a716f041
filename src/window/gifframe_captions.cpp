// Captions: adding, editing and deleting them, and dragging them on the preview.
#include "window/gifframe.h"

#include "caption/captiondrawing.h"
#include "edit/edithistory.h"
#include "edit/framelist.h"
#include "project/projectfile.h"
#include "window/captiondialog.h"
#include "window/captionlistdialog.h"
#include "window/captionpreview.h"
#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>

#include <algorithm>
#include <numeric>

namespace
{
std::vector<int> FrameRange(int first, int last)
{
    std::vector<int> frames(size_t(std::max(0, last - first + 1)));
    std::iota(frames.begin(), frames.end(), first);
    return frames;
}
}  // namespace

wxString GifFrame::AddCaptionLabel()
{
    return wxGetTranslation(wxString::FromUTF8(wxTRANSLATE("Add Caption…")));
}

wxString GifFrame::CaptionsLabel()
{
    return wxGetTranslation(wxString::FromUTF8(wxTRANSLATE("Captions…")));
}

bool GifFrame::AddCaption(const Caption& caption, const std::vector<int>& frames)
{
    const CaptionRef added = std::make_shared<const Caption>(SanitisedCaption(caption));
    return EditFrames([&](FrameList& list) { return list.AddCaption(added, frames); });
}

bool GifFrame::EditCaption(int index, const Caption& caption, const std::vector<int>& frames)
{
    const FrameCaptions captions = m_frames->GetCaptions();
    if (index < 0 || index >= int(captions.size()))
        return false;
    const CaptionRef& old = captions[size_t(index)];
    const Caption updated = SanitisedCaption(caption);
    const CaptionRef replacement = updated == *old ? old : std::make_shared<const Caption>(updated);
    return EditFrames([&](FrameList& list)
                      { return list.ReplaceCaption(old, replacement, frames); });
}

bool GifFrame::DeleteCaption(int index)
{
    const FrameCaptions captions = m_frames->GetCaptions();
    if (index < 0 || index >= int(captions.size()))
        return false;
    return EditFrames([&](FrameList& list) { return list.RemoveCaption(captions[size_t(index)]); });
}

void GifFrame::OnAddCaption(wxCommandEvent&)
{
    StopPlayback();
    std::vector<int> selected = GetSelectedFrames();
    if (selected.empty() && m_previewIndex >= 0 && m_previewIndex < m_frames->GetCount())
        selected.push_back(m_previewIndex);
    if (selected.empty() || IsWorkerRunning())
        return;
    const int first = selected.front() + 1;
    const int last = selected.back() + 1;
    CaptionDialog dialog(this, _("Add Caption"), Caption(), first, last, m_frames->GetCount());
    if (dialog.ShowModal() != wxID_OK || dialog.GetCaption().text.empty())
        return;
    // The selection, unless another range was asked for.
    const bool sameRange = dialog.GetFirstFrame() == first && dialog.GetLastFrame() == last;
    if (AddCaption(dialog.GetCaption(),
                   sameRange ? selected
                             : FrameRange(dialog.GetFirstFrame() - 1, dialog.GetLastFrame() - 1)))
        DrawPreviewFrame(selected.front());
}

void GifFrame::OnCaptions(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning())
        return;
    const auto lines = [this]
    {
        wxArrayString texts;
        for (const CaptionRef& caption : m_frames->GetCaptions())
            texts.push_back(CaptionListLine(
                caption->text, CaptionFramesText(m_frames->GetCaptionFrames(caption))));
        return texts;
    };
    const auto edit = [this](int index)
    {
        const FrameCaptions captions = m_frames->GetCaptions();
        if (index < 0 || index >= int(captions.size()))
            return;
        const std::vector<int> frames = m_frames->GetCaptionFrames(captions[size_t(index)]);
        const int first = frames.front() + 1;
        const int last = frames.back() + 1;
        CaptionDialog dialog(this, _("Edit Caption"), *captions[size_t(index)], first, last,
                             m_frames->GetCount());
        if (dialog.ShowModal() != wxID_OK)
            return;
        const bool sameRange = dialog.GetFirstFrame() == first && dialog.GetLastFrame() == last;
        EditCaption(
            index, dialog.GetCaption(),
            sameRange ? frames : FrameRange(dialog.GetFirstFrame() - 1, dialog.GetLastFrame() - 1));
    };
    CaptionListDialog dialog(this, lines, edit, [this](int index) { DeleteCaption(index); });
    dialog.ShowModal();
}

void GifFrame::OnPreviewMouse(wxMouseEvent& event)
{
    event.Skip();
    const wxSize output(m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue());
    const wxRect placement = PreviewPlacement(output, m_panel_down->GetClientSize());
    if (placement.IsEmpty() || m_previewIndex < 0 || m_previewIndex >= m_frames->GetCount())
        return;
    // The pointer in output pixels.
    const wxPoint at((event.GetX() - placement.x) * output.x / placement.width,
                     (event.GetY() - placement.y) * output.y / placement.height);

    if (event.LeftDown() && !IsWorkerRunning())
    {
        StopPlayback();
        // The caption drawn last is the one on top.
        const FrameCaptions captions = m_frames->GetFrameCaptions(m_previewIndex);
        for (auto it = captions.rbegin(); it != captions.rend(); ++it)
        {
            const wxRect bounds = CaptionBounds(**it, output.x, output.y);
            if (!bounds.Contains(at))
                continue;
            const wxPoint centre(bounds.x + bounds.width / 2, bounds.y + bounds.height / 2);
            m_captionDrag.reset(
                new CaptionDrag{CurrentState(), *it, m_frames->GetCaptionFrames(*it), at - centre});
            m_panel_down->CaptureMouse();
            break;
        }
        return;
    }
    if (!m_captionDrag)
        return;
    if (event.Dragging() || event.LeftUp())
    {
        Caption moved = *m_captionDrag->caption;
        moved.place = CaptionPlace::Free;
        const wxPoint centre = at - m_captionDrag->grip;
        moved.x = std::clamp(double(centre.x) / output.x, 0.0, 1.0);
        moved.y = std::clamp(double(centre.y) / output.y, 0.0, 1.0);
        if (moved != *m_captionDrag->caption)
        {
            const CaptionRef replacement = std::make_shared<const Caption>(moved);
            m_frames->ReplaceCaption(m_captionDrag->caption, replacement, m_captionDrag->frames);
            m_captionDrag->caption = replacement;
            m_captionDrag->moved = true;
            m_panel_down->Refresh(false);
        }
    }
    if (event.LeftUp())
    {
        if (m_panel_down->HasCapture())
            m_panel_down->ReleaseMouse();
        if (!m_captionDrag)
            return;
        // The whole drag is one step to undo.
        if (m_captionDrag->moved)
        {
            m_history->Record(m_captionDrag->before);
            UpdateUndoCommands();
        }
        m_captionDrag.reset();
    }
}
