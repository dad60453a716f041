// loopforge-render: the imaging engine without a window, for batch work and
// scripts. Decodes the inputs as the import does, then exports them as the
// Save command does.
#include "work/canvassize.h"
#include "work/gifexport.h"
#include "work/picturedecoder.h"
#include "work/renderoptions.h"

#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <unistd.h>
#include <clocale>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{
const int kExitFailure = 1;
const int kExitUsage = 2;

int Fail(const wxString& message, int code)
{
    std::fprintf(stderr, "loopforge-render: %s\n", static_cast<const char*>(message.mb_str()));
    return code;
}

void ShowProgress(int done, int count)
{
    const int barWidth = 40;
    const int filled = done * barWidth / count;
    std::fprintf(stderr, "\r[%s%s] %3d%%  frame %d/%d", std::string(filled, '#').c_str(),
                 std::string(barWidth - filled, '.').c_str(), done * 100 / count, done, count);
    if (done == count)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

int Render(const RenderOptions& options)
{
    std::vector<std::unique_ptr<wxImage>> pictures;
    for (const wxString& input : options.inputs)
    {
        const size_t before = pictures.size();
        DecodePictures(input, [&pictures](std::unique_ptr<wxImage> image, int, bool)
                       { pictures.push_back(std::move(image)); });
        if (pictures.size() == before)
            return Fail(wxString::Format("cannot read a picture from %s", input), kExitFailure);
    }

    std::vector<const wxImage*> frames;
    std::vector<wxSize> sizes;
    for (const auto& picture : pictures)
    {
        frames.push_back(picture.get());
        sizes.push_back(picture->GetSize());
    }
    wxSize size(options.width, options.height);
    if (size.x == 0 || size.y == 0)
        size = ChooseCanvasSize(sizes);

    ExportProgress progress;
    if (isatty(STDERR_FILENO))
        progress = ShowProgress;
    const GifExportResult result =
        ExportGif(frames, options.output, options.delay, size.x, size.y, progress);
    if (!result.ok)
        return Fail(result.error, kExitFailure);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_CTYPE, "");
    wxInitializer initializer(argc, argv);
    if (!initializer.IsOk())
        return Fail("cannot start the toolkit", kExitFailure);
    wxLog::EnableLogging(false);
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
        std::printf("%s\n", static_cast<const char*>(RenderUsage().mb_str()));
        return 0;
    }
    return Render(options);
}
