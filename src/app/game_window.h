// The one game window: full screen 640 x 480 (or windowed if the player accepts that after the
// display refused the mode), full screen at the desktop's size, or a window of any size; and
// its GL context, set up with the projection and GL state of view/projection.h.
#pragma once

#include "view/projection.h"

struct GameWindow {
    bool window = false;         // the window exists
    bool renderContext = false;  // the GL context exists
    bool fullScreen = false;     // started full screen; left on destroy
};

enum class FullScreenKind {
    None,     // a window
    Mode,     // switch the display to the window's size (asks first when refused)
    Desktop,  // the desktop's own resolution, no mode switch
};

extern GameWindow gameWindow;

// Opens the window and makes its GL context current. A failure releases what was made and
// ends the program through fatalError. Where the display only pretends to switch modes
// (native Wayland), a mode switch becomes desktop full screen.
void createGameWindow(const char* title, int width, int height, int bits, FullScreenKind kind);

// Safe at any stage of a half-built window and more than once.
void destroyGameWindow();
