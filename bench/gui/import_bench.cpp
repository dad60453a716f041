// Import cost of many GIF frames, by three routes to the same pictures: a
// 500-frame 640 x 480 GIF added directly, a project naming its 500 frames
// (big.gif_0 ... big.gif_499, as Save Project writes them), and 500 PNG
// files; and the project with its references last to first. Prints the wall
// time from the start of the import to the last thumbnail in the strip, the
// processor time and the peak memory of the process, each route run in a
// process of its own; then the same for loopforge-render's engine making a
// GIF from the GIF and from the two projects.
// Run: xvfb-run -a build/bench/gui/import_bench [FOLDER]   (FOLDER keeps the
// files made on the first run; default /tmp/loopforge-import-bench)
//
// With --memory [FOLDER] [COUNTS...] it imports instead COUNT 1920 x 1080 PNG
// files into the window (ten pictures named over and over, screen-like and
// photo-like) and prints the peak memory against the frame count
// (default counts 100 500 1800; "screen" or "photo" among them picks one kind).
#include "app/paths.h"
#include "app/startup.h"
#include "encode/gifexport.h"
#include "gifframe_test_access.h"
#include "jobs/renderjob.h"
#include "project/projectfile.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace
{
const int kFrames = 500;
const int kWidth = 640;
const int kHeight = 480;

wxImage PhotoLikeFrame(int seed)
{
    wxImage image(kWidth, kHeight, false);
    unsigned char* p = image.GetData();
    unsigned state = 2654435761u * unsigned(seed + 1);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 29);
            *p++ = static_cast<unsigned char>((x + 5 * seed) * 255 / (kWidth + 5 * 9) + noise);
            *p++ = static_cast<unsigned char>((y * 200 / kHeight + 20 * seed) & 0xFF);
            *p++ = static_cast<unsigned char>(((x ^ y) + seed * 13) & 0xFF);
        }
    return image;
}

const int kHdWidth = 1920;
const int kHdHeight = 1080;

// A desktop: flat panels, lines of "text" and a pointer that moves per frame.
wxImage ScreenLikeFrame(int seed)
{
    wxImage image(kHdWidth, kHdHeight, false);
    unsigned char* p = image.GetData();
    for (int y = 0; y < kHdHeight; ++y)
        for (int x = 0; x < kHdWidth; ++x)
        {
            unsigned char r = 236, g = 238, b = 242;
            if (y < 40)
                r = 40, g = 44, b = 52;
            else if (x < 300)
                r = 250, g = 250, b = 250;
            const bool text = y > 60 && (y % 24) < 12 && ((x / 7 + y / 24 + seed) % 11) < 8 &&
                              x % 7 != 0 && (x > 320 || x < 280);
            if (text)
                r = g = b = 30;
            const int px = 400 + seed * 97 % 1200, py = 200 + seed * 53 % 700;
            if (x >= px && x < px + 24 && y >= py && y < py + 24 && x - px <= y - py)
                r = 0, g = 0, b = 0;
            *p++ = r;
            *p++ = g;
            *p++ = b;
        }
    return image;
}

// A photograph: smooth shades with a little noise in every pixel.
wxImage HdPhotoLikeFrame(int seed)
{
    wxImage image(kHdWidth, kHdHeight, false);
    unsigned char* p = image.GetData();
    unsigned state = 2654435761u * unsigned(seed + 1);
    for (int y = 0; y < kHdHeight; ++y)
        for (int x = 0; x < kHdWidth; ++x)
        {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 30);
            *p++ = static_cast<unsigned char>((x + 9 * seed) * 200 / kHdWidth + noise);
            *p++ = static_cast<unsigned char>((y * 180 / kHdHeight + 11 * seed + noise) & 0xFF);
            *p++ = static_cast<unsigned char>(((x + y) * 120 / (kHdWidth + kHdHeight) + noise));
        }
    return image;
}

