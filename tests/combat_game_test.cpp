// Fighters and pickups inside the whole game update: waves from the director, collection in
// slot order before the ship updates, the spawn shield, and the player's weapons against
// fighters.
#include <gtest/gtest.h>

#include "support/combat.h"

namespace {

using namespace flight;
using combat::placeFighter;

struct CombatGame : ::testing::Test {
    void SetUp() override {
        combat::freshGame(11);
        startGame();
    }
    void TearDown() override { endGame(); }
    static int fightersInUse() {
        int n = 0;
        for (const EnemyFighter& f : fighters) n += f.inUse() ? 1 : 0;
        return n;
    }
};

TEST_F(CombatGame, FiveFightersEveryTwentySecondsIntoWhateverSlotsAreFree) {
    runUntil(19.98f);
    EXPECT_EQ(fightersInUse(), 0);
    runUntil(20.02f);
    EXPECT_EQ(fightersInUse(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(fighters[i].active);
        EXPECT_LE(fighters[i].position.x, -800);
    }
    // Just before the next wave only slot 2 is free; slot 17 is busy with its explosion.
    runUntil(39.98f);
    for (int i = 0; i < fighterCount; ++i) placeFighter(i, -50000, 0, 0);
    fighters[2].active = false;
    fighters[17].active = false;
    fighters[17].exploding = true;
    fighters[17].explosion.ignite(0, 0, 0);
    runUntil(40.02f);
    EXPECT_EQ(fightersInUse(), 20);
    EXPECT_GT(fighters[2].position.x, -1001) << "the free slot took part of the wave";
    EXPECT_FALSE(fighters[17].active);
    // The explosion has run and slot 17 is free again, but the rest of the wave was not queued.
    runUntil(42.6f);
    EXPECT_FALSE(fighters[17].inUse());
}

TEST_F(CombatGame, OverlappingPickupsAreAllCollectedInSlotOrderBeforeTheShipUpdates) {
    runUntil(13);
    player.hull = 50;
    pickups[3].startPickup(0, 0, 0, 0);
    pickups[3].buildPickup(4);  // hull repair
    pickups[7].startPickup(0, 5, 0, 0);
    pickups[7].buildPickup(6);  // extra life
    const int scoreBefore = scoreDisplay.total;
    sounds.clear();
    gameFrames(1, 10);
    EXPECT_FALSE(pickups[3].active);
    EXPECT_FALSE(pickups[7].active);
    EXPECT_EQ(player.hull, 83);
    EXPECT_EQ(player.lives, 4);
    EXPECT_EQ(scoreDisplay.total, scoreBefore + 200);
    EXPECT_EQ(requestsOf(SoundPowerUp), 2);
    EXPECT_EQ(messageBanner.image, BannerExtraLife) << "slot 7's message comes last";

    // The other way round the repair speaks last.
    pickups[2].startPickup(0, 0, 0, 0);
    pickups[2].buildPickup(6);
    pickups[9].startPickup(0, 0, 5, 0);
    pickups[9].buildPickup(4);
    gameFrames(1, 10);
    EXPECT_EQ(messageBanner.image, BannerHullRepaired);
}

TEST_F(CombatGame, AfterTheLastLifeTheWreckCollectsNothing) {
    runUntil(13);
    player.lives = 1;
    player.shield.setStrength(0);
    player.takeDamage(200);
    ASSERT_TRUE(shared.gameOver);
    const int scoreBefore = scoreDisplay.total;
    pickups[0].startPickup(0, 0, 0, 0);
    pickups[0].buildPickup(6);  // extra life, right on the ship
    gameFrames(1, 10);
    EXPECT_EQ(player.lives, 0);
    EXPECT_EQ(scoreDisplay.total, scoreBefore);
    EXPECT_EQ(messageBanner.image, BannerGameOver);
    EXPECT_TRUE(pickups[0].active) << "it drifts on";
}

TEST_F(CombatGame, APickupDriftingPastTenIsGoneBeforeItCouldBeCollected) {
    runUntil(13);
    pickups[0].startPickup(9.5f, 0, 0, 100);  // at 10.5 after this frame, still touching the ship
    pickups[0].buildPickup(4);
    pickups[1].startPickup(9.0f, 0, 0, 100);  // at 10 exactly: still in play, collected
    pickups[1].buildPickup(5);
    player.hull = 50;
    gameFrames(1, 10);
    EXPECT_FALSE(pickups[0].active);
    EXPECT_FALSE(pickups[1].active);
    EXPECT_EQ(player.hull, 50) << "the repair drifted past first";
    EXPECT_TRUE(player.autoFire);
}

TEST_F(CombatGame, PlayBeginsBehindAFadingSpawnShieldThatOverwritesAShieldPickup) {
    runUntil(10.6f);
    ASSERT_GT(player.shield.fadeTime, 0.0f);
    pickups[0].startPickup(0, 0, 0, 0);
    pickups[0].buildPickup(3);
    gameFrames(1, 10);
    EXPECT_FALSE(pickups[0].active);
    EXPECT_NEAR(player.shield.strength, player.shield.fadeTime * 30, 1e-4)
        << "the fade has the last word";
    EXPECT_LT(player.shield.strength, 60);
    // A fighter shot during the spawn shield costs no hull.
    FighterShot& shot = placeFighter(0, -50000, 0, 0).shots[0];
    fighters[0].shotsInFlight = true;
    shot.setPosition(-5, 0, 0);
    shot.setDirection(1, 0, 0);
    shot.show();
    gameFrames(1, 10);
    EXPECT_FALSE(shot.active);
    EXPECT_EQ(player.hull, 100);
    // After the fade a shield pickup lasts.
    runUntil(13);
    EXPECT_LE(player.shield.strength, 0.0f);
    pickups[0].startPickup(0, 0, 0, 0);
    pickups[0].buildPickup(3);
    gameFrames(3, 10);
    EXPECT_EQ(player.shield.strength, 60);
}

TEST_F(CombatGame, BeamsAndMissilesHitFightersAsTheyHitRocks) {
    runUntil(13);
    // A beam at level 2 passes two fighters' squares in one frame: 3 each.
    player.cannons[0].setLevel(2);
    player.cannons[1].setLevel(2);
    EnemyFighter& near = placeFighter(0, -200, -8, -8);
    EnemyFighter& far = placeFighter(1, -900, -8, -8);
    EnemyFighter& aside = placeFighter(2, -500, -8, 30);
    player.fireCannons();
    shared.frameSeconds = 0.2f;
    for (PlayerCannon& c : player.cannons) c.update();
    EXPECT_EQ(near.hitPoints, 7);
    EXPECT_EQ(far.hitPoints, 7);
    EXPECT_EQ(aside.hitPoints, 10);
    EXPECT_FALSE(player.cannons[0].active);

    // A missile touching a rock and a fighter in one frame damages both by 10; the fighter
    // explodes and scores 10, the rock (5 points) breaks up and scores 20.
    placeRock(0, -100, -8, -12, 5);
    EnemyFighter& target = placeFighter(3, -100, -8, -12);
    const int scoreBefore = scoreDisplay.total;
    player.fireMissiles();
    shared.frameSeconds = 1.0f / 6;  // 100 units
    player.launchers[0].update();
    EXPECT_TRUE(target.exploding);
    EXPECT_TRUE(asteroids.rock[0].exploding);
    EXPECT_EQ(scoreDisplay.total, scoreBefore + 30);
}

}  // namespace
