#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "common/globals.h"
#include "common/random.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "world/asteroid.h"
#include "world/pickup.h"

namespace {

struct PickupTest : ::testing::Test {
    void SetUp() override {
        pickups = {};
        player = {};
        asteroids = {};
        scoreDisplay.resetScore();
        messageBanner = Banner();
        shared.frameSeconds = 0.0f;
        seedRandom(7);
    }
};

TEST_F(PickupTest, TypeOddsAreFortyTwentyTwentySixTwoEightFour) {
    // Every one of the fifty draws, once each.
    std::map<int, int> perDraw;
    for (int r = 0; r < 50; ++r) ++perDraw[pickupTypeFor(r)];
    const std::map<int, int> table = {{1, 20}, {4, 10}, {5, 10}, {2, 3}, {7, 1}, {3, 4}, {6, 2}};
    EXPECT_EQ(perDraw, table);

    // Over many drops through the slots.
    const int drops = 40000;
    std::map<int, int> seen;
    for (int i = 0; i < drops; ++i) {
        spawnPickup(-500, 0, 0, 100);
        ++seen[pickups[0].type];
        pickups[0].active = false;
    }
    const std::map<int, double> share = {{1, 0.40}, {4, 0.20}, {5, 0.20}, {2, 0.06},
                                         {7, 0.02}, {3, 0.08}, {6, 0.04}};
    for (const auto& [type, expected] : share) {
        EXPECT_NEAR(seen[type] / double(drops), expected, 0.01) << "type " << type;
    }
    EXPECT_EQ(seen.size(), share.size());
}

TEST_F(PickupTest, DropsFillTheFirstFreeSlotAndTheThirteenthIsLostButTheRockStillScores) {
    for (int i = 0; i < pickupSlotCount; ++i) spawnPickup(-500.0f - i, 1, 2, 50);
    for (int i = 0; i < pickupSlotCount; ++i) {
        ASSERT_TRUE(pickups[i].active);
        EXPECT_FLOAT_EQ(pickups[i].position.x, -500.0f - i);
    }

    // A rock carrying a pickup is shot down while every slot is busy.
    Asteroid& rock = asteroids.rock[0];
    rock.active = true;
    rock.carriesPickup = true;
    rock.hitPoints = 1;
    rock.position = {-300, 40, -20};
    rock.speed = 160;
    rock.speedFactor = 0.5f;
    rock.takeDamage(3);
    EXPECT_TRUE(rock.exploding);
    EXPECT_EQ(scoreDisplay.total, 20);
    for (int i = 0; i < pickupSlotCount; ++i) {
        EXPECT_FLOAT_EQ(pickups[i].position.x, -500.0f - i) << "slot " << i << " was taken over";
    }

    // With slots 4 and 9 free the next drop takes slot 4, at the rock's place and pace.
    pickups[9].active = false;
    pickups[4].active = false;
    Asteroid& second = asteroids.rock[1];
    second.active = true;
    second.carriesPickup = true;
    second.hitPoints = 2;
    second.position = {-250, -10, 30};
    second.speed = 175;
    second.speedFactor = 0.8f;
    second.takeDamage(2);
    EXPECT_EQ(scoreDisplay.total, 40);
    ASSERT_TRUE(pickups[4].active);
    EXPECT_FALSE(pickups[9].active);
    EXPECT_FLOAT_EQ(pickups[4].position.x, -250);
    EXPECT_FLOAT_EQ(pickups[4].position.y, -10);
    EXPECT_FLOAT_EQ(pickups[4].position.z, 30);
    EXPECT_FLOAT_EQ(pickups[4].speed, 140);
}

// The distance at which a pickup of each type is still collected, whatever the slot held
// before: the ship's 15 plus the pickup's own radius.
TEST_F(PickupTest, EachTypeIsCollectedWithinItsOwnRadiusWhateverTheSlotHeldBefore) {
    const struct {
        int type;
        float reach;
    } cases[] = {{1, 25}, {2, 23}, {3, 25}, {4, 23}, {5, 23}, {6, 23}, {7, 23}};
    player.position = {0, -40, 30};  // the ship is at (0, 40, -30)
    for (const auto& c : cases) {
        for (int before : {0, 1, 2, 3}) {
            SCOPED_TRACE(::testing::Message() << "type " << c.type << " after " << before);
            Pickup pickup;
            if (before != 0) pickup.buildPickup(before);
            pickup.buildPickup(c.type);
            pickup.position = {0, 40, -30 + c.reach};
            EXPECT_FALSE(pickup.collectedBy(player));
            EXPECT_TRUE(pickup.active);
            pickup.position = {c.reach * -0.6f + 0.01f, 40 - c.reach * 0.8f + 0.01f, -30};
            EXPECT_TRUE(pickup.collectedBy(player));
            EXPECT_FALSE(pickup.active);
            EXPECT_FALSE(pickup.collectedBy(player)) << "collected twice";
        }
    }
}

TEST_F(PickupTest, SpinsPulsesTumblesAndDriftsPastThePlayer) {
    Pickup pickup;
    pickup.startPickup(-30, 5, 5, 40);
    EXPECT_FLOAT_EQ(pickup.pulse, 1.0f);
    shared.frameSeconds = 0.25f;
    // The phase grows 2.5 per frame and starts again from 0 once past a full turn.
    const float pulses[] = {0.65f + 0.35f * std::sin(2.5f), 0.65f + 0.35f * std::sin(5.0f), 0.65f};
    for (float expected : pulses) {
        pickup.update();
        EXPECT_NEAR(pickup.pulse, expected, 1e-5);
    }
    EXPECT_FLOAT_EQ(pickup.position.x, -30 + 3 * 10);  // 40 per second, 0.75 s: at x = 0
    EXPECT_TRUE(pickup.active);
    pickup.update();  // x = 10 exactly: still here
    EXPECT_FLOAT_EQ(pickup.position.x, 10);
    EXPECT_TRUE(pickup.active);
    pickup.update();
    EXPECT_FALSE(pickup.active);

    // The tumble grows 100 degrees per second and starts again past 360.
    Pickup tumbling;
    tumbling.startPickup(-5000, 0, 0, 0);
    for (int frame = 1; frame <= 14; ++frame) tumbling.update();
    EXPECT_NEAR(tumbling.tumble, 350, 1e-3);
    tumbling.update();
    EXPECT_EQ(tumbling.tumble, 0.0f);
    // Over a long drift the pulse stays within 30 % and 100 %.
    shared.frameSeconds = 0.013f;
    for (int frame = 0; frame < 2000; ++frame) {
        tumbling.update();
        EXPECT_GE(tumbling.pulse, 0.3f - 1e-6f);
        EXPECT_LE(tumbling.pulse, 1.0f + 1e-6f);
    }
}

TEST_F(PickupTest, CollectingPlaysAppliesTheTypesEffectScoresAndShowsItsMessage) {
    struct Case {
        int type;
        int message;
        bool (*applied)();
    };
    const Case cases[] = {
        {1, BannerCannonsUpgraded,
         [] { return player.cannons[0].level == 1 && player.cannons[1].level == 1; }},
        {2, BannerCannonsAdded, [] { return player.activeCannons == 4; }},
        {3, BannerShieldCharged, [] { return player.shield.strength == 60.0f; }},
        {4, BannerHullRepaired, [] { return player.hull == 83.0f; }},
        {5, BannerRapidFire, [] { return player.autoFire && player.rapidFireTime == 10.0f; }},
        {6, BannerExtraLife, [] { return player.lives == 4; }},
        {7, BannerSpreadMissiles,
         [] { return player.launchers[0].spread && player.launchers[1].spread; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.type);
        player = {};
        player.hull = 50;
        player.shield.strength = 10;
        messageBanner = Banner();
        scoreDisplay.resetScore();
        Pickup pickup;
        pickup.buildPickup(c.type);
        EXPECT_FALSE(c.applied());
        pickup.applyTo(player);
        EXPECT_TRUE(c.applied());
        EXPECT_EQ(scoreDisplay.total, 100);
        EXPECT_TRUE(messageBanner.running);
        EXPECT_EQ(messageBanner.image, c.message);
    }
}

// An effect that cannot help shows nothing, yet the pickup still scores.
TEST_F(PickupTest, AnEffectThatCannotHelpStillScores) {
    player.lives = 5;
    Pickup pickup;
    pickup.buildPickup(6);
    pickup.applyTo(player);
    EXPECT_EQ(player.lives, 5);
    EXPECT_EQ(scoreDisplay.total, 100);
    EXPECT_FALSE(messageBanner.running);
}

}  // namespace
