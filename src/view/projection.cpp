#include "view/projection.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/video.h"

WindowView windowView;

namespace {

// The square title page and the head-up display sit in the middle 4:3 of the view; 16:9 is
// as wide as the backdrop reaches (it ends 500 units out, 995 away).
constexpr double kNarrowest = 4.0 / 3.0;
constexpr double kWidest = 16.0 / 9.0;

// The largest rectangle of an aspect between the two that fits the client area, centred.
PictureRect fitPicture(int width, int height) {
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    PictureRect rect{0, 0, width, height};
    if (aspect < kNarrowest) {
        rect.height = static_cast<int>(width / kNarrowest + 0.5);
        rect.top = (height - rect.height) / 2;
    } else if (aspect > kWidest) {
        rect.width = static_cast<int>(height * kWidest + 0.5);
        rect.left = (width - rect.width) / 2;
    }
    return rect;
}

}  // namespace

void resizeView(int width, int height) {
    if (height == 0) height = 1;
    if (width == 0) width = 1;
    windowView.width = width;
    windowView.height = height;
    windowView.picture = fitPicture(width, height);
    // GL counts rows from the bottom.
    glViewport(windowView.picture.left, height - windowView.picture.top - windowView.picture.height,
               windowView.picture.width, windowView.picture.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0,
                   static_cast<double>(windowView.picture.width) /
                       static_cast<double>(windowView.picture.height),
                   1.0, 1000.0);
    // Never seen: every frame loads its own view. It fixes the light direction set next.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(42, 40, 40, 8, 20, 0, 0, 1, 0);
}

void followWindowSize() {
    int width = 0, height = 0;
    platform::drawableSize(width, height);
    if (width <= 0 || height <= 0) return;  // no window, or minimised: keep the last view
    if (width != windowView.width || height != windowView.height) resizeView(width, height);
}

namespace {

// The page pixel under the centre of client pixel `value`: the page is 480 page pixels to the
// picture's height, centred on the picture. Twice the offsets keep the half pixels whole.
int32_t pageCoordinate(int32_t value, int pictureStart, int pictureSize, int pageCentre) {
    const int64_t offset2 = 2 * static_cast<int64_t>(value) + 1 - 2 * pictureStart - pictureSize;
    const int64_t numerator = offset2 * 480;
    const int64_t denominator = 2 * static_cast<int64_t>(windowView.picture.height);
    int64_t quotient = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0) --quotient;  // rounds down, not to zero
    return static_cast<int32_t>(pageCentre + quotient);
}

}  // namespace

void windowToPage(int32_t x, int32_t y, int32_t& pageX, int32_t& pageY) {
    pageX = pageCoordinate(x, windowView.picture.left, windowView.picture.width, 320);
    pageY = pageCoordinate(y, windowView.picture.top, windowView.picture.height, 240);
}

void initGlState() {
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    // A directional light, transformed by the look-at above: it stays fixed relative to the
    // viewer for the whole run.
    const GLfloat lightPosition[] = {1.0f, 1.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const GLfloat fogColour[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.003f);
    glFogf(GL_FOG_START, 500.0f);
    glFogf(GL_FOG_END, 1000.0f);
}
