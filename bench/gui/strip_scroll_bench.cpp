// Scrolling a long strip: 10,000 small frames (160 x 120) put into the
// window, then the strip scrolled row by row and by pages, each step painted
// at once. Prints the time to take the frames in, the milliseconds per
// scroll step (mean and slowest; a frame at 25 per second has 40), and the
// peak memory of the process.
// Run: xvfb-run -a build/bench/gui/strip_scroll_bench
#include "app/paths.h"
#include "app/startup.h"
#include "edit/framelist.h"
#include "gifframe_test_access.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/stopwatch.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
const int kFrames = 10000;

wxImage SmallFrame(int seed)
{
    wxImage image(160, 120, false);
    unsigned char* p = image.GetData();
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
        {
            *p++ = static_cast<unsigned char>(x + seed);
            *p++ = static_cast<unsigned char>(y * 2 + seed / 7);
            *p++ = static_cast<unsigned char>((x ^ y) + seed / 49);
        }
    return image;
}

long PeakKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, 6, "VmHWM:") == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Scrolls by rows rows per step, steps times; gives mean and slowest step.
void ScrollSteps(wxThumbnailCtrl* strip, int rows, int steps, double& mean, double& slowest)
{
    mean = slowest = 0;
    for (int i = 0; i < steps; ++i)
    {
        wxStopWatch watch;
        strip->ScrollRows(rows);
        strip->Update();
        wxTheApp->Yield(true);
        const double ms = double(watch.TimeInMicro().GetValue()) / 1000.0;
        mean += ms / steps;
        slowest = std::max(slowest, ms);
    }
}
}  // namespace

class BenchApp : public wxApp
{
public:
    bool OnInit() override
    {
        wxLog::SetActiveTarget(new wxLogStderr);
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        SetProgramPath(wxS(LF_STAGE_DIR "/bin/loopforge"));
        LoadThemeResources(wxS(LF_STAGE_DIR));
        wxString error;
        GifFrame* frame = CreateMainFrame(&error);
        if (!frame)
        {
            std::fprintf(stderr, "%s\n", error.utf8_str().data());
            return false;
        }
        frame->SetSize(1000, 700);
        frame->Show();
        Yield(true);

        wxStopWatch watch;
        std::vector<StripFrame> frames;
        for (int i = 0; i < kFrames; ++i)
            frames.push_back(
                MakeStripFrame(SmallFrame(i), wxString::Format("/pictures/%05d.png", i), 0, 4));
        const double made = watch.Time() / 1000.0;
        watch.Start();
        frame->InsertFrames(-1, frames);
        frames.clear();
        Yield(true);
        const double inserted = watch.Time() / 1000.0;
        std::printf("%d frames of 160x120: made %.2f s, into the strip %.2f s\n", kFrames, made,
                    inserted);

        wxThumbnailCtrl* strip = GifFrameTestAccess(frame).Strip();
        double mean = 0, slowest = 0;
        ScrollSteps(strip, 1, 300, mean, slowest);
        std::printf("  row by row (300 steps): %6.2f ms mean, %6.2f ms slowest\n", mean, slowest);
        ScrollSteps(strip, 40, 100, mean, slowest);
        std::printf("  40 rows a step (100 steps): %6.2f ms mean, %6.2f ms slowest\n", mean,
                    slowest);
        ScrollSteps(strip, -40, 100, mean, slowest);
        std::printf("  40 rows back a step (100 steps): %6.2f ms mean, %6.2f ms slowest\n", mean,
                    slowest);
        std::printf("  peak memory %.1f MiB\n", PeakKiB() / 1024.0);
        frame->Destroy();
        return false;  // figures printed; no event loop needed
    }
};
wxIMPLEMENT_APP(BenchApp);
