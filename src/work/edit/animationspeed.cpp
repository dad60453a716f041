#include "edit/animationspeed.h"

#include "edit/edithistory.h"

#include <algorithm>

int ScaleDelay(int delay, int percent)
{
    if (percent <= 0)
        return delay;
    const long long scaled = (static_cast<long long>(delay) * 200 + percent) / (2LL * percent);
    return int(std::clamp<long long>(scaled, kMinSpeedDelay, kMaxFrameDelay));
}

bool ChangeSpeed(EditState& state, const std::vector<int>& indices, int percent)
{
    FrameList& frames = state.frames;
    if (frames.IsEmpty() || percent <= 0)
        return false;
    std::vector<int> chosen;
    for (int index : indices)
        if (index >= 0 && index < frames.GetCount())
            chosen.push_back(index);
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());

    bool changed = false;
    const bool everyFrame = chosen.empty() || int(chosen.size()) == frames.GetCount();
    if (everyFrame)
    {
        const int delay = ScaleDelay(state.delay, percent);
        changed = delay != state.delay;
        state.delay = delay;
        for (int i = 0; i < frames.GetCount(); ++i)
            if (frames.Get(i).delay > 0)
                changed = frames.SetOwnDelay({i}, ScaleDelay(frames.Get(i).delay, percent)) ||
                          changed;
        return changed;
    }
    for (int index : chosen)
        changed = frames.SetOwnDelay({index}, ScaleDelay(frames.GetDelay(index, state.delay),
                                                         percent)) ||
                  changed;
    return changed;
}
