// The player's guns: four beam cannons, each with one fast beam at a time, and two missile
// launchers with five slow missiles each. Nothing is allocated: every shot lives inside its
// weapon for the whole run. All shots fly along -x, away from the cockpit, and ask each frame
// what they hit (shot_targets.h); the target's own takeDamage does the rest.
#pragma once

#include <cstdint>

#include "common/shot_head.h"
#include "common/vec3.h"

// A textured 8 x 8 square facing the cameras that flies in a straight line.
struct Missile {
    Vec3 position;   // centre
    Vec3 direction;  // not normalised: the four spread directions are a fraction faster
    float speed = 1000.0f;
    float damage = 10.0f;  // handed on truncated to an integer
    float alpha = 0.7f;
    Vec3 corners[4] = {{0, 4, 4}, {0, 4, -4}, {0, -4, -4}, {0, -4, 4}};
    bool active = false;  // in flight
    float radius = 4.0f;  // for the sphere test against targets

    void setSpeed(float s) { speed = s; }
    void setDirection(float x, float y, float z) { direction = {x, y, z}; }
    // Flight and hits; leaves flight on any hit or once past x = -1000.
    void update();
    void draw() const;
};

// `position` is the beam's base point (the ship's location at firing), the tip is the base
// plus the muzzle offset; `speed` is the beam speed.
struct PlayerCannon : ShotHead {
    uint32_t level = 0;  // power level 0..5: damage level + 1, texture strip, firing sound
    uint32_t maxLevel = 5;
    float alpha = 0.0f;

    PlayerCannon() { speed = 5000.0f; }

    // Beam flight and hits; the beam leaves flight on any hit or once its base passes -1000.
    void update();
    // The beam as a quad from its tip back towards the ship, at most 400 long.
    void draw() const;

    void levelUp() {
        if (level + 1 <= maxLevel) ++level;
    }
    uint32_t getLevel() const { return level; }
    void setLevel(uint32_t n) { level = n; }
    void resetLevel() { level = 0; }
    uint32_t getMaxLevel() const { return maxLevel; }
    void setAlpha(float a) { alpha = a; }
    void setSpeed(float s) { speed = s; }
    Vec3 tip() const {
        return {position.x + muzzleOffset.x, position.y + muzzleOffset.y,
                position.z + muzzleOffset.z};
    }
};

constexpr int missilesPerLauncher = 5;

// `active` mirrors inFlight() as of the last update; `position` is where the last salvo left.
struct MissileLauncher : ShotHead {
    bool spread = false;  // fire all five missiles instead of only the first
    Missile missiles[missilesPerLauncher];

    MissileLauncher();

    void update();
    void draw() const;
    // Missile 1 in flight; with spread on, any of the five.
    bool inFlight() const;
    void fire();
    void setSpread(bool on) { spread = on; }
    // Takes the missiles that only a spread salvo flies out of flight.
    void groundSpreadMissiles();

  private:
    int missilesInUse() const { return spread ? missilesPerLauncher : 1; }
};
