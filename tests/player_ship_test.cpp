// What a player notices of the ship: the feel of the stick, the triggers, hits on shield and
// hull, losing lives, the pickups and the camera.
#include <gtest/gtest.h>

#include <algorithm>

#include "rules/game_reset.h"
#include "support/flight.h"

namespace {

using namespace flight;

struct Ship : ::testing::Test {
    void SetUp() override { freshShip(); }
    void TearDown() override { endGame(); }
};

TEST_F(Ship, StickTakesFortyFiveHundredthsToFullSpeedAndBanksPastEightDegrees) {
    hold(VK_LEFT);
    shipFrames(4, 0.05f);
    EXPECT_NEAR(player.stickZ, -0.44f, 1e-5f);
    EXPECT_NEAR(player.bank, -3.52f, 1e-4f);
    EXPECT_LT(player.position.z, 0.0f) << "left makes position.z fall";
    shipFrames(7, 0.05f);  // held at full deflection
    EXPECT_FLOAT_EQ(player.stickZ, -1.0f);
    EXPECT_NEAR(player.bank, -8.0f - 17.6f * 0.05f, 1e-4f) << "roll taken before the clamp";
    const float before = player.position.z;
    shipFrames(1, 0.05f);
    EXPECT_NEAR(player.position.z - before, -150.0f * 0.05f, 1e-3f) << "full speed is 150/s";
    EXPECT_EQ(player.position.y, 0.0f);

    release(VK_LEFT);
    shipFrames(9, 0.05f);  // 0.45 s back
    EXPECT_NEAR(player.stickZ, -0.01f, 1e-5f);
    shipFrames(1, 0.05f);
    EXPECT_EQ(player.stickZ, 0.0f);
    // The last return step overshot before the clamp: a small opposite roll stays.
    EXPECT_NEAR(player.bank, 8.0f * 0.1f, 1e-4f);
    const float stopped = player.position.z;
    shipFrames(3, 0.05f);
    EXPECT_EQ(player.position.z, stopped);
    EXPECT_NEAR(player.bank, 0.8f, 1e-4f) << "the roll stays until the next horizontal input";
}

TEST_F(Ship, LeftAndRightTogetherHoldTheStickWhereItWas) {
    hold(VK_LEFT);
    hold(VK_RIGHT);
    shipFrames(1, 0.1f);
    EXPECT_EQ(player.stickZ, 0.0f);
    // From rest the first step alone moves the ship: 150 x -0.22 x 0.1.
    EXPECT_NEAR(player.position.z, -3.3f, 1e-4f);
    release(VK_RIGHT);
    shipFrames(2, 0.1f);  // stick at -0.44
    hold(VK_RIGHT);
    const float z = player.position.z;
    shipFrames(5, 0.1f);
    EXPECT_NEAR(player.stickZ, -0.44f, 1e-5f);
    // Each frame the ship moves at the value the left step reaches: 150 x -0.66 x 0.1.
    EXPECT_NEAR(player.position.z - z, 5 * -9.9f, 1e-2f);
}

TEST_F(Ship, UpLiftsTheShipWithoutRollAndTheJoystickSteersLikeTheKeys) {
    hold(VK_UP);
    shipFrames(10, 0.05f);
    EXPECT_FLOAT_EQ(player.stickY, -1.0f);
    EXPECT_LT(player.position.y, 0.0f) << "up makes position.y fall: the ship rises";
    EXPECT_EQ(player.bank, 0.0f);
    release(VK_UP);
    shipFrames(20, 0.05f);
    input.joyDown = true;
    input.joyRight = true;
    shipFrames(5, 0.1f);
    EXPECT_FLOAT_EQ(player.stickY, 1.0f);
    EXPECT_FLOAT_EQ(player.stickZ, 1.0f);
    EXPECT_GT(player.bank, 8.0f);
}

TEST_F(Ship, LockedControlsFreezeTheStickButShotsFlyOnAndTheShakeDecays) {
    hold(VK_LEFT);
    shipFrames(2, 0.05f);
    player.fireCannons();
    player.takeDamage(1);
    shared.controlsLocked = true;
    const float stick = player.stickZ, z = player.position.z, bank = player.bank;
    const float beamX = player.cannons[0].position.x;
    hold(VK_CONTROL);
    hold(VK_UP);
    shipFrames(3, 0.01f);
    EXPECT_EQ(player.stickZ, stick);
    EXPECT_EQ(player.position.z, z);
    EXPECT_EQ(player.bank, bank);
    EXPECT_EQ(player.stickY, 0.0f);
    EXPECT_NEAR(player.cannons[0].position.x, beamX - 150.0f, 1e-2f);
    EXPECT_NEAR(player.shakeAmount, 40.0f - 0.9f, 1e-4f);
    EXPECT_FALSE(player.fireHeld);
}

TEST_F(Ship, ATriggerPressFiresOnceAndAnEarlyPressIsUsedUp) {
    hold(VK_CONTROL);
    shipFrames(1, 0.01f);
    EXPECT_EQ(beamsInFlight(), 2);
    EXPECT_EQ(requestsOf(SoundLaser1), 1);
    shipFrames(30, 0.01f);  // beams gone after 0.2 s; still held
    EXPECT_EQ(beamsInFlight(), 0);
    EXPECT_EQ(requestsOf(SoundLaser1), 1) << "holding does not repeat";
    release(VK_CONTROL);
    shipFrames(1, 0.01f);
    hold(VK_CONTROL);
    shipFrames(1, 0.01f);
    EXPECT_EQ(requestsOf(SoundLaser1), 2);
    // A press while the beams still fly fires nothing and is spent.
    release(VK_CONTROL);
    shipFrames(1, 0.01f);
    hold(VK_CONTROL);
    shipFrames(1, 0.01f);
    EXPECT_EQ(requestsOf(SoundLaser1), 2);
    shipFrames(30, 0.01f);
    EXPECT_EQ(requestsOf(SoundLaser1), 2);
}

TEST_F(Ship, RapidFireRefiresWhileHeldAndEndsTenSecondsAfterTheLastPickup) {
    player.startRapidFire();
    hold(VK_CONTROL);
    shipFrames(100, 0.01f);  // 1 s: beams fly 0.1 s at 10000, so about ten salvos
    const int salvos = requestsOf(SoundLaser1);
    EXPECT_GE(salvos, 9);
    EXPECT_LE(salvos, 11);
    release(VK_CONTROL);
    shipFrames(300, 0.01f);  // 4 s in
    player.startRapidFire();
    shipFrames(99, 0.1f);  // 9.9 s after the second, 13.9 s after the first
    EXPECT_TRUE(player.autoFire);
    EXPECT_EQ(player.cannons[3].speed, 10000.0f);
    shipFrames(2, 0.1f);
    EXPECT_FALSE(player.autoFire);
    for (const PlayerCannon& c : player.cannons) EXPECT_EQ(c.speed, 5000.0f);
}

TEST_F(Ship, MissileTriggerFiresOneSalvoPerPress) {
    hold(VK_SPACE);
    shipFrames(1, 0.01f);
    EXPECT_EQ(missilesInFlight(), 2);
    EXPECT_EQ(requestsOf(SoundSpreadCannon), 1);
    shipFrames(200, 0.01f);  // 2 s: both gone past -1000, trigger still held
    EXPECT_EQ(missilesInFlight(), 0);
    EXPECT_EQ(requestsOf(SoundSpreadCannon), 1);
    release(VK_SPACE);
    shipFrames(1, 0.01f);
    player.enableSpread();
    hold(VK_SPACE);
    shipFrames(1, 0.01f);
    EXPECT_EQ(missilesInFlight(), 10) << "a spread salvo is ten missiles";
    release(VK_SPACE);
    shipFrames(1, 0.01f);
    hold(VK_SPACE);
    shipFrames(1, 0.01f);
    EXPECT_EQ(requestsOf(SoundSpreadCannon), 2) << "no salvo while one is in flight";
}

struct HitCase {
    float shield, hull, amount;
    float shieldAfter, hullAfter;
    int livesAfter;
};

TEST_F(Ship, TheShieldAbsorbsWholeHitsAndTheHullSurvivesExactlyZero) {
    const HitCase cases[] = {
        {60, 100, 22, 38, 100, 3},     // the shield takes it
        {10, 100, 22, 0, 100, 3},      // the excess is lost, not passed on
        {0.5f, 100, 22, 0.5f, 78, 3},  // integer part 0: no shield
        {0, 22, 22, 0, 0, 3},          // exactly 0 keeps the life
        {0, 21.9f, 22, 60, 100, 2},    // -0.1 loses it
    };
    for (const HitCase& c : cases) {
        freshShip();
        player.shield.strength = c.shield;
        player.hull = c.hull;
        player.takeDamage(c.amount);
        EXPECT_NEAR(player.shield.strength, c.shieldAfter, 1e-4f) << c.shield << "/" << c.hull;
        EXPECT_NEAR(player.hull, c.hullAfter, 1e-4f) << c.shield << "/" << c.hull;
        EXPECT_EQ(player.lives, c.livesAfter) << c.shield << "/" << c.hull;
        EXPECT_EQ(hullGauge.value, player.hull);
        EXPECT_EQ(player.shakeAmount, 40.0f);
    }
}

TEST_F(Ship, LosingALifeResetsTheGunsAndStartsAFadingSpawnShield) {
    player.addCannons();
    for (int i = 0; i < 3; ++i) player.upgradeCannons();
    player.enableSpread();
    player.shield.strength = 0;
    player.hull = 5;
    player.takeDamage(22);
    EXPECT_EQ(player.lives, 2);
    EXPECT_EQ(livesDisplay.count, 2);
    EXPECT_EQ(player.activeCannons, 2);
    for (const PlayerCannon& c : player.cannons) EXPECT_EQ(c.level, 0u);
    EXPECT_FALSE(player.launchers[0].spread);
    EXPECT_FALSE(player.launchers[1].spread);
    EXPECT_EQ(player.hull, 100.0f);
    EXPECT_EQ(player.shield.strength, 60.0f);
    shipFrames(4, 0.5f);  // 45, 30, 15, 0 and then no more change
    EXPECT_NEAR(player.shield.strength, 0.0f, 1e-5f);
    shipFrames(1, 0.5f);
    EXPECT_NEAR(player.shield.strength, 0.0f, 1e-5f);
    EXPECT_EQ(shieldGauge.value, 0.0f);
}

TEST_F(Ship, SpawnShieldFadesInSteps) {
    player.shield.fadeTime = 2.0f;
    const float expected[] = {45, 30, 15, 0};
    for (float strength : expected) {
        shipFrames(1, 0.5f);
        EXPECT_NEAR(player.shield.strength, strength, 1e-4f);
    }
    player.shield.fadeTime = 1.0f;
    player.chargeShield();  // a pickup during a running fade lasts one frame
    EXPECT_EQ(player.shield.strength, 60.0f);
    shipFrames(1, 0.5f);
    EXPECT_NEAR(player.shield.strength, 15.0f, 1e-4f);
}

TEST_F(Ship, ShotsOfDroppedGunsLeaveFlightWhenALifeIsLost) {
    player.addCannons();
    player.enableSpread();
    player.fireCannons();
    player.fireMissiles();
    ASSERT_EQ(beamsInFlight(), 4);
    ASSERT_EQ(missilesInFlight(), 10);
    player.shield.strength = 0;
    player.hull = 0;
    player.takeDamage(1);
    EXPECT_EQ(beamsInFlight(), 2) << "beams of cannons 3 and 4 leave flight";
    EXPECT_EQ(missilesInFlight(), 2) << "missiles 2 to 5 leave flight";
    // The cannons fire again as soon as the two remaining beams are gone.
    shipFrames(21, 0.01f);
    EXPECT_EQ(beamsInFlight(), 0);
    sounds.clear();
    player.fireCannons();
    EXPECT_EQ(beamsInFlight(), 2);
    EXPECT_EQ(requestsOf(SoundLaser1), 1);
    // Spread switched on again does not wake the old missiles.
    shipFrames(200, 0.01f);
    player.enableSpread();
    EXPECT_EQ(missilesInFlight(), 0);
    EXPECT_FALSE(player.launchers[0].inFlight());
}

TEST_F(Ship, TheLastLifeEndsTheGameAndLaterHitsAreIgnored) {
    player.lives = 1;
    player.shield.strength = 0;
    player.hull = 10;
    player.takeDamage(22);
    EXPECT_TRUE(shared.gameOver);
    EXPECT_TRUE(shared.controlsLocked);
    EXPECT_EQ(player.lives, 0);
    EXPECT_NEAR(player.hull, -12.0f, 1e-5f) << "the hull keeps its negative value";
    EXPECT_EQ(messageBanner.image, BannerGameOver);
    EXPECT_TRUE(messageBanner.running);
    player.shakeAmount = 0;
    for (int i = 0; i < 5; ++i) player.takeDamage(22);
    EXPECT_EQ(player.lives, 0);
    EXPECT_NEAR(player.hull, -12.0f, 1e-5f);
    EXPECT_NEAR(hullGauge.value, -12.0f, 1e-5f) << "the gauge does not jump back to 100";
    EXPECT_EQ(player.shield.fadeTime, 0.0f) << "no spawn shield for a wreck";
    EXPECT_EQ(player.shakeAmount, 0.0f);
}

// A pickup effect: its operation, whether it can act on a prepared ship, and the picture.
struct PickupCase {
    const char* name;
    void (PlayerShip::*apply)();
    void (*prepare)(PlayerShip&);
    bool acts;
    int message;
};

TEST_F(Ship, PickupsActOnlyWhenTheyCanHelpAndSayWhatTheyDid) {
    const PickupCase cases[] = {
        {"upgrade", &PlayerShip::upgradeCannons, [](PlayerShip&) {}, true, BannerCannonsUpgraded},
        {"upgrade at five", &PlayerShip::upgradeCannons,
         [](PlayerShip& s) {
             for (PlayerCannon& c : s.cannons) c.setLevel(5);
         },
         false, BannerNone},
        {"upgrade, one below five", &PlayerShip::upgradeCannons,
         [](PlayerShip& s) { s.cannons[0].setLevel(5); }, true, BannerCannonsUpgraded},
        {"add cannons", &PlayerShip::addCannons, [](PlayerShip&) {}, true, BannerCannonsAdded},
        {"add cannons at four", &PlayerShip::addCannons, [](PlayerShip& s) { s.addCannons(); },
         false, BannerNone},
        {"shield", &PlayerShip::chargeShield, [](PlayerShip& s) { s.shield.strength = 3; }, true,
         BannerShieldCharged},
        {"repair", &PlayerShip::repairHull, [](PlayerShip&) {}, true, BannerHullRepaired},
        {"rapid fire", &PlayerShip::startRapidFire, [](PlayerShip&) {}, true, BannerRapidFire},
        {"life", &PlayerShip::gainLife, [](PlayerShip&) {}, true, BannerExtraLife},
        {"life at five", &PlayerShip::gainLife, [](PlayerShip& s) { s.lives = 5; }, false, BannerNone},
        {"spread", &PlayerShip::enableSpread, [](PlayerShip&) {}, true, BannerSpreadMissiles},
        {"spread again", &PlayerShip::enableSpread, [](PlayerShip& s) { s.enableSpread(); }, false,
         0},
    };
    for (const PickupCase& c : cases) {
        freshShip();
        c.prepare(player);
        messageBanner = Banner();
        (player.*c.apply)();
        EXPECT_EQ(messageBanner.running, c.acts) << c.name;
        EXPECT_EQ(messageBanner.image, c.message) << c.name;
        if (c.acts) {
            EXPECT_EQ(messageBanner.flags, Banner::kStereo | Banner::kFadeOut) << c.name;
            EXPECT_FLOAT_EQ(messageBanner.duration, 1.5f) << c.name;
        }
    }
}

TEST_F(Ship, PickupEffects) {
    player.cannons[0].setLevel(4);
    player.cannons[1].setLevel(5);
    player.upgradeCannons();
    EXPECT_EQ(player.cannons[0].level, 5u);
    EXPECT_EQ(player.cannons[1].level, 5u) << "never past five";
    EXPECT_EQ(player.cannons[2].level, 0u) << "only the cannons in use";
    player.addCannons();
    EXPECT_EQ(player.activeCannons, 4);
    EXPECT_EQ(player.cannons[2].level, 5u);
    EXPECT_EQ(player.cannons[3].level, 5u);

    player.hull = 80;
    player.repairHull();
    EXPECT_EQ(player.hull, 100.0f);
    player.hull = 50;
    player.repairHull();
    EXPECT_EQ(player.hull, 83.0f);
    EXPECT_EQ(hullGauge.value, 83.0f);

    player.lives = 4;
    livesDisplay.setCount(4);
    player.gainLife();
    EXPECT_EQ(player.lives, 5);
    EXPECT_EQ(livesDisplay.count, 5);
}

TEST_F(Ship, ShieldGaugeShowsTheWholeShieldScaledToOneHundred) {
    const float cases[][2] = {{60, 100.002f}, {30.9f, 50.001f}, {0.99f, 0}, {-0.2f, 0}};
    for (const auto& c : cases) {
        player.shield.strength = c[0];
        shipFrames(1, 0.0f);
        EXPECT_NEAR(shieldGauge.value, c[1], 1e-3f) << c[0];
    }
}

TEST_F(Ship, CameraGlidesHomeWithoutSnappingAndTheOffsetIsSetAtOnce) {
    player.setCameraOffset(-150, -25, 20);
    player.glideCameraTo(0, 0, 0, 100);
    shipFrames(1, 0.1f);
    EXPECT_NEAR(player.cameraOffset.x, -140.0f, 1e-4f);
    EXPECT_NEAR(player.cameraOffset.y, -15.0f, 1e-4f);
    EXPECT_NEAR(player.cameraOffset.z, 10.0f, 1e-4f);
    shipFrames(2, 0.1f);
    // y and z are within a step of home now; they stay, they neither snap nor swing past.
    const float y = player.cameraOffset.y, z = player.cameraOffset.z;
    EXPECT_NEAR(y, 5.0f, 1e-4f);
    shipFrames(3, 0.1f);
    EXPECT_NEAR(player.cameraOffset.y, y, 1e-4f);
    EXPECT_NEAR(player.cameraOffset.z, z, 1e-4f);
    EXPECT_NEAR(player.cameraOffset.x, -90.0f, 1e-3f);
    player.setCameraOffset(0, 0, 0);
    EXPECT_EQ(player.cameraOffset.x, 0.0f);
}

TEST_F(Ship, AHitShakesTheViewOneWayForFourThirdsOfASecond) {
    player.takeDamage(1);
    float largest = 0;
    for (int i = 0; i < 13; ++i) {
        shipFrames(1, 0.1f);
        EXPECT_GE(player.shakeOffset.y, 0.0f);
        EXPECT_GE(player.shakeOffset.z, 0.0f);
        EXPECT_LE(player.shakeOffset.y, 40.0f);
        EXPECT_LE(player.shakeOffset.z, 40.0f - 3.0f * static_cast<float>(i) + 1e-3f);
        largest = std::max(largest, player.shakeOffset.y);
    }
    EXPECT_GT(largest, 1.0f);
    EXPECT_GT(player.shakeAmount, 0.0f);
    shipFrames(1, 0.1f);
    EXPECT_EQ(player.shakeAmount, 0.0f);
    EXPECT_EQ(player.shakeOffset.y, 0.0f);
    EXPECT_EQ(player.shakeOffset.z, 0.0f);
}

TEST_F(Ship, HitTestIsStrictAndTheShieldSpinResetsAt360) {
    player.position = {0, 3, 4};  // 5 from the origin
    EXPECT_FALSE(player.hitTest(0, 0, 0, -5));
    EXPECT_TRUE(player.hitTest(0, 0, 0, -4.99f));
    EXPECT_FALSE(player.hitTest(0, 3, 14 + 3, 3));
    EXPECT_TRUE(player.hitTest(0, 3, 14 + 2.9f, 3));
    shipFrames(7, 1.0f);  // 350 degrees
    EXPECT_NEAR(player.shieldSpin, 350.0f, 1e-3f);
    shipFrames(1, 0.3f);  // 365: reset, not wrapped
    EXPECT_EQ(player.shieldSpin, 0.0f);
}

TEST_F(Ship, ResetPutsTheShipBackAsTheGameStarts) {
    player.addCannons();
    player.enableSpread();
    player.fireCannons();
    player.takeDamage(30);
    player.position = {0, 50, 60};
    shared.controlsLocked = shared.gameOver = true;
    resetGameState();
    EXPECT_EQ(player.activeCannons, 2);
    EXPECT_EQ(beamsInFlight(), 0);
    EXPECT_FALSE(player.launchers[1].spread);
    EXPECT_EQ(player.lives, 3);
    EXPECT_EQ(player.hull, 100.0f);
    EXPECT_EQ(player.shield.strength, 60.0f);
    EXPECT_EQ(player.position.y, 0.0f);
    EXPECT_EQ(player.shakeAmount, 0.0f);
    EXPECT_FALSE(shared.controlsLocked || shared.gameOver);
    EXPECT_EQ(player.cannons[3].muzzleOffset.y, 8.0f);
    EXPECT_EQ(player.launchers[1].muzzleOffset.z, 12.0f);
}

}  // namespace
