// Over half an hour of random play with the fighter waves and the pickups the field drops, then
// a ship left alone until the fighters and rocks end the game. After every frame the fighters,
// their shots and the pickups must still make sense: finite, inside their bounds, counts and
// clamps as they are meant to be, and never a life below 0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "support/combat.h"
#include "support/world_checks.h"

namespace {

using namespace flight;
using worldcheck::finite;

int badSounds = 0;
int powerUps = 0;

void watchSound(SoundId id, bool freeCopy) {
    if (!worldcheck::validSoundRequest(id, freeCopy)) ++badSounds;
    if (id == SoundPowerUp) ++powerUps;
}

::testing::AssertionResult combatMakesSense(int previousScore) {
    using ::testing::AssertionFailure;
    for (int i = 0; i < fighterCount; ++i) {
        const EnemyFighter& f = fighters[i];
        if (!finite(f.position)) return AssertionFailure() << "fighter " << i << " not finite";
        if (f.active && f.exploding) return AssertionFailure() << "fighter " << i << " both";
        if (f.active && (f.position.x > 10 || f.position.x < -1000)) {
            return AssertionFailure() << "fighter " << i << " flying at x " << f.position.x;
        }
        if (f.hitPoints > 10 || f.muzzleFlash < 0 || f.muzzleFlash > 10) {
            return AssertionFailure() << "fighter " << i << " hit points " << f.hitPoints;
        }
        for (const FighterShot& shot : f.shots) {
            if (!finite(shot.position) || !finite(shot.direction)) {
                return AssertionFailure() << "shot of fighter " << i << " not finite";
            }
            if (f.shotsInFlight && shot.active && shot.position.x > 10) {
                return AssertionFailure() << "shot of fighter " << i << " past the player";
            }
        }
    }
    for (int i = 0; i < pickupSlotCount; ++i) {
        const Pickup& p = pickups[i];
        if (!p.active) continue;
        if (!finite(p.position) || p.position.x > 10) {
            return AssertionFailure() << "pickup " << i << " at x " << p.position.x;
        }
        if (p.type < 1 || p.type > 7 || (p.radius != 8 && p.radius != 10)) {
            return AssertionFailure()
                   << "pickup " << i << " type " << p.type << " radius " << p.radius;
        }
        if (p.pulse < 0.3f - 1e-5f || p.pulse > 1.0f || p.tumble < 0 || p.tumble > 360 ||
            p.spinPhase < 0 || p.spinPhase > 6.2832f) {
            return AssertionFailure() << "pickup " << i << " pulse " << p.pulse;
        }
    }
    if (player.lives < 0 || player.hull > 100 || player.shield.strength > 60) {
        return AssertionFailure() << "lives " << player.lives << ", hull " << player.hull
                                  << ", shield " << player.shield.strength;
    }
    if (!finite(player.position)) return AssertionFailure() << "ship not finite";
    if (scoreDisplay.total < previousScore) return AssertionFailure() << "score fell";
    if (badSounds > 0) return AssertionFailure() << "bad sound id";
    return ::testing::AssertionSuccess();
}

struct CombatSimulation : ::testing::Test {
    void SetUp() override {
        combat::freshGame(314159);
        badSounds = 0;
        powerUps = 0;
        setSoundRequestWatcher(watchSound);
        startGame();
    }
    void TearDown() override {
        setSoundRequestWatcher(nullptr);
        testclock::uninstall();
    }

    // One frame; false at the first broken invariant.
    ::testing::AssertionResult frame(uint32_t ms) {
        const int score = scoreDisplay.total;
        gameFrames(1, ms);
        played += shared.frameSeconds;
        for (const EnemyFighter& f : fighters) {
            if (f.exploding && !wasExploding[&f - fighters.data()]) ++fightersDestroyed;
            wasExploding[&f - fighters.data()] = f.exploding;
        }
        for (const Pickup& p : pickups) {
            if (p.active && !wasDrifting[&p - pickups.data()]) ++pickupsDropped;
            wasDrifting[&p - pickups.data()] = p.active;
        }
        return combatMakesSense(score);
    }

    double played = 0;
    bool wasExploding[fighterCount] = {};
    bool wasDrifting[pickupSlotCount] = {};
    int fightersDestroyed = 0;
    int pickupsDropped = 0;
};

TEST_F(CombatSimulation, HalfAnHourOfRandomPlayAgainstFightersKeepsEveryInvariant) {
    std::mt19937 rng(2718);
    const auto below = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    long frames = 0;
    while (played < 31 * 60) {
        for (int key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL, VK_SPACE}) {
            if (below(20) != 0) continue;
            if (input.keys.isDown(key)) {
                release(key);
            } else {
                hold(key);
            }
        }
        if (player.lives <= 2) player.gainLife();  // keep the ship in the fight
        const uint32_t ms = below(150) == 0 ? 100 + below(401) : 1 + below(40);
        ASSERT_TRUE(frame(ms)) << "frame " << ++frames << " at " << played << " s";
        ASSERT_FALSE(shared.gameOver);
    }
    EXPECT_GT(fightersDestroyed, 20);
    EXPECT_GT(pickupsDropped, 10);
    EXPECT_GT(powerUps, 0) << "no pickup was ever collected";

    // Then the ship goes down and the game ends after its fade; no life goes below 0.
    while (!shared.gameOver) player.takeDamage(500);
    double fade = 0;
    while (!shared.quitRequested) {
        ASSERT_TRUE(frame(16));
        fade += shared.frameSeconds;
        ASSERT_LT(fade, 5.1);
        ASSERT_EQ(player.lives, 0);
    }
}

// Nobody at the controls: the fighters' aimed shots and the rocks wear the ship down, the last
// life ends the game, the picture fades and the program is asked to end.
TEST_F(CombatSimulation, AShipLeftAloneIsWornDownAndTheGameEnds) {
    double gameOverAt = -1;
    while (!shared.quitRequested) {
        ASSERT_TRUE(frame(16)) << "at " << played << " s";
        if (shared.gameOver && gameOverAt < 0) gameOverAt = played;
        ASSERT_LT(played, 300) << "still alive after five minutes";
    }
    EXPECT_GT(gameOverAt, 20) << "before the first wave";
    EXPECT_NEAR(played - gameOverAt, 5, 0.05);
    EXPECT_EQ(player.lives, 0);
    RecordProperty("gameOverSeconds", static_cast<int>(gameOverAt));
    std::printf("left alone: game over after %.1f s of play\n", gameOverAt);
}

}  // namespace
