#include "window/gifframe.h"

#include "window/thumbnailctrl.h"
#include "work/canvassize.h"

#include <wx/intl.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <vector>

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
    m_thumbnailCtrl->SetLabelDelay(m_spinctrl_delay->GetValue());
}

void GifFrame::OnWidthChanged(wxCommandEvent&)
{
    if (!m_thumbnailCtrl || m_thumbnailCtrl->GetCount() == 0)
        return;
    const int width = m_spinctrl_width->GetValue();
    int height = m_spinctrl_height->GetValue();
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
    if (!m_thumbnailCtrl || m_thumbnailCtrl->GetCount() == 0)
        return;
    const int height = m_spinctrl_height->GetValue();
    int width = m_spinctrl_width->GetValue();
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

void GifFrame::UpdateCanvasSize()
{
    const int count = m_thumbnailCtrl ? m_thumbnailCtrl->GetCount() : 0;
    if (count == 0)
    {
        m_statusBar1->SetStatusText(wxString(), 0);
        m_spinctrl_width->SetValue(0);
        m_spinctrl_height->SetValue(0);
        return;
    }

    std::vector<wxSize> sizes;
    sizes.reserve(count);
    for (int i = 0; i < count; ++i)
        if (const auto* item = wxDynamicCast(m_thumbnailCtrl->GetItem(i), wxImageThumbnailItem))
            sizes.push_back(item->GetImageSize());
    const wxSize chosen = ChooseCanvasSize(sizes);

    m_sourceWidth = m_gifWidth = chosen.x;
    m_sourceHeight = m_gifHeight = chosen.y;
    m_spinctrl_width->SetValue(chosen.x);
    m_spinctrl_height->SetValue(chosen.y);

    const wxString name = m_gifFileName.empty() ? wxString(wxS("Untitled.gif")) : m_gifFileName;
    m_statusBar1->SetStatusText(wxString::Format(wxS("%s (%d * %d)"), name,
                                                 m_spinctrl_width->GetValue(),
                                                 m_spinctrl_height->GetValue()) +
                                    _("px"),
                                0);
}
