#include "jobs/renderjob.h"

#include "decode/picturescan.h"
#include "decode/picturesequence.h"
#include "decode/unreadablepictures.h"
#include "encode/canvassize.h"
#include "project/projectfile.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/wfstream.h>

#include <algorithm>
#include <cstdio>
#include <memory>
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
    if (!wxFileName::Exists(projectPath))
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
    job.delays = project.frameDelays;
    job.options = project.gifOptions;
    // A frame draws the captions in the project's order, as the window does.
    job.captions.resize(job.inputs.size());
    for (const ProjectCaption& stored : project.captions)
    {
        const CaptionRef caption = std::make_shared<const Caption>(stored.caption);
        for (int frame : stored.frames)
            job.captions[size_t(frame)].push_back(caption);
    }
    const wxSize size = ProjectOutputSize(project);
    job.width = size.x;
    job.height = size.y;
    return true;
}

namespace
{
wxString RefusalMessage(const wxString& input, PictureDecodeStatus status)
{
    return wxString::Format(_("cannot read a picture from %s: %s"), input,
                            DescribePictureDecodeStatus(status));
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

// What the headers of the inputs say, before any picture is decoded.
struct InputScan
{
    std::vector<std::vector<wxSize>> sizes;  // per input
    wxArrayString unreadable;                // inputs that give no picture
    wxString refusal;                        // why the first refused input cannot be read
    int frames = 0;
};

InputScan ScanInputs(const wxArrayString& inputs)
{
    InputScan scan;
    PictureScanner scanner;
    for (const wxString& input : inputs)
    {
        PictureScan found = scanner.Scan(input);
        if (IsReportedRefusal(found.status) && scan.refusal.empty())
            scan.refusal = RefusalMessage(input, found.status);
        else if (found.status == PictureDecodeStatus::Unreadable)
            scan.unreadable.push_back(input);
        scan.frames += static_cast<int>(found.sizes.size());
        scan.sizes.push_back(std::move(found.sizes));
    }
    return scan;
}

// The job's pictures in order, decoded as the export asks for them by one
// picture sequence, so that frame references into one GIF file decode it
// once. A picture that cannot be had after all stops the export: a refusal
// with its reason, an unreadable input by where the trouble starts.
class RenderSource : public ExportSource
{
public:
    RenderSource(const RenderJob& job, const InputScan& scan)
        : m_job(job),
          m_scan(scan),
          m_sequence(job.inputs, [this](std::size_t input, PictureDecodeStatus status)
                     { Ended(input, status); })
    {
    }

    Result Next(SourcePicture& picture, wxString& error) override
    {
        SequencePicture next;
        if (m_sequence.Next(next, [this] { return Failed(); }))
        {
            picture.owned = std::move(next.image);
            picture.delay = DelayOf(next.entry);
            picture.captions = CaptionsOf(next.entry);
            return Result::Picture;
        }
        if (!Failed())
            return Result::End;
        error = m_refusal.empty() ? wxString::Format(_("cannot read a picture from %s"),
                                                     m_job.inputs[m_firstUnreadable])
                                  : m_refusal;
        return Result::Failed;
    }

    int Count() const override { return m_scan.frames; }

    void Sample(int count, std::vector<SourcePicture>& samples) override
    {
        samples.clear();
        wxArrayString entries;
        std::size_t input = 0, firstFrame = 0;
        for (std::size_t frame : SpreadIndices(std::size_t(m_scan.frames), count))
        {
            while (frame >= firstFrame + m_scan.sizes[input].size())
                firstFrame += m_scan.sizes[input++].size();
            // A frame of a whole GIF file is read alone, through a frame reference.
            wxString entry = m_job.inputs[input];
            if (DescribePictureEntry(entry).kind == PictureEntryKind::WholeGif)
                entry += wxString::Format(wxS("_%zu"), frame - firstFrame);
            entries.push_back(entry);
        }
        // The samples are decoded in order by one sequence of their own.
        auto reader = std::make_shared<SampleReader>(entries);
        for (std::size_t i = 0; i < entries.size(); ++i)
        {
            SourcePicture sample;
            sample.captions = CaptionsOf(input);
            sample.decode = [reader, i](wxString&) { return reader->Picture(i); };
            samples.push_back(std::move(sample));
        }
    }

    // The first input decoding found unreadable, when that stopped the export.
    bool FoundUnreadable() const { return m_firstUnreadable != kNone; }
    std::size_t FirstUnreadable() const { return m_firstUnreadable; }
    // Why an input was refused, when that stopped the export.
    const wxString& Refusal() const { return m_refusal; }

private:
    static constexpr std::size_t kNone = std::size_t(-1);

    // Pictures of a list of entries asked for in list order.
    class SampleReader
    {
    public:
        explicit SampleReader(const wxArrayString& entries) : m_sequence(entries) {}

        std::unique_ptr<wxImage> Picture(std::size_t entry)
        {
            SequencePicture picture;
            while (m_sequence.Next(picture))
                if (picture.entry >= entry)
                    return picture.entry == entry ? std::move(picture.image) : nullptr;
            return nullptr;
        }

    private:
        PictureSequence m_sequence;
    };

    bool Failed() const { return !m_refusal.empty() || m_firstUnreadable != kNone; }

    void Ended(std::size_t input, PictureDecodeStatus status)
    {
        if (IsReportedRefusal(status))
            m_refusal = RefusalMessage(m_job.inputs[input], status);
        else if (status == PictureDecodeStatus::Unreadable && m_firstUnreadable == kNone)
            m_firstUnreadable = input;
    }

    int DelayOf(std::size_t input) const
    {
        return input < m_job.delays.size() && m_job.delays[input] > 0 ? m_job.delays[input]
                                                                      : m_job.delay;
    }

    FrameCaptions CaptionsOf(std::size_t input) const
    {
        FrameCaptions captions;
        if (input < m_job.captions.size())
            captions = m_job.captions[input];
        captions.insert(captions.end(), m_job.everyFrameCaptions.begin(),
                        m_job.everyFrameCaptions.end());
        return captions;
    }

    const RenderJob& m_job;
    const InputScan& m_scan;
    PictureSequence m_sequence;
    wxString m_refusal;
    std::size_t m_firstUnreadable = kNone;
};

// Every input from first on that gives no picture when decoded.
wxArrayString UndecodableFrom(const wxArrayString& inputs, std::size_t first)
{
    wxArrayString rest;
    for (std::size_t i = first; i < inputs.size(); ++i)
        rest.push_back(inputs[i]);
    wxArrayString unreadable;
    PictureSequence sequence(rest,
                             [&](std::size_t entry, PictureDecodeStatus status)
                             {
                                 if (status != PictureDecodeStatus::Decoded)
                                     unreadable.push_back(rest[entry]);
                             });
    SequencePicture picture;
    while (sequence.Next(picture))
    {
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
    // once, before anything is written; a reason the user can act on comes
    // first.
    const InputScan scan = ScanInputs(job.inputs);
    if (!scan.refusal.empty())
    {
        result.error = scan.refusal;
        return result;
    }
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
    if (!result.ok && !source.Refusal().empty())
        result.error = source.Refusal();
    else if (!result.ok && source.FoundUnreadable())
        result.error =
            UnreadableMessage(job, UndecodableFrom(job.inputs, source.FirstUnreadable()));
    return result;
}
