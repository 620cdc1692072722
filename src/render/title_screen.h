// The mouse-driven title screen shown before the game: the main page (start, quit, help,
// options), the help page and the options page with the stereo choices.
#pragma once

#include <cstdint>

#include "render/title_layout.h"

// Strictly inside: a click on the rectangle's edge pixel misses.
bool pointInRect(int32_t x, int32_t y, const MenuRect& rect);

extern float titleFade;   // alpha of everything on the title; runs down for a second after start
extern bool startChosen;  // start was clicked: the fade-out runs
extern bool helpPage;     // help wins over options when both are set
extern bool optionsPage;

// Draws the current page once, into all colour channels.
void drawTitle();

// Reads the mouse and Enter, moves between pages and runs the start fade.
void updateTitle();

// The colour the game's first frame starts from: white, fully transparent. The title leaves
// (1, 1, 1, titleFade) current, and the backdrop, which sets no colour of its own, would
// otherwise flash at that brightness in the first frame, before the director's fade-in.
void leaveTitle();
