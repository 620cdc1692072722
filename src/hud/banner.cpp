#include "hud/banner.h"

#include <GL/gl.h>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "render/fade.h"

Banner noticeBanner;
Banner messageBanner;

namespace {

// Where each picture sits in the HUD atlas and on screen. The two cards sit 70 units nearer
// than the messages; every quad spans z from +halfWidth (left) to -halfWidth (right).
struct BannerPicture {
    float uStart, uEnd, vStart, vEnd;
    float planeShift;  // added to xOffset
    float top, bottom, halfWidth;
};

constexpr BannerPicture kPictures[11] = {
    {0.0f, 0.56f, 0.0f, 0.081f, 0.0f, 12.0f, 6.0f, 21.0f},      // 1 opening card
    {0.56f, 0.75f, 0.0f, 0.08f, 0.0f, 6.0f, -6.0f, 12.0f},      // 2 start-of-play card
    {0.0f, 0.66f, 0.08f, 0.16f, -70.0f, 20.0f, 12.0f, 32.0f},   // 3 cannons upgraded
    {0.0f, 0.58f, 0.16f, 0.25f, -70.0f, 20.0f, 12.0f, 28.0f},   // 4 cannons added
    {0.66f, 1.0f, 0.08f, 0.16f, -70.0f, 20.0f, 12.0f, 16.0f},   // 5 shield charged
    {0.75f, 1.0f, 0.0f, 0.08f, -70.0f, 20.0f, 12.0f, 12.0f},    // 6 pause notice
    {0.0f, 0.5f, 0.25f, 0.333f, -70.0f, 20.0f, 12.0f, 24.0f},   // 7 rapid fire
    {0.5f, 0.83f, 0.25f, 0.333f, -70.0f, 20.0f, 12.0f, 16.0f},  // 8 hull repaired
    {0.0f, 0.5f, 0.33f, 0.42f, -70.0f, 24.0f, 8.0f, 48.0f},     // 9 game over
    {0.5f, 1.0f, 0.33f, 0.42f, -70.0f, 20.0f, 12.0f, 24.0f},    // 10 extra life
    {0.0f, 0.75f, 0.42f, 0.5f, -70.0f, 20.0f, 12.0f, 36.0f},    // 11 spread missiles
};

}  // namespace

void Banner::updateBanner() {
    if (!running) return;
    elapsed += frameSeconds;
    // The last frame still computes its final slide and fade; it is simply not drawn.
    if (elapsed >= duration) running = false;
    if (flags & kSlideIn) xOffset = elapsed / duration * 1000.0f - 990.0f;
    if (flags & kFadeOut) alpha = 1.0f - elapsed / duration;
    if (flags & kFadeIn) alpha = elapsed / duration;  // wins over fade out
}

void Banner::drawBanner() const {
    if (!running) return;
    const float remembered = currentAlpha();
    setFadedAlpha(alpha);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.hudAtlas);
    if (image >= 1 && image <= 11) {
        const BannerPicture& p = kPictures[image - 1];
        const float x = xOffset + p.planeShift;
        glBegin(GL_QUADS);
        glTexCoord2f(p.uStart, p.vStart);
        glVertex3f(x, p.top, p.halfWidth);
        glTexCoord2f(p.uEnd, p.vStart);
        glVertex3f(x, p.top, -p.halfWidth);
        glTexCoord2f(p.uEnd, p.vEnd);
        glVertex3f(x, p.bottom, -p.halfWidth);
        glTexCoord2f(p.uStart, p.vEnd);
        glVertex3f(x, p.bottom, p.halfWidth);
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    setFadedAlpha(remembered);
}
