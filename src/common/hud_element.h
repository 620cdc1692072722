// The head every HUD object (and every shot) begins with: an active flag, then a position.
#pragma once

#include "common/vec3.h"

struct HudElement {
    bool active = false;
    Vec3 position;

    // Nothing ever hides an element again once shown.
    void show() { active = true; }
    void setPosition(float x, float y, float z) { position = {x, y, z}; }
};
