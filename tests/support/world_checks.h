// Checks the long simulations run after every frame: every position in the world finite, every
// count inside its array, every clamp holding, and only sounds that exist asked for.
#pragma once

#include <gtest/gtest.h>

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
    switch (which) {
        case 0:
            player.upgradeCannons();
            break;
        case 1:
            player.addCannons();
            break;
        case 2:
            player.chargeShield();
            break;
        case 3:
            player.repairHull();
            break;
        case 4:
            player.startRapidFire();
            break;
        case 5:
            player.gainLife();
            break;
        default:
            player.enableSpread();
            break;
    }
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

// The rocks, the fighters with their shots and the pickups, with every burst they own.
inline ::testing::AssertionResult worldMakesSense() {
    using ::testing::AssertionFailure;
    if (asteroids.count < 0 || asteroids.count > asteroidCapacity) {
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
        if (f.hitPoints > 10 || f.muzzleFlash < 0 || f.muzzleFlash > 10) {
            return AssertionFailure() << "fighter " << i << " hit points " << f.hitPoints;
        }
        for (const FighterShot& shot : f.shots) {
            if (!finite(shot.position) || !finite(shot.direction)) {
                return AssertionFailure() << "shot of fighter " << i << " not finite";
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
        if (p.active && (p.type < 1 || p.type > 7)) {
            return AssertionFailure() << "pickup " << i << " type " << p.type;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace worldcheck
