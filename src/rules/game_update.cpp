#include "rules/game_update.h"

#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "input/input.h"
#include "platform/clock.h"
#include "player/player_ship.h"
#include "rules/director.h"
#include "rules/frame_timer.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

PauseState pauseState;

namespace {

// While paused nothing advances; only a fresh press of P resumes, and the resume frame itself
// does no update. Restarting the timer keeps the paused time out of shared.frameSeconds.
void updatePaused() {
    if (!input.keys.isDown(VK_P)) {
        pauseState.keyLatch = false;
        return;
    }
    if (pauseState.keyLatch) return;
    pauseState.keyLatch = true;
    pauseState.paused = false;
    frameTimer.lastTickMs = platform::timeGetTime();
}

// The field is centred on the player's location as it was before the player moves this frame.
// A rock that rams the ship is regenerated at once, so it cannot hit twice.
void updateAsteroidField() {
    const Vec3 at = player.location();
    for (int i = 0; i < asteroids.count; ++i) {
        Asteroid& rock = asteroids.rock[i];
        rock.setTarget(at.x, at.y, at.z);
        rock.update();
        if (rock.hitTestSphere(at.x, at.y, at.z, 10.0f)) {
            player.takeDamage(22.0f);
            rock.takeDamage(rammedAmount);
        }
    }
}

// Pickups drift and are collected before the ship's own update, in slot order; one that drifts
// past the player this frame is gone before it could be collected. Once the game is over the
// wreck collects nothing, as it takes no more hits.
void collectPickups() {
    for (Pickup& pickup : pickups) {
        if (!pickup.active) continue;
        pickup.update();
        if (pickup.active && !shared.gameOver && pickup.collectedBy(player)) pickup.applyTo(player);
    }
}

// Enemy fighters move and shoot before the ship's own update; every slot, whatever its state.
void updateFighters() {
    for (EnemyFighter& fighter : fighters) fighter.update();
}

}  // namespace

ShipControls readShipControls() {
    ShipControls controls;
    controls.up = input.keys.isDown(VK_UP) || input.joyUp;
    controls.down = input.keys.isDown(VK_DOWN) || input.joyDown;
    controls.left = input.keys.isDown(VK_LEFT) || input.joyLeft;
    controls.right = input.keys.isDown(VK_RIGHT) || input.joyRight;
    controls.cannons = input.keys.isDown(VK_CONTROL) || input.joyButton1;
    controls.missiles = input.keys.isDown(VK_SPACE) || input.joyButton2;
    return controls;
}

void updateGame() {
    if (pauseState.paused) {
        updatePaused();
        return;
    }
    shared.frameSeconds = tickFrameTimer();

    if (!input.keys.isDown(VK_P)) {
        pauseState.keyLatch = false;
    } else if (!pauseState.keyLatch) {
        // The pause takes effect from the next frame; this one still updates.
        pauseState.keyLatch = true;
        noticeBanner.setDuration(0.5f);
        noticeBanner.setMode(Banner::kFadeOut);  // overlay pass, at screen depth
        noticeBanner.setImage(BannerPauseNotice);
        noticeBanner.start();
        pauseState.paused = true;
    }

    updateDirector();
    updateAsteroidField();
    collectPickups();
    updateFighters();
    player.update(readShipControls());

    // Last, after everything that starts pictures: a banner started this frame has already
    // advanced once when it is first drawn.
    noticeBanner.updateBanner();
    messageBanner.updateBanner();
    timeDisplay.update();
}
