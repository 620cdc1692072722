#include "render/stereo_frame.h"

#include <GL/gl.h>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "view/flight_camera.h"
#include "view/glasses.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

namespace {

// One texture repeat per 600 units of sideways or vertical movement.
constexpr float kBackdropScroll = 0.0016666667f;

void drawEyePass(float eyeOffset) {
    loadFlightCamera(eyeOffset);

    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef((player.shakeOffset.z + player.position.z) * kBackdropScroll,
                 (player.shakeOffset.y + player.position.y) * kBackdropScroll, 0.0f);
    drawBackdrop();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    // Camera-fixed overlays, before the world transform so they stay put on screen.
    if (noticeBanner.isStereo()) noticeBanner.drawBanner();
    if (messageBanner.isStereo()) messageBanner.drawBanner();
    timeDisplay.draw();
    scoreDisplay.draw();
    livesDisplay.draw();
    hullGauge.draw();
    shieldGauge.draw();
    if (shared.playStarted) player.drawCockpitOverlay();

    glRotatef(player.bank, 1, 0, 0);
    glTranslatef(player.position.x + player.cameraOffset.x,
                 player.position.y + player.cameraOffset.y + player.shakeOffset.y,
                 player.position.z + player.cameraOffset.z + player.shakeOffset.z);
    drawScene();
}

// Pickups and enemy fighters have their places in the scene between the rocks and the ship.
void drawPickups() {
    for (const Pickup& pickup : pickups) pickup.draw();
}
void drawFighters() {
    for (const EnemyFighter& fighter : fighters) fighter.draw();
}

}  // namespace

void renderStereoFrame() {
    // Clear all four channels: a back buffer kept by the swap would otherwise carry the title
    // page's green into the game as a ghost. With red/blue glasses nothing in the game writes
    // green afterwards.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT);

    const float separation = shared.stereoEnabled ? shared.eyeSeparation : 0.0f;
    maskForRightEye();  // behind the blue (or cyan) filter
    drawEyePass(-separation);
    maskForLeftEye();  // behind the red filter
    drawEyePass(separation);

    // Overlay pass: the same picture for both eyes, so it sits at screen depth.
    maskForBothEyes();
    glColor4f(1.0f, 1.0f, 1.0f, shared.fadeAlpha * 1.0f);
    loadFlightCamera();
    if (!noticeBanner.isStereo()) noticeBanner.drawBanner();
    if (!messageBanner.isStereo()) messageBanner.drawBanner();
}

void drawScene() {
    for (int i = 0; i < asteroids.count; ++i) asteroids.rock[i].draw();
    drawPickups();
    drawFighters();
    player.draw();
}

void drawBackdrop() {
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.backdropTexture);
    // 995 units ahead, just inside the fog's end; fog is off for it anyway.
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-965, 500, 500);
    glTexCoord2f(0, 3);
    glVertex3f(-965, -500, 500);
    glTexCoord2f(3, 3);
    glVertex3f(-965, -500, -500);
    glTexCoord2f(3, 0);
    glVertex3f(-965, 500, -500);
    glEnd();
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
}
