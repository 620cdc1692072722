// The head every shot owner begins with (the player's cannons and launchers, the fighters'
// shots): the HUD element's active flag and position, then where the shot leaves from relative
// to that position and how fast it flies.
#pragma once

#include "common/hud_element.h"
#include "common/vec3.h"

struct ShotHead : HudElement {
    Vec3 muzzleOffset;
    float speed = 0.0f;

    void setMuzzleOffset(float x, float y, float z) { muzzleOffset = {x, y, z}; }
};
