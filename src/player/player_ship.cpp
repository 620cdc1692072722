#include "player/player_ship.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/meshes.h"
#include "assets/sound_bank.h"
#include "common/globals.h"
#include "common/random.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "platform/gamepad.h"
#include "view/fade.h"

PlayerShip player;

namespace {

constexpr float kShakeOnHit = 40.0f;
constexpr float kShakeDecayPerSecond = 30.0f;
constexpr float kShieldSpinPerSecond = 50.0f;
constexpr float kBeamSpeed = 5000.0f;
constexpr float kRapidBeamSpeed = 10000.0f;
constexpr float kRapidFireSeconds = 10.0f;
constexpr float kHullRepair = 33.0f;
constexpr float kFullHull = 100.0f;
constexpr float kSpawnShieldSeconds = 2.0f;
constexpr int32_t kMostLives = 5;
// Pad rumble: a short knock per hit, harder for a heavier one (a fighter's shot 10, a rock 22),
// and a long full shake for a lost life.
constexpr uint32_t kHitRumbleMs = 150;
constexpr float kRumblePerDamage = 1.0f / 25.0f;
constexpr float kLeastHitRumble = 0.15f;
constexpr uint32_t kLifeLostRumbleMs = 700;
// The shield gauge shows a full shield of 60 as a full bar of 100.
constexpr float kShieldGaugeScale = 1.6667f;
// The roll of the view per unit of horizontal stick.
constexpr float kBankPerStick = 8.0f;

constexpr Vec3 kCannonMuzzles[playerCannonCount] = {{0, -8, -8}, {0, -8, 8}, {0, 8, -8}, {0, 8, 8}};
constexpr Vec3 kLauncherMuzzles[playerLauncherCount] = {{0, -8, -12}, {0, -8, 12}};

// A pickup message: floats at its depth and fades out over 1.5 s.
void showMessage(BannerImage image) {
    messageBanner.setImage(image);
    messageBanner.setMode(Banner::kStereo | Banner::kFadeOut);
    messageBanner.setDuration(1.5f);
    messageBanner.start();
}

// One control axis for one frame, the negative key first. The stick moves towards the held end
// (or back to 0) at stickRate; the ship moves at moveSpeed times the stick. The roll is taken
// after the rate step and before the clamp, so at full deflection it runs a little past 8
// degrees, and the last return step can leave a small opposite roll.
void steerAxis(float& stick, float& travel, bool negativeHeld, bool positiveHeld, float rate,
               float speed, float dt, float* bank) {
    const auto roll = [&] {
        if (bank) *bank = kBankPerStick * stick;
    };
    if (negativeHeld) {
        stick -= rate * dt;
        roll();
        if (stick < -1.0f) stick = -1.0f;
        if (stick < 0.0f) travel += speed * stick * dt;
    } else if (stick < 0.0f) {
        stick += rate * dt;
        roll();
        if (stick > 0.0f) stick = 0.0f;
        travel += speed * stick * dt;
    }
    if (positiveHeld) {
        stick += rate * dt;
        roll();
        if (stick > 1.0f) stick = 1.0f;
        if (stick > 0.0f) travel += speed * stick * dt;
    } else if (stick > 0.0f) {
        stick -= rate * dt;
        roll();
        if (stick < 0.0f) stick = 0.0f;
        travel += speed * stick * dt;
    }
}

// Moves one camera axis towards its target without snapping: within one step it stays put.
void glideAxis(float& offset, float target, float step) {
    if (target < offset) offset -= step;
    if (target > offset) offset += step;
}

}  // namespace

PlayerShip::PlayerShip() {
    for (int i = 0; i < playerCannonCount; ++i) {
        cannons[i].setMuzzleOffset(kCannonMuzzles[i].x, kCannonMuzzles[i].y, kCannonMuzzles[i].z);
    }
    for (int i = 0; i < playerLauncherCount; ++i) {
        launchers[i].setMuzzleOffset(kLauncherMuzzles[i].x, kLauncherMuzzles[i].y,
                                     kLauncherMuzzles[i].z);
    }
}

