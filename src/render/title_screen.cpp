#include "render/title_screen.h"

#include <GL/gl.h>

#include "assets/banner_layout.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "profile/scores.h"
#include "view/flight_camera.h"

TitleState titleScreen;

namespace {

// Corners go top-left, top-right, bottom-right, bottom-left.
void drawQuad(const TitleQuad& quad) {
    constexpr float x = -10.0f;
    const float top = static_cast<float>(quad.top), bottom = static_cast<float>(quad.bottom);
    const float left = static_cast<float>(quad.left), right = static_cast<float>(quad.right);
    const float sLeft = static_cast<float>(quad.sLeft), sRight = static_cast<float>(quad.sRight);
    const float tTop = static_cast<float>(quad.tTop), tBottom = static_cast<float>(quad.tBottom);
    glBegin(GL_QUADS);
    glTexCoord2f(sLeft, tTop);
    glVertex3f(x, top, left);
    glTexCoord2f(sRight, tTop);
    glVertex3f(x, top, right);
    glTexCoord2f(sRight, tBottom);
    glVertex3f(x, bottom, right);
    glTexCoord2f(sLeft, tBottom);
    glVertex3f(x, bottom, left);
    glEnd();
}

// Only the three offered separations have a marker.
void drawSeparationMarker() {
    for (int i = 0; i < 3; ++i) {
        if (shared.eyeSeparation == kSeparationChoices[i]) drawQuad(kSeparationMarkers[i]);
    }
}

// A quad of the HUD atlas in the page plane, from z = left to z = right (right of it on screen).
void drawAtlasQuad(const AtlasRect& r, double top, double bottom, double left, double right) {
    constexpr float x = -10.0f;
    const float t = static_cast<float>(top), b = static_cast<float>(bottom);
    const float l = static_cast<float>(left), rt = static_cast<float>(right);
    glBegin(GL_QUADS);
    glTexCoord2f(r.uLeft, r.vTop);
    glVertex3f(x, t, l);
    glTexCoord2f(r.uRight, r.vTop);
    glVertex3f(x, t, rt);
    glTexCoord2f(r.uRight, r.vBottom);
    glVertex3f(x, b, rt);
    glTexCoord2f(r.uLeft, r.vBottom);
    glVertex3f(x, b, l);
    glEnd();
}

// "BEST" and six digits, as the HUD shows the score; the highest figures wrap as the HUD's do.
void drawBestScore() {
    glBindTexture(GL_TEXTURE_2D, textures.hudAtlas);
    drawAtlasQuad(kBestLabelRect, kBestRowTop, kBestRowBottom, kBestRowLeft,
                  kBestRowLeft - kBestLabelWidth);
    const int32_t best = bestScores.best();
    int32_t divisor = 100000;
    for (int i = 0; i < 6; ++i, divisor /= 10) {
        const int digit = best / divisor % 10;
        const double left = kBestDigitsLeft - i * kBestDigitStep;
        drawAtlasQuad(digitCell(digit), kBestRowTop, kBestRowBottom, left, left - kBestDigitWidth);
    }
}

void drawHelpPage() {
    glBindTexture(GL_TEXTURE_2D, textures.titleHelpPage);
    drawQuad(kPageSquare);
    glBindTexture(GL_TEXTURE_2D, textures.titleOptionsPage);
    glPushMatrix();
    glTranslatef(0.0f, static_cast<float>(kHelpBackShiftY), static_cast<float>(kHelpBackShiftZ));
    drawQuad(kBackButtonQuad);
    glPopMatrix();
}

void drawOptionsPage() {
    glBindTexture(GL_TEXTURE_2D, textures.titleOptionsPage);
    if (shared.stereoEnabled) {
        drawQuad(kOptionsPageStereo);
        drawSeparationMarker();
    } else {
        drawQuad(kOptionsPageMono);
    }
    drawQuad(shared.stereoEnabled ? kOnLabelQuad : kOffLabelQuad);
    drawQuad(kBackButtonQuad);
    drawQuad(shared.stereoEnabled ? kStereoOnMarker : kStereoOffMarker);
}

void updateMainPage(int32_t x, int32_t y) {
    if (pointInRect(x, y, kStartButton)) titleScreen.startChosen = true;
    if (pointInRect(x, y, kQuitButton)) shared.quitRequested = true;
    if (pointInRect(x, y, kHelpButton)) titleScreen.helpPage = true;
    if (pointInRect(x, y, kOptionsButton)) titleScreen.optionsPage = true;
}

void updateOptionsPage(int32_t x, int32_t y) {
    if (pointInRect(x, y, kStereoOnButton)) shared.stereoEnabled = true;
    if (pointInRect(x, y, kStereoOffButton)) {
        shared.stereoEnabled = false;
    } else if (shared.stereoEnabled) {
        // The separation row exists only while stereo is on; the choice is kept while off.
        for (int i = 0; i < 3; ++i) {
            if (pointInRect(x, y, kSeparationButtons[i]))
                shared.eyeSeparation = kSeparationChoices[i];
        }
    }
    if (pointInRect(x, y, kOptionsBackButton)) titleScreen.optionsPage = false;
}

}  // namespace

bool pointInRect(int32_t x, int32_t y, const MenuRect& rect) {
    return rect.left < x && x < rect.right && rect.top < y && y < rect.bottom;
}

void drawTitle() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadFlightCamera();
    glColor4f(1.0f, 1.0f, 1.0f, titleScreen.fade);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (titleScreen.helpPage) {
        drawHelpPage();
    } else if (titleScreen.optionsPage) {
        drawOptionsPage();
    } else {
        glBindTexture(GL_TEXTURE_2D, textures.titleMainPage);
        drawQuad(kPageSquare);
        drawBestScore();
    }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void updateTitle(const TitleInput& input) {
    // The press point stays while the button is held, so the tests repeat every frame.
    if (input.leftButtonDown) {
        const int32_t x = input.clickX, y = input.clickY;
        if (titleScreen.helpPage) {
            if (pointInRect(x, y, kHelpBackButton)) titleScreen.helpPage = false;
        } else if (titleScreen.optionsPage) {
            updateOptionsPage(x, y);
        } else {
            updateMainPage(x, y);
        }
    }
    if (input.enterDown) shared.titleFinished = true;
    // Clicks keep working while the page fades.
    if (titleScreen.startChosen) {
        titleScreen.fade -= input.seconds;
        if (titleScreen.fade < 0.0f) shared.titleFinished = true;
    }
}

void leaveTitle() {
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
}
