// The projection every frame starts from and the fixed GL state every draw relies on. Set once
// when the window opens and again, for the projection, whenever its client area changes size.
#pragma once

constexpr int windowWidth = 640;
constexpr int windowHeight = 480;

// Viewport and projection for a client area; a height of 0 (minimised) counts as 1.
void resizeView(int width, int height);

// The GL state every draw starts from: additive blending, no depth test, one directional
// light fixed to the viewer, colour material, linear fog from 500 to 1000.
void initGlState();
