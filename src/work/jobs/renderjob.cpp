#include "jobs/renderjob.h"

#include "decode/damagedframes.h"
#include "decode/picturescan.h"
#include "decode/picturesequence.h"
#include "decode/unreadablepictures.h"
#include "edit/animationspeed.h"
#include "edit/framelist.h"
#include "edit/repeatedframes.h"
#include "encode/animationexport.h"
#include "encode/canvassize.h"
#include "encode/gifsizeestimate.h"
#include "encode/giftargetsize.h"
#include "project/projectfile.h"
#include "project/sourceoverwrite.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/wfstream.h>

#include <algorithm>
#include <cstdio>
#include <map>
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

wxString ProjectDefaultOutput(const wxString& projectPath, const wxString& gifName,
                              ExportFormat format)
{
    const wxString ending = wxS(".") + ExportFormatName(format);
    wxString name = wxFileNameFromPath(gifName);
    bool known = false;
    for (ExportFormat candidate : kExportFormats)
        known = known || name.EndsWith(wxS(".") + ExportFormatName(candidate));
    if (name.empty() || name == wxS(".") || name == wxS(".."))
        name = WithoutXmlEnding(wxFileNameFromPath(projectPath)) + ending;
    else if (!known)
        name += ending;
    const wxString folder = wxPathOnly(projectPath);
    return folder.empty() ? name : folder + wxS("/") + name;
}

bool ReadProjectRenderJob(const wxString& projectPath, const wxString& output, RenderJob& job,
                          wxString& error, const std::optional<ExportFormat>& format)
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
    job.options = project.gifOptions;
    if (format)
        job.options.format = *format;
    job.output = output.empty()
                     ? ProjectDefaultOutput(projectPath, project.gifName, job.options.format)
                     : output;
    job.delay = std::clamp(project.delay, kMinDelay, kMaxDelay);
    job.delays = project.frameDelays;
    job.orientations = project.frameOrientations;
    job.videos = project.frameVideos;
    job.crop = project.crop;
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

bool TakeVideoClipInputs(const RenderOptions& options, RenderJob& job, wxString& error)
{
    job.videos.resize(job.inputs.size());
    bool anyClip = false;
    for (std::size_t i = 0; i < job.inputs.size(); ++i)
    {
        if (!IsVideoClipPath(job.inputs[i]))
            continue;
        anyClip = true;
        VideoClipInfo info;
        if (!ProbeVideoClip(job.inputs[i], info, error))
            return false;
        VideoRange range;
        range.path = job.inputs[i];
        range.start = options.clipStart.value_or(0);
        range.end = std::min(options.clipEnd.value_or(info.duration), info.duration);
        range.frameRate = std::min(
            options.clipFrameRate.value_or(DefaultGifFrameRate(info.frameRate)), info.frameRate);
        range.width = options.clipWidth;
        if (range.end <= range.start)
        {
            error = wxString::Format(_("the clip %s is %s seconds long: the part to take lies "
                                       "outside it"),
                                     range.path, wxString::FromCDouble(info.duration, 2));
            return false;
        }
        job.videos[i].range = std::make_shared<const VideoRange>(range);
    }
    if (!anyClip &&
        (options.clipStart || options.clipEnd || options.clipFrameRate || options.clipWidth > 0))
    {
        error = _("--start, --end, --fps and --width apply to video clips, and no input is one");
        return false;
    }
    return true;
}

void ApplyRenderEdits(const RenderOptions& options, RenderJob& job)
{
    if (options.crop)
        job.crop = CropArea{*options.crop, wxSize()};
    job.reverse = job.reverse || options.reverse;
    job.yoyo = job.yoyo || options.yoyo;
    if (options.speed)
        job.speed = *options.speed;
    if (options.dedupe)
        job.dedupeTolerance = *options.dedupe;
    if (!options.rotate && !options.flip)
        return;
    job.orientations.resize(job.inputs.size(), kUprightOrientation);
    for (int& orientation : job.orientations)
    {
        if (options.rotate)
            orientation = ComposeOrientation(orientation, *options.rotate);
        if (options.flip)
            orientation = ComposeOrientation(orientation, *options.flip);
    }
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
    std::vector<std::vector<int>> frameIndices;  // per input: see PictureScan
    std::vector<std::vector<int>> delays;        // per input: see PictureScan
    wxArrayString unreadable;                // inputs that give no picture
    wxString refusal;                        // why the first refused input cannot be read
    int frames = 0;
};

