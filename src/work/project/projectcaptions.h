#ifndef LOOPFORGE_WORK_PROJECTCAPTIONS_H
#define LOOPFORGE_WORK_PROJECTCAPTIONS_H

#include "project/projectfile.h"

class FrameList;

// The captions of a project being opened, kept until its frames arrived.
struct PendingProjectCaptions
{
    std::vector<ProjectCaption> captions;
    wxArrayString frames;  // the project's frame names
};

// Puts a project's captions on the frames imported from it. The frames are
// matched to the project's frame names in order, so a picture that did not
// arrive takes its captions with it and the others keep theirs.
void ApplyProjectCaptions(const std::vector<ProjectCaption>& captions,
                          const wxArrayString& projectFrames, FrameList& frames);

#endif
