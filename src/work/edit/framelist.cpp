#include "edit/framelist.h"

#include "decode/framereference.h"
#include "edit/picturecache.h"

#include <algorithm>
#include <atomic>

namespace
{
std::atomic<std::uint64_t> g_nextKey{1};
}  // namespace

FrameSource::FrameSource() : key(g_nextKey++) {}

FrameSource::~FrameSource()
{
    PictureCache::Shared().Forget(key);
}

wxImage FrameSource::Picture() const
{
    PictureCache& cache = PictureCache::Shared();
    wxImage picture = cache.Find(key);
    if (!picture.IsOk() && stored.IsOk())
    {
        picture = stored.Load();
        cache.Put(key, picture);
    }
    return picture;
}

StripFrame MakeStripFrame(const wxImage& picture, const wxString& path, int frameIndex, int delay,
                          StoredPicture stored, VideoRangeRef video)
{
    auto source = std::make_shared<FrameSource>();
    source->stored = stored.IsOk() ? std::move(stored) : StoredPicture::Keep(picture);
    if (source->stored.IsOk())
        PictureCache::Shared().Put(source->key, picture);
    source->name =
        HasGifEnding(path) ? path + wxString::Format(wxS("_%d"), frameIndex) : path;
    source->frameIndex = frameIndex;
    source->video = std::move(video);
    StripFrame frame;
    frame.source = std::move(source);
    frame.delay = delay;
    return frame;
}

namespace
{
FrameCaptions InDrawingOrder(const FrameCaptions& captions, const FrameCaptions& order)
{
    FrameCaptions sorted;
    for (const CaptionRef& caption : order)
        if (std::find(captions.begin(), captions.end(), caption) != captions.end())
            sorted.push_back(caption);
    return sorted;
}
}  // namespace

int FrameList::GetDelay(int index, int defaultDelay) const
{
    const int own = Get(index).delay;
    return own > 0 ? own : defaultDelay;
}

std::vector<long long> FrameList::GetStartTimes(int defaultDelay) const
{
    std::vector<long long> starts;
    starts.reserve(m_frames.size());
    long long start = 0;
    for (int i = 0; i < GetCount(); ++i)
    {
        starts.push_back(start);
        start += GetDelay(i, defaultDelay);
    }
    return starts;
}

std::vector<int> FrameList::ValidIndices(const std::vector<int>& indices) const
{
    std::vector<int> valid;
    for (int index : indices)
        if (index >= 0 && index < GetCount())
            valid.push_back(index);
    std::sort(valid.begin(), valid.end());
    valid.erase(std::unique(valid.begin(), valid.end()), valid.end());
    return valid;
}

int FrameList::Insert(int pos, const std::vector<StripFrame>& frames)
{
    if (pos < 0 || pos > GetCount())
        pos = GetCount();
    m_frames.insert(m_frames.begin() + pos, frames.begin(), frames.end());
    return pos;
}

bool FrameList::Remove(const std::vector<int>& indices)
{
    const std::vector<int> valid = ValidIndices(indices);
    // From the back, so that no removal shifts an index still to come.
    for (auto it = valid.rbegin(); it != valid.rend(); ++it)
        m_frames.erase(m_frames.begin() + *it);
    return !valid.empty();
}

std::vector<int> FrameList::Move(const std::vector<int>& indices, int before)
{
    const std::vector<int> moving = ValidIndices(indices);
    if (moving.empty() || before < 0 || before > GetCount())
        return {};

    std::vector<StripFrame> taken;
    std::vector<StripFrame> rest;
    int target = before;
    for (int i = 0; i < GetCount(); ++i)
    {
        if (std::binary_search(moving.begin(), moving.end(), i))
        {
            taken.push_back(m_frames[size_t(i)]);
            if (i < before)
                --target;
        }
        else
            rest.push_back(m_frames[size_t(i)]);
    }
    std::vector<int> placed;
    for (int i = 0; i < int(taken.size()); ++i)
        placed.push_back(target + i);
    if (placed == moving)
        return {};
    rest.insert(rest.begin() + target, taken.begin(), taken.end());
    m_frames.swap(rest);
    return placed;
}

