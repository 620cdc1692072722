// The one way the game gives up: a failure it cannot run past (a texture that will not load,
// sound that will not start, a window that cannot be made) ends here.
#pragma once

#include "platform/video.h"

// Shows the message box (also written to standard error), then shuts down as a normal end of
// the program does (shutDown: the window, which gives the desktop its display mode back, the
// sound, the joystick) and exits with status 1. Safe at any stage of start-up.
[[noreturn]] void fatalError(const char* text, const char* caption,
                             platform::BoxIcon icon = platform::BoxIcon::Warning);
