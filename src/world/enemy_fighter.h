// Enemy fighters: saucers that arrive in waves far ahead, close in along the flight axis,
// sidestep around the player and, inside their firing band, shoot pairs of shots at where the
// player is. A fighter leaves play when it flies past the player or is shot down; it keeps its
// slot until its explosion has run and its shots have gone.
#pragma once

#include <array>

#include "common/shot_head.h"
#include "common/vec3.h"
#include "world/particle_burst.h"

// One gun shot. `position` is where it flies (and where it hits); it is drawn at the fighter's
// gun muzzle, `muzzleOffset` away. The head's `speed` stays 0: a shot always flies at 250.
struct FighterShot : ShotHead {
    Vec3 direction;  // unit direction of flight
    Vec3 corners[4] = {{3, 3, 3}, {3, 3, -3}, {3, -3, 3}, {3, -3, -3}};
    float size = 3.0f;  // half the side of the square

    // Flight and its hit on the player.
    void update();
    void draw() const;
    void setDirection(float x, float y, float z) { direction = {x, y, z}; }
    void reset() {
        active = false;
        position = {};
        speed = 0.0f;
    }
};

// Lateral y and z.
struct LateralOffset {
    float y = 0.0f;
    float z = 0.0f;
};

constexpr int fighterShotCount = 2;

struct EnemyFighter {
    bool active = false;         // in play: flying, firing, collidable
    bool exploding = false;      // its explosion is running
    bool shotsInFlight = false;  // its two shots are being updated and drawn
    Vec3 position;
    LateralOffset strafeOffset;  // last drawn sidestep offset from the player
    LateralOffset strafeTarget;  // the lateral point it steers to
    Vec3 flashQuads[8];          // the two muzzle-flash quads, in the fighter's frame
    int hitPoints = 0;
    float radius = 15.0f;
    float fireTimer = 0.0f;    // seconds since the last firing chance
    float strafeTimer = 0.0f;  // seconds since the last sidestep chance
    FighterShot shots[fighterShotCount];
    ParticleBurst explosion;   // shown when destroyed: 30 sparks, 30 debris, 2.5 s, no flash
    ParticleBurst hitSparks;   // shown on a hit that does not destroy it
    float muzzleFlash = 0.0f;  // 10 on firing, falls by 100 per second

    EnemyFighter();

    // Flying, or still showing its explosion or its shots.
    bool inUse() const { return active || shotsInFlight || exploding; }
    void spawn();
    void update();
    void draw() const;
    // Active and (x, y, z) closer than otherRadius + radius (strictly).
    bool hitTestSphere(float x, float y, float z, float otherRadius) const;
    // Active, (y, z) strictly inside the fighter's lateral square, and x already past its x.
    bool hitTestBolt(float x, float y, float z) const;
    void takeDamage(int amount);
    // Both shots at once, aimed at where the player is now.
    void fire();
};

constexpr int fighterCount = 20;
extern std::array<EnemyFighter, fighterCount> fighters;

// Puts the first fighter that is not in use into play; nothing when all are busy.
void spawnFighter();