wxString HdPng(const wxString& folder, const wxString& kind, int i)
{
    return wxString::Format("%s/hd/%s%d.png", folder, kind, i % 10);
}

bool PrepareHd(const wxString& folder)
{
    wxFileName::Mkdir(folder + "/hd", 0755, wxPATH_MKDIR_FULL);
    for (int i = 0; i < 10; ++i)
    {
        if (!wxFileExists(HdPng(folder, "screen", i)) &&
            !ScreenLikeFrame(i).SaveFile(HdPng(folder, "screen", i), wxBITMAP_TYPE_PNG))
            return false;
        if (!wxFileExists(HdPng(folder, "photo", i)) &&
            !HdPhotoLikeFrame(i).SaveFile(HdPng(folder, "photo", i), wxBITMAP_TYPE_PNG))
            return false;
    }
    return true;
}

wxString BigGif(const wxString& folder)
{
    return folder + "/big.gif";
}
wxString ProjectFile(const wxString& folder)
{
    return folder + "/big.xml";
}
wxString ReversedProjectFile(const wxString& folder)
{
    return folder + "/big-reversed.xml";
}
wxString Png(const wxString& folder, int i)
{
    return wxString::Format("%s/png/frame%03d.png", folder, i);
}

// Makes the three sets of pictures once.
bool Prepare(const wxString& folder)
{
    wxFileName::Mkdir(folder + "/png", 0755, wxPATH_MKDIR_FULL);
    std::vector<wxImage> pictures;
    for (int i = 0; i < 10; ++i)
        pictures.push_back(PhotoLikeFrame(i));
    if (!wxFileExists(BigGif(folder)))
    {
        std::printf("making %s (%d frames) ...\n", BigGif(folder).utf8_str().data(), kFrames);
        std::fflush(stdout);
        std::vector<const wxImage*> frames;
        for (int i = 0; i < kFrames; ++i)
            frames.push_back(&pictures[i % 10]);
        if (!ExportGif(frames, BigGif(folder), 4, kWidth, kHeight).ok)
            return false;
    }
    Project project;
    project.width = kWidth;
    project.height = kHeight;
    project.delay = 4;
    for (int i = 0; i < kFrames; ++i)
        project.framePaths.push_back(BigGif(folder) + wxString::Format("_%d", i));
    wxString error;
    if (!WriteProjectFile(ProjectFile(folder), project, &error))
        return false;
    std::reverse(project.framePaths.begin(), project.framePaths.end());
    if (!WriteProjectFile(ReversedProjectFile(folder), project, &error))
        return false;
    for (int i = 0; i < kFrames; ++i)
        if (!wxFileExists(Png(folder, i)) &&
            !pictures[i % 10].SaveFile(Png(folder, i), wxBITMAP_TYPE_PNG))
            return false;
    return true;
}

// Processor time of this process so far, in seconds (user and system).
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, 6, "VmHWM:") == 0)
            return std::stol(line.substr(6));
    return -1;
}

