// Long runs through the whole game update with seeded random controls, one per profile in the
// table below: half an hour of flight kept alive, half an hour against the fighter waves, game
// after game with pauses and deaths, and a ship nobody steers. After every frame the whole
// world must still make sense (tests/support/world_checks.h), the score never falls within a
// game and only sounds that exist are asked for; each game lost ends after its five-second
// fade. Under the sanitizers, overruns of the fixed arrays also show.
// VOXMERE_SOAK_MINUTES and VOXMERE_SOAK_SEED change the length and controls of the games
// profile (scripts/soak.sh plays an hour).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <random>
#include <vector>

#include "app/program_reset.h"
#include "common/random.h"
#include "support/combat.h"
#include "support/world_checks.h"

namespace {

using namespace flight;

struct Profile {
    const char* name;
    double minutes;  // of clock; 0: until the game ends by itself
    unsigned seed;   // of rand and of the controls
    // Controls: a key flips one frame in keyFlip (triggerFlip for Ctrl and Space), one frame in
    // tap taps a key for a single frame, each joystick flag flips one frame in joyFlip; 0 never.
    int keyFlip, triggerFlip, tap, joyFlip;
    int handsOff;  // one frame in this the pilot lets go of everything for a while
    int collect;   // one frame in this a pickup's effect lands on the ship
    // Frame lengths: one in zeroFrame takes no time, one in stall 100-500 ms, the rest
    // 1..longestShort ms; stall 0 means every frame is 16 ms.
    int zeroFrame, stall, longestShort;
    int pause;       // one frame in this P pauses for up to several seconds
    bool keepAlive;  // a life whenever the ship runs low, then lose it at the end
    bool newGames;   // a game lost is followed by a fresh game and the opening again
    // What the run must have gone through (at its own length).
    long lasers, explosions, powerUps, sounds;
    int livesLost, bestScore, fightersDestroyed, pickupsDropped, games, pauses;
};

// clang-format off
constexpr Profile kProfiles[] = {
    // name      min  seed      key trig tap joy  off   coll zero stall short pause alive  new
    {"flight",   30, 20261207,  25, 25,  0, 400,    0,  600,   0, 100, 50,    0, true,  false,
     /*lasers*/ 1001, /*explosions*/ 101, 0, 0, /*livesLost*/ 1, /*bestScore*/ 2001, 0, 0, 0, 0},
    {"combat",   31, 314159,    20, 20,  0,   0,    0,    0,   0, 150, 40,    0, true,  false,
     0, 0, /*powerUps*/ 1, 0, 0, 0, /*fightersDestroyed*/ 21, /*pickupsDropped*/ 11, 0, 0},
    {"games",     6, 1207,      30,  6,  5, 300, 5000, 2000, 200,  67, 40, 1500, false, true,
     0, 0, 0, /*sounds*/ 301, /*livesLost*/ 3, /*bestScore*/ 1, 0, 0, /*games*/ 2, /*pauses*/ 2},
    {"left_alone", 0, 314159,    0,  0,  0,   0,    0,    0,   0,   0,  0,    0, false, false,
     0, 0, 0, 0, /*livesLost*/ 3, 0, 0, 0, 0, 0},
};
// clang-format on

// Everything the sound watcher saw.
struct Heard {
    long requests = 0, bad = 0, lasers = 0, explosions = 0, powerUps = 0;
} heard;

void watchSound(SoundId id, bool freeCopy) {
    ++heard.requests;
    if (!worldcheck::validSoundRequest(id, freeCopy)) ++heard.bad;
    if (freeCopy && id <= SoundLaser6) ++heard.lasers;
    if (freeCopy && (id == SoundExplode1 || id == SoundExplode2)) ++heard.explosions;
    if (id == SoundPowerUp) ++heard.powerUps;
}

double envNumber(const char* name, double fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0 ? value : fallback;
}

// What a pause must hold still: the ship, a rock, a fighter, the play time and the score.
std::vector<float> stillState() {
    std::vector<float> state{timeDisplay.elapsed, static_cast<float>(scoreDisplay.total)};
    for (const Vec3* v : {&player.position, &asteroids.rock[0].position, &fighters[0].position}) {
        state.insert(state.end(), {v->x, v->y, v->z});
    }
    return state;
}

struct Soak {
    const Profile& profile;
    std::mt19937 rng;
    worldcheck::FieldAroundShip field;
    int tapped = 0;  // a key pressed for exactly one frame, 0 when none
    int handsOffFrames = 0;
    bool wasExploding[fighterCount] = {};
    bool wasDrifting[pickupSlotCount] = {};

