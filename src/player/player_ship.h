// The player's ship: the parts of it the view is built from. Its location in the world
// is the negation of `position`; everything else flies past it.
#pragma once

#include "common/vec3.h"

struct PlayerShip {
    Vec3 position;
    Vec3 cameraOffset;  // where the camera sits relative to the ship; home is (0, 0, 0)
    Vec3 shakeOffset;   // y and z of the hit shake
    float bank = 0.0f;  // roll of the view about the viewing axis, degrees

    void setCameraOffset(float x, float y, float z) { cameraOffset = {x, y, z}; }
};

extern PlayerShip player;
