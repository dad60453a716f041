#ifndef LOOPFORGE_WORK_ANIMATIONSPEED_H
#define LOOPFORGE_WORK_ANIMATIONSPEED_H

#include <vector>

struct EditState;

// Browsers show a GIF delay below this many hundredths slower, not faster,
// so a change of speed never goes below it.
const int kMinSpeedDelay = 2;

// A delay played at percent of its speed (200: twice as fast), rounded to
// the nearest hundredth and kept within kMinSpeedDelay and 65535.
int ScaleDelay(int delay, int percent);

// Plays the frames at the indices at percent of their speed. When they are
// all the frames (or indices is empty), the animation's delay and the own
// delays change; otherwise each of those frames gets its new delay as its
// own. False when nothing changed.
bool ChangeSpeed(EditState& state, const std::vector<int>& indices, int percent);

#endif
