#include "world/enemy_fighter.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/meshes.h"
#include "assets/sound_bank.h"
#include "assets/sprite_layout.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "common/random.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "world/explosion_sound.h"

std::array<EnemyFighter, fighterCount> fighters;

namespace {

constexpr float kApproachSpeed = 60.0f;
constexpr float kCloseBoost = 200.0f;  // added once within 300 of the player's x
constexpr float kCloseRangeX = -300.0f;
constexpr float kFiringBandFarX = -800.0f;
constexpr float kFiringBandNearX = -300.0f;
constexpr float kPassedX = 10.0f;  // flown past the player
constexpr float kFireChanceSeconds = 0.5f;
constexpr float kSidestepChanceSeconds = 0.3f;
constexpr float kSteeringDeadZone = 15.0f;
constexpr float kMuzzleFlashStart = 10.0f;
constexpr float kMuzzleFlashFallPerSecond = 100.0f;
constexpr int kHitPointsAtSpawn = 10;
constexpr int32_t kPointsPerFighter = 10;
constexpr float kShotSpeed = 250.0f;
constexpr float kShotRadius = 3.0f;
constexpr float kShotDamage = 10.0f;

constexpr Vec3 kFlashQuads[8] = {{7.5f, 2, 12},  {7.5f, 2, 2},  {7.5f, -8, 2},  {7.5f, -8, 12},
                                 {7.5f, 2, -12}, {7.5f, 2, -2}, {7.5f, -8, -2}, {7.5f, -8, -12}};
constexpr QuadTexture kFlashTexture = quadTexture(kMuzzleFlashRect);
constexpr Vec3 kShotMuzzles[fighterShotCount] = {{7.5f, -3, -6}, {7.5f, -3, 6}};

// A sidestep offset from the player on one axis: -100 .. 99, never 1 to 4 units off it.
float sidestepOffset() {
    int offset = randomNumber() % 200 - 100;
    if (offset != 0 && offset >= -9 && offset <= 9) offset *= 5;
    return static_cast<float>(offset);
}

// One lateral axis: steer at the fighter's distance from the player on that axis, towards a
// target outside a dead zone of 15 either side.
void steer(float& coordinate, float target, float player, float seconds) {
    if (coordinate < target - kSteeringDeadZone) {
        coordinate += std::fabs(coordinate - player) * seconds;
    }
    if (coordinate > target + kSteeringDeadZone) {
        coordinate -= std::fabs(coordinate - player) * seconds;
    }
}

}  // namespace

EnemyFighter::EnemyFighter() {
    for (int i = 0; i < 8; ++i) flashQuads[i] = kFlashQuads[i];
    for (int i = 0; i < fighterShotCount; ++i) {
        shots[i].setMuzzleOffset(kShotMuzzles[i].x, kShotMuzzles[i].y, kShotMuzzles[i].z);
        shots[i].reset();
    }
    explosion.setSpherical(true);
    hitSparks.setLifetime(100.0f);
    hitSparks.setSpherical(true);
    hitSparks.setCounts(10, 8);
}

void EnemyFighter::spawn() {
    active = true;
    shotsInFlight = false;
    exploding = false;
    muzzleFlash = 0.0f;
    position = {-1000.0f + static_cast<float>(randomNumber() % 200), 0.0f, 0.0f};
    strafeOffset = {};
    const Vec3 playerAt = player.location();
    strafeTarget = {playerAt.y, playerAt.z};
    hitPoints = kHitPointsAtSpawn;
    explosion.stop();
    hitSparks.stop();
}

void EnemyFighter::update() {
    const float t = shared.frameSeconds;
    if (exploding) {
        explosion.update();
        if (explosion.isFinished()) exploding = false;
    } else if (active) {
        if (muzzleFlash != 0.0f) {
            muzzleFlash -= kMuzzleFlashFallPerSecond * t;
            if (muzzleFlash < 0.0f) muzzleFlash = 0.0f;
        }
        fireTimer += t;
        strafeTimer += t;

        position.x += kApproachSpeed * t;
        if (position.x > kCloseRangeX) position.x += kCloseBoost * t;

        // Past the player: gone, shots and all. The rest of this frame still runs.
        if (position.x > kPassedX) {
            active = false;
            shotsInFlight = false;
            exploding = false;
        }

        if (fireTimer > kFireChanceSeconds) {
            fireTimer = 0.0f;
            const bool chance = randomNumber() % 4 == 0;
            if (chance && !shotsInFlight && position.x > kFiringBandFarX &&
                position.x < kFiringBandNearX) {
                fire();
            }
        }

        const Vec3 playerAt = player.location();
        steer(position.y, strafeTarget.y, playerAt.y, t);
        steer(position.z, strafeTarget.z, playerAt.z, t);

        if (strafeTimer > kSidestepChanceSeconds) {
            strafeTimer = 0.0f;
            if (randomNumber() % 2 == 0) {
                strafeOffset.y = sidestepOffset();
                strafeOffset.z = sidestepOffset();
                strafeTarget = {playerAt.y + strafeOffset.y, playerAt.z + strafeOffset.z};
            }
        }

        hitSparks.update();
    }

    // Shots fly on after their fighter has been destroyed, until they end.
    if (shotsInFlight) {
        shots[0].update();
        shots[1].update();
        if (!shots[0].active && !shots[1].active) shotsInFlight = false;
    }
}

