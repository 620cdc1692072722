// The mouse-driven title screen shown before the game: the main page (start, quit, help,
// options), the help page and the options page with the stereo choices.
#pragma once

#include <cstdint>

#include "assets/title_layout.h"

// Strictly inside: a click on the rectangle's edge pixel misses.
bool pointInRect(int32_t x, int32_t y, const MenuRect& rect);

struct TitleState {
    // Alpha of everything on the title; runs down for a second after start.
    float fade = 1.0f;
    bool startChosen = false;  // start was clicked: the fade-out runs
    bool helpPage = false;     // help wins over options when both are set
    bool optionsPage = false;
};

extern TitleState titleScreen;

// Draws the current page once, into all colour channels.
void drawTitle();

// What the title reads each frame, handed in by the title loop.
struct TitleInput {
    float seconds = 0.0f;  // how long the frame took
    bool leftButtonDown = false;
    int32_t clickX = 0;  // where the held button went down, in the 640 x 480 page's pixels
    int32_t clickY = 0;
    bool enterDown = false;
};

// Moves between pages on clicks, runs the start fade, and sets shared.titleFinished (start or
// Enter) or shared.quitRequested (quit).
void updateTitle(const TitleInput& input);

// The colour the game's first frame starts from: white, fully transparent. The title leaves
// (1, 1, 1, titleScreen.fade) current, and the backdrop, which sets no colour of its own, would
// otherwise flash at that brightness in the first frame, before the director's fade-in.
void leaveTitle();
