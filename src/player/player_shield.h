// The ship's shield: a glowing open box in front of the cockpit whose strength absorbs whole
// hits. After every (re)spawn it starts full and fades out over two seconds.
#pragma once

#include "common/vec3.h"

constexpr float fullShieldStrength = 60.0f;

struct PlayerShield {
    // 60 when full. Drawn while above 0; absorbs hits while its integer part is above 0.
    float strength = fullShieldStrength;
    Vec3 position;  // where it sits in the ship's frame
    // A truncated pyramid opening towards the eyes: back square 40 x 40 at x = 0, front cap
    // 30 x 30 at x = -15.
    Vec3 vertices[8] = {{0, -20, 20},   {0, 20, 20},   {0, 20, -20},   {0, -20, -20},
                        {-15, -15, 15}, {-15, 15, 15}, {-15, 15, -15}, {-15, -15, -15}};
    float fadeTime = 0.0f;  // seconds left of the spawn-shield fade; while above 0 it sets strength

    void setStrength(int n) { strength = static_cast<float>(n); }
    // The shield takes the whole hit; what it cannot hold is lost, not passed on.
    void absorb(float amount) {
        strength -= amount;
        if (strength < 0.0f) strength = 0.0f;
    }
    // The spawn shield runs from 60 down to 0 as its fade time runs out.
    void updateFade();
    // Whole hits are absorbed only while the integer part is above 0.
    bool holds() const { return static_cast<int>(strength) > 0; }

    // The frustum itself; the ship sets up its frame and the spinning texture matrix around it.
    void draw() const;
};
