// The one game window: full screen 640 x 480 (or windowed if the player accepts that after the
// display refused the mode), full screen at the desktop's size, or a window of any size; its
// GL context, the projection and the fixed GL state every draw relies on.
#pragma once

#include <cstdint>

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
// The client area in pixels: the 640 x 480 the window opens with, then whatever the window
// manager or full screen makes of it.
extern int windowWidth;
extern int windowHeight;

// Where the picture sits in the client area, in pixels from its top-left corner. It fills the
// window at any shape from 4:3 to 16:9, the view widening with the window; a narrower window
// gets black bars above and below and a wider one at the sides.
struct PictureRect {
    int left, top, width, height;
};
extern PictureRect picture;

// Opens the window and makes its GL context current. A failure releases what was made and
// ends the program through fatalError. Where the display only pretends to switch modes
// (native Wayland), a mode switch becomes desktop full screen.
void createGameWindow(const char* title, int width, int height, int bits, FullScreenKind kind);

// Safe at any stage of a half-built window and more than once.
void destroyGameWindow();

// Viewport and projection for a client area; a height of 0 (minimised) counts as 1.
void resizeView(int width, int height);

// Calls resizeView when the window's drawing surface has changed size since the last call;
// the loops call it before each frame, so no message is needed (and a replay keeps the
// player's window size, not the recorded one).
void followWindowSize();

// A point of the client area in the pixels of the 640 x 480 page the title's buttons are laid
// out in: the page is drawn at the picture's height, centred in it.
void windowToPage(int32_t x, int32_t y, int32_t& pageX, int32_t& pageY);

// The GL state every draw starts from: additive blending, no depth test, one directional
// light fixed to the viewer, colour material, linear fog from 500 to 1000.
void initGlState();
