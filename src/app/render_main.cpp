// loopforge-render: the imaging engine without a window, for batch work and
// scripts. Decodes the inputs (or a saved project's frames) as the import
// does, then exports them as the Save command does.
#include "app/environmentlanguage.h"
#include "app/product.h"
#include "files/temporaryfiles.h"
#include "jobs/renderjob.h"
#include "jobs/renderoptions.h"

#include <wx/image.h>
#include <wx/init.h>
#include <wx/intl.h>
#include <wx/log.h>

#include <unistd.h>
#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
const int kExitFailure = 1;
const int kExitUsage = 2;

void PrintLine(const wxString& message)
{
    // A name the locale's encoding cannot show is printed as UTF-8 rather than lost.
    std::string text = static_cast<const char*>(message.mb_str());
    if (text.empty())
        text = message.utf8_string();
    std::fprintf(stderr, "loopforge-render: %s\n", text.c_str());
}

int Fail(const wxString& message, int code)
{
    PrintLine(message);
    return code;
}

// Whether the progress line stands unfinished: frames left out for damage
// keep it short of the count the headers gave.
bool g_progressOpen = false;

void ShowProgress(int done, int count)
{
    // Damaged pictures found while decoding can make the count from the headers too high.
    count = std::max(count, done);
    const int barWidth = 40;
    const int filled = done * barWidth / count;
    std::fprintf(stderr, "\r[%s%s] %3d%%  frame %d/%d", std::string(filled, '#').c_str(),
                 std::string(barWidth - filled, '.').c_str(), done * 100 / count, done, count);
    g_progressOpen = done != count;
    if (!g_progressOpen)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

int Render(const RenderOptions& options)
{
    RenderJob job;
    if (options.project.empty())
    {
        job.inputs = options.inputs;
        job.output = options.output;
        job.delay = options.delay;
        job.fileDelays = !options.delayGiven;
        job.width = options.width;
        job.height = options.height;
        wxString error;
        if (!TakeVideoClipInputs(options, job, error))
            return Fail(error, kExitFailure);
    }
    else
    {
        wxString error;
        if (!ReadProjectRenderJob(options.project, options.output, job, error, options.format))
            return Fail(error, kExitFailure);
    }
    ApplyRenderGifOptions(options, job.options);
    job.options.format = RenderFormat(options, job.output, job.options.format);
    ApplyRenderEdits(options, job);
    if (const CaptionRef caption = RenderCaption(options))
        job.everyFrameCaptions.push_back(caption);
    if (options.estimate)
    {
        std::uint64_t bytes = 0;
        const GifExportResult result = RunRenderJob(job, ExportProgress(), &bytes);
        if (!result.ok)
            return Fail(result.error, kExitFailure);
        std::printf("%llu\n", static_cast<unsigned long long>(bytes));
        return 0;
    }
    if (job.output == wxS("-") && isatty(STDOUT_FILENO))
        return Fail(_("will not write GIF data to a terminal: redirect standard output"),
                    kExitUsage);

    ExportProgress progress;
    if (isatty(STDERR_FILENO))
        progress = ShowProgress;
    const GifExportResult result = RunRenderJob(job, progress);
    if (g_progressOpen)
        std::fputc('\n', stderr);
    for (const wxString& warning : result.warnings)
        PrintLine(wxString::Format(_("warning: %s"), warning));
    if (!result.ok)
        return Fail(result.error, kExitFailure);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_CTYPE, "");
    // Ctrl+C or a closed terminal must not leave a half-written GIF behind.
    RemoveTemporaryFilesOnInterrupt();
    wxInitializer initializer(argc, argv);
    if (!initializer.IsOk())
        return Fail("cannot start the toolkit", kExitFailure);
    wxLog::EnableLogging(false);
    LoadEnvironmentCatalog();
    wxImage::AddHandler(new wxPNGHandler);
    wxImage::AddHandler(new wxJPEGHandler);
    wxImage::AddHandler(new wxBMPHandler);

    std::vector<wxString> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i], *wxConvFileName);
    RenderOptions options;
    wxString error;
    if (!ParseRenderArguments(arguments, options, error))
        return Fail(error + "\n" + RenderUsage(), kExitUsage);
    if (options.help)
    {
        std::printf("%s\n", static_cast<const char*>(RenderHelp().mb_str()));
        return 0;
    }
    if (options.version)
    {
        std::printf("loopforge-render %s\n",
                    static_cast<const char*>(GetProductVersion().mb_str()));
        return 0;
    }
    return Render(options);
}
