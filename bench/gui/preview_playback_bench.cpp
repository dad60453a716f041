// Preview playback cost: 100 full-HD frames played in a small panel. Prints
// milliseconds per timer tick for the first pass (frames shrunk on first use)
// and the following passes (frames drawn from the preview cache).
// Run: xvfb-run -a build/bench/gui/preview_playback_bench
#include "app/paths.h"
#include "app/startup.h"
#include "edit/framelist.h"
#include "gifframe_test_access.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/stopwatch.h>
#include <wx/xrc/xmlres.h>

#include <cstdio>
#include <vector>

namespace
{
wxImage PhotoLikeFrame(int width, int height, int seed)
{
    wxImage image(width, height);
    unsigned char* p = image.GetData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            *p++ = static_cast<unsigned char>((x + seed * 7) ^ y);
            *p++ = static_cast<unsigned char>((y * 3 + seed) & 0xFF);
            *p++ = static_cast<unsigned char>((x * y + seed * 13) >> 4);
        }
    return image;
}

double MillisecondsPerTick(GifFrame* frame, int ticks)
{
    GifFrameTestAccess access(frame);
    wxStopWatch watch;
    for (int i = 0; i < ticks; ++i)
    {
        wxTimerEvent tick(access.Timer());
        frame->OnTimer(tick);
        wxTheApp->Yield(true);
    }
    return double(watch.TimeInMicro().GetValue()) / 1000.0 / ticks;
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
        frame->SetSize(640, 520);
        frame->Show();
        Yield(true);

        GifFrameTestAccess access(frame);
        const int frames = 100;
        const wxString file = wxS(LF_STAGE_DIR "/Themes/play.png");  // any existing file
        std::vector<StripFrame> pictures;
        for (int i = 0; i < frames; ++i)
            pictures.push_back(MakeStripFrame(PhotoLikeFrame(1920, 1080, i), file, 0, 4));
        frame->InsertFrames(-1, pictures);
        Yield(true);

        std::printf("preview playback, %d frames of 1920x1080\n", frames);
        for (const wxSize& window : {wxSize(640, 520), wxSize(1200, 900)})
        {
            frame->SetSize(window);
            Yield(true);
            const wxSize panel = access.PreviewPanel()->GetClientSize();
            const double first = MillisecondsPerTick(frame, frames);
            const double warm = MillisecondsPerTick(frame, 2 * frames);
            std::printf("  %4dx%-4d panel: first pass %6.2f ms/tick, later passes %6.2f ms/tick\n",
                        panel.x, panel.y, first, warm);
        }
        std::printf("  (delay 4 allows 40 ms per tick)\n");
        frame->Destroy();
        return false;  // figures printed; no event loop needed
    }
};
wxIMPLEMENT_APP(BenchApp);