void EnemyFighter::fire() {
    muzzleFlash = kMuzzleFlashStart;
    shotsInFlight = true;
    const Vec3 playerAt = player.location();
    const Vec3 d{playerAt.x - position.x, playerAt.y - position.y, playerAt.z - position.z};
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    for (FighterShot& shot : shots) {
        shot.setPosition(position.x, position.y, position.z);
        shot.setDirection(d.x / length, d.y / length, d.z / length);
    }
    shots[0].show();
    shots[1].show();
}

bool EnemyFighter::hitTestSphere(float x, float y, float z, float otherRadius) const {
    if (!active) return false;
    const float dx = position.x - x, dy = position.y - y, dz = position.z - z;
    return std::sqrt(dx * dx + dy * dy + dz * dz) < otherRadius + radius;
}

bool EnemyFighter::hitTestBolt(float x, float y, float z) const {
    return active && y > position.y - radius && y < position.y + radius &&
           z > position.z - radius && z < position.z + radius && x < position.x;
}

void EnemyFighter::takeDamage(int amount) {
    hitPoints -= amount;
    if (hitPoints > 0) {
        hitSparks.scatter();
        hitSparks.ignite(position.x, position.y, position.z);
        return;
    }
    active = false;
    exploding = true;
    explosion.scatter();
    explosion.ignite(position.x, position.y, position.z);
    playExplosionFrom(SoundExplode1, position);
    scoreDisplay.addScore(kPointsPerFighter);
}

void EnemyFighter::draw() const {
    if (exploding) {
        explosion.draw();
    } else if (active) {
        hitSparks.draw();
        glBindTexture(GL_TEXTURE_2D, textures.fighterTexture);
        glPushMatrix();
        glTranslatef(position.x, position.y, position.z);
        glCallList(fighterMesh);  // untextured: the hull brings no texture coordinates
        if (shared.texturingEnabled) glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        if (muzzleFlash != 0.0f) {
            // Only the bright core of the flash picture shows.
            glAlphaFunc(GL_GREATER, 0.5f);
            glEnable(GL_ALPHA_TEST);
            glBegin(GL_QUADS);
            glNormal3f(1, 0, 0);
            for (int i = 0; i < 8; ++i) {
                glTexCoord2fv(kFlashTexture.st[i % 4]);
                glVertex3f(flashQuads[i].x, flashQuads[i].y, flashQuads[i].z);
            }
            glEnd();
            glDisable(GL_ALPHA_TEST);
        }
        glPopMatrix();
        if (shared.texturingEnabled) glDisable(GL_TEXTURE_2D);
    }
    if (shotsInFlight) {
        shots[0].draw();
        shots[1].draw();
    }
}

void FighterShot::update() {
    if (!active) return;
    const float step = kShotSpeed * shared.frameSeconds;
    position.x += direction.x * step;
    position.y += direction.y * step;
    position.z += direction.z * step;
    if (position.x > kPassedX) active = false;
    // Also in the frame it flies past: a shot that touches the ship on its way out still hits.
    if (player.hitTest(-position.x, -position.y, -position.z, kShotRadius)) {
        player.takeDamage(kShotDamage);
        active = false;
    }
}

void FighterShot::draw() const {
    if (!active) return;
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.spriteAtlas);
    glPushMatrix();
    glTranslatef(position.x + muzzleOffset.x, position.y + muzzleOffset.y,
                 position.z + muzzleOffset.z);
    // The square lies 3 ahead of the shot along x and faces the flight axis.
    glBegin(GL_QUADS);
    glTexCoord2f(kShotBallRect.uLeft, kShotBallRect.vTop);
    glVertex3f(corners[0].x, corners[0].y, corners[0].z);
    glTexCoord2f(kShotBallRect.uRight, kShotBallRect.vTop);
    glVertex3f(corners[1].x, corners[1].y, corners[1].z);
    glTexCoord2f(kShotBallRect.uRight, kShotBallRect.vBottom);
    glVertex3f(corners[3].x, corners[3].y, corners[3].z);
    glTexCoord2f(kShotBallRect.uLeft, kShotBallRect.vBottom);
    glVertex3f(corners[2].x, corners[2].y, corners[2].z);
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void spawnFighter() {
    for (EnemyFighter& fighter : fighters) {
        if (!fighter.inUse()) {
            fighter.spawn();
            return;
        }
    }
}

