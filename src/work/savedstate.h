#ifndef LOOPFORGE_WORK_SAVEDSTATE_H
#define LOOPFORGE_WORK_SAVEDSTATE_H

#include <wx/arrstr.h>

#include <vector>

class FrameList;

// What the work was when a file (the GIF, the project) was last written, so
// that any change since is noticed: the frames (order, source names, own
// delays), the animation's delay and the output size.
struct SavedState
{
    wxArrayString names;
    std::vector<int> ownDelays;
    int delay = 0;
    int width = 0;
    int height = 0;

    static SavedState Of(const FrameList& frames, int delay, int width, int height);

    bool operator==(const SavedState& other) const
    {
        return names == other.names && ownDelays == other.ownDelays && delay == other.delay &&
               width == other.width && height == other.height;
    }
    bool operator!=(const SavedState& other) const { return !(*this == other); }
};

#endif