std::vector<int> FrameList::Shift(const std::vector<int>& indices, int step)
{
    std::vector<int> moving = ValidIndices(indices);
    if (moving.empty() || (step != -1 && step != 1))
        return {};

    std::vector<bool> selected(m_frames.size(), false);
    for (int index : moving)
        selected[size_t(index)] = true;
    bool moved = false;
    // The frame nearest the end it moves towards goes first, so a frame
    // blocked by the edge also blocks those queued behind it.
    const int count = GetCount();
    for (int k = 0; k < count; ++k)
    {
        const int i = step < 0 ? k : count - 1 - k;
        const int j = i + step;
        if (!selected[size_t(i)] || j < 0 || j >= count || selected[size_t(j)])
            continue;
        std::swap(m_frames[size_t(i)], m_frames[size_t(j)]);
        selected[size_t(i)] = false;
        selected[size_t(j)] = true;
        moved = true;
    }
    if (!moved)
        return {};
    std::vector<int> result;
    for (int i = 0; i < count; ++i)
        if (selected[size_t(i)])
            result.push_back(i);
    return result;
}

bool FrameList::SetOwnDelay(const std::vector<int>& indices, int delay)
{
    delay = delay <= 0 ? 0 : std::min(delay, kMaxFrameDelay);
    bool changed = false;
    for (int index : ValidIndices(indices))
    {
        StripFrame& frame = m_frames[size_t(index)];
        changed = changed || frame.delay != delay;
        frame.delay = delay;
    }
    return changed;
}

std::vector<StripFrame> FrameList::Copy(const std::vector<int>& indices) const
{
    std::vector<StripFrame> frames;
    for (int index : ValidIndices(indices))
        frames.push_back(m_frames[size_t(index)]);
    return frames;
}

std::vector<int> FrameList::Duplicate(const std::vector<int>& indices)
{
    const std::vector<int> valid = ValidIndices(indices);
    if (valid.empty())
        return {};
    std::vector<bool> selected(m_frames.size(), false);
    for (int index : valid)
        selected[size_t(index)] = true;

    std::vector<StripFrame> result;
    std::vector<int> copies;
    result.reserve(m_frames.size() + valid.size());
    int runStart = -1;
    for (int i = 0; i < GetCount(); ++i)
    {
        result.push_back(m_frames[size_t(i)]);
        if (!selected[size_t(i)])
            continue;
        if (runStart < 0)
            runStart = i;
        if (i + 1 < GetCount() && selected[size_t(i) + 1])
            continue;
        // The run ends here: its copies follow it.
        for (int k = runStart; k <= i; ++k)
        {
            copies.push_back(int(result.size()));
            result.push_back(m_frames[size_t(k)]);
        }
        runStart = -1;
    }
    m_frames.swap(result);
    return copies;
}

bool FrameList::Reverse(const std::vector<int>& indices)
{
    const std::vector<int> valid = ValidIndices(indices);
    if (valid.size() < 2)
        return false;
    for (size_t front = 0, back = valid.size() - 1; front < back; ++front, --back)
        std::swap(m_frames[size_t(valid[front])], m_frames[size_t(valid[back])]);
    return true;
}

bool FrameList::AppendReversed()
{
    const size_t count = m_frames.size();
    if (count < 3)
        return false;
    m_frames.reserve(2 * count - 2);
    for (size_t i = count - 2; i >= 1; --i)
        m_frames.push_back(m_frames[i]);
    return true;
}

bool FrameList::Orient(const std::vector<int>& indices, OrientationEdit edit)
{
    const std::vector<int> valid = ValidIndices(indices);
    for (int index : valid)
    {
        StripFrame& frame = m_frames[size_t(index)];
        frame.orientation = std::uint8_t(ComposeOrientation(frame.orientation, edit));
    }
    return !valid.empty();
}

wxArrayString FrameList::GetNames() const
{
    wxArrayString names;
    names.reserve(m_frames.size());
    for (const StripFrame& frame : m_frames)
        names.push_back(frame.source->name);
    return names;
}

std::vector<VideoEntry> FrameList::GetVideoEntries() const
{
    std::vector<VideoEntry> videos;
    for (size_t i = 0; i < m_frames.size(); ++i)
        if (const FrameSource& source = *m_frames[i].source; source.video)
        {
            videos.resize(m_frames.size());
            videos[i] = VideoEntry{source.video, source.frameIndex};
        }
    return videos;
}

