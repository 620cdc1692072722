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

bool paused = false;
bool pauseKeyLatch = false;

namespace {

// While paused nothing advances; only a fresh press of P resumes, and the resume frame itself
// does no update. Restarting the timer keeps the paused time out of frameSeconds.
void updatePaused() {
    if (!keys.isDown(VK_P)) {
        pauseKeyLatch = false;
        return;
    }
    if (pauseKeyLatch) return;
    pauseKeyLatch = true;
    paused = false;
    frameTimer.lastTickMs = platform::timeGetTime();
}

// The field is centred on the player's location as it was before the player moves this frame.
// A rock that rams the ship is regenerated at once, so it cannot hit twice.
void updateAsteroidField() {
    const Vec3 at = player.location();
    for (int i = 0; i < asteroidCount; ++i) {
        Asteroid& rock = asteroids[i];
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
        if (pickup.active && !gameOver && pickup.collectedBy(player)) pickup.applyTo(player);
    }
}

// Enemy fighters move and shoot before the ship's own update; every slot, whatever its state.
void updateFighters() {
    for (EnemyFighter& fighter : fighters) fighter.update();
}

}  // namespace

ShipControls readShipControls() {
    ShipControls controls;
    controls.up = keys.isDown(VK_UP) || joyUp;
    controls.down = keys.isDown(VK_DOWN) || joyDown;
    controls.left = keys.isDown(VK_LEFT) || joyLeft;
    controls.right = keys.isDown(VK_RIGHT) || joyRight;
    controls.cannons = keys.isDown(VK_CONTROL) || joyButton1;
    controls.missiles = keys.isDown(VK_SPACE) || joyButton2;
    return controls;
}

void updateGame() {
    if (paused) {
        updatePaused();
        return;
    }
    frameSeconds = tickFrameTimer();

    if (!keys.isDown(VK_P)) {
        pauseKeyLatch = false;
    } else if (!pauseKeyLatch) {
        // The pause takes effect from the next frame; this one still updates.
        pauseKeyLatch = true;
        noticeBanner.setDuration(0.5f);
        noticeBanner.setMode(Banner::kFadeOut);  // overlay pass, at screen depth
        noticeBanner.setImage(BannerPauseNotice);
        noticeBanner.start();
        paused = true;
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