// One route, in this process: prints "result SECONDS CPU_SECONDS PEAK_KIB
// FRAMES" (among the window's trace lines).
bool RunRoute(const wxString& route, const wxString& folder)
{
    wxStopWatch watch;
    double cpuAtStart = 0;
    int frames = 0;
    if (route.StartsWith("render-"))
    {
        RenderJob job;
        wxString error;
        if (route == "render-project" || route == "render-reversed")
        {
            const wxString project =
                route == "render-project" ? ProjectFile(folder) : ReversedProjectFile(folder);
            if (!ReadProjectRenderJob(project, folder + "/out-project.gif", job, error))
                return false;
        }
        else
        {
            job.inputs.push_back(BigGif(folder));
            job.output = folder + "/out-gif.gif";
            job.width = kWidth;
            job.height = kHeight;
            job.delay = 4;
        }
        watch.Start();
        cpuAtStart = CpuSeconds();
        const GifExportResult result = RunRenderJob(job);
        if (!result.ok)
            return false;
        frames = kFrames;
    }
    else
    {
        SetProgramPath(wxS(LF_STAGE_DIR "/bin/loopforge"));
        LoadThemeResources(wxS(LF_STAGE_DIR));
        wxString error;
        GifFrame* frame = CreateMainFrame(&error);
        if (!frame)
            return false;
        frame->SetSize(900, 700);
        frame->Show();
        wxTheApp->Yield(true);

        wxArrayString paths;
        if (route == "gif")
            paths.push_back(BigGif(folder));
        else if (route == "pngs")
            for (int i = 0; i < kFrames; ++i)
                paths.push_back(Png(folder, i));
        else if (route.StartsWith("hd-"))
        {
            // hd-screen-N or hd-photo-N
            const wxString kind = route.AfterFirst('-').BeforeFirst('-');
            long count = 0;
            route.AfterLast('-').ToLong(&count);
            for (int i = 0; i < count; ++i)
                paths.push_back(HdPng(folder, kind, i));
        }
        watch.Start();
        cpuAtStart = CpuSeconds();
        const bool started =
            route == "project"    ? frame->OpenProjectPath(ProjectFile(folder))
            : route == "reversed" ? frame->OpenProjectPath(ReversedProjectFile(folder))
                                  : frame->ImportFiles(paths);
        if (!started)
            return false;
        while (frame->IsWorkerRunning())
        {
            wxTheApp->Yield(true);
            wxMilliSleep(1);
        }
        frames = GifFrameTestAccess(frame).Strip()->GetCount();
        frame->Destroy();
    }
    const double seconds = watch.Time() / 1000.0;
    std::printf("result %.2f %.2f %ld %d\n", seconds, CpuSeconds() - cpuAtStart, PeakKiB(), frames);
    return true;
}

// Runs a route in a process of its own, so each peak is its own.
bool MeasureRoute(const char* program, const wxString& route, const wxString& folder,
                  double& seconds, double& cpu, long& peak, int& frames)
{
    const wxString command = wxString::Format("'%s' --route %s '%s'", program, route, folder);
    FILE* pipe = popen(command.utf8_str(), "r");
    if (!pipe)
        return false;
    bool found = false;
    char line[256];
    while (std::fgets(line, sizeof line, pipe))
        found = found ||
                std::sscanf(line, "result %lf %lf %ld %d", &seconds, &cpu, &peak, &frames) == 4;
    return pclose(pipe) == 0 && found;
}
}  // namespace

