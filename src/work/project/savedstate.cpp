#include "project/savedstate.h"

#include "edit/framelist.h"

#include <algorithm>

std::vector<ProjectCaption> SavedState::CaptionsOf(const FrameList& frames)
{
    std::vector<ProjectCaption> captions;
    for (const CaptionRef& caption : frames.GetCaptions())
        captions.push_back({*caption, frames.GetCaptionFrames(caption)});
    return captions;
}

SavedState SavedState::Of(const FrameList& frames, int delay, int width, int height,
                          const GifOptions& gifOptions)
{
    SavedState state{
        frames.GetNames(), frames.GetOwnDelays(), delay, width, height, gifOptions, {},
        frames.GetOrientations(), CropArea(), {}};
    state.captions = CaptionsOf(frames);
    for (const StripFrame& frame : frames.GetFrames())
        state.pictures.push_back(frame.source);
    return state;
}

namespace
{
bool SameOrientations(std::vector<int> a, std::vector<int> b)
{
    const size_t count = std::max(a.size(), b.size());
    a.resize(count, 0);
    b.resize(count, 0);
    return a == b;
}
}  // namespace

bool SavedState::SameWork(const SavedState& other) const
{
    return SameOrientations(orientations, other.orientations) && crop == other.crop &&
           names == other.names && ownDelays == other.ownDelays && delay == other.delay &&
           width == other.width && height == other.height && gifOptions == other.gifOptions &&
           captions == other.captions;
}

bool SavedState::SamePictures(const SavedState& other) const
{
    if (!SameWork(other) || pictures.size() != other.pictures.size())
        return false;
    for (size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].owner_before(other.pictures[i]) ||
            other.pictures[i].owner_before(pictures[i]))
            return false;
    return true;
}
