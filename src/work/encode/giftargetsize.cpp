#include "encode/giftargetsize.h"

#include "encode/gifsizeestimate.h"
#include "files/atomicfileoutput.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace
{
// The first file encoded aims this far under the limit, for the estimate
// may be off by a few percent either way.
const double kFirstAim = 0.92;
// The second aims this far under, after correcting the estimates by how far
// the first was off.
const double kSecondAim = 0.96;
const int kMaxDelay = 65535;
// How many frames the quicker estimates of the search encode, and how many
// stretches the estimates of fewer or smaller frames are made of.
const int kSearchFrames = 6;
const int kSearchStretches = 12;
// Fewer or smaller frames shrink the file at best this much more than in
// proportion (fewer frames change more each, smaller ones hold less detail).
const double kBestShrinking = 0.3;

// One way of making the GIF: options, how many frames become one, and the
// output size in percent.
struct Step
{
    GifOptions options;
    int keep = 1;
    int percent = 100;
    std::uint64_t estimate = 0;  // 0: not estimated yet
    bool SameFrames(const Step& other) const
    {
        return keep == other.keep && percent == other.percent;
    }
};

// Each step gives up a little more than the one before it: dithering, then
// exact codes, then colours; then the same again with every other frame
// dropped, and last at smaller output sizes.
std::vector<Step> Ladder(const GifOptions& options)
{
    std::vector<GifOptions> milder;
    GifOptions step = options;
    step.optimised = true;
    milder.push_back(step);
    if (step.dither != GifDither::None)
    {
        step.dither = GifDither::None;
        milder.push_back(step);
    }
    for (int lossy : {30, 50, 70})
        if (step.lossy < lossy)
        {
            step.lossy = lossy;
            milder.push_back(step);
        }
    for (int colours : {160, 112, 80, 56, 32})
        if (step.colours > colours)
        {
            step.colours = colours;
            step.lossy = std::max(step.lossy, 80);
            milder.push_back(step);
        }
    std::vector<Step> steps;
    for (const auto& [keep, percent] : {std::pair{1, 100}, {2, 100}, {2, 75}, {2, 50}})
        for (const GifOptions& stepOptions : milder)
        {
            Step next;
            next.options = stepOptions;
            next.keep = keep;
            next.percent = percent;
            steps.push_back(next);
        }
    return steps;
}

int Scaled(int side, int percent)
{
    return std::max(1, int((std::int64_t(side) * percent + 50) / 100));
}

// Every keep pictures of another source as one, showing for their time together.
class FrameDroppingSource : public ExportSource
{
public:
    FrameDroppingSource(std::unique_ptr<ExportSource> inner, int keep)
        : m_inner(std::move(inner)), m_keep(keep)
    {
    }

    Result Next(SourcePicture& picture, wxString& error) override
    {
        const Result result = m_inner->Next(picture, error);
        if (result != Result::Picture)
            return result;
        for (int i = 1; i < m_keep; ++i)
        {
            SourcePicture dropped;
            const Result next = m_inner->Next(dropped, error);
            if (next == Result::End)
                break;
            if (next == Result::Failed)
                return next;
            picture.delay = std::min(kMaxDelay, picture.delay + dropped.delay);
        }
        return Result::Picture;
    }

    int Count() const override
    {
        const int count = m_inner->Count();
        return count < 0 ? count : (count + m_keep - 1) / m_keep;
    }

    void Sample(int count, std::vector<SourcePicture>& samples) override
    {
        m_inner->Sample(count, samples);
    }

private:
    std::unique_ptr<ExportSource> m_inner;
    int m_keep;
};

std::unique_ptr<ExportSource> MakeSource(const ExportSourceMaker& makeSource, const Step& step)
{
    std::unique_ptr<ExportSource> source = makeSource();
    if (step.keep > 1)
        source = std::make_unique<FrameDroppingSource>(std::move(source), step.keep);
    return source;
}

// What a step changed from the options, for the user.
wxString DescribeChanges(const Step& step, const GifOptions& options, int width, int height)
{
    wxArrayString changes;
    if (!options.optimised)
        changes.push_back(_("the optimised profile"));
    if (step.options.dither != options.dither)
        changes.push_back(_("no dithering"));
    if (step.options.lossy != options.lossy)
        changes.push_back(wxString::Format(_("lossy compression %d"), step.options.lossy));
    if (step.options.colours != options.colours)
        changes.push_back(wxString::Format(_("%d colours"), step.options.colours));
    if (step.keep > 1)
        changes.push_back(_("every other frame dropped, its time added to the one before"));
    if (step.percent != 100)
        changes.push_back(wxString::Format(_("output size %d x %d"), Scaled(width, step.percent),
                                           Scaled(height, step.percent)));
    wxString list;
    for (const wxString& change : changes)
        list += (list.empty() ? wxString() : wxString(wxS(", "))) + change;
    return wxString::Format(_("To keep the file under %s: %s."), DescribeByteSize(options.maxBytes),
                            list);
}
}  // namespace

