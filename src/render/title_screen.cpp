#include "render/title_screen.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/frame_timer.h"
#include "app/input.h"
#include "assets/texture_table.h"
#include "common/globals.h"

bool stereoEnabled = true;
float eyeSeparation = 5.0f;

float titleFade = 1.0f;
bool startChosen = false;
bool helpPage = false;
bool optionsPage = false;

namespace {

constexpr MenuRect kStart{356, 289, 408, 313};
constexpr MenuRect kQuit{429, 289, 481, 313};
constexpr MenuRect kHelp{161, 289, 229, 313};
constexpr MenuRect kOptions{246, 289, 334, 313};
constexpr MenuRect kHelpBack{434, 427, 481, 446};
constexpr MenuRect kStereoOn{195, 149, 257, 191};
constexpr MenuRect kStereoOff{375, 149, 440, 191};
constexpr MenuRect kSeparation5{192, 255, 241, 276};
constexpr MenuRect kSeparation35{287, 255, 339, 276};
constexpr MenuRect kSeparation2{388, 255, 444, 276};
constexpr MenuRect kOptionsBack{401, 326, 448, 345};

// Every title quad lies in the plane x = -10, 40 units in front of the camera; screen right
// is -z. Corners go top-left, top-right, bottom-right, bottom-left.
void drawQuad(float top, float bottom, float left, float right, float sLeft, float sRight,
              float tTop, float tBottom) {
    constexpr float x = -10.0f;
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

// The widgets cut from the lower part of the options texture.
void drawBackButton() {
    drawQuad(-3.8f, -5.0f, -3.5f, -6.0f, 0.83f, 1.0f, 0.83f, 0.92f);
}

void drawMarker(float top, float bottom, float left, float right) {
    drawQuad(top, bottom, left, right, 0.58f, 0.75f, 0.83f, 0.92f);
}

void drawOnOffLabel() {
    const float sLeft = stereoEnabled ? 0.0f : 0.25f;
    drawQuad(4.0f, 2.0f, 1.5f, -1.5f, sLeft, sLeft + 0.25f, 0.83f, 1.0f);
}

void drawStereoMarker() {
    if (stereoEnabled) {
        drawMarker(3.6f, 2.5f, 5.3f, 3.0f);
    } else {
        drawMarker(3.6f, 2.5f, -2.8f, -5.1f);
    }
}

// Only the three offered separations have a marker.
void drawSeparationMarker() {
    if (eyeSeparation == 5.0f) {
        drawMarker(-0.65f, -1.75f, 5.5f, 3.2f);
    } else if (eyeSeparation == 3.5f) {
        drawMarker(-0.65f, -1.75f, 1.35f, -1.35f);
    } else if (eyeSeparation == 2.0f) {
        drawMarker(-0.65f, -1.75f, -3.2f, -5.5f);
    }
}

void drawPageSquare() {
    drawQuad(8.0f, -8.0f, 8.0f, -8.0f, 0.0f, 1.0f, 0.0f, 1.0f);
}

void drawHelpPage() {
    glBindTexture(GL_TEXTURE_2D, textures.titleHelpPage);
    drawPageSquare();
    // The help page borrows the options page's back button, lower and further right.
    glBindTexture(GL_TEXTURE_2D, textures.titleOptionsPage);
    glPushMatrix();
    glTranslatef(0.0f, -4.5f, -1.5f);
    drawBackButton();
    glPopMatrix();
}

void drawOptionsPage() {
    glBindTexture(GL_TEXTURE_2D, textures.titleOptionsPage);
    if (stereoEnabled) {
        drawQuad(8.0f, -4.0f, 8.0f, -8.0f, 0.0f, 1.0f, 0.0f, 0.75f);
        drawSeparationMarker();
    } else {
        // Without stereo the separation row is cut off the page.
        drawQuad(8.0f, 1.33f, 8.0f, -8.0f, 0.0f, 1.0f, 0.0f, 0.416f);
    }
    drawOnOffLabel();
    drawBackButton();
    drawStereoMarker();
}

void updateMainPage(int32_t x, int32_t y) {
    if (pointInRect(x, y, kStart)) startChosen = true;
    if (pointInRect(x, y, kQuit)) quitRequested = true;
    if (pointInRect(x, y, kHelp)) helpPage = true;
    if (pointInRect(x, y, kOptions)) optionsPage = true;
}

void updateOptionsPage(int32_t x, int32_t y) {
    if (pointInRect(x, y, kStereoOn)) stereoEnabled = true;
    if (pointInRect(x, y, kStereoOff)) {
        stereoEnabled = false;
    } else if (stereoEnabled) {
        // The separation row exists only while stereo is on; the choice is kept while off.
        if (pointInRect(x, y, kSeparation5)) eyeSeparation = 5.0f;
        if (pointInRect(x, y, kSeparation35)) eyeSeparation = 3.5f;
        if (pointInRect(x, y, kSeparation2)) eyeSeparation = 2.0f;
    }
    if (pointInRect(x, y, kOptionsBack)) optionsPage = false;
}

}  // namespace

bool pointInRect(int32_t x, int32_t y, const MenuRect& rect) {
    return rect.left < x && x < rect.right && rect.top < y && y < rect.bottom;
}

void drawTitle() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(30, 0, 0, -350, 0, 0, 0, 1, 0);
    glColor4f(1.0f, 1.0f, 1.0f, titleFade);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (helpPage) {
        drawHelpPage();
    } else if (optionsPage) {
        drawOptionsPage();
    } else {
        glBindTexture(GL_TEXTURE_2D, textures.titleMainPage);
        drawPageSquare();
    }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void updateTitle() {
    frameSeconds = tickFrameTimer();
    // The press point stays while the button is held, so the tests repeat every frame.
    if (mouseLeftDown) {
        if (helpPage) {
            if (pointInRect(clickX, clickY, kHelpBack)) helpPage = false;
        } else if (optionsPage) {
            updateOptionsPage(clickX, clickY);
        } else {
            updateMainPage(clickX, clickY);
        }
    }
    if (keys.isDown(VK_RETURN)) titleFinished = true;
    // Clicks keep working while the page fades.
    if (startChosen) {
        titleFade -= frameSeconds;
        if (titleFade < 0.0f) titleFinished = true;
    }
}

void leaveTitle() {
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
}
