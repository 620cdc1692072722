// The full-load scene the benchmarks time and the pixel tests bound: all 100 rocks in view, all
// 20 fighters with their shots in the air, all 12 pickups, every burst running and every player
// shot flying, with the shield up.
#pragma once

#include "support/combat.h"
#include "support/flight.h"
#include "world/asteroid.h"

namespace fullload {

// Twenty fighters spread over the view, each with its pair in flight and its hit sparks lit,
// and twelve pickups of every type drifting in front of the ship.
inline void fillCombat() {
    for (int i = 0; i < fighterCount; ++i) {
        EnemyFighter& f = combat::placeFighter(i, -700.0f + 20.0f * i, (i % 5) * 30.0f - 60.0f,
                                               (i / 5) * 30.0f - 45.0f);
        f.fire();
        f.hitSparks.scatter();
        f.hitSparks.ignite(f.position.x, f.position.y, f.position.z);
    }
    for (int i = 0; i < pickupSlotCount; ++i) {
        Pickup& p = pickups[i];
        p.startPickup(-400.0f + 25.0f * i, (i % 4) * 25.0f - 40.0f, (i / 4) * 25.0f - 25.0f, 0);
        p.buildPickup(1 + i % 7);
    }
}

// The whole field in view between 300 and 900 units ahead, every tenth rock bursting.
inline void fillField() {
    for (int i = 0; i < asteroids.count; ++i) {
        Asteroid& rock = asteroids.rock[i];
        rock.active = true;
        rock.exploding = false;
        rock.position = {-300.0f - 6.0f * static_cast<float>(i),
                         static_cast<float>(i % 10) * 16.0f - 72.0f,
                         static_cast<float>(i / 10) * 16.0f - 72.0f};
        if (i % 10 == 0) {
            rock.hitPoints = 1;
            rock.takeDamage(1);
        }
    }
}

// Puts the fighters, their shots, their sparks and the pickups back where fillCombat left them,
// cheaply enough to run inside the timed loop.
inline void refreshCombat() {
    for (int i = 0; i < fighterCount; ++i) {
        EnemyFighter& f = fighters[i];
        f.active = true;
        f.exploding = false;
        f.hitPoints = 10;
        f.position = {-700.0f + 20.0f * i, (i % 5) * 30.0f - 60.0f, (i / 5) * 30.0f - 45.0f};
        f.shotsInFlight = true;
        for (FighterShot& shot : f.shots) {
            shot.position = f.position;
            shot.active = true;
        }
        f.hitSparks.life = f.hitSparks.lifetime;
    }
    for (int i = 0; i < pickupSlotCount; ++i) {
        pickups[i].active = true;
        pickups[i].position = {-400.0f + 25.0f * i, (i % 4) * 25.0f - 40.0f,
                               (i / 4) * 25.0f - 25.0f};
    }
}

// The game past its opening (controls free, field flying), with the ship upgraded.
inline void fullLoadGame() {
    combat::freshGame(11);
    flight::startGame();
    flight::gameFrames(1200, 10);  // 12 s
    setSoundRequestWatcher(nullptr);
    player.addCannons();
    player.enableSpread();
    fillCombat();
}

// (Textures and mesh lists are the caller's.) Every rock, fighter, fighter shot, pickup, burst and player shot at once, with the shield up.
inline void fullLoadScene() {
    fullLoadGame();
    fillField();
    flight::putEveryShotInFlight();
    for (EnemyFighter& f : fighters) f.muzzleFlash = 5;
    player.shield.strength = 60;
    shared.fadeAlpha = 1.0f;
}

}  // namespace fullload
