// Checks the long simulations run after every frame: every position in the world finite, every
// count inside its array, every clamp holding, everything that flies inside its bounds, the
// field around the ship, and only sounds that exist asked for.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "assets/sound_bank.h"
#include "common/globals.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/particle_burst.h"
#include "world/pickup.h"

namespace worldcheck {

// One of the seven pickup effects straight on the ship, without the pickup's sound and score:
// the long runs use it to push the ship's clamps. 0 is the cannon upgrade, 6 the spread.
inline void applyPickupEffect(int which) {
    void (PlayerShip::*const effects[])() = {&PlayerShip::upgradeCannons, &PlayerShip::addCannons,
                                             &PlayerShip::chargeShield,   &PlayerShip::repairHull,
                                             &PlayerShip::startRapidFire, &PlayerShip::gainLife,
                                             &PlayerShip::enableSpread};
    (player.*effects[which])();
}

inline bool finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Free copies are asked for by the first of a group of five; single sounds by their own slot.
inline bool validSoundRequest(SoundId id, bool freeCopy) {
    return freeCopy ? id % 5 == 0 && id <= SoundExplode2 : id < soundCount;
}

inline ::testing::AssertionResult burstMakesSense(const ParticleBurst& b) {
    if (b.sparkCount < 0 || b.sparkCount > burstCapacity || b.debrisCount < 0 ||
        b.debrisCount > burstCapacity) {
        return ::testing::AssertionFailure()
               << b.sparkCount << " sparks, " << b.debrisCount << " debris";
    }
    if (!finite(b.origin) || !std::isfinite(b.life)) {
        return ::testing::AssertionFailure() << "burst origin or life not finite";
    }
    // Particles move and show only while the burst runs; a finished one is neither drawn nor
    // moved until it is lit again, when this sees it running. Skipping the idle ones keeps the
    // half-hour runs cheap.
    if (b.isFinished()) return ::testing::AssertionSuccess();
    for (const Spark& s : b.sparks) {
        if (!finite(s.position) || !finite(s.velocity)) {
            return ::testing::AssertionFailure() << "spark not finite";
        }
    }
    for (const Debris& d : b.debris) {
        if (!finite(d.position) || !finite(d.velocity) || !finite(d.rotation)) {
            return ::testing::AssertionFailure() << "debris not finite";
        }
    }
    return ::testing::AssertionSuccess();
}

// The ship, its weapons and shield, and what the HUD shows of them.
inline ::testing::AssertionResult shipMakesSense() {
    using ::testing::AssertionFailure;
    const PlayerShip& p = player;
    if (!finite(p.position) || !finite(p.cameraOffset) || !std::isfinite(p.shakeOffset.y) ||
        !std::isfinite(p.shakeOffset.z) || !std::isfinite(p.bank) || !std::isfinite(p.hull) ||
        !std::isfinite(p.shield.strength) || !std::isfinite(shared.fadeAlpha)) {
        return AssertionFailure() << "ship state not finite";
    }
    if (p.lives < 0 || p.lives > 5 || (p.lives == 0) != shared.gameOver) {
        return AssertionFailure() << "lives " << p.lives << (shared.gameOver ? " after" : " before")
                                  << " game over";
    }
    if (p.hull > 100 || (!shared.gameOver && p.hull < 0))
        return AssertionFailure() << "hull " << p.hull;
    // Below 0 only as the last step of the spawn-shield fade leaves it: one frame's worth.
    const bool fadeLeftIt = p.shield.fadeTime <= 0 && p.shield.fadeTime > -0.501f &&
                            p.shield.strength == p.shield.fadeTime * 30.0f;
    if ((p.shield.strength < 0 && !fadeLeftIt) || p.shield.strength > 60) {
        return AssertionFailure() << "shield " << p.shield.strength << " with " << p.shield.fadeTime
                                  << " s of fade";
    }
    if (std::fabs(p.stickY) > 1 || std::fabs(p.stickZ) > 1) {
        return AssertionFailure() << "stick past its end";
    }
    if (p.activeCannons != 2 && p.activeCannons != 4) {
        return AssertionFailure() << p.activeCannons << " cannons";
    }
    for (const PlayerCannon& c : p.cannons) {
        if (c.level > 5 || !finite(c.position)) {
            return AssertionFailure() << "cannon level " << c.level;
        }
    }
    for (const MissileLauncher& l : p.launchers) {
        for (const Missile& m : l.missiles) {
            if (!finite(m.position) || !finite(m.direction)) {
                return AssertionFailure() << "missile not finite";
            }
        }
    }
    if (livesDisplay.count < 0 || livesDisplay.count > 5) {
        return AssertionFailure() << livesDisplay.count << " lives shown";
    }
    if (!std::isfinite(timeDisplay.elapsed)) return AssertionFailure() << "play time";
    return ::testing::AssertionSuccess();
}

// The rocks, the fighters with their shots and the pickups, with every burst they own. Nothing
// in flight is past the player (x above 10) or beyond the fighters' far reach.
inline ::testing::AssertionResult worldMakesSense() {
    using ::testing::AssertionFailure;
    if (asteroids.count != asteroidCapacity) {
        return AssertionFailure() << "field of " << asteroids.count;
    }
    for (int i = 0; i < asteroidCapacity; ++i) {
        const Asteroid& a = asteroids.rock[i];
        if (!finite(a.position) || !finite(a.rotation) || !std::isfinite(a.speed)) {
            return AssertionFailure() << "rock " << i << " not finite";
        }
        for (const Vec3& v : a.vertices) {
            if (!finite(v)) return AssertionFailure() << "rock " << i << " shape not finite";
        }
        for (const ParticleBurst* b : {&a.explosion, &a.hitSparks}) {
            const auto burst = burstMakesSense(*b);
            if (!burst) return AssertionFailure() << "rock " << i << ": " << burst.message();
        }
    }
    for (int i = 0; i < fighterCount; ++i) {
        const EnemyFighter& f = fighters[i];
        if (!finite(f.position)) return AssertionFailure() << "fighter " << i << " not finite";
        if (f.active && f.exploding) return AssertionFailure() << "fighter " << i << " both";
        if (f.active && (f.position.x > 10 || f.position.x < -1000)) {
            return AssertionFailure() << "fighter " << i << " flying at x " << f.position.x;
        }
        if (f.hitPoints > 10 || f.muzzleFlash < 0 || f.muzzleFlash > 10) {
            return AssertionFailure() << "fighter " << i << " hit points " << f.hitPoints;
        }
        for (const FighterShot& shot : f.shots) {
            if (!finite(shot.position) || !finite(shot.direction)) {
                return AssertionFailure() << "shot of fighter " << i << " not finite";
            }
            if (f.shotsInFlight && shot.active && shot.position.x > 10) {
                return AssertionFailure() << "shot of fighter " << i << " past the player";
            }
        }
        for (const ParticleBurst* b : {&f.explosion, &f.hitSparks}) {
            const auto burst = burstMakesSense(*b);
            if (!burst) return AssertionFailure() << "fighter " << i << ": " << burst.message();
        }
    }
    for (int i = 0; i < pickupSlotCount; ++i) {
        const Pickup& p = pickups[i];
        if (!finite(p.position)) return AssertionFailure() << "pickup " << i << " not finite";
        if (p.vertexCount < 0 || p.vertexCount > pickupVertexCapacity) {
            return AssertionFailure() << "pickup " << i << " of " << p.vertexCount << " vertices";
        }
        if (!p.active) continue;
        if (p.position.x > 10)
            return AssertionFailure() << "pickup " << i << " at x " << p.position.x;
        if (p.type < 1 || p.type > 7 || (p.radius != 8 && p.radius != 10)) {
            return AssertionFailure()
                   << "pickup " << i << " type " << p.type << " radius " << p.radius;
        }
        if (p.pulse < 0.3f - 1e-5f || p.pulse > 1.0f || p.tumble < 0 || p.tumble > 360 ||
            p.spinPhase < 0 || p.spinPhase > 6.2832f) {
            return AssertionFailure() << "pickup " << i << " pulse " << p.pulse;
        }
    }
    return ::testing::AssertionSuccess();
}

// The field stays around the ship. Call remember() before a frame and check() after it.
struct FieldAroundShip {
    float previousX[asteroidCapacity] = {};
    bool wasActive[asteroidCapacity] = {};

