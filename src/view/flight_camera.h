// The camera of the flight and the title: the eye 30 units behind the ship's origin, looking
// down the flight axis (-x) with y up. Both eyes of the stereo pair aim at the same point 380
// units ahead, so nearer objects stand out of the screen.
#pragma once

// Replaces the current matrix with the camera's view from an eye shifted eyeOffset along z
// (0 for the overlay pass and the title).
void loadFlightCamera(float eyeOffset = 0.0f);
