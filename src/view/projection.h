// The projection every frame starts from and the fixed GL state every draw relies on. Set once
// when the window opens and again, for the projection, whenever its client area changes size.
#pragma once

#include <cstdint>

// Where the picture sits in the client area, in pixels from its top-left corner. It fills the
// window at any shape from 4:3 to 16:9, the view widening with the window; a narrower window
// gets black bars above and below and a wider one at the sides.
struct PictureRect {
    int left, top, width, height;
};

// The client area in pixels (the 640 x 480 the window opens with, then whatever the window
// manager or full screen makes of it) and the picture's place in it.
struct WindowView {
    int width = 640;
    int height = 480;
    PictureRect picture{0, 0, 640, 480};
};
extern WindowView windowView;

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
