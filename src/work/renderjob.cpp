#include "work/renderjob.h"

#include "work/canvassize.h"
#include "work/picturedecoder.h"
#include "work/picturescan.h"
#include "work/projectfile.h"
#include "work/unreadablepictures.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/wfstream.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace
{
// The window's delay control allows 1 to 65535 hundredths.
const int kMinDelay = 1;
const int kMaxDelay = 0xFFFF;

wxString WithoutXmlEnding(const wxString& name)
{
    return name.Lower().EndsWith(wxS(".xml")) ? name.Left(name.length() - 4) : name;
}
}  // namespace

wxString ProjectDefaultOutput(const wxString& projectPath, const wxString& gifName)
{
    wxString name = wxFileNameFromPath(gifName);
    if (name.empty() || name == wxS(".") || name == wxS(".."))
        name = WithoutXmlEnding(wxFileNameFromPath(projectPath)) + wxS(".gif");
    else if (!name.EndsWith(wxS(".gif")))
        name += wxS(".gif");
    const wxString folder = wxPathOnly(projectPath);
    return folder.empty() ? name : folder + wxS("/") + name;
}

bool ReadProjectRenderJob(const wxString& projectPath, const wxString& output, RenderJob& job,
                          wxString& error)
{
    if (!wxFileName::FileExists(projectPath))
    {
        error = wxString::Format(_("cannot read the project %s: no such file"), projectPath);
        return false;
    }
    const ProjectReadResult read = ReadProjectFile(projectPath);
    if (!read.IsComplete())
    {
        error = wxString::Format(_("cannot read the project %s: %s"), projectPath,
                                 DescribeProjectReadStage(read.stage));
        return false;
    }
    const Project& project = read.project;
    if (project.framePaths.empty())
    {
        error = wxString::Format(_("the project %s names no pictures"), projectPath);
        return false;
    }
    job = RenderJob();
    job.project = projectPath;
    job.inputs = project.framePaths;
    job.output = output.empty() ? ProjectDefaultOutput(projectPath, project.gifName) : output;
    job.delay = std::clamp(project.delay, kMinDelay, kMaxDelay);
    job.options = project.gifOptions;
    const wxSize size = ProjectOutputSize(project);
    job.width = size.x;
    job.height = size.y;
    return true;
}

namespace
{
// What the headers of the inputs say, before any picture is decoded.
struct InputScan
{
    std::vector<std::vector<wxSize>> sizes;  // per input
    wxArrayString unreadable;                // inputs that give no picture
    int frames = 0;
};

InputScan ScanInputs(const wxArrayString& inputs)
{
    InputScan scan;
    for (const wxString& input : inputs)
    {
        scan.sizes.push_back(ScanPictureSizes(input));
        if (scan.sizes.back().empty())
            scan.unreadable.push_back(input);
        scan.frames += static_cast<int>(scan.sizes.back().size());
    }
    return scan;
}

wxString UnreadableMessage(const RenderJob& job, const wxArrayString& unreadable)
{
    const wxString list = ListUnreadablePictures(unreadable, wxS(", "), 20);
    if (!job.project.empty())
        return wxString::Format(_("pictures of the project %s are missing or cannot be read: %s"),
                                job.project, list);
    if (unreadable.size() == 1)
        return wxString::Format(_("cannot read a picture from %s"), list);
    return wxString::Format(_("cannot read pictures from %s"), list);
}

// Whether a picture of the largest of sizes could not even be allocated:
// then a picture that gave nothing failed for want of memory, not because
// it is unreadable.
bool LacksMemoryFor(const std::vector<wxSize>& sizes)
{
    std::size_t largest = 0;
    for (const wxSize& size : sizes)
        largest = std::max(largest, std::size_t(size.x) * std::size_t(size.y) * 4);
    if (largest == 0)
        return false;
    void* probe = std::malloc(largest);
    std::free(probe);
    return probe == nullptr;
}

// The job's pictures in order, decoded as they are asked for: still
// pictures and frame references on the export's workers, the frames of a
// whole GIF file when the export reaches it.
class RenderSource : public ExportSource
{
public:
    RenderSource(const RenderJob& job, const InputScan& scan) : m_job(job), m_scan(scan) {}

    Result Next(SourcePicture& picture, wxString& error) override
    {
        while (m_pending.empty())
        {
            if (m_nextInput == m_job.inputs.size())
                return Result::End;
            const std::size_t input = m_nextInput++;
            m_pendingDelay = DelayOf(input);
            const wxString& entry = m_job.inputs[input];
            if (DescribePictureEntry(entry).kind != PictureEntryKind::WholeGif)
            {
                picture.delay = m_pendingDelay;
                picture.decode = [this, input](wxString& reason) { return Decode(input, reason); };
                return Result::Picture;
            }
            DecodePictures(entry, [this](std::unique_ptr<wxImage> image, int, bool)
                           { m_pending.push_back(std::move(image)); });
            if (m_pending.empty())
            {
                Failed(input, error);
                return Result::Failed;
            }
        }
        picture.owned = std::move(m_pending.front());
        picture.delay = m_pendingDelay;
        m_pending.pop_front();
        return Result::Picture;
    }

