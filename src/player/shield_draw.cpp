// What is drawn around the player's point of view: the shield's glowing frustum in front of the
// cockpit and the cockpit overlay (crosshair and shield caption).
#include <GL/gl.h>

#include <cstdint>

#include "assets/banner_layout.h"
#include "assets/sprite_layout.h"
#include "assets/texture_table.h"
#include "player/player_shield.h"
#include "player/player_ship.h"
#include "view/fade.h"

namespace {

// Per vertex of the frustum: its normal and texture coordinate. The normals' z runs against
// the vertices' z; the light falls on them as they are.
constexpr float kShieldNormals[8][3] = {{0, -0.707f, -0.707f},       {0, 0.707f, -0.707f},
                                        {0, 0.707f, 0.707f},         {0, -0.707f, 0.707f},
                                        {-0.577f, -0.577f, -0.577f}, {-0.577f, 0.577f, -0.577f},
                                        {-0.577f, 0.577f, 0.577f},   {-0.577f, -0.577f, 0.577f}};
constexpr float kShieldTexture[8][2] = {
    {1, 1}, {1, 0}, {0, 0}, {0, 1}, {0.75f, 0.75f}, {0.75f, 0.25f}, {0.25f, 0.25f}, {0.25f, 0.75f}};
// The +z side, the top, the -z side, the bottom and the front cap; the back stays open.
constexpr int kShieldQuads[5][4] = {
    {4, 5, 1, 0}, {6, 2, 1, 5}, {3, 2, 6, 7}, {3, 7, 4, 0}, {4, 5, 6, 7}};

struct OverlayCorner {
    float x, y, z, s, t;
};

// The crosshair at the look-at distance, 20 x 20.
constexpr AtlasRect kCross = kCrosshairRect;
constexpr OverlayCorner kCrosshair[4] = {{-350, 10, 10, kCross.uLeft, kCross.vTop},
                                         {-350, 10, -10, kCross.uRight, kCross.vTop},
                                         {-350, -10, -10, kCross.uRight, kCross.vBottom},
                                         {-350, -10, 10, kCross.uLeft, kCross.vBottom}};
// The word over the shield gauge, 22 x 4, from the HUD atlas.
constexpr AtlasRect kCaption = kShieldCaptionRect;
constexpr OverlayCorner kShieldCaption[4] = {{-100, 31, -21, kCaption.uLeft, kCaption.vTop},
                                             {-100, 31, -43, kCaption.uRight, kCaption.vTop},
                                             {-100, 27, -43, kCaption.uRight, kCaption.vBottom},
                                             {-100, 27, -21, kCaption.uLeft, kCaption.vBottom}};

void drawOverlayQuad(uint32_t texture, const OverlayCorner (&corners)[4]) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    for (const OverlayCorner& c : corners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
}

}  // namespace

void PlayerShield::draw() const {
    if (!(strength > 0.0f)) return;
    const float remembered = currentAlpha();
    // A full shield asks for 1.5, which GL clamps to 1; a dying one for just over 0.5.
    setFadedAlpha(strength / fullShieldStrength + 0.5f);
    // Lit and additive: the shield adds its light to whatever lies behind it.
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.shieldTexture);
    // The ship leaves the spinning texture matrix current; the frustum's own placement goes on
    // the modelview stack, which is deep enough for it (the texture stack may hold only two).
    GLint callerMatrix = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &callerMatrix);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glBegin(GL_QUADS);
    for (const auto& quad : kShieldQuads) {
        for (int v : quad) {
            glNormal3fv(kShieldNormals[v]);
            glTexCoord2fv(kShieldTexture[v]);
            glVertex3f(vertices[v].x, vertices[v].y, vertices[v].z);
        }
    }
    glEnd();
    glPopMatrix();
    glMatrixMode(static_cast<GLenum>(callerMatrix));
    glDisable(GL_TEXTURE_2D);
    setFadedAlpha(remembered);
}

// In view space, before the roll and the world translation: neither rolls nor shakes. Takes
// the current colour.
void PlayerShip::drawCockpitOverlay() const {
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    drawOverlayQuad(textures.spriteAtlas, kCrosshair);
    drawOverlayQuad(textures.hudAtlas, kShieldCaption);
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}
