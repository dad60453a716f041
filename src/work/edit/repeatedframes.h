#ifndef LOOPFORGE_WORK_REPEATEDFRAMES_H
#define LOOPFORGE_WORK_REPEATEDFRAMES_H

#include <vector>

class FrameList;
class wxImage;

// How much two pictures differ: the mean difference of their colour (and
// alpha, when either has one) channels over all pixels, 0 to 255. Pictures of
// different sizes differ by more than any limit (-1 is returned). Counting
// stops once the difference is sure to pass limit.
double PictureDifference(const wxImage& a, const wxImage& b, double limit);

// The frames, in strip order, that repeat the frame kept before them within
// tolerance. Only frames among scope (all when empty) next to each other are
// compared. A frame stays when the time it would add to the kept frame
// passes the longest delay a GIF holds.
std::vector<int> FindRepeatedFrames(const FrameList& list, int defaultDelay, double tolerance,
                                    const std::vector<int>& scope = {});

// Removes the frames found above and adds the time of each to the frame kept
// before it, so the animation lasts as long as before.
bool RemoveRepeatedFrames(FrameList& list, int defaultDelay, const std::vector<int>& repeated);

#endif
