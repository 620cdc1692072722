#include "rules/director.h"

#include "assets/sound_bank.h"
#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"

namespace {

struct DirectorState {
    float levelTime = 0.0f;
    float spawnClock = 0.0f;
    float speedClock = 0.0f;
    float gameOverClock = 0.0f;
    float fadeInTime = 3.0f;
    // One-shot events of the opening; only the first six of the hundred are used.
    bool eventFired[100] = {};
};

DirectorState director;

enum DirectorEvent {
    OpeningStarted,
    AsteroidsLaunched,
    CameraGlide,
    StartCard,
    CameraHome,
    PlayBegins
};

void startOpening() {
    shared.controlsLocked = true;
    noticeBanner.setImage(BannerOpeningCard);
    noticeBanner.setMode(Banner::kOverlay);
    noticeBanner.setDuration(9.2f);
    noticeBanner.start();
    timeDisplay.setPosition(-100, -30, -25);
    timeDisplay.setSize(24, 3);
    timeDisplay.setBrightness(0.7f);
    timeDisplay.arrange(1);
    scoreDisplay.setPosition(-100, -30, 45);
    scoreDisplay.setSize(18, 3);
    scoreDisplay.setBrightness(0.7f);
    scoreDisplay.resetScore();
    livesDisplay.setPosition(-100, 30, 42);
    livesDisplay.setCount(3);
    hullGauge.setValue(100);
    hullGauge.setPosition(-100, 26, 43);
    shieldGauge.setValue(100);
    shieldGauge.setPosition(-100, 26, -22);
    playSound(SoundLoop0, 0, 0, 0, SoundPlayOnce);
}

void beginPlay() {
    playSound(SoundLoop1, 0, 0, 0, SoundPlayLooping);
    shared.controlsLocked = false;
    shared.playStarted = true;
    scoreDisplay.arrange(true);
    timeDisplay.show();
    livesDisplay.show();
    hullGauge.show();
    shieldGauge.show();
    player.shield.fadeTime = 2.0f;  // play begins behind a two-second spawn shield
}

struct TimedEvent {
    DirectorEvent event;
    float after;  // seconds of level time that must have passed (strictly)
};

// In table order; at most one fires per frame.
constexpr TimedEvent kTimeline[] = {
    {AsteroidsLaunched, 6.0f}, {CameraGlide, 8.5f},  {StartCard, 9.5f},
    {CameraHome, 10.0f},       {PlayBegins, 10.52f},
};

void fire(DirectorEvent event) {
    switch (event) {
        case AsteroidsLaunched:
            launchAsteroids();
            break;
        case CameraGlide:
            player.glideCameraTo(0, 0, 0, 100);
            break;
        case StartCard:
            messageBanner.setImage(BannerStartCard);
            messageBanner.setDuration(1.0f);
            messageBanner.setMode(Banner::kStereo | Banner::kSlideIn);
            messageBanner.start();
            break;
        case CameraHome:
            // From here on the view is from the cockpit.
            player.setCameraOffset(0, 0, 0);
            player.shipHidden = true;
            break;
        case PlayBegins:
            beginPlay();
            break;
        case OpeningStarted:
            break;
    }
}

}  // namespace

void resetDirector() {
    for (bool& fired : director.eventFired) fired = false;
}

void resetDirectorState() {
    director = {};
}

void updateDirector() {
    director.levelTime += shared.frameSeconds;
    director.spawnClock += shared.frameSeconds;
    director.speedClock += shared.frameSeconds;

    if (shared.gameOver) {
        // Restarted every frame, so the picture stays at full banner alpha while it fades out.
        messageBanner.setImage(BannerGameOver);
        messageBanner.setMode(Banner::kStereo);
        messageBanner.setDuration(5.0f);
        messageBanner.start();
        director.gameOverClock += shared.frameSeconds;
        shared.fadeAlpha = (5.0f - director.gameOverClock) * 0.2f;
        if (director.gameOverClock > 5.0f) {
            shared.quitRequested = true;
            stopSound(SoundLoop1);
        }
        return;
    }

    if (director.fadeInTime > 0.0f) {
        director.fadeInTime -= shared.frameSeconds;
        shared.fadeAlpha =
            (3.0f - director.fadeInTime) * 0.33333334f;  // not clamped: may end a little above 1
    }
    if (director.spawnClock >= 20.0f) {
        // A wave of five; a wave that finds fewer free slots is smaller, nothing is queued.
        director.spawnClock = 0.0f;
        for (int i = 0; i < 5; ++i) spawnFighter();
    }
    if (director.speedClock >= 60.0f) {
        director.speedClock = 0.0f;
        for (int i = 0; i < asteroids.count; ++i) asteroids.rock[i].addSpeed(15.0f);
    }

    if (!director.eventFired[OpeningStarted]) {
        startOpening();
        director.eventFired[OpeningStarted] = true;
        return;
    }
    for (const TimedEvent& timed : kTimeline) {
        if (director.levelTime > timed.after && !director.eventFired[timed.event]) {
            director.eventFired[timed.event] = true;
            fire(timed.event);
            return;
        }
    }
}