    // Totals over the whole run.
    double clockSeconds = 0;   // everything the clock moved, pauses included
    double playedSeconds = 0;  // unpaused frames only
    long frames = 0;
    int games = 0;
    int livesLost = 0;
    int pauses = 0;
    double longestPause = 0;
    int bestScore = 0;
    int fightersDestroyed = 0;
    int pickupsDropped = 0;

    // The game in progress.
    int gameScore = 0;
    int gameLives = 3;
    double gamePlayed = 0;
    double gameOverAt = -1;
    float lastFrame = 0;

    Soak(const Profile& p, unsigned seed) : profile(p), rng(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool oneIn(int n) { return n > 0 && below(n) == 0; }

    uint32_t frameMs() {
        if (profile.stall == 0) return 16;
        if (oneIn(profile.zeroFrame)) return 0;
        if (oneIn(profile.stall)) return 100 + below(401);
        return 1 + below(profile.longestShort);
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
        if (handsOffFrames == 0 && oneIn(profile.handsOff)) {
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
            if (!oneIn(trigger ? profile.triggerFlip : profile.keyFlip)) continue;
            if (input.keys.isDown(key)) {
                release(key);
            } else {
                hold(key);
            }
        }
        if (oneIn(profile.tap)) {
            const int key = kKeys[below(6)];
            if (!input.keys.isDown(key)) {
                hold(key);
                tapped = key;
            }
        }
        for (bool* flag : {&input.joyUp, &input.joyDown, &input.joyLeft, &input.joyRight,
                           &input.joyButton1, &input.joyButton2}) {
            if (oneIn(profile.joyFlip)) *flag = !*flag;
        }
    }

    // A pickup's effect now and then, as if one were collected: the clamps get pushed.
    void collect() {
        if (handsOffFrames > 0 || !oneIn(profile.collect)) return;
        worldcheck::applyPickupEffect(below(7));
    }

    // One frame of the given length; false at the first broken invariant.
    ::testing::AssertionResult frame(uint32_t ms) {
        using ::testing::AssertionFailure;
        const bool wasPaused = pauseState.paused;
        field.remember();
        gameFrames(1, ms);
        ++frames;
        clockSeconds += ms / 1000.0;
        if (!wasPaused) {
            if (std::fabs(shared.frameSeconds - ms / 1000.0f) > 1e-6f) {
                return AssertionFailure() << "a " << ms << " ms frame took " << shared.frameSeconds;
            }
            playedSeconds += shared.frameSeconds;
            gamePlayed += shared.frameSeconds;
            lastFrame = shared.frameSeconds;
        }
        if (const auto ship = worldcheck::shipMakesSense(); !ship) return ship;
        if (const auto world = worldcheck::worldMakesSense(); !world) return world;
        if (const auto around = field.check(shared.frameSeconds); !around) return around;
        if (heard.bad > 0) return AssertionFailure() << "a sound that does not exist";
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
        for (const EnemyFighter& f : fighters) {
            if (f.exploding && !wasExploding[&f - fighters.data()]) ++fightersDestroyed;
            wasExploding[&f - fighters.data()] = f.exploding;
        }
        for (const Pickup& p : pickups) {
            if (p.active && !wasDrifting[&p - pickups.data()]) ++pickupsDropped;
            wasDrifting[&p - pickups.data()] = p.active;
        }
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
        const std::vector<float> before = stillState();
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
            if (stillState() != before) return AssertionFailure() << "moved while paused";
        }
        if (pausedFor > longestPause) longestPause = pausedFor;
        release(VK_P);
        if (auto r = frame(frameMs()); !r) return r;
        hold(VK_P);
        if (auto r = frame(frameMs()); !r) return r;
        if (pauseState.paused) return AssertionFailure() << "the second P did not resume";
        if (stillState() != before) return AssertionFailure() << "the resume frame moved";
        if (below(2) == 0) release(VK_P);  // a P still held must not pause again
        const uint32_t ms = 5 + below(30);
        if (auto r = frame(ms); !r) return r;
        if (pauseState.paused) return AssertionFailure() << "paused again without a fresh press";
        release(VK_P);
        return ::testing::AssertionSuccess();
    }

