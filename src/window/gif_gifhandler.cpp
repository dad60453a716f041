#include "window/gif_gifhandler.h"
