#ifndef LOOPFORGE_WINDOW_GIFESTIMATETEXT_H
#define LOOPFORGE_WINDOW_GIFESTIMATETEXT_H

#include "encode/gifexport.h"
#include "encode/gifoptions.h"

#include <wx/stattext.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class wxThreadEvent;
class wxTimer;

// A line telling what the strip's GIF would come to with some options,
// estimated on a worker thread (see EstimateGifBytes) a moment after the
// options last changed, so that quick changes start one estimate and the
// window never waits for it. The frames are read in place: the strip must
// not change while the line is shown.
class GifEstimateText : public wxStaticText
{
public:
    GifEstimateText(wxWindow* parent, std::vector<ExportFrame> frames, int width, int height,
                    const GifOptions& options);
    ~GifEstimateText() override;

    // Estimates again for these options.
    void Follow(const GifOptions& options);

private:
    void Start();
    void Stop();
    void OnEstimate(wxThreadEvent& event);

    std::vector<ExportFrame> m_frames;
    int m_width;
    int m_height;
    GifOptions m_options;
    std::unique_ptr<wxTimer> m_delay;
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    int m_generation = 0;  // which estimate the latest result belongs to
};

#endif
