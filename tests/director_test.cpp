#include <gtest/gtest.h>

#include "assets/asset_files.h"
#include "assets/sound_bank.h"
#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "platform/audio.h"
#include "player/player_ship.h"
#include "rules/director.h"
#include "sound_test_files.h"

namespace {

void frame(float seconds) {
    shared.frameSeconds = seconds;
    updateDirector();
}

TEST(Director, OpeningLocksControlsShowsTheCardAndFadesInOverThreeSeconds) {
    resetDirector();
    frame(0.5f);
    EXPECT_TRUE(shared.controlsLocked);
    EXPECT_TRUE(noticeBanner.running);
    EXPECT_EQ(noticeBanner.image, 1);
    EXPECT_FALSE(timeDisplay.active);  // laid out, not shown yet
    EXPECT_NEAR(shared.fadeAlpha, 0.5f / 3.0f, 1e-5f);
    for (int i = 0; i < 5; ++i) frame(0.5f);
    EXPECT_NEAR(shared.fadeAlpha, 1.0f, 1e-5f);
    frame(0.5f);  // the fade-in is over: shared.fadeAlpha is not written again
    EXPECT_NEAR(shared.fadeAlpha, 1.0f, 1e-5f);
}

TEST(Director, LongFramesFireTheTimedEventsOnePerFrameInOrder) {
    resetDirector();
    player.setCameraOffset(-150, -25, 20);
    frame(11.0f);  // opening set-up only, although every event is already due
    EXPECT_FALSE(messageBanner.running);
    frame(0.0f);  // asteroid launch
    frame(0.0f);  // camera glide
    EXPECT_FALSE(messageBanner.running);
    frame(0.0f);  // the start-of-play card
    EXPECT_TRUE(messageBanner.running);
    EXPECT_EQ(messageBanner.image, 2);
    EXPECT_EQ(player.cameraOffset.x, -150.0f);
    frame(0.0f);  // the camera snaps home
    EXPECT_EQ(player.cameraOffset.x, 0.0f);
    EXPECT_FALSE(shared.playStarted);
    frame(0.0f);  // play begins
    EXPECT_TRUE(shared.playStarted);
    EXPECT_FALSE(shared.controlsLocked);
    EXPECT_TRUE(scoreDisplay.active && timeDisplay.active && livesDisplay.active);
    EXPECT_TRUE(hullGauge.active && shieldGauge.active);
}

TEST(Director, GameOverDuringTheOpeningStopsTheTimelineAndFadesOutThenQuits) {
    resetDirector();
    frame(1.0f);
    shared.gameOver = true;
    float previous = 1.0f;  // the fade-out starts from full, wherever the fade-in had got to
    for (int i = 0; i < 20; ++i) {
        frame(0.25f);
        EXPECT_LT(shared.fadeAlpha, previous);
        previous = shared.fadeAlpha;
        EXPECT_EQ(messageBanner.image, 9);
        EXPECT_FALSE(shared.quitRequested) << "quit only once the clock has passed 5 s";
    }
    EXPECT_NEAR(shared.fadeAlpha, 0.0f, 1e-5f);
    frame(0.01f);
    EXPECT_TRUE(shared.quitRequested);
    EXPECT_FALSE(shared.playStarted);
    EXPECT_TRUE(shared.controlsLocked);
}

TEST(Director, OpeningMusicStartsAtOnceTheGameMusicLoopsFromPlayAndStopsAfterGameOver) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    soundtest::ScratchDir dir;
    soundtest::writeAllSounds();
    soundtest::WavLayout longMusic;
    longMusic.seconds = 5.0;  // outlasts the test, so "playing" means it was started
    soundtest::writeWav(kSoundFiles[SoundFileLoop0], longMusic);
    soundtest::writeWav(kSoundFiles[SoundFileLoop1], longMusic);
    ASSERT_TRUE(initSound());
    ASSERT_TRUE(loadSounds());

    resetDirector();
    frame(0.1f);
    EXPECT_TRUE(isSoundPlaying(SoundLoop0));
    EXPECT_FALSE(isSoundPlaying(SoundLoop1));

    frame(11.0f);
    while (!shared.playStarted) {
        EXPECT_FALSE(isSoundPlaying(SoundLoop1)) << "game music before play begins";
        frame(0.0f);
    }
    EXPECT_TRUE(isSoundPlaying(SoundLoop1));
    EXPECT_TRUE(platform::isAudioSourceLooping(soundBank.sources[SoundLoop1]));

    shared.gameOver = true;
    frame(4.9f);
    EXPECT_TRUE(isSoundPlaying(SoundLoop1)) << "the music plays on through the fade";
    frame(0.2f);
    EXPECT_TRUE(shared.quitRequested);
    EXPECT_FALSE(isSoundPlaying(SoundLoop1));
    releaseSound();
}

}  // namespace