std::vector<int> FrameList::GetOwnDelays() const
{
    std::vector<int> delays;
    delays.reserve(m_frames.size());
    for (const StripFrame& frame : m_frames)
        delays.push_back(frame.delay);
    return delays;
}

std::vector<int> FrameList::GetOrientations() const
{
    std::vector<int> orientations;
    orientations.reserve(m_frames.size());
    for (const StripFrame& frame : m_frames)
        orientations.push_back(frame.orientation);
    return orientations;
}

std::vector<wxSize> FrameList::GetSizes(const CropArea& crop) const
{
    std::vector<wxSize> sizes;
    sizes.reserve(m_frames.size());
    for (const StripFrame& frame : m_frames)
        sizes.push_back(frame.source->IsOk()
                            ? OrientedSize(CropRectFor(crop, frame.source->GetSize()).GetSize(),
                                           frame.orientation)
                            : wxSize(0, 0));
    return sizes;
}

std::vector<ExportFrame> FrameList::GetExportFrames(int defaultDelay, const CropArea& crop) const
{
    std::vector<ExportFrame> frames;
    frames.reserve(m_frames.size());
    const FrameCaptions order = GetCaptions();
    for (int i = 0; i < GetCount(); ++i)
    {
        const FrameSource& source = *Get(i).source;
        ExportFrame frame(nullptr, GetDelay(i, defaultDelay),
                          InDrawingOrder(Get(i).captions, order));
        frame.stored = source.stored;
        frame.orientation = Get(i).orientation;
        if (crop.IsSet() && source.IsOk())
            frame.crop = CropRectFor(crop, source.GetSize());
        frames.push_back(std::move(frame));
    }
    return frames;
}

FrameCaptions FrameList::GetCaptions() const
{
    FrameCaptions captions;
    for (const StripFrame& frame : m_frames)
        for (const CaptionRef& caption : frame.captions)
            if (std::find(captions.begin(), captions.end(), caption) == captions.end())
                captions.push_back(caption);
    return captions;
}

std::vector<int> FrameList::GetCaptionFrames(const CaptionRef& caption) const
{
    std::vector<int> indices;
    for (int i = 0; i < GetCount(); ++i)
    {
        const FrameCaptions& captions = Get(i).captions;
        if (std::find(captions.begin(), captions.end(), caption) != captions.end())
            indices.push_back(i);
    }
    return indices;
}

bool FrameList::AddCaption(const CaptionRef& caption, const std::vector<int>& indices)
{
    const std::vector<int> valid = ValidIndices(indices);
    if (!caption)
        return false;
    for (int index : valid)
        m_frames[size_t(index)].captions.push_back(caption);
    return !valid.empty();
}

bool FrameList::ReplaceCaption(const CaptionRef& caption, const CaptionRef& updated,
                               const std::vector<int>& indices)
{
    if (!caption || !updated)
        return false;
    const std::vector<int> valid = ValidIndices(indices);
    bool changed = false;
    for (int i = 0; i < GetCount(); ++i)
    {
        FrameCaptions& captions = m_frames[size_t(i)].captions;
        const auto found = std::find(captions.begin(), captions.end(), caption);
        const bool wanted = std::binary_search(valid.begin(), valid.end(), i);
        if (found != captions.end() && wanted)
        {
            changed = changed || *found != updated;
            *found = updated;
        }
        else if (found != captions.end())
        {
            captions.erase(found);
            changed = true;
        }
        else if (wanted)
        {
            captions.push_back(updated);
            changed = true;
        }
    }
    return changed;
}

bool FrameList::RemoveCaption(const CaptionRef& caption)
{
    bool removed = false;
    for (StripFrame& frame : m_frames)
    {
        const auto found = std::find(frame.captions.begin(), frame.captions.end(), caption);
        if (found == frame.captions.end())
            continue;
        frame.captions.erase(found);
        removed = true;
    }
    return removed;
}

FrameCaptions FrameList::GetFrameCaptions(int index) const
{
    if (index < 0 || index >= GetCount() || Get(index).captions.empty())
        return {};
    return InDrawingOrder(Get(index).captions, GetCaptions());
}