class ImportBenchApp : public wxApp
{
public:
    bool OnInit() override
    {
        wxLog::SetActiveTarget(new wxLogStderr);
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        if (argc == 4 && argv[1] == "--route")
        {
            // Inside the event loop, as in the program: a progress dialog
            // shown before any loop runs makes a loop of its own, which its
            // destruction during a yield frees under that yield's feet.
            const wxString route = argv[2], folder = argv[3];
            CallAfter(
                [this, route, folder]
                {
                    m_status = RunRoute(route, folder) ? 0 : 1;
                    ExitMainLoop();
                });
            m_runLoop = true;
            return true;
        }
        if (argc > 1 && argv[1] == "--memory")
            return MeasureMemory();
        const wxString folder = argc > 1 ? argv[1] : wxString("/tmp/loopforge-import-bench");
        if (!Prepare(folder))
        {
            std::fprintf(stderr, "cannot make the pictures in %s\n", folder.utf8_str().data());
            m_status = 1;
            return true;
        }
        wxULongLong gifBytes = wxFileName::GetSize(BigGif(folder));
        std::printf("%d frames of %dx%d (big.gif: %.1f MB)\n", kFrames, kWidth, kHeight,
                    gifBytes.ToDouble() / 1e6);
        std::printf("%-34s %10s %12s %10s\n", "route", "seconds", "CPU seconds", "peak MiB");
        const struct
        {
            const char* route;
            const char* label;
        } routes[] = {{"gif", "import: the GIF"},
                      {"project", "import: project of 500 references"},
                      {"pngs", "import: 500 PNG files"},
                      {"render-gif", "render: the GIF"},
                      {"render-project", "render: the project"},
                      {"reversed", "import: the references reversed"},
                      {"render-reversed", "render: the references reversed"}};
        double seconds[7] = {}, cpu[7] = {};
        for (int i = 0; i < 7; ++i)
        {
            long peak = 0;
            int frames = 0;
            if (!MeasureRoute(argv[0].utf8_str(), routes[i].route, folder, seconds[i], cpu[i], peak,
                              frames) ||
                frames != kFrames)
            {
                std::printf("%-34s failed\n", routes[i].label);
                m_status = 1;
                continue;
            }
            std::printf("%-34s %10.2f %12.2f %10.1f\n", routes[i].label, seconds[i], cpu[i],
                        peak / 1024.0);
            std::fflush(stdout);
        }
        // Processor time is the steadier figure on a machine other work shares.
        if (seconds[0] > 0 && seconds[3] > 0 && cpu[0] > 0 && cpu[3] > 0)
            std::printf(
                "project / GIF (goal: at most 1.2x): import %.2fx wall, %.2fx CPU; "
                "render %.2fx wall, %.2fx CPU\n",
                seconds[1] / seconds[0], cpu[1] / cpu[0], seconds[4] / seconds[3], cpu[4] / cpu[3]);
        if (seconds[1] > 0 && seconds[4] > 0 && cpu[1] > 0 && cpu[4] > 0)
            std::printf(
                "reversed / forward references (goal: at most 1.5x): import %.2fx wall, %.2fx "
                "CPU; render %.2fx wall, %.2fx CPU\n",
                seconds[5] / seconds[1], cpu[5] / cpu[1], seconds[6] / seconds[4], cpu[6] / cpu[4]);
        return true;
    }
    // The comparison runs in OnInit, each route in the event loop of its process.
    int OnRun() override
    {
        if (m_runLoop)
            wxApp::OnRun();
        return m_status;
    }

private:
    // Peak memory against the number of 1080p frames imported.
    bool MeasureMemory()
    {
        const wxString folder = argc > 2 ? argv[2] : wxString("/tmp/loopforge-import-bench");
        std::vector<long> counts;
        std::vector<wxString> kinds;
        for (int i = 3; i < argc; ++i)
            if (argv[i] == "screen" || argv[i] == "photo")
                kinds.push_back(argv[i]);
            else
                counts.push_back(std::atol(argv[i].utf8_str()));
        if (kinds.empty())
            kinds = {"screen", "photo"};
        if (counts.empty())
            counts = {100, 500, 1800};
        if (!PrepareHd(folder))
        {
            std::fprintf(stderr, "cannot make the pictures in %s\n", folder.utf8_str().data());
            m_status = 1;
            return true;
        }
        std::printf("%-8s %7s %10s %12s %10s %14s\n", "frames", "kind", "seconds", "CPU seconds",
                    "peak MiB", "MiB per frame");
        for (const wxString& kind : kinds)
            for (long count : counts)
            {
                double seconds = 0, cpu = 0;
                long peak = 0;
                int frames = 0;
                const wxString route = wxString::Format("hd-%s-%ld", kind.utf8_str().data(), count);
                if (!MeasureRoute(argv[0].utf8_str(), route, folder, seconds, cpu, peak, frames) ||
                    frames != count)
                {
                    std::printf("%-8ld %7s failed\n", count, kind.utf8_str().data());
                    m_status = 1;
                    continue;
                }
                std::printf("%-8ld %7s %10.2f %12.2f %10.1f %14.2f\n", count,
                            kind.utf8_str().data(), seconds, cpu,
                            peak / 1024.0, peak / 1024.0 / double(count));
                std::fflush(stdout);
            }
        return true;
    }

    int m_status = 0;
    bool m_runLoop = false;
};
wxIMPLEMENT_APP(ImportBenchApp);
