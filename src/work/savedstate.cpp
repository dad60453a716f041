#include "work/savedstate.h"

#include "work/framelist.h"

SavedState SavedState::Of(const FrameList& frames, int delay, int width, int height)
{
    return SavedState{frames.GetNames(), frames.GetOwnDelays(), delay, width, height};
}
