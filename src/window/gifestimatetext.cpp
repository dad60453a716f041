#include "window/gifestimatetext.h"

#include "encode/gifsizeestimate.h"
#include "encode/giftargetsize.h"
#include "window/localnumbers.h"

#include <wx/intl.h>
#include <wx/thread.h>
#include <wx/timer.h>

#include <algorithm>
#include <climits>

namespace
{
// How long the options must stay unchanged before an estimate starts.
const int kEstimateDelayMs = 250;
}  // namespace

GifEstimateText::GifEstimateText(wxWindow* parent, std::vector<ExportFrame> frames, int width,
                                 int height, const GifOptions& options)
    : wxStaticText(parent, wxID_ANY, wxString()),
      m_frames(std::move(frames)),
      m_width(width),
      m_height(height),
      m_options(options),
      m_delay(std::make_unique<wxTimer>(this))
{
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Start(); });
    Bind(wxEVT_THREAD, &GifEstimateText::OnEstimate, this);
    Start();
}

GifEstimateText::~GifEstimateText()
{
    m_delay->Stop();
    Stop();
}

void GifEstimateText::Follow(const GifOptions& options)
{
    m_options = options;
    SetLabel(_("Estimating the size of the file..."));
    m_delay->StartOnce(kEstimateDelayMs);
}

void GifEstimateText::Stop()
{
    if (m_cancel)
        m_cancel->store(true);
    if (m_worker.joinable())
        m_worker.join();
}

void GifEstimateText::Start()
{
    Stop();
    ++m_generation;
    if (m_frames.empty())
    {
        SetLabel(_("Add frames to the strip to see the size of the file."));
        return;
    }
    SetLabel(_("Estimating the size of the file..."));
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    // The worker reads the strip's pictures and posts the result; the line
    // stops and waits for it before it goes.
    m_worker = std::thread(
        [this, options = m_options, cancel = m_cancel, generation = m_generation]
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

void GifEstimateText::OnEstimate(wxThreadEvent& event)
{
    if (event.GetInt() != m_generation)
        return;
    const long bytes = event.GetExtraLong();
    const wxString size = LocalFileSize(static_cast<unsigned long long>(bytes));
    if (bytes <= 0)
        SetLabel(_("The size of the file cannot be estimated."));
    else if (m_options.optimised && m_options.maxBytes > 0 &&
             std::uint64_t(bytes) > m_options.maxBytes)
        SetLabel(wxString::Format(
            _("Estimated size of the file: about %s, over %s: saving will make it smaller."), size,
            DescribeByteSize(m_options.maxBytes)));
    else
        SetLabel(wxString::Format(_("Estimated size of the file: about %s"), size));
    // The line may have grown.
    if (wxWindow* parent = GetParent())
        parent->Layout();
}
