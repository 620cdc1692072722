// The player's shots against the asteroid field: which rocks a beam or missile hits in one
// frame, how much damage it does, the sounds of firing and when the guns may fire again.
#include <gtest/gtest.h>

#include "rules/game_update.h"
#include "support/flight.h"

namespace {

using namespace flight;

struct Weapons : ::testing::Test {
    void SetUp() override { freshShip(); }
    void TearDown() override { endGame(); }
};

TEST_F(Weapons, ABeamDamagesEveryRockWhoseSquareItPassedThisFrame) {
    // Cannon 1's tip is 8 below and 8 right of the ship: (0, -8, -8) in the world.
    Asteroid& near = placeRock(0, -300, -8, -8, 6, 10);
    Asteroid& far = placeRock(1, -900, -3, -12, 6, 10);     // tip inside its square, too
    Asteroid& aside = placeRock(2, -600, -8, 10, 6, 10);    // cannon 2's square only
    Asteroid& missed = placeRock(3, -500, -8, -14, 6, 10);  // |dz| = 6: the edge is outside
    player.cannons[0].setLevel(2);
    player.fireCannons();
    shared.frameSeconds = 0.19f;  // 950 units in one frame
    player.cannons[0].update();
    EXPECT_EQ(near.hitPoints, 7) << "level 2 does 3";
    EXPECT_EQ(far.hitPoints, 7);
    EXPECT_EQ(aside.hitPoints, 10);
    EXPECT_EQ(missed.hitPoints, 10);
    EXPECT_FALSE(player.cannons[0].active);
    player.cannons[1].update();
    EXPECT_EQ(aside.hitPoints, 9) << "level 0 does 1";
    EXPECT_TRUE(near.hitSparks.life > 0) << "a hit that leaves hit points shows sparks";
}

TEST_F(Weapons, ABeamEndingTheFrameBeyondTheFlightEndStillHits) {
    player.fireCannons();
    shared.frameSeconds = 0.19f;
    player.update(readShipControls());  // base at -950
    Asteroid& rock = placeRock(0, -1000.5f, -8, -8, 5, 3);
    shared.frameSeconds = 0.0102f;  // base ends at -1001
    player.update(readShipControls());
    EXPECT_EQ(rock.hitPoints, 2);
    EXPECT_EQ(beamsInFlight(), 0);
    rock.hitPoints = 3;
    shared.frameSeconds = 0.1f;
    player.update(readShipControls());
    EXPECT_EQ(rock.hitPoints, 3) << "out of flight: no more tests";
}

TEST_F(Weapons, ARockBesideOrBehindTheShipIsHitInTheBeamsFirstUpdate) {
    Asteroid& behind = placeRock(0, 30, -8, -8, 5, 3);
    player.fireCannons();
    shared.frameSeconds = 0.001f;
    player.update(readShipControls());
    EXPECT_EQ(behind.hitPoints, 2);
}

TEST_F(Weapons, FourCannonsAtLevelTwoSoundTheThirdLaserOnceAndDoThreeEach) {
    player.addCannons();
    player.upgradeCannons();
    player.upgradeCannons();
    const float muzzles[4][2] = {{-8, -8}, {-8, 8}, {8, -8}, {8, 8}};
    for (int i = 0; i < 4; ++i)
        placeRock(i, -200.0f - 50.0f * i, muzzles[i][0], muzzles[i][1], 3, 10);
    sounds.clear();
    player.fireCannons();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].id, SoundLaser3);
    EXPECT_TRUE(sounds[0].freeCopy);
    EXPECT_EQ(beamsInFlight(), 4);
    shipFrames(1, 0.1f);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(asteroids.rock[i].hitPoints, 7) << i;
    EXPECT_EQ(beamsInFlight(), 0);
}

TEST_F(Weapons, LaserSoundFollowsCannonOnesLevel) {
    for (unsigned level = 0; level <= 5; ++level) {
        freshShip();
        player.cannons[0].setLevel(level);
        player.cannons[1].setLevel(5 - level);  // the second cannon does not choose
        player.fireCannons();
        ASSERT_EQ(sounds.size(), 1u);
        EXPECT_EQ(sounds[0].id, 5 * level) << level;
    }
}

