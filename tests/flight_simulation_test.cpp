// Half an hour of play with seeded random controls, pickups and frame times through the whole
// game update, then the end of the game. After every frame the world must still make sense:
// finite positions, the field around the ship, counts inside their arrays, and only sounds
// that exist asked for. Run under the sanitizers, overruns of the fixed arrays also show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "support/flight.h"
#include "support/world_checks.h"

namespace {

using namespace flight;
using worldcheck::finite;

int badSoundRequests = 0;
int laserRequests = 0;
int explosionRequests = 0;

void checkSound(SoundId id, bool freeCopy) {
    if (!worldcheck::validSoundRequest(id, freeCopy)) ++badSoundRequests;
    if (freeCopy && id <= SoundLaser6) ++laserRequests;
    if (freeCopy && (id == SoundExplode1 || id == SoundExplode2)) ++explosionRequests;
}

struct Controls {
    std::mt19937 rng;
    explicit Controls(unsigned seed) : rng(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    // Each key flips now and then, so presses last from one frame to a few seconds.
    void play() {
        static constexpr int kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL, VK_SPACE};
        for (int key : kKeys) {
            if (below(25) != 0) continue;
            if (input.keys.isDown(key)) {
                release(key);
            } else {
                hold(key);
            }
        }
        if (below(400) == 0) input.joyButton1 = !input.joyButton1;
        if (below(400) == 0) input.joyLeft = !input.joyLeft;
    }

    // Mostly short frames, sometimes a stall of up to half a second.
    uint32_t frameMs() { return below(100) == 0 ? 100 + below(401) : 1 + below(50); }

    // A pickup collected now and then, as the field would leave them.
    void collect() {
        if (below(600) != 0) return;
        worldcheck::applyPickupEffect(below(7));
    }
};

struct Watch {
    float previousX[asteroidCapacity] = {};
    bool wasActive[asteroidCapacity] = {};
    int livesLost = 0;
    int previousLives = 3;

    void remember() {
        for (int i = 0; i < asteroidCapacity; ++i) {
            previousX[i] = asteroids.rock[i].position.x;
            wasActive[i] = asteroids.rock[i].active;
        }
    }

    // Every invariant after one frame of dt seconds; false at the first broken one.
    ::testing::AssertionResult check(float dt) {
        const Vec3 ship = player.location();
        if (!finite(player.position) || !finite(player.cameraOffset) ||
            !std::isfinite(player.shakeOffset.y) || !std::isfinite(player.shakeOffset.z) ||
            !std::isfinite(player.bank) || !std::isfinite(player.hull)) {
            return ::testing::AssertionFailure() << "ship state not finite";
        }
        if (std::fabs(player.stickY) > 1 || std::fabs(player.stickZ) > 1) {
            return ::testing::AssertionFailure() << "stick past its end";
        }
        if (player.activeCannons != 2 && player.activeCannons != 4) {
            return ::testing::AssertionFailure() << player.activeCannons << " cannons";
        }
        for (const PlayerCannon& c : player.cannons) {
            if (c.level > 5 || !finite(c.position)) {
                return ::testing::AssertionFailure() << "cannon level " << c.level;
            }
        }
        for (const MissileLauncher& l : player.launchers) {
            for (const Missile& m : l.missiles) {
                if (!finite(m.position)) return ::testing::AssertionFailure() << "missile";
            }
        }
        if (player.lives < 0 || player.lives > 5 || player.hull > 100) {
            return ::testing::AssertionFailure()
                   << "lives " << player.lives << ", hull " << player.hull;
        }
        if (asteroids.count != asteroidCapacity) {
            return ::testing::AssertionFailure() << "field of " << asteroids.count;
        }
        // The ship itself moved up to 150 x dt after the field was centred on it this frame;
        // far from the origin the floats' own rounding adds a few millionths of the distance.
        const float rounding = 1e-3f + 2e-6f * std::max(std::fabs(ship.y), std::fabs(ship.z));
        const float shipMove = player.moveSpeed * dt + rounding;
        for (int i = 0; i < asteroidCapacity; ++i) {
            const Asteroid& a = asteroids.rock[i];
            if (!finite(a.position) || !finite(a.rotation)) {
                return ::testing::AssertionFailure() << "rock " << i << " not finite";
            }
            if (!a.active) continue;
            // A rock that flew on this frame has been wrapped into the 300 around the ship;
            // one placed afresh (rammed, or back from its explosion) lies within its
            // placement box of 500 until its next update wraps it.
            const bool flew = wasActive[i] && a.position.x > previousX[i];
            const float reach = (flew ? 300.0f : 500.0f) + shipMove;
            const float dy = std::fabs(a.position.y - ship.y);
            const float dz = std::fabs(a.position.z - ship.z);
            if (dy > reach || dz > reach) {
                return ::testing::AssertionFailure()
                       << "rock " << i << " at " << dy << ", " << dz << " from the ship"
                       << (flew ? " after flying" : " after placing");
            }
        }
        if (badSoundRequests > 0) return ::testing::AssertionFailure() << "bad sound id";
        if (player.lives < previousLives) livesLost += previousLives - player.lives;
        previousLives = player.lives;
        return ::testing::AssertionSuccess();
    }
};

TEST(FlightSimulation, HalfAnHourOfRandomPlayKeepsEveryInvariantAndTheGameStillEnds) {
    freshShip(20261207);
    setSoundRequestWatcher(checkSound);
    startGame();
    Controls controls(4242);
    Watch watch;

    constexpr double kPlaySeconds = 30.0 * 60.0;
    double played = 0;
    long frames = 0;
    while (played < kPlaySeconds) {
        controls.play();
        controls.collect();
        // Keep the ship alive for the whole half hour: an extra life whenever it runs low.
        if (player.lives <= 2) player.gainLife();
        watch.remember();
        gameFrames(1, controls.frameMs());
        played += shared.frameSeconds;
        ++frames;
        ASSERT_TRUE(watch.check(shared.frameSeconds))
            << "frame " << frames << " at " << played << " s";
        ASSERT_FALSE(shared.gameOver) << "at " << played << " s";
    }
    EXPECT_GT(laserRequests, 1000);
    EXPECT_GT(explosionRequests, 100);
    EXPECT_GT(watch.livesLost, 0);
    EXPECT_GT(scoreDisplay.total, 2000);

    // Now the ship goes down: the game must end five seconds of play later.
    while (!shared.gameOver) player.takeDamage(500);
    double fade = 0;
    while (!shared.quitRequested) {
        controls.play();
        watch.remember();
        gameFrames(1, controls.frameMs());
        fade += shared.frameSeconds;
        ASSERT_TRUE(watch.check(shared.frameSeconds));
        ASSERT_LT(fade, 5.6) << "the game did not end after its fade";
        EXPECT_EQ(player.lives, 0);
    }
    EXPECT_GT(fade, 5.0);
    EXPECT_LE(shared.fadeAlpha, 0.0f);
    setSoundRequestWatcher(nullptr);
    testclock::uninstall();
}

}  // namespace
