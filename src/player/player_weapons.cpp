#include "player/player_weapons.h"

#include <GL/gl.h>

#include "assets/sprite_layout.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "player/shot_targets.h"
#include "view/fade.h"

namespace {

// A beam's base point or a missile leaves flight once past this far ahead.
constexpr float kFlightEnd = -1000.0f;
// Longest drawn beam: a beam that has flown further is still drawn this long.
constexpr float kMaxBeamLength = 400.0f;

// The five missiles of a launcher: one straight ahead, four towards the diagonals of a narrow
// cone.
constexpr Vec3 kMissileDirections[missilesPerLauncher] = {
    {-1.0f, 0.0f, 0.0f},   {-1.0f, -0.03f, 0.03f},  {-1.0f, 0.03f, -0.03f},
    {-1.0f, 0.03f, 0.03f}, {-1.0f, -0.03f, -0.03f},
};

}  // namespace

void Missile::update() {
    if (!active) return;
    const float dt = shared.frameSeconds;
    position.x += direction.x * speed * dt;
    position.y += direction.y * speed * dt;
    position.z += direction.z * speed * dt;
    if (missileHitsTargets(position, radius, static_cast<int>(damage))) active = false;
    if (position.x < kFlightEnd) active = false;
}

void Missile::draw() const {
    if (!active) return;
    const float remembered = currentAlpha();
    setFadedAlpha(alpha);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.spriteAtlas);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    static constexpr QuadTexture kBall = quadTexture(kShotBallRect);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(kBall.st[i]);
        glVertex3f(corners[i].x, corners[i].y, corners[i].z);
    }
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    setFadedAlpha(remembered);
}

void PlayerCannon::update() {
    if (!active) return;
    position.x -= speed * shared.frameSeconds;
    // Out of flight, but the tests below still run for the stretch flown this frame.
    if (position.x < kFlightEnd) active = false;
    if (beamHitsTargets(tip(), static_cast<int>(level) + 1)) active = false;
}

void PlayerCannon::draw() const {
    if (!active) return;
    float length = muzzleOffset.x - position.x;
    if (length < 0.0f) length = 0.0f;
    if (length > kMaxBeamLength) length = kMaxBeamLength;
    const float remembered = currentAlpha();
    setFadedAlpha(alpha);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.beamTexture);
    glPushMatrix();
    const Vec3 at = tip();
    glTranslatef(at.x, at.y, at.z);
    glNormal3f(0.0f, 1.0f, 0.0f);
    // Only the lit part of the strip: the rest of the quad would add black. Its corners sit
    // where they sat on the whole strip's quad, so every pixel samples the texel it did.
    const int strip = static_cast<int>(level);
    const AtlasRect whole = beamStripRect(strip);
    const AtlasRect lit = textures.beamsTrimmed ? textures.beamLit[strip] : whole;
    const float start = length * (lit.uLeft - whole.uLeft) / (whole.uRight - whole.uLeft);
    const float end = length * (lit.uRight - whole.uLeft) / (whole.uRight - whole.uLeft);
    const auto across = [&](float v) {
        return -6.0f + 12.0f * (whole.vBottom - v) / (whole.vBottom - whole.vTop);
    };
    glBegin(GL_QUADS);
    glTexCoord2f(lit.uLeft, lit.vBottom);
    glVertex3f(start, 0.0f, across(lit.vBottom));
    glTexCoord2f(lit.uLeft, lit.vTop);
    glVertex3f(start, 0.0f, across(lit.vTop));
    glTexCoord2f(lit.uRight, lit.vTop);
    glVertex3f(end, 0.0f, across(lit.vTop));
    glTexCoord2f(lit.uRight, lit.vBottom);
    glVertex3f(end, 0.0f, across(lit.vBottom));
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    setFadedAlpha(remembered);
}

MissileLauncher::MissileLauncher() {
    speed = 600.0f;
    for (int i = 0; i < missilesPerLauncher; ++i) {
        missiles[i].setSpeed(speed);
        const Vec3& d = kMissileDirections[i];
        missiles[i].setDirection(d.x, d.y, d.z);
    }
}

bool MissileLauncher::inFlight() const {
    for (int i = 0; i < missilesInUse(); ++i) {
        if (missiles[i].active) return true;
    }
    return false;
}

void MissileLauncher::update() {
    active = inFlight();
    if (!active) return;
    for (int i = 0; i < missilesInUse(); ++i) missiles[i].update();
}

void MissileLauncher::draw() const {
    if (!active) return;
    for (int i = 0; i < missilesInUse(); ++i) missiles[i].draw();
}

void MissileLauncher::fire() {
    for (int i = 0; i < missilesInUse(); ++i) {
        missiles[i].active = true;
        missiles[i].position = {position.x + muzzleOffset.x, position.y + muzzleOffset.y,
                                position.z + muzzleOffset.z};
    }
    active = true;
}

void MissileLauncher::groundSpreadMissiles() {
    for (int i = 1; i < missilesPerLauncher; ++i) missiles[i].active = false;
}
