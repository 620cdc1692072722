// The one game window: full screen 640 x 480 (or windowed if the player accepts that after the
// display refused the mode), its GL context, the projection and the fixed GL state every draw
// relies on.
#pragma once

struct GameWindow {
    bool window = false;         // the window exists
    bool renderContext = false;  // the GL context exists
    bool fullScreen = false;     // the display mode was changed; restored on destroy
};

extern GameWindow gameWindow;
extern int windowWidth;   // 640
extern int windowHeight;  // 480

// Opens the window and makes its GL context current. A failure releases what was made and
// ends the program through fatalError.
void createGameWindow(const char* title, int width, int height, int bits, bool fullScreenWanted);

// Safe at any stage of a half-built window and more than once.
void destroyGameWindow();

// Viewport and projection for a client area; a height of 0 (minimised) counts as 1.
void resizeView(int width, int height);

// The GL state every draw starts from: additive blending, no depth test, one directional
// light fixed to the viewer, colour material, linear fog from 500 to 1000.
void initGlState();
