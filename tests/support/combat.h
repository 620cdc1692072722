// Helpers for the combat tests: a fresh ship, field, fighters and pickups, fighters placed by
// hand, and a seed that makes the next random draw land where a test needs it.
#pragma once

#include <cstdlib>

#include "common/random.h"
#include "support/flight.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

namespace combat {

inline void freshGame(unsigned seed = 1) {
    flight::freshShip(seed);
    fighters = {};
    pickups = {};
    shared.gameOver = false;
}

// A fighter in flight at a point, aiming nowhere yet, with no chance due this frame.
inline EnemyFighter& placeFighter(int slot, float x, float y, float z) {
    EnemyFighter& fighter = fighters[slot];
    fighter.spawn();
    fighter.position = {x, y, z};
    fighter.strafeTarget = {y, z};
    fighter.fireTimer = 0.0f;
    fighter.strafeTimer = 0.0f;
    return fighter;
}

// Seeds the generator so that its next draw, taken modulo `modulus`, gives `remainder`.
inline void seedNextDraw(int modulus, int remainder) {
    for (unsigned seed = 1;; ++seed) {
        seedRandom(seed);
        if (randomNumber() % modulus == remainder) {
            seedRandom(seed);
            return;
        }
    }
}

}  // namespace combat
