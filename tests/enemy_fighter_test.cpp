#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "support/combat.h"

namespace {

using combat::placeFighter;
using combat::seedNextDraw;

struct Fighters : ::testing::Test {
    void SetUp() override {
        combat::freshGame();
        player.shield.strength = 0;  // hits reach the hull
    }

    static void frames(int n, float dt) {
        shared.frameSeconds = dt;
        for (int i = 0; i < n; ++i) {
            for (EnemyFighter& fighter : fighters) fighter.update();
        }
    }
};

TEST_F(Fighters, AWaveTakesOnlyTheFreeSlotsInOrderAndQueuesNothing) {
    for (int i = 0; i < fighterCount; ++i) placeFighter(i, -2000, 0, 0);
    // Three slots free up; busy ones are flying, exploding or have only shots left.
    for (int i : {2, 9, 15}) fighters[i].active = false;
    fighters[4].active = false;
    fighters[4].exploding = true;
    fighters[11].active = false;
    fighters[11].shotsInFlight = true;
    for (int i = 0; i < 5; ++i) spawnFighter();
    for (int i = 0; i < fighterCount; ++i) {
        const bool respawned = fighters[i].active && fighters[i].position.x > -1001;
        EXPECT_EQ(respawned, i == 2 || i == 9 || i == 15) << "slot " << i;
    }
    // Nothing was queued: a slot that frees up later stays free.
    fighters[4].exploding = false;
    frames(1, 0.0f);
    EXPECT_FALSE(fighters[4].inUse());
}

TEST_F(Fighters, SpawnEntersFarAheadOnTheCentreLineAimedAtThePlayer) {
    player.position = {0, -30, 45};
    std::set<int> xs;
    for (int i = 0; i < 3000; ++i) {
        fighters = {};
        spawnFighter();
        const EnemyFighter& f = fighters[0];
        ASSERT_TRUE(f.active);
        EXPECT_EQ(f.hitPoints, 10);
        EXPECT_EQ(f.position.y, 0);
        EXPECT_EQ(f.position.z, 0);
        EXPECT_EQ(f.strafeTarget.y, 30);
        EXPECT_EQ(f.strafeTarget.z, -45);
        xs.insert(static_cast<int>(f.position.x));
    }
    EXPECT_EQ(*xs.begin(), -1000);
    EXPECT_EQ(*xs.rbegin(), -801);
}

TEST_F(Fighters, ApproachSpeedsUpWithinThreeHundredAndPassingTenRemovesItWithItsShots) {
    EnemyFighter& far = placeFighter(0, -900, 0, 0);
    EnemyFighter& near = placeFighter(1, -301, 0, 0);
    frames(1, 0.1f);
    EXPECT_FLOAT_EQ(far.position.x, -894);
    EXPECT_FLOAT_EQ(near.position.x, -301 + 6 + 20);

    // Passing x = 10 with a pair in flight: gone at once, nothing exploded, nothing scored.
    EnemyFighter& passing = placeFighter(2, 9, 0, 0);
    passing.fire();
    const Vec3 shotAt = passing.shots[0].position;
    frames(1, 0.01f);
    EXPECT_FALSE(passing.inUse());
    EXPECT_FALSE(passing.exploding);
    EXPECT_FLOAT_EQ(passing.shots[0].position.x, shotAt.x) << "shots still flew";
    EXPECT_EQ(scoreDisplay.total, 0);
    EXPECT_EQ(flight::requestsOf(SoundExplode1), 0);
}

// The firing band is strict at both ends, but a chance at either edge is still used up.
TEST_F(Fighters, FiringBandIsStrictAndAChanceAtItsEdgeIsUsedUp) {
    const struct {
        float x;
        bool fires;
    } cases[] = {{-800, false}, {-799.9f, true}, {-300, false}, {-300.1f, true}, {-550, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "x " << c.x);
        combat::freshGame();
        EnemyFighter& f = placeFighter(0, c.x, 0, 0);
        f.fireTimer = 0.6f;
        seedNextDraw(4, 0);
        frames(1, 0.0f);
        EXPECT_EQ(f.fireTimer, 0.0f);
        EXPECT_EQ(f.shotsInFlight, c.fires);
        EXPECT_EQ(f.muzzleFlash, c.fires ? 10.0f : 0.0f);
    }
    // Chances come only once more than half a second has passed.
    combat::freshGame();
    EnemyFighter& f = placeFighter(0, -550, 0, 0);
    f.fireTimer = 0.5f;
    seedNextDraw(4, 0);
    frames(1, 0.0f);
    EXPECT_EQ(f.fireTimer, 0.5f);
    EXPECT_FALSE(f.shotsInFlight);
}

TEST_F(Fighters, APairInFlightBlocksFiringButTheTimerStillResets) {
    EnemyFighter& f = placeFighter(0, -700, 0, 0);
    f.fire();
    frames(1, 0.1f);
    const Vec3 before = f.shots[0].position;
    f.fireTimer = 0.6f;
    seedNextDraw(4, 0);
    frames(1, 0.0f);
    EXPECT_EQ(f.fireTimer, 0.0f);
    EXPECT_FLOAT_EQ(f.shots[0].position.x, before.x) << "a new pair left";
}

TEST_F(Fighters, BothShotsLeaveTogetherAimedAtThePlayerAndTheFlashDies) {
    player.position = {0, -10, -20};  // the ship is at (0, 10, 20)
    EnemyFighter& f = placeFighter(0, -600, 30, -40);
    f.fire();
    const double length = std::sqrt(600.0 * 600 + 20 * 20 + 60 * 60);
    for (const FighterShot& shot : f.shots) {
        EXPECT_TRUE(shot.active);
        EXPECT_FLOAT_EQ(shot.position.x, -600);
        EXPECT_NEAR(shot.direction.x, 600 / length, 1e-6);
        EXPECT_NEAR(shot.direction.y, -20 / length, 1e-6);
        EXPECT_NEAR(shot.direction.z, 60 / length, 1e-6);
    }
    // They fly at 250 along that line; the flash falls by 100 per second.
    frames(1, 0.04f);
    EXPECT_NEAR(f.muzzleFlash, 6.0f, 1e-5);
    EXPECT_NEAR(f.shots[1].position.x, -600 + 10 * 600 / length, 1e-3);
    EXPECT_NEAR(f.shots[1].position.z, -40 + 10 * 60 / length, 1e-3);
    frames(2, 0.04f);
    EXPECT_EQ(f.muzzleFlash, 0.0f);
}

TEST_F(Fighters, ADestroyedFightersShotsFlyOnAndHitAndItsSlotStaysBusyUntilAllEnds) {
    // Shots that need longer than the 2.5 s explosion, and shots that need less.
    for (float x : {-500.0f, -800.0f}) {
        SCOPED_TRACE(::testing::Message() << "from x " << x);
        combat::freshGame();
        player.shield.strength = 0;
        for (int i = 0; i < fighterCount; ++i) placeFighter(i, -50000, 0, 0);
        EnemyFighter& f = placeFighter(3, x, 0, 0);
        f.fire();
        f.takeDamage(10);
        EXPECT_TRUE(f.exploding);
        EXPECT_EQ(scoreDisplay.total, 10);
        EXPECT_EQ(flight::requestsOf(SoundExplode1), 1);
        const float hitAfter = (-x - 13) / 250;  // the shots touch the ship 13 short of it
        const float over = std::max(hitAfter, 2.5f);
        float t = 0;
        while (t + 0.01f < over - 0.02f) {
            frames(1, 0.01f);
            t += 0.01f;
            ASSERT_TRUE(f.inUse()) << "freed after " << t << " s";
            spawnFighter();
            ASSERT_FALSE(f.active) << "respawned while busy";
        }
        frames(10, 0.01f);
        EXPECT_FALSE(f.inUse());
        EXPECT_FLOAT_EQ(player.hull, 80) << "both shots hit, 10 each";
        spawnFighter();
        EXPECT_TRUE(f.active) << "the freed slot is taken by the next spawn";
    }
}

TEST_F(Fighters, AShotLeavingPastTenInTheFrameItTouchesThePlayerStillHits) {
    FighterShot shot;
    shot.setPosition(9, 0, 0);
    shot.setDirection(1, 0, 0);
    shot.show();
    shared.frameSeconds = 0.008f;  // to x = 11, 11 from the ship: inside 3 + 10
    shot.update();
    EXPECT_FALSE(shot.active);
    EXPECT_FLOAT_EQ(player.hull, 90);

    // At 13 it no longer touches.
    shot.setPosition(-13.5f, 0, 0);
    shot.show();
    shared.frameSeconds = 0.002f;
    shot.update();
    EXPECT_TRUE(shot.active);
    EXPECT_FLOAT_EQ(player.hull, 90);
}

TEST_F(Fighters, SteeringUsesTheDistanceFromThePlayerSoALevelFighterKeepsItsLine) {
    player.position = {0, 0, -50};  // the ship is at (0, 0, 50)
    EnemyFighter& f = placeFighter(0, -2000, 0, 10);
    f.strafeTarget = {80, 90};
    frames(1, 0.1f);
    EXPECT_EQ(f.position.y, 0) << "level with the player in y";
    EXPECT_FLOAT_EQ(f.position.z, 10 + 40 * 0.1f);  // 40 from the player in z
    // Within 15 of its target it holds.
    f.position.z = 76;
    f.strafeTarget = {0, 90};
    frames(1, 0.1f);
    EXPECT_EQ(f.position.z, 76);
}

TEST_F(Fighters, SidestepTargetsStayWithinAHundredAndNeverOneToFourOff) {
    player.position = {0, 20, -30};
    EnemyFighter& f = placeFighter(0, -50000, 0, 0);
    std::set<int> offsets;
    bool yAndZDiffer = false;
    for (int i = 0; i < 3000; ++i) {
        f.strafeTimer = 0.31f;
        frames(1, 0.0f);
        const int dy = static_cast<int>(std::lround(f.strafeTarget.y + 20));
        const int dz = static_cast<int>(std::lround(f.strafeTarget.z - 30));
        offsets.insert(dy);
        offsets.insert(dz);
        yAndZDiffer = yAndZDiffer || dy != dz;
    }
    EXPECT_TRUE(yAndZDiffer);
    EXPECT_EQ(*offsets.begin(), -100);
    EXPECT_EQ(*offsets.rbegin(), 99);
    for (int o : offsets) {
        if (std::abs(o) < 10) {
            EXPECT_EQ(o % 5, 0) << o;  // small offsets are scaled by 5
        }
    }
    for (int o : {45, -45, 10, -10, 5, -5}) EXPECT_EQ(offsets.count(o), 1u) << o;
}

TEST_F(Fighters, HitsSparkUntilTheTenthPointAndTheLastPlaysTheExplosionAndScoresTen) {
    EnemyFighter& f = placeFighter(0, -400, 12, -8);
    f.takeDamage(6);
    EXPECT_TRUE(f.active);
    EXPECT_FALSE(f.hitSparks.isFinished());
    EXPECT_FLOAT_EQ(f.hitSparks.origin.y, 12);
    EXPECT_EQ(scoreDisplay.total, 0);
    EXPECT_EQ(flight::requestsOf(SoundExplode1), 0);
    f.takeDamage(4);
    EXPECT_FALSE(f.active);
    EXPECT_TRUE(f.exploding);
    EXPECT_FLOAT_EQ(f.explosion.origin.x, -400);
    EXPECT_FALSE(f.explosion.flash);
    EXPECT_EQ(scoreDisplay.total, 10);
    EXPECT_EQ(flight::requestsOf(SoundExplode1), 1);
    // An exploding fighter can no longer be hit.
    EXPECT_FALSE(f.hitTestBolt(-500, 12, -8));
    EXPECT_FALSE(f.hitTestSphere(-400, 12, -8, 1));
}

TEST_F(Fighters, HitTestsUseTheLateralSquareForBoltsAndStrictDistanceForSpheres) {
    EnemyFighter& f = placeFighter(0, -400, 0, 0);
    EXPECT_TRUE(f.hitTestBolt(-401, 14.9f, -14.9f));
    EXPECT_TRUE(f.hitTestBolt(-5000, 0, 0));
    EXPECT_FALSE(f.hitTestBolt(-401, 15, 0));
    EXPECT_FALSE(f.hitTestBolt(-401, 0, -15));
    EXPECT_FALSE(f.hitTestBolt(-400, 0, 0));
    EXPECT_TRUE(f.hitTestSphere(-400, 18.9f, 0, 4));
    EXPECT_FALSE(f.hitTestSphere(-400, 19, 0, 4));
}

}  // namespace