    int Count() const override { return m_scan.frames; }

    void Sample(int count, std::vector<SourcePicture>& samples) override
    {
        samples.clear();
        std::size_t input = 0, firstFrame = 0;
        for (std::size_t frame : SpreadIndices(std::size_t(m_scan.frames), count))
        {
            while (frame >= firstFrame + m_scan.sizes[input].size())
                firstFrame += m_scan.sizes[input++].size();
            // A frame of a whole GIF file is read alone, through a frame reference.
            wxString entry = m_job.inputs[input];
            if (DescribePictureEntry(entry).kind == PictureEntryKind::WholeGif)
                entry += wxString::Format(wxS("_%zu"), frame - firstFrame);
            SourcePicture sample;
            sample.decode = [entry](wxString&) { return DecodeOne(entry); };
            samples.push_back(std::move(sample));
        }
    }

    // The first input that gave no picture, and whether memory was what it lacked.
    std::size_t FirstFailure() const { return m_firstFailure; }
    bool OutOfMemory() const { return m_outOfMemory; }

private:
    int DelayOf(std::size_t input) const
    {
        return input < m_job.delays.size() && m_job.delays[input] > 0 ? m_job.delays[input]
                                                                       : m_job.delay;
    }

    static std::unique_ptr<wxImage> DecodeOne(const wxString& entry)
    {
        std::unique_ptr<wxImage> picture;
        DecodePictures(entry, [&](std::unique_ptr<wxImage> image, int, bool)
                       { picture = std::move(image); });
        return picture;
    }

    std::unique_ptr<wxImage> Decode(std::size_t input, wxString& error)
    {
        std::unique_ptr<wxImage> picture = DecodeOne(m_job.inputs[input]);
        if (!picture)
            Failed(input, error);
        return picture;
    }

    void Failed(std::size_t input, wxString& error)
    {
        const bool memory = LacksMemoryFor(m_scan.sizes[input]);
        error = memory ? wxString::Format(_("there is not enough memory to read %s"),
                                          m_job.inputs[input])
                       : wxString::Format(_("cannot read a picture from %s"), m_job.inputs[input]);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (input < m_firstFailure)
        {
            m_firstFailure = input;
            m_outOfMemory = memory;
        }
    }

    const RenderJob& m_job;
    const InputScan& m_scan;
    std::size_t m_nextInput = 0;
    std::deque<std::unique_ptr<wxImage>> m_pending;  // frames of the whole GIF being read
    int m_pendingDelay = 10;
    std::mutex m_mutex;  // decoding runs on several workers
    std::size_t m_firstFailure = SIZE_MAX;
    bool m_outOfMemory = false;
};

// Every input from first on that gives no picture when decoded.
wxArrayString UndecodableFrom(const wxArrayString& inputs, std::size_t first)
{
    wxArrayString unreadable;
    for (std::size_t i = first; i < inputs.size(); ++i)
    {
        bool any = false;
        DecodePictures(inputs[i], [&](std::unique_ptr<wxImage>, int, bool) { any = true; });
        if (!any)
            unreadable.push_back(inputs[i]);
    }
    return unreadable;
}
}  // namespace

GifExportResult RunRenderJob(const RenderJob& job, const ExportProgress& progress)
{
    GifExportResult result;
    const bool toStandardOutput = job.output == wxS("-");
    const wxString outputName = toStandardOutput ? wxString(_("standard output")) : job.output;
    if (job.width != 0 || job.height != 0)
    {
        const wxString badSize = CheckGifSize(job.width, job.height);
        if (!badSize.empty())
        {
            result.error = wxString::Format(_("Cannot write %s: %s"), outputName, badSize);
            return result;
        }
    }

    // Inputs whose headers already say they give nothing are all named at
    // once, before anything is written.
    const InputScan scan = ScanInputs(job.inputs);
    if (!scan.unreadable.empty())
    {
        result.error = UnreadableMessage(job, scan.unreadable);
        return result;
    }

    GifExportSettings settings;
    settings.width = job.width;
    settings.height = job.height;
    settings.options = job.options;
    settings.workers = job.workers;
    if (settings.width == 0 || settings.height == 0)
    {
        std::vector<wxSize> sizes;
        for (const std::vector<wxSize>& inputSizes : scan.sizes)
            sizes.insert(sizes.end(), inputSizes.begin(), inputSizes.end());
        const wxSize size = ChooseCanvasSize(sizes);
        settings.width = size.x;
        settings.height = size.y;
    }

    RenderSource source(job, scan);
    if (toStandardOutput)
    {
        wxFFileOutputStream out(stdout);
        result = ExportGifToStream(source, out, outputName, settings, progress);
        std::fflush(stdout);
    }
    else
    {
        result = ExportGif(source, job.output, settings, progress);
    }
    if (!result.ok && source.FirstFailure() != SIZE_MAX && !source.OutOfMemory())
        result.error = UnreadableMessage(job, UndecodableFrom(job.inputs, source.FirstFailure()));
    return result;
}
