#include "app/game_window.h"

#include "common/fatal_error.h"
#include "platform/video.h"
#include "view/projection.h"

GameWindow gameWindow;

namespace {

// The half-built window goes before the box, so the box never sits behind it.
[[noreturn]] void failWith(const char* text) {
    destroyGameWindow();
    fatalError(text, "ERROR");
}

}  // namespace

void createGameWindow(const char* title, int width, int height, int bits, FullScreenKind kind) {
    if (!platform::initVideo(false)) {
        fatalError("Failed To Register The Window Class.", "ERROR");
    }
    if (kind == FullScreenKind::Mode && platform::modeSwitchIsEmulated()) {
        kind = FullScreenKind::Desktop;
    }
    gameWindow.fullScreen = kind != FullScreenKind::None;
    if (kind == FullScreenKind::Mode && !platform::changeDisplayMode(width, height, bits)) {
        if (platform::askYesNo("The Requested Fullscreen Mode Is Not Supported By\n"
                               "Your Video Card. Use Windowed Mode Instead?",
                               "OpenGL", platform::BoxIcon::Warning)) {
            gameWindow.fullScreen = false;
            kind = FullScreenKind::None;
        } else {
            fatalError("Program Will Now Close.", "ERROR", platform::BoxIcon::Stop);
        }
    }
    // In full screen the pointer starts hidden; the entry point shows it for the title menu.
    if (gameWindow.fullScreen) platform::showCursor(false);

    // Windowed, the client area (not the outer frame) is width x height to start with.
    const platform::WindowMode mode =
        kind == FullScreenKind::Mode      ? platform::WindowMode::FullScreenMode
        : kind == FullScreenKind::Desktop ? platform::WindowMode::FullScreenDesktop
                                          : platform::WindowMode::Windowed;
    if (!platform::createWindow(title, width, height, bits, mode)) {
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
    followWindowSize();
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
