#include <gtest/gtest.h>

#include <cstdlib>

#include "assets/sound_bank.h"
#include "common/random.h"
#include "hud/hud.h"
#include "platform/audio.h"
#include "player/player_ship.h"
#include "sound_test_files.h"
#include "world/asteroid.h"

namespace {

struct AsteroidSound : ::testing::Test {
    soundtest::ScratchDir dir;
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        soundtest::writeAllSounds();
        ASSERT_TRUE(initSound());
        ASSERT_TRUE(loadSounds());
        asteroids = {};
        seedRandom(77);
        launchAsteroids();
        // The player at (0, 30, -20); the rock 700 ahead, 70 above and 70 to its left.
        player.position = {0.0f, -30.0f, 20.0f};
        rock().position = {-700.0f, 100.0f, 50.0f};
        rock().hitPoints = 1;
    }
    void TearDown() override { releaseSound(); }
    static Asteroid& rock() { return asteroids.rock[17]; }
};

bool anyCopyPlaying(SoundId first) {
    for (SoundId id = first; id < first + 5; ++id) {
        if (isSoundPlaying(id)) return true;
    }
    return false;
}

void expectSoundAt(SoundId id, float x, float y, float z) {
    ASSERT_TRUE(isSoundPlaying(id));
    float px, py, pz;
    platform::audioSourcePosition(soundBank.sources[id], px, py, pz);
    EXPECT_NEAR(px, x, 1e-3f);
    EXPECT_NEAR(py, y, 1e-3f);
    EXPECT_NEAR(pz, z, 1e-3f);
}

// Sounds sit a seventh of the way from the player to the rock, z mirrored for the listener.
TEST_F(AsteroidSound, APlainRockExplodesAtASeventhOfTheWayToIt) {
    rock().takeDamage(1);
    expectSoundAt(SoundExplode1, 100.0f, -10.0f, 10.0f);
    EXPECT_FALSE(anyCopyPlaying(SoundExplode2));
}

// The pickup explosion is a tenth of the way along the flight axis, still a seventh sideways.
TEST_F(AsteroidSound, ARockWithAPickupExplodesNearerAlongTheFlightAxis) {
    rock().carriesPickup = true;
    rock().takeDamage(1);
    expectSoundAt(SoundExplode2, 70.0f, -10.0f, 10.0f);
    EXPECT_FALSE(anyCopyPlaying(SoundExplode1));
}

TEST_F(AsteroidSound, SparkingHitsAndRammingAreSilent) {
    rock().hitPoints = 10;
    rock().takeDamage(3);
    rock().takeDamage(rammedAmount);
    EXPECT_FALSE(anyCopyPlaying(SoundExplode1));
    EXPECT_FALSE(anyCopyPlaying(SoundExplode2));
}

}  // namespace
