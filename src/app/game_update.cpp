#include "app/game_update.h"

#include "app/director.h"
#include "app/frame_timer.h"
#include "app/input.h"
#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "platform/clock.h"

bool paused = false;
bool pauseKeyLatch = false;

namespace {

// While paused nothing advances; only a fresh press of P resumes, and the resume frame itself
// does no update. Restarting the timer keeps the paused time out of frameSeconds.
void updatePaused() {
    if (!keys.isDown(VK_P)) {
        pauseKeyLatch = false;
        return;
    }
    if (pauseKeyLatch) return;
    pauseKeyLatch = true;
    paused = false;
    frameTimer.lastTickMs = platform::timeGetTime();
}

}  // namespace

void updateGame() {
    if (paused) {
        updatePaused();
        return;
    }
    frameSeconds = tickFrameTimer();

    if (!keys.isDown(VK_P)) {
        pauseKeyLatch = false;
    } else if (!pauseKeyLatch) {
        // The pause takes effect from the next frame; this one still updates.
        pauseKeyLatch = true;
        noticeBanner.setDuration(0.5f);
        noticeBanner.setMode(Banner::kFadeOut);  // overlay pass, at screen depth
        noticeBanner.setImage(BannerPauseNotice);
        noticeBanner.start();
        paused = true;
    }

    updateDirector();

    // Last, after everything that starts pictures: a banner started this frame has already
    // advanced once when it is first drawn.
    noticeBanner.updateBanner();
    messageBanner.updateBanner();
    timeDisplay.update();
}
