#ifndef LOOPFORGE_WORK_CANCELCHECK_H
#define LOOPFORGE_WORK_CANCELCHECK_H

#include <functional>

// Asked between units of work (a GIF frame, a picture); true stops the work.
using CancelCheck = std::function<bool()>;

#endif
