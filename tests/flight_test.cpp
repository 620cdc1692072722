// The whole game update with the field and the ship: the opening timeline with the launch and
// the camera, ramming, speed-ups and the end of the game. Each test starts the game from its
// first frame on the hand-moved clock.
#include <gtest/gtest.h>

#include "support/flight.h"

namespace {

using namespace flight;

struct Flight : ::testing::Test {
    void SetUp() override {
        freshShip(7);
        startGame();
    }
    void TearDown() override { endGame(); }
};

TEST_F(Flight, NothingMovesOrCollidesBeforeSixSecondsThenTheWholeFieldFlies) {
    runUntil(5.99f);
    for (int i = 0; i < asteroids.count; ++i) {
        EXPECT_EQ(asteroids.rock[i].position.x, -10000.0f) << i;
        EXPECT_EQ(asteroids.rock[i].radius, 0.0f) << i;
    }
    EXPECT_EQ(player.hull, 100.0f);
    EXPECT_EQ(player.shield.strength, 60.0f);
    runUntil(6.02f);  // the frame that passes 6 s launches, and the field moves at once
    for (int i = 0; i < asteroids.count; ++i) {
        const Asteroid& a = asteroids.rock[i];
        EXPECT_TRUE(a.active);
        EXPECT_GE(a.position.x, -2199.0f) << i;
        EXPECT_LE(a.position.x, -1190.0f) << i;
        EXPECT_EQ(a.speed, 160.0f) << i;
        EXPECT_GE(a.speedFactor, 0.5f) << i;
        EXPECT_LE(a.speedFactor, 0.975f) << i;
        EXPECT_GT(a.radius, 0.0f) << i;
    }
}

TEST_F(Flight, TheCameraGlidesFromEightAndAHalfSecondsAndIsHomeAtTen) {
    runUntil(8.49f);
    EXPECT_EQ(player.cameraOffset.x, -150.0f);
    runUntil(9.0f);
    EXPECT_GT(player.cameraOffset.x, -150.0f + 40.0f);
    EXPECT_LT(player.cameraOffset.x, -150.0f + 60.0f);
    EXPECT_FALSE(player.shipHidden);
    runUntil(10.05f);
    EXPECT_EQ(player.cameraOffset.x, 0.0f);
    EXPECT_EQ(player.cameraOffset.y, 0.0f);
    EXPECT_TRUE(player.shipHidden);
    EXPECT_TRUE(shared.controlsLocked);
    runUntil(10.6f);
    EXPECT_FALSE(shared.controlsLocked);
    EXPECT_GT(player.shield.fadeTime, 1.8f) << "play begins behind a two-second spawn shield";
    EXPECT_LT(player.shield.strength, 60.0f);
    runUntil(12.7f);
    EXPECT_FALSE(player.shield.holds());
}

TEST_F(Flight, ControlsWorkOnlyOncePlayHasBegun) {
    hold(VK_RIGHT);
    hold(VK_CONTROL);
    runUntil(10.5f);
    EXPECT_EQ(player.position.z, 0.0f);
    EXPECT_EQ(beamsInFlight(), 0);
    EXPECT_EQ(requestsOf(SoundLaser1), 0);
    runUntil(11.0f);
    EXPECT_GT(player.position.z, 0.0f) << "right makes position.z grow";
    EXPECT_EQ(requestsOf(SoundLaser1), 1);
}

TEST_F(Flight, ARammingRockCostsTwentyTwoAndComesBackFarAheadSilently) {
    runUntil(13.0f);  // spawn shield gone
    const int before = static_cast<int>(sounds.size());
    Asteroid& rock = placeRock(5, 5, 0, 8, 4);  // 8 from the ship: inside 10 + 4
    gameFrames(1, 10);
    EXPECT_NEAR(player.hull, 78.0f, 1e-4f);
    EXPECT_TRUE(rock.active);
    EXPECT_FALSE(rock.exploding);
    EXPECT_LE(rock.position.x, -1000.0f + 200.0f * 0.01f);
    EXPECT_EQ(scoreDisplay.total, 0);
    for (int i = before; i < static_cast<int>(sounds.size()); ++i) {
        EXPECT_NE(sounds[i].id, SoundExplode1);
        EXPECT_NE(sounds[i].id, SoundExplode2);
    }
    gameFrames(1, 10);
    EXPECT_NEAR(player.hull, 78.0f, 1e-4f) << "cannot hit twice";
}

TEST_F(Flight, RocksCollideWithWhereTheShipWasBeforeItMovesThisFrame) {
    runUntil(13.0f);
    hold(VK_RIGHT);
    runUntil(14.0f);  // full speed to the right: position.z grows 1.5 per frame
    const float z = -player.position.z;
    placeRock(5, 0, 0, z + 13.9f, 4);  // touching now, out of reach once the ship has moved
    gameFrames(1, 10);
    EXPECT_LT(player.hull, 100.0f);
}

TEST_F(Flight, TheFieldSpeedsUpEverySixtySeconds) {
    player.lives = 100;  // left alone the fighter waves would end the game within a minute
    runUntil(59.9f);
    EXPECT_EQ(asteroids.rock[0].speed, 160.0f);
    runUntil(60.1f);
    for (int i = 0; i < asteroids.count; ++i) EXPECT_EQ(asteroids.rock[i].speed, 175.0f) << i;
    runUntil(120.1f);
    EXPECT_EQ(asteroids.rock[99].speed, 190.0f);
}

TEST_F(Flight, TheGameEndsFiveSecondsAfterTheLastLife) {
    runUntil(13.0f);
    player.lives = 1;
    player.hull = 1;
    placeRock(5, 0, 0, 0, 4);
    gameFrames(1, 10);
    ASSERT_TRUE(shared.gameOver);
    EXPECT_EQ(player.lives, 0);
    for (int i = 0; i < 499; ++i) {
        placeRock(6, 0, 0, 0, 4);  // more rams during the fade change nothing
        gameFrames(1, 10);
        ASSERT_FALSE(shared.quitRequested) << i;
    }
    EXPECT_EQ(player.lives, 0);
    EXPECT_LT(player.hull, 0.0f);
    gameFrames(2, 10);
    EXPECT_TRUE(shared.quitRequested);
}

}  // namespace
