#ifndef LOOPFORGE_WORK_SAVEDSTATE_H
#define LOOPFORGE_WORK_SAVEDSTATE_H

#include "encode/gifoptions.h"
#include "encode/picturecrop.h"
#include "project/projectfile.h"

#include <wx/arrstr.h>

#include <memory>
#include <vector>

class FrameList;
struct FrameSource;

// What the work was when a file (the GIF, the project) was last written, so
// that any change since is noticed: the frames (order, source names, own
// delays, orientations, captions), the animation's delay, the output size and
// how the GIF is written.
struct SavedState
{
    wxArrayString names;
    std::vector<int> ownDelays;
    int delay = 0;
    int width = 0;
    int height = 0;
    GifOptions gifOptions;
    // The decoded pictures, which a GIF is made of: a file changed on disk
    // and added again has the same name but another picture. Held weakly, so
    // a state keeps no picture alive; empty for a state read from a project.
    std::vector<std::weak_ptr<const FrameSource>> pictures;
    // The frames' orientations; none or all 0 when every frame is upright.
    std::vector<int> orientations;
    CropArea crop = CropArea();  // the part of the frames kept
    // The captions and the frames they show on, as a project stores them.
    std::vector<ProjectCaption> captions;

    // The captions of the frames as a project stores them, in drawing order.
    static std::vector<ProjectCaption> CaptionsOf(const FrameList& frames);

    static SavedState Of(const FrameList& frames, int delay, int width, int height,
                         const GifOptions& gifOptions);

    // The same frames by name, own delays and settings: the same project.
    bool SameWork(const SavedState& other) const;
    // The same work made of the very same pictures: the same GIF.
    bool SamePictures(const SavedState& other) const;
};

#endif