    void remember() {
        for (int i = 0; i < asteroidCapacity; ++i) {
            previousX[i] = asteroids.rock[i].position.x;
            wasActive[i] = asteroids.rock[i].active;
        }
    }

    // After a frame of dt seconds.
    ::testing::AssertionResult check(float dt) const {
        const Vec3 ship = player.location();
        // The ship itself moved up to its speed x dt after the field was centred on it this
        // frame; far from the origin the floats' own rounding adds a few millionths of the
        // distance.
        const float rounding = 1e-3f + 2e-6f * std::max(std::fabs(ship.y), std::fabs(ship.z));
        const float shipMove = player.moveSpeed * dt + rounding;
        for (int i = 0; i < asteroidCapacity; ++i) {
            const Asteroid& a = asteroids.rock[i];
            if (!a.active) continue;
            // A rock that flew on this frame has been wrapped into the 300 around the ship;
            // one placed afresh (rammed, or back from its explosion) lies within its
            // placement box of 500 until its next update wraps it.
            const bool flew = wasActive[i] && a.position.x > previousX[i];
            const float reach = (flew ? 300.0f : 500.0f) + shipMove;
            const float dy = std::fabs(a.position.y - ship.y);
            const float dz = std::fabs(a.position.z - ship.z);
            if (dy > reach || dz > reach) {
                return ::testing::AssertionFailure()
                       << "rock " << i << " at " << dy << ", " << dz << " from the ship"
                       << (flew ? " after flying" : " after placing");
            }
        }
        return ::testing::AssertionSuccess();
    }
};

}  // namespace worldcheck