wxString DescribeByteSize(std::uint64_t bytes)
{
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0)
        return wxString::Format(wxS("%llu MB"), static_cast<unsigned long long>(bytes >> 20));
    if (bytes >= 1024 && bytes % 1024 == 0)
        return wxString::Format(wxS("%llu KB"), static_cast<unsigned long long>(bytes >> 10));
    return wxFileName::GetHumanReadableSize(wxULongLong(bytes), wxString(), 1);
}

GifExportResult ExportGifWithinSize(const ExportSourceMaker& makeSource, const wxString& path,
                                    const GifExportSettings& settings,
                                    const ExportProgress& progress, const CancelCheck& cancelled,
                                    wxOutputStream* out)
{
    GifExportResult result;
    const std::uint64_t limit = settings.options.maxBytes;
    auto cannotWrite = [&](const wxString& reason)
    {
        result.error = wxString::Format(_("Cannot write %s: %s"), path, reason);
        return result;
    };
    auto wasCancelled = [&]
    {
        result.error = wxString::Format(_("Saving %s was cancelled."), path);
        return result;
    };
    const wxString badSize = CheckGifSize(settings.width, settings.height);
    if (!badSize.empty())
        return cannotWrite(badSize);

    std::vector<Step> steps = Ladder(settings.options);
    auto settingsOf = [&](const Step& step)
    {
        GifExportSettings stepSettings = settings;
        stepSettings.options = step.options;
        stepSettings.width = Scaled(settings.width, step.percent);
        stepSettings.height = Scaled(settings.height, step.percent);
        return stepSettings;
    };
    // The first step of each run of steps with the same frames is estimated
    // in full; the others of its run, together, by the frames that count
    // most in that estimate.
    std::vector<GifEstimatePlan> plans(steps.size());
    auto estimate = [&](std::size_t at) -> bool
    {
        std::size_t first = at;
        while (first > 0 && steps[first - 1].SameFrames(steps[at]))
            --first;
        const GifExportSettings stepSettings = settingsOf(steps[first]);
        // Fewer or smaller frames that cannot fit even at best are not tried.
        std::size_t lastAsIs = 0;
        while (lastAsIs + 1 < steps.size() && steps[lastAsIs + 1].SameFrames(steps[0]))
            ++lastAsIs;
        const Step& strongest = steps[lastAsIs];
        if (first > lastAsIs && steps[first].estimate == 0 && strongest.estimate > 1)
        {
            const double shrink =
                steps[first].keep * steps[first].percent * steps[first].percent / 10000.0;
            if (double(strongest.estimate) * kBestShrinking / shrink > double(limit))
            {
                for (std::size_t i = first; i < steps.size() && steps[i].SameFrames(steps[first]);
                     ++i)
                    steps[i].estimate = std::numeric_limits<std::uint64_t>::max() / 2;
                return true;
            }
        }
        if (steps[first].estimate == 0)
        {
            const std::unique_ptr<ExportSource> source = MakeSource(makeSource, steps[first]);
            const std::uint64_t bytes = EstimateGifBytes(
                *source, stepSettings.width, stepSettings.height, {steps[first].options}, cancelled,
                &plans[first], first == 0 ? kEstimateSamples : kSearchStretches)[0];
            // A source that cannot be estimated fails again, with its reason, when encoded.
            steps[first].estimate = bytes > 0 ? bytes : 1;
        }
        std::vector<std::size_t> group;
        std::vector<GifOptions> candidates;
        for (std::size_t i = first + 1; i < steps.size() && steps[i].SameFrames(steps[first]); ++i)
            if (steps[i].estimate == 0)
            {
                group.push_back(i);
                candidates.push_back(steps[i].options);
            }
        if (at != first && !group.empty())
        {
            const std::unique_ptr<ExportSource> source = MakeSource(makeSource, steps[first]);
            const std::vector<std::uint64_t> bytes =
                EstimateGifBytesLike(*source, stepSettings.width, stepSettings.height, candidates,
                                     plans[first], kSearchFrames, cancelled);
            for (std::size_t k = 0; k < group.size(); ++k)
                steps[group[k]].estimate = bytes[k] > 0 ? bytes[k] : 1;
        }
        return !(cancelled && cancelled());
    };
    // The first step from first on whose estimate, scaled by correction, is
    // at most aim; steps.size() when none is.
    auto firstFitting = [&](std::size_t first, double correction, double aim) -> std::size_t
    {
        for (std::size_t i = first; i < steps.size(); ++i)
        {
            if (steps[i].estimate == 0 && !estimate(i))
                return std::numeric_limits<std::size_t>::max();
            if (double(steps[i].estimate) * correction <= aim * double(limit))
                return i;
        }
        return steps.size();
    };

    std::size_t chosen = firstFitting(0, 1.0, kFirstAim);
    std::uint64_t smallest = limit + 1;
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        if (chosen == std::numeric_limits<std::size_t>::max())
            return wasCancelled();
        if (chosen == steps.size())
            break;
        const Step& step = steps[chosen];
        wxMemoryOutputStream memory;
        const std::unique_ptr<ExportSource> source = MakeSource(makeSource, step);
        const GifStreamResult written = WriteGifStream(
            *source, settingsOf(step), memory, progress,
            [&]
            { return (cancelled && cancelled()) || std::uint64_t(memory.GetLength()) > limit; });
        if (cancelled && cancelled())
            return wasCancelled();
        if (written.outcome == GifStreamResult::Outcome::Failed)
            return cannotWrite(written.reason.empty() ? wxString(_("there is not enough memory"))
                                                      : written.reason);
        const std::uint64_t size = memory.GetLength();
        if (written.outcome == GifStreamResult::Outcome::Written && size <= limit)
        {
            const wxStreamBuffer* buffer = memory.GetOutputStreamBuffer();
            if (out)
            {
                out->Write(buffer->GetBufferStart(), size);
                if (out->LastWrite() != size)
                    return cannotWrite(_("the output could not be written"));
            }
            else
            {
                AtomicFileOutputStream file(path);
                file.Write(buffer->GetBufferStart(), size);
                if (!file.IsOk() || !file.Commit())
                {
                    file.Discard();
                    return cannotWrite(wxSysErrorMsgStr(file.GetErrno()));
                }
            }
            result.ok = true;
            if (chosen > 0)
                result.warnings.push_back(
                    DescribeChanges(step, settings.options, settings.width, settings.height));
            return result;
        }
        // Larger than its estimate said, or stopped once past the limit:
        // the later steps are judged by how far this one was off.
        smallest = std::max(smallest, size);
        const double correction = double(std::max(size, limit + 1)) / double(step.estimate);
        chosen = firstFitting(chosen + 1, std::max(correction, 1.0), kSecondAim);
    }
    // Files stopped once past the limit tell only that they did not fit.
    std::uint64_t least = std::numeric_limits<std::uint64_t>::max();
    for (const Step& step : steps)
        if (step.estimate > 1 && step.estimate < std::numeric_limits<std::uint64_t>::max() / 2)
            least = std::min(least, step.estimate);
    if (least == std::numeric_limits<std::uint64_t>::max())
        least = smallest;
    return cannotWrite(wxString::Format(
        _("nothing reasonable fits under %s: the smallest GIF tried takes about %s"),
        DescribeByteSize(limit), DescribeByteSize(least)));
}