    // The game-over fade has run out on the first frame that took it to five seconds of play,
    // with every life gone and the picture black.
    ::testing::AssertionResult gameEnded() const {
        const double fade = gamePlayed - gameOverAt;
        if (gameOverAt < 0 || fade < 4.999 || fade - lastFrame > 5.001) {
            return ::testing::AssertionFailure()
                   << "game ended " << fade << " s after its game over at " << gameOverAt
                   << " (last frame " << lastFrame << " s)";
        }
        if (player.lives != 0 || shared.fadeAlpha > 0) {
            return ::testing::AssertionFailure()
                   << "game ended with " << player.lives << " lives, fade " << shared.fadeAlpha;
        }
        return ::testing::AssertionSuccess();
    }
};

struct SoakSimulation : ::testing::TestWithParam<Profile> {};

TEST_P(SoakSimulation, KeepsEveryInvariant) {
    const Profile& profile = GetParam();
    const bool games = profile.newGames;
    const double minutes =
        games ? envNumber("VOXMERE_SOAK_MINUTES", profile.minutes) : profile.minutes;
    const unsigned seed =
        games ? static_cast<unsigned>(envNumber("VOXMERE_SOAK_SEED", profile.seed)) : profile.seed;
    seedRandom(seed);
    testclock::install(1000);
    heard = {};
    Soak soak(profile, seed);
    soak.newGame();
    const auto started = std::chrono::steady_clock::now();

    // Until the clock has run its minutes, or with none until the game ends by itself.
    while (minutes > 0 ? soak.clockSeconds < minutes * 60 : !shared.quitRequested) {
        ASSERT_TRUE(minutes > 0 || soak.clockSeconds < 300) << "still alive after five minutes";
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
        if (profile.keepAlive && player.lives <= 2) player.gainLife();
        if (soak.oneIn(profile.pause)) {
            ASSERT_TRUE(soak.pause())
                << "pause " << soak.pauses << " of game " << soak.games << ", seed " << seed;
            continue;
        }
        ASSERT_TRUE(soak.frame(soak.frameMs()))
            << "frame " << soak.frames << ", " << soak.gamePlayed << " s into game " << soak.games
            << ", seed " << seed;
        ASSERT_TRUE(!profile.keepAlive || !shared.gameOver) << "at " << soak.gamePlayed << " s";
    }
    if (profile.keepAlive) {
        // Now the ship goes down: the game must end after its fade.
        while (!shared.gameOver) player.takeDamage(500);
        soak.gameOverAt = soak.gamePlayed;
        while (!shared.quitRequested) {
            soak.steer();
            ASSERT_TRUE(soak.frame(soak.frameMs()));
            ASSERT_LT(soak.gamePlayed - soak.gameOverAt, 5.6) << "the game did not end";
        }
    }
    if (!games) {
        ASSERT_TRUE(soak.gameEnded());
        if (profile.minutes == 0) {
            EXPECT_GT(soak.gameOverAt, 20) << "before the first wave";
        }
    }
    const double realSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    // The run went through what it is meant to. A shorter run than the table's (the memcheck
    // one) only has to keep the invariants; a longer one has to go through more.
    if (minutes >= profile.minutes) {
        const double scale = profile.minutes > 0 ? minutes / profile.minutes : 1;
        EXPECT_GE(heard.lasers, profile.lasers);
        EXPECT_GE(heard.explosions, profile.explosions);
        EXPECT_GE(heard.powerUps, profile.powerUps) << "no pickup was ever collected";
        EXPECT_GE(heard.requests, profile.sounds * scale);
        EXPECT_GE(soak.livesLost, profile.livesLost);
        EXPECT_GE(soak.bestScore, profile.bestScore);
        EXPECT_GE(soak.fightersDestroyed, profile.fightersDestroyed);
        EXPECT_GE(soak.pickupsDropped, profile.pickupsDropped);
        EXPECT_GE(soak.pauses, profile.pauses * scale);
        if (games) {
            EXPECT_GE(soak.games, profile.games + static_cast<int>(minutes / 15)) << "too few";
            EXPECT_GT(soak.livesLost, soak.games);
            EXPECT_GT(soak.longestPause, 1.0);
            EXPECT_LT(soak.playedSeconds, soak.clockSeconds);
        }
    }

    RecordProperty("games", soak.games);
    RecordProperty("frames", static_cast<int>(soak.frames));
    std::printf(
        "%s: %.1f min of clock (%.1f played) in %ld frames, %d games, %d lives lost, "
        "%d pauses (longest %.1f s), best score %d, %ld sound requests, %d fighters down, "
        "%d pickups dropped; last game over after %.1f s; %.1f s real time\n",
        profile.name, soak.clockSeconds / 60, soak.playedSeconds / 60, soak.frames, soak.games,
        soak.livesLost, soak.pauses, soak.longestPause, soak.bestScore, heard.requests,
        soak.fightersDestroyed, soak.pickupsDropped, soak.gameOverAt, realSeconds);
    setSoundRequestWatcher(nullptr);
    testclock::uninstall();
}

INSTANTIATE_TEST_SUITE_P(Profiles, SoakSimulation, ::testing::ValuesIn(kProfiles),
                         [](const ::testing::TestParamInfo<Profile>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
