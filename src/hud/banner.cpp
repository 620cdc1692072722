#include "hud/banner.h"

#include <GL/gl.h>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "view/fade.h"

Banner noticeBanner;
Banner messageBanner;

void Banner::updateBanner() {
    if (!running) return;
    elapsed += shared.frameSeconds;
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
    if (const BannerPicture* p = bannerPicture(image)) {
        const AtlasRect& r = p->rect;
        const float x = xOffset + p->planeShift;
        glBegin(GL_QUADS);
        glTexCoord2f(r.uLeft, r.vTop);
        glVertex3f(x, p->top, p->halfWidth);
        glTexCoord2f(r.uRight, r.vTop);
        glVertex3f(x, p->top, -p->halfWidth);
        glTexCoord2f(r.uRight, r.vBottom);
        glVertex3f(x, p->bottom, -p->halfWidth);
        glTexCoord2f(r.uLeft, r.vBottom);
        glVertex3f(x, p->bottom, p->halfWidth);
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    setFadedAlpha(remembered);
}