void PlayerShip::update(const ShipControls& controls) {
    const float dt = shared.frameSeconds;

    shieldSpin += kShieldSpinPerSecond * dt;
    if (shieldSpin >= 360.0f) shieldSpin = 0.0f;  // reset, not wrapped

    shield.updateFade();
    shieldGauge.setValue(static_cast<float>(static_cast<int>(shield.strength)) * kShieldGaugeScale);

    const float glideStep = dt * cameraGlideSpeed;
    glideAxis(cameraOffset.x, cameraTarget.x, glideStep);
    glideAxis(cameraOffset.y, cameraTarget.y, glideStep);
    glideAxis(cameraOffset.z, cameraTarget.z, glideStep);

    if (shakeAmount > 0.0f) {
        // Both offsets lie in 0..shakeAmount: the view is only ever pushed one way.
        shakeOffset.y =
            static_cast<float>(randomNumber()) * shakeAmount / static_cast<float>(randomMax);
        shakeOffset.z =
            static_cast<float>(randomNumber()) * shakeAmount / static_cast<float>(randomMax);
        shakeAmount -= kShakeDecayPerSecond * dt;
        if (shakeAmount < 0.0f) {
            shakeAmount = 0.0f;
            shakeOffset = {};
        }
    }

    for (int i = 0; i < activeCannons; ++i) cannons[i].update();
    for (MissileLauncher& launcher : launchers) launcher.update();

    if (rapidFireTime > 0.0f) {
        rapidFireTime -= dt;
        if (rapidFireTime <= 0.0f) {
            autoFire = false;
            for (PlayerCannon& cannon : cannons) cannon.setSpeed(kBeamSpeed);
        }
    }

    // Locked controls freeze the stick, the roll and the position; shots in flight fly on.
    if (shared.controlsLocked) return;

    steerAxis(stickZ, position.z, controls.left, controls.right, stickRate, moveSpeed, dt, &bank);
    steerAxis(stickY, position.y, controls.up, controls.down, stickRate, moveSpeed, dt, nullptr);

    // A press that comes while a beam still flies is used up unless rapid fire runs.
    if (controls.cannons) {
        if (!fireHeld || autoFire) {
            fireHeld = true;
            fireCannons();
        }
    } else {
        fireHeld = false;
    }
    if (controls.missiles) {
        if (!missileHeld) {
            missileHeld = true;
            fireMissiles();
        }
    } else {
        missileHeld = false;
    }
}

void PlayerShip::takeDamage(float amount) {
    // The game is decided: the fade-out runs over a wreck that cannot be hit again.
    if (shared.gameOver) return;

    shakeAmount = kShakeOnHit;
    platform::rumblePads(kLeastHitRumble + amount * kRumblePerDamage, kHitRumbleMs);
    if (shield.holds()) {
        shield.absorb(amount);  // the whole hit, also when it was larger than the shield
    } else {
        hull -= amount;
    }

    if (hull < 0.0f) {  // a hull of exactly 0 is survived
        --lives;
        platform::rumblePads(1.0f, kLifeLostRumbleMs);
        if (lives == 0) {
            shared.controlsLocked = true;
            messageBanner.setImage(BannerGameOver);
            messageBanner.setMode(Banner::kStereo | Banner::kFadeOut);
            messageBanner.setDuration(3.0f);
            messageBanner.start();
            shared.gameOver = true;
        } else {
            hull = kFullHull;
            for (PlayerCannon& cannon : cannons) cannon.resetLevel();
            activeCannons = 2;
            // Shots of the cannons and missiles the ship no longer flies leave flight with them,
            // so the triggers never wait for a beam that is no longer updated.
            for (int i = activeCannons; i < playerCannonCount; ++i) cannons[i].active = false;
            for (MissileLauncher& launcher : launchers) {
                launcher.setSpread(false);
                launcher.groundSpreadMissiles();
            }
            shield.setStrength(static_cast<int>(fullShieldStrength));
            shield.fadeTime = kSpawnShieldSeconds;
            livesDisplay.removeLife();
        }
    }
    hullGauge.setValue(hull);
}

