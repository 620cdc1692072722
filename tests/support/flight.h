// Helpers for the flight tests: a fresh ship and field, frames of fixed length through the
// ship's own update or the whole game update, keys held through the window procedure, rocks
// placed by hand, and a record of every sound the game asks for.
#pragma once

#include <cstdlib>
#include <vector>

#include "assets/sound_bank.h"
#include "common/globals.h"
#include "common/random.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "input/input.h"
#include "player/player_ship.h"
#include "rules/director.h"
#include "rules/frame_timer.h"
#include "rules/game_update.h"
#include "support/fake_clock.h"
#include "world/asteroid.h"

namespace flight {

struct SoundRequest {
    SoundId id;
    bool freeCopy;
};

inline std::vector<SoundRequest> sounds;

inline void recordSound(SoundId id, bool freeCopy) {
    sounds.push_back({id, freeCopy});
}

// Ship, field, banners and the play flags as the game starts; controls free unless asked.
inline void freshShip(unsigned seed = 1) {
    seedRandom(seed);
    player = {};
    shared.controlsLocked = shared.gameOver = false;
    asteroids = {};
    messageBanner = Banner();
    noticeBanner = Banner();
    livesDisplay.setCount(3);
    hullGauge.setValue(100);
    shieldGauge.setValue(100);
    scoreDisplay.resetScore();
    input.keys = KeyTable();
    input.joyUp = input.joyDown = input.joyLeft = input.joyRight = input.joyButton1 =
        input.joyButton2 = false;
    shared.fadeAlpha = 1.0f;
    sounds.clear();
    setSoundRequestWatcher(recordSound);
}

inline void hold(int virtualKey) {
    windowProc(WM_KEYDOWN, static_cast<uint64_t>(virtualKey), 0);
}
inline void release(int virtualKey) {
    windowProc(WM_KEYUP, static_cast<uint64_t>(virtualKey), 0);
}

// The ship's own update, n frames of dt seconds.
inline void shipFrames(int n, float dt) {
    shared.frameSeconds = dt;
    for (int i = 0; i < n; ++i) player.update(readShipControls());
}

// The whole game from its first frame: the hand-moved clock drives updateGame.
inline void startGame(uint32_t clockStart = 1000) {
    testclock::install(clockStart);
    resetDirector();
    resetFrameTimer();
    player.setCameraOffset(-150, -25, 20);
}

inline void gameFrames(int n, uint32_t ms) {
    for (int i = 0; i < n; ++i) {
        testclock::now += ms;
        updateGame();
    }
}

// A rock of the given radius at a point, flying nowhere, with the given hit points.
inline Asteroid& placeRock(int slot, float x, float y, float z, float radius, int hitPoints = 5) {
    Asteroid& rock = asteroids.rock[slot];
    rock.position = {x, y, z};
    rock.radius = radius;
    rock.size = radius / 1.5f;
    rock.hitPoints = hitPoints;
    rock.active = true;
    rock.exploding = false;
    rock.speedFactor = 0.0f;
    rock.carriesPickup = false;
    return rock;
}

inline int requestsOf(SoundId id) {
    int n = 0;
    for (const SoundRequest& r : sounds) n += r.id == id ? 1 : 0;
    return n;
}

inline int beamsInFlight() {
    int n = 0;
    for (const PlayerCannon& c : player.cannons) n += c.active ? 1 : 0;
    return n;
}

inline int missilesInFlight() {
    int n = 0;
    for (const MissileLauncher& l : player.launchers) {
        for (const Missile& m : l.missiles) n += m.active ? 1 : 0;
    }
    return n;
}

// Every beam and missile of a four-cannon, spread-firing ship in flight ahead of it.
inline void putEveryShotInFlight() {
    for (PlayerCannon& c : player.cannons) {
        c.setPosition(-200.0f, 0, 0);
        c.setAlpha(1);
        c.show();
    }
    for (MissileLauncher& l : player.launchers) {
        l.active = true;
        for (int i = 0; i < missilesPerLauncher; ++i) {
            l.missiles[i].active = true;
            l.missiles[i].position = {-150.0f - 10.0f * i, 0, l.muzzleOffset.z};
        }
    }
}

}  // namespace flight
