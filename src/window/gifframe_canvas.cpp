#include "window/gifframe.h"

#include "window/thumbnailctrl.h"
#include "encode/canvassize.h"
#include "edit/edithistory.h"
#include "edit/framelist.h"

#include <wx/intl.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <cstdint>
#include <iostream>

namespace
{
// Keeps a computed size inside what the size spins and the GIF format allow.
int ClampToSpin(int64_t value, const wxSpinCtrl* spin)
{
    return int(std::clamp<int64_t>(value, spin->GetMin(), spin->GetMax()));
}
}  // namespace

void GifFrame::OnSetDelay(wxCommandEvent&)
{
    std::cout << "OnSetDelay" << std::endl;
    StopPlayback();
    const int delay = m_spinctrl_delay->GetValue();
    if (delay != m_lastDelay)
    {
        RecordEdit(EditKind::Delay);
        m_lastDelay = delay;
    }
    m_thumbnailCtrl->SetLabelDelay(delay);
    // The start times of the frames that follow the delay change now.
    ShowStartTimes();
}

void GifFrame::OnWidthChanged(wxCommandEvent&)
{
    if (m_frames->IsEmpty())
        return;
    const int width = m_spinctrl_width->GetValue();
    int height = m_spinctrl_height->GetValue();
    if (width != m_gifWidth)
        RecordEdit(EditKind::Size);
    m_sizeChosen = true;
    // Without a reference width there is no ratio to keep.
    if (m_sourceWidth != 0)
    {
        height = ClampToSpin(int64_t(width) * m_sourceHeight / m_sourceWidth, m_spinctrl_height);
        m_spinctrl_height->SetValue(height);
    }
    m_gifWidth = width;
    m_gifHeight = height;
    m_statusBar1->SetStatusText(StatusSizeText(width, height), 0);
}

void GifFrame::OnHeightChanged(wxCommandEvent&)
{
    if (m_frames->IsEmpty())
        return;
    const int height = m_spinctrl_height->GetValue();
    int width = m_spinctrl_width->GetValue();
    if (height != m_gifHeight)
        RecordEdit(EditKind::Size);
    m_sizeChosen = true;
    if (m_sourceHeight != 0)
    {
        const double exact = double(int64_t(height) * m_sourceWidth) / m_sourceHeight;
        width = ClampToSpin(int64_t(exact), m_spinctrl_width);
        m_spinctrl_width->SetValue(width);
    }
    m_gifWidth = width;
    m_gifHeight = height;
    m_statusBar1->SetStatusText(StatusSizeText(width, height), 0);
}

wxString GifFrame::StatusSizeText(int width, int height) const
{
    if (m_gifFileName.empty())
        return wxString::Format(wxS("Untitled.gif (%d * %d)px"), width, height);
    return wxString::Format(wxS("%s (%d * %d)px"), m_gifFileName, width, height);
}

// The reference size always follows the frames; the output size follows it
// until the user sets a size of their own, which later edits keep.
void GifFrame::UpdateCanvasSize()
{
    if (m_frames->IsEmpty())
    {
        m_statusBar1->SetStatusText(wxString(), 0);
        m_spinctrl_width->SetValue(0);
        m_spinctrl_height->SetValue(0);
        return;
    }

    const wxSize chosen = ChooseCanvasSize(m_frames->GetSizes(*m_crop));
    m_sourceWidth = chosen.x;
    m_sourceHeight = chosen.y;
    if (!m_sizeChosen)
    {
        m_gifWidth = chosen.x;
        m_gifHeight = chosen.y;
    }
    m_spinctrl_width->SetValue(m_gifWidth);
    m_spinctrl_height->SetValue(m_gifHeight);

    const wxString name = m_gifFileName.empty() ? wxString(wxS("Untitled.gif")) : m_gifFileName;
    m_statusBar1->SetStatusText(wxString::Format(wxS("%s (%d * %d)"), name,
                                                 m_spinctrl_width->GetValue(),
                                                 m_spinctrl_height->GetValue()) +
                                    _("px"),
                                0);
}