bool PlayerShip::hitTest(float x, float y, float z, float radius) const {
    const float dx = position.x - x;
    const float dy = position.y - y;
    const float dz = position.z - z;
    return std::sqrt(dx * dx + dy * dy + dz * dz) < radius + hitRadius;
}

void PlayerShip::upgradeCannons() {
    bool canGrow = false;
    for (int i = 0; i < activeCannons; ++i) {
        if (cannons[i].getLevel() < cannons[i].getMaxLevel()) canGrow = true;
    }
    if (!canGrow) return;
    for (int i = 0; i < activeCannons; ++i) cannons[i].levelUp();
    showMessage(BannerCannonsUpgraded);
}

void PlayerShip::addCannons() {
    if (activeCannons >= maxCannons) return;
    activeCannons += 2;
    cannons[2].setLevel(cannons[0].getLevel());
    cannons[3].setLevel(cannons[0].getLevel());
    showMessage(BannerCannonsAdded);
}

void PlayerShip::chargeShield() {
    shield.setStrength(static_cast<int>(fullShieldStrength));
    showMessage(BannerShieldCharged);
}

void PlayerShip::repairHull() {
    hull += kHullRepair;
    if (hull > kFullHull) hull = kFullHull;
    hullGauge.setValue(hull);
    showMessage(BannerHullRepaired);
}

void PlayerShip::startRapidFire() {
    autoFire = true;
    for (PlayerCannon& cannon : cannons) cannon.setSpeed(kRapidBeamSpeed);
    rapidFireTime = kRapidFireSeconds;
    showMessage(BannerRapidFire);
}

void PlayerShip::gainLife() {
    if (lives >= kMostLives) return;
    ++lives;
    livesDisplay.addLife();
    showMessage(BannerExtraLife);
}

void PlayerShip::enableSpread() {
    if (launchers[0].spread) return;
    for (MissileLauncher& launcher : launchers) launcher.setSpread(true);
    showMessage(BannerSpreadMissiles);
}

void PlayerShip::fireCannons() {
    for (const PlayerCannon& cannon : cannons) {
        if (cannon.active) return;  // all four, however many are in use
    }
    playFreeCopy(SoundLaser1 + 5 * cannons[0].getLevel());
    const Vec3 from = location();
    for (int i = 0; i < activeCannons; ++i) {
        cannons[i].setAlpha(1.0f);
        cannons[i].setPosition(from.x, from.y, from.z);
        cannons[i].show();
    }
}

void PlayerShip::fireMissiles() {
    for (const MissileLauncher& launcher : launchers) {
        if (launcher.inFlight()) return;
    }
    playSound(SoundSpreadCannon, 0, 0, 0, SoundPlayOnce);
    const Vec3 from = location();
    for (MissileLauncher& launcher : launchers) {
        launcher.setPosition(from.x, from.y, from.z);
        launcher.fire();
    }
}

void PlayerShip::draw() const {
    const float remembered = currentAlpha();
    setFadedAlpha(1.0f);
    for (int i = 0; i < activeCannons; ++i) cannons[i].draw();
    for (const MissileLauncher& launcher : launchers) launcher.draw();

    // Undo the position and shake of the world translation: the ship and its shield stay put
    // in the view, 35 units ahead of the eyes, slightly low and to the right.
    glPushMatrix();
    glTranslatef(-position.x - 5.0f, -position.y - 0.5f - shakeOffset.y,
                 -position.z - 2.1f - shakeOffset.z);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glTranslatef(-0.5f, -0.5f, 0.0f);
    glRotatef(shieldSpin, 0.0f, 0.0f, 1.0f);
    shield.draw();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    if (!shipHidden) {
        glTranslatef(25.0f, 0.0f, 0.0f);
        glCallList(playerShipMesh);
    }
    glPopMatrix();
    setFadedAlpha(remembered);
}

