#ifndef LOOPFORGE_WORK_CANVASSIZE_H
#define LOOPFORGE_WORK_CANVASSIZE_H

#include <wx/gdicmn.h>

#include <vector>

// The output size chosen from the frames' sizes in strip order: the size of
// the last frame that was wider, or else higher, than the size chosen before
// it. It is deliberately not the largest width and height taken separately.
wxSize ChooseCanvasSize(const std::vector<wxSize>& frameSizes);

#endif
