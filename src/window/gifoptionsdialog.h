#ifndef LOOPFORGE_WINDOW_GIFOPTIONSDIALOG_H
#define LOOPFORGE_WINDOW_GIFOPTIONSDIALOG_H

#include "encode/gifexport.h"
#include "encode/gifoptions.h"

#include <wx/dialog.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class GifOptionsPanel;
class wxStaticText;
class wxThreadEvent;
class wxTimer;

// The GIF Options dialog: the options panel and what the current strip
// would come to with them, estimated on a worker thread from a quick encode
// of a few frames whenever a choice changes. The frames are read in place:
// the strip must not change while the dialog is shown.
class GifOptionsDialog : public wxDialog
{
public:
    GifOptionsDialog(wxWindow* parent, const GifOptions& options, std::vector<ExportFrame> frames,
                     int width, int height);
    ~GifOptionsDialog() override;

    GifOptions GetOptions() const;

    // The estimate as shown; for tests.
    wxString GetEstimateText() const;

private:
    void ScheduleEstimate();
    void StartEstimate();
    void StopEstimate();
    void OnEstimate(wxThreadEvent& event);

    GifOptionsPanel* m_panel;
    wxStaticText* m_estimate;
    std::vector<ExportFrame> m_frames;
    int m_width;
    int m_height;
    std::unique_ptr<wxTimer> m_delay;  // lets quick successive changes start one estimate
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    int m_generation = 0;  // which estimate the latest result belongs to
};

#endif
