#include "edit/framelist.h"

#include <algorithm>

StripFrame MakeStripFrame(wxImage picture, const wxString& path, int frameIndex, int delay)
{
    auto source = std::make_shared<FrameSource>();
    source->picture = std::move(picture);
    source->name =
        path.EndsWith(wxS(".gif")) ? path + wxString::Format(wxS("_%d"), frameIndex) : path;
    source->frameIndex = frameIndex;
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

wxArrayString FrameList::GetNames() const
{
    wxArrayString names;
    names.reserve(m_frames.size());
    for (const StripFrame& frame : m_frames)
        names.push_back(frame.source->name);
    return names;
}

std::vector<int> FrameList::GetOwnDelays() const
{
    std::vector<int> delays;
    delays.reserve(m_frames.size());
    for (const StripFrame& frame : m_frames)
        delays.push_back(frame.delay);
    return delays;
}

std::vector<wxSize> FrameList::GetSizes() const
{
    std::vector<wxSize> sizes;
    sizes.reserve(m_frames.size());
    for (const StripFrame& frame : m_frames)
        sizes.push_back(frame.source->picture.IsOk() ? frame.source->picture.GetSize()
                                                     : wxSize(0, 0));
    return sizes;
}

std::vector<ExportFrame> FrameList::GetExportFrames(int defaultDelay) const
{
    std::vector<ExportFrame> frames;
    frames.reserve(m_frames.size());
    const FrameCaptions order = GetCaptions();
    for (int i = 0; i < GetCount(); ++i)
        frames.emplace_back(&Get(i).source->picture, GetDelay(i, defaultDelay),
                            InDrawingOrder(Get(i).captions, order));
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
