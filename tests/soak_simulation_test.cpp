// Game after game through the whole game update with seeded random controls: keys held and
// tapped, the joystick, frames from 0 to half a second, pauses of any length, lives lost and
// games over, each followed by a fresh game state and the opening again. Every frame the whole
// world must still make sense. The suite plays a few minutes of game time;
// VOXMERE_SOAK_MINUTES asks for more (scripts/soak.sh plays an hour), VOXMERE_SOAK_SEED for
// other controls.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <random>

#include "app/program_reset.h"
#include "rules/game_update.h"
#include "support/combat.h"
#include "support/world_checks.h"

namespace {

using namespace flight;

constexpr double kSuiteMinutes = 6.0;

int badSounds = 0;
long soundRequests = 0;

void watchSound(SoundId id, bool freeCopy) {
    ++soundRequests;
    if (!worldcheck::validSoundRequest(id, freeCopy)) ++badSounds;
}

double envNumber(const char* name, double fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0 ? value : fallback;
}

// Where the frame that just ran left the things a pause must hold still.
struct Still {
    Vec3 ship;
    Vec3 rock;
    Vec3 fighter;
    float playTime = 0;
    int score = 0;

    static Still now() {
        return {player.position, asteroids.rock[0].position, fighters[0].position,
                timeDisplay.elapsed, scoreDisplay.total};
    }
    bool operator==(const Still& o) const {
        const auto same = [](const Vec3& a, const Vec3& b) {
            return a.x == b.x && a.y == b.y && a.z == b.z;
        };
        return same(ship, o.ship) && same(rock, o.rock) && same(fighter, o.fighter) &&
               playTime == o.playTime && score == o.score;
    }
};

struct Soak {
    std::mt19937 rng;
    int tapped = 0;  // a key pressed for exactly one frame, 0 when none
    int handsOffFrames = 0;

    // Totals over the whole run.
    double clockSeconds = 0;   // everything the clock moved, pauses included
    double playedSeconds = 0;  // unpaused frames only
    long frames = 0;
    int games = 0;
    int livesLost = 0;
    int pauses = 0;
    double longestPause = 0;
    int bestScore = 0;

    // The game in progress.
    int gameScore = 0;
    int gameLives = 3;
    double gamePlayed = 0;
    double gameOverAt = -1;

    explicit Soak(unsigned seed) : rng(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    // From nothing at all now and then, mostly a few hundredths, sometimes a stall up to 0.5 s.
    uint32_t frameMs() {
        const int r = below(200);
        if (r == 0) return 0;
        if (r <= 2) return 100 + below(401);
        return 1 + below(40);
    }

    void newGame() {
        resetProgramState();
        setSoundRequestWatcher(watchSound);
        startGame(testclock::now);
        tapped = 0;
        handsOffFrames = 0;
        gameScore = 0;
        gameLives = 3;
        gamePlayed = 0;
        gameOverAt = -1;
        ++games;
    }

    // Keys flip now and then, so holds last from one frame to seconds; taps last one frame.
    // Now and then the pilot lets go of everything for a while, and the fighters close in.
    void steer() {
        static constexpr int kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL, VK_SPACE};
        if (tapped != 0) {
            release(tapped);
            tapped = 0;
        }
        if (handsOffFrames == 0 && below(5000) == 0) {
            handsOffFrames = 1000 + below(3000);
            for (int key : kKeys) release(key);
            input.joyUp = input.joyDown = input.joyLeft = input.joyRight = input.joyButton1 =
                input.joyButton2 = false;
        }
        if (handsOffFrames > 0) {
            --handsOffFrames;
            return;
        }
        for (int key : kKeys) {
            const bool trigger = key == VK_CONTROL || key == VK_SPACE;
            if (below(trigger ? 6 : 30) != 0) continue;
            if (input.keys.isDown(key)) {
                release(key);
            } else {
                hold(key);
            }
        }
        if (below(5) == 0) {
            const int key = kKeys[below(6)];
            if (!input.keys.isDown(key)) {
                hold(key);
                tapped = key;
            }
        }
        for (bool* flag : {&input.joyUp, &input.joyDown, &input.joyLeft, &input.joyRight,
                           &input.joyButton1, &input.joyButton2}) {
            if (below(300) == 0) *flag = !*flag;
        }
    }

    // A pickup's effect now and then, as if one were collected: the clamps get pushed.
    void collect() {
        if (handsOffFrames > 0 || below(2000) != 0) return;
        worldcheck::applyPickupEffect(below(7));
    }

    // One frame of the given length; false at the first broken invariant.
    ::testing::AssertionResult frame(uint32_t ms) {
        using ::testing::AssertionFailure;
        const bool wasPaused = pauseState.paused;
        gameFrames(1, ms);
        ++frames;
        clockSeconds += ms / 1000.0;
        if (!wasPaused) {
            if (std::fabs(shared.frameSeconds - ms / 1000.0f) > 1e-6f) {
                return AssertionFailure() << "a " << ms << " ms frame took " << shared.frameSeconds;
            }
            playedSeconds += shared.frameSeconds;
            gamePlayed += shared.frameSeconds;
        }
        if (const auto ship = worldcheck::shipMakesSense(); !ship) return ship;
        if (const auto world = worldcheck::worldMakesSense(); !world) return world;
        if (badSounds > 0) return AssertionFailure() << "a sound that does not exist";
        if (scoreDisplay.total < gameScore) {
            return AssertionFailure()
                   << "score fell from " << gameScore << " to " << scoreDisplay.total;
        }
        gameScore = scoreDisplay.total;
        if (gameScore > bestScore) bestScore = gameScore;
        if (player.lives < gameLives) livesLost += gameLives - player.lives;
        gameLives = player.lives;
        if (shared.playStarted == shared.controlsLocked && !shared.gameOver) {
            return AssertionFailure() << "controls " << (shared.controlsLocked ? "locked" : "free")
                                      << " at " << gamePlayed << " s of the game";
        }
        if (shared.gameOver && gameOverAt < 0) gameOverAt = gamePlayed;
        return ::testing::AssertionSuccess();
    }

