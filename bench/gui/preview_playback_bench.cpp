// Preview playback cost: 100 full-HD frames, then 250 frames of 1280 x 720
// (more than the picture cache holds decoded), played in a small and a
// large panel. Prints milliseconds per timer tick for the first pass
// (frames loaded and shrunk on first use) and the following passes (frames
// drawn from the preview cache).
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
        for (const wxSize& picture : {wxSize(1920, 1080), wxSize(1280, 720)})
            if (!Measure(picture, picture.x > 1280 ? 100 : 250))
                return false;
        return false;  // figures printed; no event loop needed
    }

private:
    bool Measure(const wxSize& picture, int frames)
    {
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
        const wxString file = wxS(LF_STAGE_DIR "/Themes/play.png");  // any existing file
        std::vector<StripFrame> pictures;
        for (int i = 0; i < frames; ++i)
            pictures.push_back(MakeStripFrame(PhotoLikeFrame(picture.x, picture.y, i), file, 0, 4));
        frame->InsertFrames(-1, pictures);
        pictures.clear();
        Yield(true);

        std::printf("preview playback, %d frames of %dx%d\n", frames, picture.x, picture.y);
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
        std::fflush(stdout);
        frame->Destroy();
        Yield(true);
        return true;
    }
};
wxIMPLEMENT_APP(BenchApp);
