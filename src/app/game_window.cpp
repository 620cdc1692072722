#include "app/game_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "common/fatal_error.h"
#include "platform/video.h"

GameWindow gameWindow;
int windowWidth = 640;
int windowHeight = 480;

namespace {

// The half-built window goes before the box, so the box never sits behind it.
[[noreturn]] void failWith(const char* text) {
    destroyGameWindow();
    fatalError(text, "ERROR");
}

}  // namespace

void createGameWindow(const char* title, int width, int height, int bits, bool fullScreenWanted) {
    gameWindow.fullScreen = fullScreenWanted;
    if (!platform::initVideo(false)) {
        fatalError("Failed To Register The Window Class.", "ERROR");
    }
    if (gameWindow.fullScreen && !platform::changeDisplayMode(width, height, bits)) {
        if (platform::askYesNo("The Requested Fullscreen Mode Is Not Supported By\n"
                               "Your Video Card. Use Windowed Mode Instead?",
                               "OpenGL", platform::BoxIcon::Warning)) {
            gameWindow.fullScreen = false;
        } else {
            fatalError("Program Will Now Close.", "ERROR", platform::BoxIcon::Stop);
        }
    }
    // In full screen the pointer starts hidden; the entry point shows it for the title menu.
    if (gameWindow.fullScreen) platform::showCursor(false);

    // Windowed, the client area (not the outer frame) is width x height, so the title menu's
    // pixel rectangles line up with the drawn buttons.
    if (!platform::createWindow(title, width, height, bits, gameWindow.fullScreen)) {
        failWith("Window Creation Error.");
    }
    gameWindow.window = true;
    if (!platform::createGlContext()) {
        failWith("Can't Create A GL Rendering Context.");
    }
    gameWindow.renderContext = true;
    if (!platform::makeGlContextCurrent()) {
        failWith("Can't Activate The GL Rendering Context.");
    }
    platform::showWindow();
    resizeView(width, height);
    initGlState();
}

void destroyGameWindow() {
    if (gameWindow.fullScreen) {
        platform::restoreDisplayMode();
        platform::showCursor(true);
        gameWindow.fullScreen = false;
    }
    if (gameWindow.renderContext) {
        platform::destroyGlContext();
        gameWindow.renderContext = false;
    }
    if (gameWindow.window) {
        platform::destroyWindow();
        gameWindow.window = false;
    }
}

void resizeView(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 1000.0);
    // Never seen: every frame loads its own view. It fixes the light direction set next.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(42, 40, 40, 8, 20, 0, 0, 1, 0);
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