    // P pressed and released, the clock running on for a while, P again: nothing moves in
    // between, and the first frame after it is as long as it really was.
    ::testing::AssertionResult pause() {
        using ::testing::AssertionFailure;
        hold(VK_P);
        if (auto r = frame(frameMs()); !r) return r;
        if (!pauseState.paused) return AssertionFailure() << "P did not pause";
        ++pauses;
        const Still before = Still::now();
        const int heldFrames = below(4);
        const int pausedFrames = 1 + below(120);
        double pausedFor = 0;
        for (int i = 0; i < pausedFrames; ++i) {
            if (i == heldFrames) release(VK_P);
            steer();
            const uint32_t ms = frameMs() * (1 + below(3));
            pausedFor += ms / 1000.0;
            if (auto r = frame(ms); !r) return r;
            if (!pauseState.paused) return AssertionFailure() << "a held P resumed";
            if (!(Still::now() == before)) return AssertionFailure() << "moved while paused";
        }
        if (pausedFor > longestPause) longestPause = pausedFor;
        release(VK_P);
        if (auto r = frame(frameMs()); !r) return r;
        hold(VK_P);
        if (auto r = frame(frameMs()); !r) return r;
        if (pauseState.paused) return AssertionFailure() << "the second P did not resume";
        if (!(Still::now() == before)) return AssertionFailure() << "the resume frame moved";
        if (below(2) == 0) release(VK_P);  // a P still held must not pause again
        const uint32_t ms = 5 + below(30);
        if (auto r = frame(ms); !r) return r;
        if (pauseState.paused) return AssertionFailure() << "paused again without a fresh press";
        release(VK_P);
        return ::testing::AssertionSuccess();
    }

    // The game-over fade has run out: it lasted its five seconds of play.
    ::testing::AssertionResult gameEnded() const {
        const double fade = gamePlayed - gameOverAt;
        if (gameOverAt < 0 || fade < 4.99 || fade > 5.51) {
            return ::testing::AssertionFailure()
                   << "game ended " << fade << " s after its game over at " << gameOverAt;
        }
        return ::testing::AssertionSuccess();
    }
};

TEST(SoakSimulation, GamesOfRandomPlayWithPausesAndDeathsKeepEveryInvariant) {
    const double minutes = envNumber("VOXMERE_SOAK_MINUTES", kSuiteMinutes);
    const unsigned seed = static_cast<unsigned>(envNumber("VOXMERE_SOAK_SEED", 1207));
    std::srand(seed);
    testclock::install(1000);
    badSounds = 0;
    soundRequests = 0;
    Soak soak(seed);
    soak.newGame();
    const auto started = std::chrono::steady_clock::now();

    while (soak.clockSeconds < minutes * 60) {
        if (shared.quitRequested) {
            ASSERT_TRUE(soak.gameEnded()) << "game " << soak.games << ", seed " << seed;
            soak.newGame();
            ASSERT_TRUE(soak.frame(soak.frameMs())) << "first frame of game " << soak.games;
            ASSERT_EQ(scoreDisplay.total, 0);
            ASSERT_EQ(player.lives, 3);
            ASSERT_TRUE(shared.controlsLocked) << "the opening runs again";
            continue;
        }
        soak.steer();
        soak.collect();
        if (soak.below(1500) == 0) {
            ASSERT_TRUE(soak.pause())
                << "pause " << soak.pauses << " of game " << soak.games << ", seed " << seed;
            continue;
        }
        ASSERT_TRUE(soak.frame(soak.frameMs()))
            << "frame " << soak.frames << ", " << soak.gamePlayed << " s into game " << soak.games
            << ", seed " << seed;
    }
    const double realSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    // The run went through what it is meant to: games lost, pauses, shots and explosions.
    // A shorter run than the suite's (the memcheck one) only has to keep the invariants.
    if (minutes >= kSuiteMinutes) {
        const double perMinute = 1.0 / minutes;
        EXPECT_GE(soak.games, 2 + static_cast<int>(minutes / 15)) << "too few games over";
        EXPECT_GT(soak.livesLost, soak.games);
        EXPECT_GE(soak.pauses * perMinute, 0.2);
        EXPECT_GT(soak.longestPause, 1.0);
        EXPECT_GT(soundRequests * perMinute, 50);
        EXPECT_GT(soak.bestScore, 0);
        EXPECT_LT(soak.playedSeconds, soak.clockSeconds);
    }

    RecordProperty("games", soak.games);
    RecordProperty("frames", static_cast<int>(soak.frames));
    std::printf(
        "soak: %.1f min of clock (%.1f played) in %ld frames, %d games, %d lives lost, "
        "%d pauses (longest %.1f s), best score %d, %ld sound requests; %.1f s real time\n",
        soak.clockSeconds / 60, soak.playedSeconds / 60, soak.frames, soak.games, soak.livesLost,
        soak.pauses, soak.longestPause, soak.bestScore, soundRequests, realSeconds);
    setSoundRequestWatcher(nullptr);
    testclock::uninstall();
}

}  // namespace
