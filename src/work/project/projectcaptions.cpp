#include "project/projectcaptions.h"

#include "edit/framelist.h"

void ApplyProjectCaptions(const std::vector<ProjectCaption>& captions,
                          const wxArrayString& projectFrames, FrameList& frames)
{
    // The strip index of each project frame; -1 for one that did not arrive.
    std::vector<int> placed(projectFrames.size(), -1);
    int next = 0;
    for (size_t i = 0; i < projectFrames.size() && next < frames.GetCount(); ++i)
        if (frames.Get(next).source->name == projectFrames[i])
            placed[i] = next++;
    for (const ProjectCaption& stored : captions)
    {
        std::vector<int> indices;
        for (int frame : stored.frames)
            if (frame >= 0 && size_t(frame) < placed.size() && placed[size_t(frame)] >= 0)
                indices.push_back(placed[size_t(frame)]);
        frames.AddCaption(std::make_shared<const Caption>(stored.caption), indices);
    }
}