TEST_F(Weapons, NoSecondShotOrSoundWhileAnyShotCountsAsInFlight) {
    player.fireCannons();
    player.fireMissiles();
    sounds.clear();
    player.fireCannons();
    player.fireMissiles();
    EXPECT_TRUE(sounds.empty());
    // A stray beam of a cannon not in use still holds the trigger back.
    shipFrames(21, 0.01f);
    player.cannons[3].active = true;
    player.fireCannons();
    EXPECT_EQ(requestsOf(SoundLaser1), 0);
}

TEST_F(Weapons, MissilesDamageEveryTargetTheyTouchByTen) {
    // Launcher 1's first missile starts at (0, -8, -12) and flies straight along -x.
    Asteroid& a = placeRock(0, -100, -8, -12, 5, 30);
    Asteroid& b = placeRock(1, -104, -8, -8, 5, 30);      // 4 + 5 > distance: also touched
    Asteroid& c = placeRock(2, -100, -8, -21.1f, 5, 30);  // 9.1 away: untouched
    player.fireMissiles();
    shared.frameSeconds = 1.0f / 6.0f;  // 100 units
    player.update(readShipControls());
    EXPECT_EQ(a.hitPoints, 20);
    EXPECT_EQ(b.hitPoints, 20);
    EXPECT_EQ(c.hitPoints, 30);
    EXPECT_FALSE(player.launchers[0].missiles[0].active);
    EXPECT_TRUE(player.launchers[1].missiles[0].active);
}

TEST_F(Weapons, SpreadMissilesFanOutToTheFourDiagonals) {
    player.enableSpread();
    player.fireMissiles();
    EXPECT_EQ(missilesInFlight(), 10);
    shipFrames(1, 1.0f);  // 600 units ahead
    const Missile* m = player.launchers[1].missiles;
    EXPECT_NEAR(m[0].position.x, -600.0f, 1e-3f);
    EXPECT_NEAR(m[0].position.y, -8.0f, 1e-3f);
    EXPECT_NEAR(m[0].position.z, 12.0f, 1e-3f);
    const float dy[] = {-18, 18, 18, -18}, dz[] = {18, -18, 18, -18};
    for (int i = 1; i < 5; ++i) {
        EXPECT_NEAR(m[i].position.y, -8.0f + dy[i - 1], 1e-3f) << i;
        EXPECT_NEAR(m[i].position.z, 12.0f + dz[i - 1], 1e-3f) << i;
    }
    shipFrames(1, 0.7f);  // past -1000
    EXPECT_EQ(missilesInFlight(), 0);
    EXPECT_TRUE(player.launchers[0].active) << "as of its last update";
    shipFrames(1, 0.01f);
    EXPECT_FALSE(player.launchers[0].active);
}

TEST_F(Weapons, ARockShotDownOnceDiesAgainAtItsNextHit) {
    Asteroid& rock = placeRock(0, -300, -8, -8, 5, 2);
    player.cannons[0].setLevel(1);
    player.fireCannons();
    shipFrames(1, 0.1f);
    EXPECT_TRUE(rock.exploding);
    EXPECT_EQ(scoreDisplay.total, 20);
    EXPECT_EQ(requestsOf(SoundExplode1), 1);
    shared.frameSeconds = 2.6f;
    rock.update();  // the explosion runs out
    rock.update();  // and the rock comes back far ahead, with the 0 hit points it died with
    ASSERT_TRUE(rock.active);
    EXPECT_EQ(rock.hitPoints, 0);
    rock.position = {-300, -8, -8};
    shipFrames(1, 0.2f);  // cannon 2's beam, which missed, flies out
    player.cannons[0].setLevel(0);
    player.fireCannons();
    shipFrames(1, 0.1f);
    EXPECT_TRUE(rock.exploding) << "one point of damage is enough now";
    EXPECT_EQ(scoreDisplay.total, 40);
}

}  // namespace
