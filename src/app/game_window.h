// The one game window: full screen 640 x 480 (or windowed if the player accepts that after the
// display refused the mode) and its GL context, set up with the projection and GL state of
// view/projection.h.
#pragma once

#include "view/projection.h"

struct GameWindow {
    bool window = false;         // the window exists
    bool renderContext = false;  // the GL context exists
    bool fullScreen = false;     // the display mode was changed; restored on destroy
};

extern GameWindow gameWindow;

// Opens the window and makes its GL context current. A failure releases what was made and
// ends the program through fatalError.
void createGameWindow(const char* title, int width, int height, int bits, bool fullScreenWanted);

// Safe at any stage of a half-built window and more than once.
void destroyGameWindow();
