#include "window/gifoptionsdialog.h"

#include "encode/gifsizeestimate.h"
#include "window/gifoptionspanel.h"
#include "window/localnumbers.h"
#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/thread.h>
#include <wx/timer.h>

#include <algorithm>
#include <climits>

namespace
{
// How long the options must stay unchanged before an estimate starts.
const int kEstimateDelayMs = 250;
}  // namespace

GifOptionsDialog::GifOptionsDialog(wxWindow* parent, const GifOptions& options,
                                   std::vector<ExportFrame> frames, int width, int height)
    : wxDialog(parent, wxID_ANY, _("GIF Options")),
      m_frames(std::move(frames)),
      m_width(width),
      m_height(height),
      m_delay(std::make_unique<wxTimer>(this))
{
    m_panel = new GifOptionsPanel(this, GifOptionsPanel::Layout::Full, options);
    m_estimate = new wxStaticText(this, wxID_ANY, wxString());
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(m_panel, 0, wxALL | wxEXPAND, 10);
    top->Add(m_estimate, 0, wxLEFT | wxRIGHT | wxEXPAND, 14);
    auto* buttons = new wxStdDialogButtonSizer();
    auto* ok = new wxButton(this, wxID_OK, _("OK"));
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, _("Cancel")));
    buttons->Realize();
    ok->SetDefault();
    top->Add(new wxStaticLine(this), 0, wxLEFT | wxRIGHT | wxTOP | wxEXPAND, 10);
    top->Add(buttons, 0, wxALL | wxEXPAND, 10);
    ShowOwnButtonLabels(this);
    SetSizerAndFit(top);
    // Room for the longest estimate text.
    SetMinSize(wxSize(GetSize().x, -1));
    CentreOnParent();

    m_panel->SetChangeHandler([this] { ScheduleEstimate(); });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { StartEstimate(); });
    Bind(wxEVT_THREAD, &GifOptionsDialog::OnEstimate, this);
    StartEstimate();
}

GifOptionsDialog::~GifOptionsDialog()
{
    m_delay->Stop();
    StopEstimate();
}

GifOptions GifOptionsDialog::GetOptions() const
{
    return m_panel->GetOptions();
}

wxString GifOptionsDialog::GetEstimateText() const
{
    return m_estimate->GetLabel();
}

void GifOptionsDialog::ScheduleEstimate()
{
    m_estimate->SetLabel(_("Estimating the size of the file..."));
    m_delay->StartOnce(kEstimateDelayMs);
}

void GifOptionsDialog::StopEstimate()
{
    if (m_cancel)
        m_cancel->store(true);
    if (m_worker.joinable())
        m_worker.join();
}

void GifOptionsDialog::StartEstimate()
{
    StopEstimate();
    ++m_generation;
    if (m_frames.empty())
    {
        m_estimate->SetLabel(_("Add frames to the strip to see the size of the file."));
        return;
    }
    m_estimate->SetLabel(_("Estimating the size of the file..."));
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    // The worker reads the strip's pictures and posts the result; the dialog
    // stops and waits for it before it goes.
    m_worker = std::thread(
        [this, options = GetOptions(), cancel = m_cancel, generation = m_generation]
        {
            const std::uint64_t bytes = EstimateGifBytes(m_frames, m_width, m_height, options,
                                                         [cancel] { return cancel->load(); });
            if (cancel->load())
                return;
            auto* event = new wxThreadEvent();
            event->SetInt(generation);
            event->SetExtraLong(static_cast<long>(std::min<std::uint64_t>(bytes, LONG_MAX)));
            wxQueueEvent(this, event);
        });
}

void GifOptionsDialog::OnEstimate(wxThreadEvent& event)
{
    if (event.GetInt() != m_generation)
        return;
    const long bytes = event.GetExtraLong();
    m_estimate->SetLabel(
        bytes > 0 ? wxString::Format(_("Estimated size of the file: about %s"),
                                     LocalFileSize(static_cast<unsigned long long>(bytes)))
                  : _("The size of the file cannot be estimated."));
}
