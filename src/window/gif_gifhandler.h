#ifndef LOOPFORGE_WINDOW_GIF_GIFHANDLER_H
#define LOOPFORGE_WINDOW_GIF_GIFHANDLER_H

// TODO(engine): the animated GIF writer.

#endif
