#include "app/main_loop.h"

#include <cstdlib>
#include <ctime>

#include "app/command_line.h"
#include "app/director.h"
#include "app/frame_log.h"
#include "app/frame_timer.h"
#include "app/game_update.h"
#include "app/game_window.h"
#include "app/input.h"
#include "app/press_latch.h"
#include "assets/game_icon.h"
#include "assets/meshes.h"
#include "assets/sound_bank.h"
#include "assets/texture_loader.h"
#include "common/fatal_error.h"
#include "common/globals.h"
#include "platform/events.h"
#include "platform/video.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "render/title_screen.h"

bool quitRequested = false;
bool texturingEnabled = true;

namespace {

// Handles one waiting message; false when none was waiting. WM_QUIT ends whatever loop runs.
bool dispatchOneMessage() {
    Message message;
    if (!platform::peekMessage(message)) return false;
    if (message.message == WM_QUIT) {
        quitRequested = true;
    } else {
        dispatchInput(message);
    }
    return true;
}

}  // namespace

void startSoundOrExit() {
    if (initSound() && loadSounds()) return;
    fatalError("Could not find wav files", "DirectSound3D Error");
}

void updateTitleFrame() {
    frameSeconds = tickFrameTimer();
    TitleInput input;
    input.seconds = frameSeconds;
    input.leftButtonDown = mouseLeftDown != 0;
    input.clickX = clickX;
    input.clickY = clickY;
    input.enterDown = keys.isDown(VK_RETURN);
    updateTitle(input);
}

void runTitleLoop() {
    while (!titleFinished && !quitRequested) {
        if (dispatchOneMessage()) continue;
        drawTitle();
        updateTitleFrame();
        if (startChosen || titleFinished) markFrame(FrameMark::StartHandled);
        endInputFrame();
        platform::swapBuffers();
        markFrame(FrameMark::FirstTitleFrame);
    }
}

void runGameLoop() {
    while (!quitRequested) {
        if (dispatchOneMessage()) continue;
        // The frame in which Escape is seen is still drawn, updated and shown.
        if (keys.isDown(VK_ESCAPE)) quitRequested = true;
        renderStereoFrame();
        updateGame();
        endInputFrame();
        platform::swapBuffers();
        markFrame(FrameMark::FirstGameFrame);
    }
}

int runGame() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // --windowed asks for the same window the refused-mode path offers.
    createGameWindow("Voxmere", windowWidth, windowHeight, 16, !runOptions.windowed);
    platform::setWindowIcon(drawGameIcon().data(), gameIconEdge);
    startSoundOrExit();

    platform::showCursor(true);  // the title menu needs the pointer
    loadTitleTextures();
    runTitleLoop();

    // The switch runs also when the title ended with quit: the game loop is then skipped.
    platform::showCursor(false);
    leaveTitle();
    freeTitleTextures();
    platform::captureJoystick();
    buildMeshLists();
    loadGameTextures();
    resetDirector();
    resetFrameTimer();
    player.setCameraOffset(-150, -25, 20);
    runGameLoop();

    destroyGameWindow();
    releaseSound();
    platform::releaseJoystick();
    return 0;
}