const VideoEntry* VideoOf(const RenderJob& job, std::size_t input)
{
    return input < job.videos.size() && job.videos[input].range ? &job.videos[input] : nullptr;
}

// Probes each clip once, however many frames of it a project lists.
class ClipProbes
{
public:
    bool Probe(const wxString& path, VideoClipInfo& info, wxString& error)
    {
        auto found = m_probes.find(path);
        if (found == m_probes.end())
        {
            Result result;
            result.ok = ProbeVideoClip(path, result.info, result.error);
            found = m_probes.emplace(path, result).first;
        }
        info = found->second.info;
        error = found->second.error;
        return found->second.ok;
    }

private:
    struct Result
    {
        bool ok = false;
        VideoClipInfo info;
        wxString error;
    };
    std::map<wxString, Result> m_probes;
};

// What a video entry gives: one frame, or every frame of its range, which
// are counted by reading them (small).
PictureScan ScanVideo(const VideoEntry& video, ClipProbes& probes, wxString& refusal)
{
    PictureScan found;
    VideoClipInfo info;
    if (!probes.Probe(video.range->path, info, refusal))
        return found;
    const wxSize clipSize(info.width, info.height);
    const int count = video.frame >= 0 ? 1 : CountVideoFrames(*video.range, clipSize, refusal);
    for (int i = 0; i < count; ++i)
    {
        found.sizes.push_back(VideoFrameSize(clipSize, video.range->width));
        found.frameIndices.push_back(video.frame >= 0 ? video.frame : i);
        found.delays.push_back(video.frame >= 0 ? 0 : VideoFrameDelay(video.range->frameRate, i));
    }
    found.status = PictureDecodeStatus::Decoded;
    return found;
}

InputScan ScanInputs(const RenderJob& job)
{
    const wxArrayString& inputs = job.inputs;
    InputScan scan;
    PictureScanner scanner;
    ClipProbes probes;
    for (std::size_t i = 0; i < inputs.size(); ++i)
    {
        const wxString& input = inputs[i];
        if (const VideoEntry* video = VideoOf(job, i))
        {
            wxString refusal;
            PictureScan found = ScanVideo(*video, probes, refusal);
            // A project lists a missing clip among its missing pictures.
            if (!refusal.empty() && !job.project.empty() && !wxFileName::FileExists(input))
            {
                if (scan.unreadable.Index(input) == wxNOT_FOUND)
                    scan.unreadable.push_back(input);
            }
            else if (!refusal.empty() && scan.refusal.empty())
                scan.refusal = refusal;
            scan.frames += static_cast<int>(found.sizes.size());
            scan.sizes.push_back(std::move(found.sizes));
            scan.frameIndices.push_back(std::move(found.frameIndices));
            scan.delays.push_back(std::move(found.delays));
            continue;
        }
        PictureScan found = scanner.Scan(input);
        if (IsReportedRefusal(found.status) && scan.refusal.empty())
            scan.refusal = RefusalMessage(input, found.status);
        else if (found.status == PictureDecodeStatus::Unreadable)
            scan.unreadable.push_back(input);
        scan.frames += static_cast<int>(found.sizes.size());
        scan.sizes.push_back(std::move(found.sizes));
        scan.frameIndices.push_back(std::move(found.frameIndices));
        scan.delays.push_back(std::move(found.delays));
    }
    return scan;
}

