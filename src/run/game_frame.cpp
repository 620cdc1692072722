#include "common/random.h"
#include "run/game_frame.h"


#include "common/globals.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "render/title_screen.h"
#include "rules/director.h"
#include "rules/frame_timer.h"
#include "rules/game_update.h"
#include "run/recorded_run.h"
#include "view/frame_scale.h"
#include "view/projection.h"

void deliverMessage(const Message& message) {
    if (message.message == WM_QUIT) {
        shared.quitRequested = true;
    } else {
        dispatchInput(message);
    }
}

void enterGame(uint32_t seed) {
    // Seeded here rather than at start-up: the title screen, which a replay skips, then cannot
    // shift the game's draws.
    seedRandom(seed);
    resetDirector();
    resetFrameTimer();
    player.setCameraOffset(-150, -25, 20);
}

void runGameFrame(bool draw) {
    // The frame in which Escape is seen is still drawn, updated and shown.
    if (input.keys.isDown(VK_ESCAPE)) shared.quitRequested = true;
    if (draw) {
        followWindowSize();
        beginScaledFrame();
        renderStereoFrame();
        endScaledFrame();
    }
    updateGame();
    endInputFrame();
}

void updateTitleFrame() {
    shared.frameSeconds = tickFrameTimer();
    TitleInput title;
    title.seconds = shared.frameSeconds;
    title.leftButtonDown = input.mouseLeftDown != 0;
    windowToPage(input.clickX, input.clickY, title.clickX, title.clickY);
    title.enterDown = input.keys.isDown(VK_RETURN);
    updateTitle(title);
}

void gameLoopPass(const Message* message, bool draw) {
    if (message != nullptr) {
        recordMessage(*message);
        deliverMessage(*message);
        return;
    }
    recordFrameClock();
    runGameFrame(draw);
}