// How long a frame of the input shows: the input's own delay, else the
// delay its GIF file gives it (fileDelay, 0: none) unless -d was given,
// else the job's delay.
int FrameDelay(const RenderJob& job, std::size_t input, int fileDelay)
{
    if (input < job.delays.size() && job.delays[input] > 0)
        return job.delays[input];
    return job.fileDelays && fileDelay > 0 ? fileDelay : job.delay;
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
          m_sequence(
              job.inputs, [this](std::size_t input, PictureDecodeStatus status)
              { Ended(input, status); },
              [this](std::size_t input, int frame)
              { m_damaged.Add(DescribePictureEntry(m_job.inputs[input]).path, frame); })
    {
        // Still pictures decode on the export's workers, several at once.
        m_sequence.LeaveStillPicturesUndecoded();
        m_sequence.SetVideoEntries(job.videos);
    }

    Result Next(SourcePicture& picture, wxString& error) override
    {
        SequencePicture next;
        if (m_sequence.Next(next, [this] { return Failed(); }))
        {
            picture.delay = FrameDelay(m_job, next.entry, next.delay);
            picture.captions = CaptionsOf(next.entry);
            if (next.image)
            {
                picture.owned = std::move(next.image);
                Shape(*picture.owned, OrientationOf(next.entry));
                return Result::Picture;
            }
            auto data = std::make_shared<std::vector<unsigned char>>(std::move(next.undecoded));
            const std::size_t input = next.entry;
            // Runs on a worker: Shape only reads the job.
            picture.decode = [this, data, input](wxString& reason)
            {
                std::unique_ptr<wxImage> image;
                const PictureDecodeStatus status = DecodeStillPicture(*data, image);
                *data = std::vector<unsigned char>();
                if (status == PictureDecodeStatus::Decoded)
                {
                    Shape(*image, OrientationOf(input));
                    return image;
                }
                Ended(input, status);
                reason = FailureMessage();
                return std::unique_ptr<wxImage>();
            };
            return Result::Picture;
        }
        if (!Failed())
            return Result::End;
        error = FailureMessage();
        return Result::Failed;
    }

    int Count() const override { return m_scan.frames; }

    void Sample(int count, std::vector<SourcePicture>& samples) override
    {
        samples.clear();
        wxArrayString entries;
        std::vector<VideoEntry> videos;
        std::vector<int> orientations;
        std::vector<FrameCaptions> captions;
        std::size_t input = 0, firstFrame = 0;
        for (std::size_t frame : SpreadIndices(std::size_t(m_scan.frames), count))
        {
            while (frame >= firstFrame + m_scan.sizes[input].size())
                firstFrame += m_scan.sizes[input++].size();
            // A frame of a whole GIF file is read alone, through a frame
            // reference to its index in the file.
            wxString entry = m_job.inputs[input];
            VideoEntry video;
            if (const VideoEntry* clip = VideoOf(m_job, input))
                video =
                    clip->frame >= 0
                        ? *clip
                        : VideoEntry{clip->range, m_scan.frameIndices[input][frame - firstFrame]};
            else if (DescribePictureEntry(entry).kind == PictureEntryKind::WholeGif)
                entry += wxString::Format(wxS("_%d"),
                                          m_scan.frameIndices[input][frame - firstFrame]);
            entries.push_back(entry);
            videos.push_back(video);
            orientations.push_back(OrientationOf(input));
            captions.push_back(CaptionsOf(input));
        }
        // The samples are decoded in order by one sequence of their own.
        auto reader = std::make_shared<SampleReader>(entries, videos);
        for (std::size_t i = 0; i < entries.size(); ++i)
        {
            SourcePicture sample;
            const int orientation = orientations[i];
            sample.captions = captions[i];
            sample.decode = [this, reader, i, orientation](wxString&)
            {
                std::unique_ptr<wxImage> picture = reader->Picture(i);
                if (picture)
                    Shape(*picture, orientation);
                return picture;
            };
            samples.push_back(std::move(sample));
        }
    }

    // The first input decoding found unreadable, when that stopped the export.
    bool FoundUnreadable() const
    {
        std::lock_guard<std::mutex> lock(m_failureMutex);
        return m_failed != kNone && !IsReportedRefusal(m_failedStatus);
    }
    std::size_t FirstUnreadable() const
    {
        std::lock_guard<std::mutex> lock(m_failureMutex);
        return m_failed;
    }
    // Why an input was refused, when that stopped the export.
    wxString Refusal() const
    {
        std::lock_guard<std::mutex> lock(m_failureMutex);
        return m_failed != kNone && IsReportedRefusal(m_failedStatus)
                   ? RefusalMessage(m_job.inputs[m_failed], m_failedStatus)
                   : wxString();
    }
    // Frames left out for damage.
    const DamagedFrames& Damaged() const { return m_damaged; }

private:
    static constexpr std::size_t kNone = std::size_t(-1);

    // Pictures of a list of entries asked for in list order.
    class SampleReader
    {
    public:
        SampleReader(const wxArrayString& entries, std::vector<VideoEntry> videos)
            : m_sequence(entries)
        {
            m_sequence.SetVideoEntries(std::move(videos));
        }

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

    bool Failed() const
    {
        std::lock_guard<std::mutex> lock(m_failureMutex);
        return m_failed != kNone;
    }

    // Cuts a picture to the crop and turns it, as the window shows it.
    void Shape(wxImage& picture, int orientation) const
    {
        if (!picture.IsOk())
            return;
        const wxRect part = CropRectFor(m_job.crop, picture.GetSize());
        if (part != wxRect(wxPoint(0, 0), picture.GetSize()))
            picture = picture.GetSubImage(part);
        if (orientation != kUprightOrientation)
            picture = OrientPicture(picture, orientation);
    }

    int OrientationOf(std::size_t input) const
    {
        return input < m_job.orientations.size() ? m_job.orientations[input] : kUprightOrientation;
    }

    // Heard from the sequence and from the workers decoding still pictures,
    // which may finish out of order: the earliest input that failed counts.
    void Ended(std::size_t input, PictureDecodeStatus status)
    {
        if (!IsReportedRefusal(status) && status != PictureDecodeStatus::Unreadable)
            return;
        // Only the sequence's own thread ends video inputs, so it may ask
        // the sequence why.
        const wxString clipError = VideoOf(m_job, input) ? m_sequence.VideoError() : wxString();
        std::lock_guard<std::mutex> lock(m_failureMutex);
        if (m_failed == kNone || input < m_failed)
        {
            m_failed = input;
            m_failedStatus = status;
            m_failedClipError = clipError;
        }
    }

    wxString FailureMessage() const
    {
        {
            // A clip says why ffmpeg could not read it.
            std::lock_guard<std::mutex> lock(m_failureMutex);
            if (!m_failedClipError.empty())
                return m_failedClipError;
        }
        const wxString refusal = Refusal();
        return refusal.empty() ? wxString::Format(_("cannot read a picture from %s"),
                                                  m_job.inputs[FirstUnreadable()])
                               : refusal;
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
    DamagedFrames m_damaged;
    mutable std::mutex m_failureMutex;
    std::size_t m_failed = kNone;
    PictureDecodeStatus m_failedStatus = PictureDecodeStatus::Decoded;
    wxString m_failedClipError;  // ffmpeg's reason when the failed input is a clip
};

// The job with one input per frame (a whole GIF file becomes references to
// each of its frames), each with its delay and orientation, and the scan to
// match, so that the frames can be put in another order.
void SplitIntoFrames(RenderJob& job, InputScan& scan)
{
    RenderJob frames = job;
    frames.inputs.clear();
    frames.videos.clear();
    frames.delays.clear();
    frames.orientations.clear();
    frames.captions.clear();
    InputScan split;
    for (std::size_t input = 0; input < job.inputs.size(); ++input)
    {
        const VideoEntry* video = VideoOf(job, input);
        const bool wholeGif =
            !video && DescribePictureEntry(job.inputs[input]).kind == PictureEntryKind::WholeGif;
        const bool wholeVideo = video && video->frame < 0;
        const int orientation = input < job.orientations.size() ? job.orientations[input] : 0;
        for (std::size_t frame = 0; frame < scan.sizes[input].size(); ++frame)
        {
            // A frame of a whole GIF keeps the delay its file gives it, as
            // when the file is rendered whole.
            const int delay =
                FrameDelay(job, input, wholeGif || wholeVideo ? scan.delays[input][frame] : 0);
            frames.inputs.push_back(
                wholeGif ? job.inputs[input] +
                               wxString::Format(wxS("_%d"), scan.frameIndices[input][frame])
                         : job.inputs[input]);
            frames.videos.push_back(
                video ? VideoEntry{video->range, scan.frameIndices[input][frame]} : VideoEntry());
            frames.delays.push_back(delay);
            frames.orientations.push_back(orientation);
            frames.captions.push_back(input < job.captions.size() ? job.captions[input]
                                                                  : FrameCaptions());
            split.sizes.push_back({scan.sizes[input][frame]});
            split.frameIndices.push_back({});
            split.delays.push_back({});
        }
    }
    split.frames = int(frames.inputs.size());
    job = std::move(frames);
    scan = std::move(split);
}

// Keeps the frames at the indices, in their order.
void KeepFrames(RenderJob& job, InputScan& scan, const std::vector<std::size_t>& order)
{
    RenderJob kept = job;
    kept.inputs.clear();
    kept.videos.clear();
    kept.delays.clear();
    kept.orientations.clear();
    kept.captions.clear();
    InputScan keptScan;
    for (std::size_t index : order)
    {
        kept.inputs.push_back(job.inputs[index]);
        kept.videos.push_back(job.videos[index]);
        kept.delays.push_back(job.delays[index]);
        kept.orientations.push_back(job.orientations[index]);
        kept.captions.push_back(job.captions[index]);
        keptScan.sizes.push_back(scan.sizes[index]);
        keptScan.frameIndices.push_back(scan.frameIndices[index]);
        keptScan.delays.push_back(scan.delays[index]);
    }
    keptScan.frames = int(kept.inputs.size());
    job = std::move(kept);
    scan = std::move(keptScan);
}

// Drops each frame that repeats the one kept before it, as Remove Duplicate
// Frames does, reading the pictures once, two at a time. A frame that gives
// no picture stays for the export to report.
void DropRepeatedFrames(RenderJob& job, InputScan& scan)
{
    std::vector<std::size_t> kept;
    std::unique_ptr<wxImage> keptPicture;
    std::vector<int> delays = job.delays;
    std::size_t next = 0;  // the frame the sequence should give next
    PictureSequence sequence(job.inputs);
    sequence.SetVideoEntries(job.videos);
    for (SequencePicture picture; sequence.Next(picture);)
    {
        const std::size_t frame = picture.entry;
        for (; next < frame; ++next)
        {
            kept.push_back(next);
            keptPicture.reset();
        }
        next = frame + 1;
        if (keptPicture && delays[kept.back()] + delays[frame] <= kMaxFrameDelay)
        {
            const double difference =
                PictureDifference(*keptPicture, *picture.image, job.dedupeTolerance);
            if (difference >= 0 && difference <= job.dedupeTolerance)
            {
                delays[kept.back()] += delays[frame];
                continue;
            }
        }
        kept.push_back(frame);
        keptPicture = std::move(picture.image);
    }
    for (; next < job.inputs.size(); ++next)
        kept.push_back(next);
    job.delays = delays;
    KeepFrames(job, scan, kept);
}

// The edits of the frame order and timing, in the order the options name them.
void EditFrameOrder(RenderJob& job, InputScan& scan)
{
    if (!job.reverse && !job.yoyo && job.speed <= 0 && job.dedupeTolerance < 0)
        return;
    SplitIntoFrames(job, scan);
    const std::size_t count = job.inputs.size();
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = job.reverse ? count - 1 - i : i;
    if (job.yoyo && count >= 3)
        for (std::size_t i = count - 2; i >= 1; --i)
            order.push_back(order[i]);
    KeepFrames(job, scan, order);
    if (job.speed > 0)
        for (int& delay : job.delays)
            delay = ScaleDelay(delay, job.speed);
    if (job.dedupeTolerance >= 0)
        DropRepeatedFrames(job, scan);
}

// Every input from first on that gives no picture when decoded.
wxArrayString UndecodableFrom(const RenderJob& job, std::size_t first)
{
    const wxArrayString& inputs = job.inputs;
    wxArrayString rest;
    std::vector<VideoEntry> videos;
    for (std::size_t i = first; i < inputs.size(); ++i)
    {
        rest.push_back(inputs[i]);
        videos.push_back(i < job.videos.size() ? job.videos[i] : VideoEntry());
    }
    wxArrayString unreadable;
    PictureSequence sequence(rest,
                             [&](std::size_t entry, PictureDecodeStatus status)
                             {
                                 if (status != PictureDecodeStatus::Decoded)
                                     unreadable.push_back(rest[entry]);
                             });
    sequence.SetVideoEntries(videos);
    SequencePicture picture;
    while (sequence.Next(picture))
    {
    }
    return unreadable;
}
}  // namespace

GifExportResult RunRenderJob(const RenderJob& job, const ExportProgress& progress,
                             std::uint64_t* estimate)
{
    GifExportResult result;
    const bool toStandardOutput = job.output == wxS("-");
    const wxString outputName = toStandardOutput ? wxString(_("standard output")) : job.output;
    const wxString overwritten = toStandardOutput || estimate
                                     ? wxString()
                                     : FindOverwrittenSource(job.output, job.inputs, job.project);
    if (!overwritten.empty())
    {
        result.error = wxString::Format(_("Cannot write %s: %s"), outputName,
                                        DescribeOverwrittenSource(overwritten));
        return result;
    }
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
    const InputScan scan = ScanInputs(job);
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

    // A crop given by itself lies in the first frame.
    RenderJob shaped = job;
    if (shaped.crop.rect.width > 0 && shaped.crop.reference == wxSize())
    {
        for (const std::vector<wxSize>& sizes : scan.sizes)
            if (!sizes.empty())
            {
                shaped.crop.reference = sizes.front();
                break;
            }
        if (!wxRect(wxPoint(0, 0), shaped.crop.reference).Contains(shaped.crop.rect))
        {
            result.error = wxString::Format(
                _("the crop %dx%d+%d+%d does not lie inside the first frame (%d x %d)"),
                shaped.crop.rect.width, shaped.crop.rect.height, shaped.crop.rect.x,
                shaped.crop.rect.y, shaped.crop.reference.x, shaped.crop.reference.y);
            return result;
        }
    }

    InputScan frames = scan;
    EditFrameOrder(shaped, frames);

    GifExportSettings settings;
    settings.width = job.width;
    settings.height = job.height;
    settings.options = job.options;
    settings.workers = job.workers;
    if (settings.width == 0 || settings.height == 0)
    {
        std::vector<wxSize> sizes;
        for (std::size_t input = 0; input < frames.sizes.size(); ++input)
            for (const wxSize& size : frames.sizes[input])
                sizes.push_back(OrientedSize(
                    CropRectFor(shaped.crop, size).GetSize(),
                    input < shaped.orientations.size() ? shaped.orientations[input] : 0));
        const wxSize size = ChooseCanvasSize(sizes);
        settings.width = size.x;
        settings.height = size.y;
    }

    // A size limit renders the frames more than once, each time from a
    // source of its own; the last one tells what went wrong.
    std::vector<std::unique_ptr<RenderSource>> sources;
    auto makeSource = [&]() -> std::unique_ptr<ExportSource>
    {
        sources.push_back(std::make_unique<RenderSource>(shaped, frames));
        return std::make_unique<ForwardingSource>(*sources.back());
    };
    const bool limited = settings.options.format == ExportFormat::Gif &&
                         settings.options.optimised && settings.options.maxBytes > 0;
    if (estimate)
    {
        *estimate =
            EstimateGifBytes(*makeSource(), settings.width, settings.height, {settings.options})[0];
        result.ok = *estimate > 0;
        if (!result.ok)
            result.error = wxString::Format(_("Cannot write %s: %s"), outputName,
                                            _("the size cannot be estimated"));
    }
    else if (toStandardOutput)
    {
        wxFFileOutputStream out(stdout);
        result = limited ? ExportGifWithinSize(makeSource, outputName, settings, progress,
                                               CancelCheck(), &out)
                         : ExportAnimationToStream(*makeSource(), out, outputName, settings,
                                                   progress);
        std::fflush(stdout);
    }
    else
    {
        result = limited ? ExportGifWithinSize(makeSource, job.output, settings, progress)
                         : ExportAnimation(*makeSource(), job.output, settings, progress);
    }
    const RenderSource& source = *sources.back();
    const wxArrayString changes = result.warnings;
    result.warnings = source.Damaged().Describe();
    WX_APPEND_ARRAY(result.warnings, changes);
    if (!result.ok && !source.Refusal().empty())
        result.error = source.Refusal();
    else if (!result.ok && source.FoundUnreadable())
        result.error = UnreadableMessage(job, UndecodableFrom(shaped, source.FirstUnreadable()));
    return result;
}
