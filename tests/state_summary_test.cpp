// The final state line and the position hash behind it: equal states give equal lines, and any
// change a player could notice, down to one position, changes the line.
#include "run/state_summary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "app/program_reset.h"
#include "hud/hud.h"
#include "player/player_ship.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

namespace {

float fromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

StateSummary sampleSummary() {
    StateSummary s;
    s.score = 1200;
    s.lives = 2;
    s.hull = 78.5f;
    s.shield = 0.1f;
    s.cannons = 4;
    s.cannonLevels[0] = 5;
    s.cannonLevels[1] = 3;
    s.cannonLevels[2] = 1;
    s.cannonLevels[3] = 0;
    s.missileLevel = 6;
    s.asteroids = 100;
    s.fighters = 7;
    s.fighterShots = 8;
    s.playerShots = 9;
    s.pickups = 11;
    s.bursts = 12;
    s.positionHash = 0x0123456789abcdefull;
    return s;
}

// Every field has its own value here, so a field written from the wrong number shows.
TEST(StateSummary, LineNamesEveryFieldInItsShortestExactForm) {
    EXPECT_EQ(formatStateSummary(sampleSummary()),
              "score=1200 lives=2 hull=78.5 shield=0.1 cannons=4 levels=5,3,1,0 missiles=6 "
              "asteroids=100 fighters=7 fighter-shots=8 player-shots=9 pickups=11 bursts=12 "
              "positions=0123456789abcdef");

    // After game over the numbers can go below zero; -0 and NaN each have one spelling.
    StateSummary over;
    over.lives = -1;
    over.hull = -0.0f;
    over.shield = -std::numeric_limits<float>::quiet_NaN();
    over.positionHash = 0xF;
    const std::string line = formatStateSummary(over);
    EXPECT_NE(line.find("lives=-1 hull=0 shield=nan "), std::string::npos) << line;
    EXPECT_NE(line.find(" positions=000000000000000f"), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST(StateSummary, EqualStatesGiveEqualLinesAndATinyChangeShows) {
    const std::string base = formatStateSummary(sampleSummary());
    EXPECT_EQ(formatStateSummary(sampleSummary()), base);
    StateSummary hull = sampleSummary();
    hull.hull = std::nextafter(hull.hull, 100.0f);
    EXPECT_NE(formatStateSummary(hull), base);
    PositionHash one, moved;
    one.add(Vec3{10.0f, 20.0f, 30.0f});
    moved.add(Vec3{10.0f, std::nextafter(20.0f, 0.0f), 30.0f});
    StateSummary a = sampleSummary(), b = sampleSummary();
    a.positionHash = one.value();
    b.positionHash = moved.value();
    EXPECT_NE(formatStateSummary(a), formatStateSummary(b));
}

// Known answers computed outside this code: 64-bit FNV-1a of the little-endian bytes.
TEST(PositionHash, IsFnv1aOverTheFloatBitPatterns) {
    EXPECT_EQ(PositionHash().value(), 0xcbf29ce484222325ull);
    PositionHash one;
    one.add(1.0f);
    EXPECT_EQ(one.value(), 0x4b72477f9c5c2f98ull);
    PositionHash mixed;
    mixed.add(Vec3{1.0f, -2.5f, 0.0f});
    mixed.add(uint32_t{7});
    EXPECT_EQ(mixed.value(), 0x46cee9d453ba0aefull);
}

TEST(PositionHash, EqualPositionsHashAlikeAndAnyMovedOneDoesNot) {
    const std::vector<Vec3> field = {{1.0f, 2.0f, 3.0f}, {-40.5f, 0.25f, 900.0f}, {0, 0, 0}};
    auto hashOf = [](const std::vector<Vec3>& positions) {
        PositionHash hash;
        for (const Vec3& p : positions) hash.add(p);
        return hash.value();
    };
    const uint64_t base = hashOf(field);
    EXPECT_EQ(hashOf(field), base);
    for (std::size_t i = 0; i < field.size(); ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            std::vector<Vec3> moved = field;
            float& c = axis == 0 ? moved[i].x : axis == 1 ? moved[i].y : moved[i].z;
            c = std::nextafter(c, 1e9f);  // one step of float precision
            EXPECT_NE(hashOf(moved), base) << "object " << i << " axis " << axis;
        }
    }
    std::vector<Vec3> swapped = {field[1], field[0], field[2]};
    EXPECT_NE(hashOf(swapped), base);

    // -0 is 0, and every NaN is one value.
    std::vector<Vec3> negativeZero = field;
    negativeZero[2] = {-0.0f, -0.0f, -0.0f};
    EXPECT_EQ(hashOf(negativeZero), base);
    PositionHash quiet, signalling, negative;
    quiet.add(fromBits(0x7FC00000u));
    signalling.add(fromBits(0x7F800001u));
    negative.add(fromBits(0xFFC01234u));
    EXPECT_EQ(quiet.value(), signalling.value());
    EXPECT_EQ(quiet.value(), negative.value());
    PositionHash infinite;
    infinite.add(std::numeric_limits<float>::infinity());
    EXPECT_NE(infinite.value(), quiet.value());
}

// The summary of the running game: each change below moves the one field named, and the hash
// only when something in play moved. Every case starts from the game's start-up state.
TEST(CurrentStateSummary, CountsWhatIsInPlayAndHashesWhereItIs) {
    const StateSummary atStart = currentStateSummary();
    const std::string startLine = formatStateSummary(atStart);
    EXPECT_EQ(startLine.rfind("score=0 lives=3 hull=100 shield=60 cannons=2 levels=0,0,0,0 "
                              "missiles=2 asteroids=100 fighters=0 fighter-shots=0 "
                              "player-shots=0 pickups=0 bursts=0 positions=",
                              0),
              0u)
        << startLine;
    struct Case {
        const char* change;
        std::function<void()> apply;
        std::function<int32_t(const StateSummary&)> field;
        int32_t expected;
        bool moves;  // the hash changes
    };
    const Case cases[] = {
        {"score", [] { scoreDisplay.addScore(120); }, [](auto& s) { return s.score; }, 120, false},
        {"a life lost", [] { player.lives = 2; }, [](auto& s) { return s.lives; }, 2, false},
        {"four cannons", [] { player.activeCannons = 4; }, [](auto& s) { return s.cannons; }, 4,
         false},
        {"third cannon's level", [] { player.cannons[2].level = 3; },
         [](auto& s) { return s.cannonLevels[2]; }, 3, false},
        {"spread", [] { player.launchers[0].spread = true; },
         [](auto& s) { return s.missileLevel; }, 10, false},
        {"a rock shot down", [] { asteroids.rock[7].active = false; },
         [](auto& s) { return s.asteroids; }, 99, true},
        {"a rock beyond the field's count", [] { asteroids.count = 60; },
         [](auto& s) { return s.asteroids; }, 60, true},
        {"a fighter", [] { fighters[3].spawn(); }, [](auto& s) { return s.fighters; }, 1, true},
        {"a fighter's shots",
         [] {
             fighters[0].spawn();
             fighters[0].fire();
         },
         [](auto& s) { return s.fighterShots; }, 2, true},
        {"a beam", [] { player.cannons[1].active = true; }, [](auto& s) { return s.playerShots; },
         1, true},
        {"a missile", [] { player.launchers[1].missiles[4].active = true; },
         [](auto& s) { return s.playerShots; }, 1, true},
        {"a pickup", [] { spawnPickup(-500, 3, 4, 100); }, [](auto& s) { return s.pickups; }, 1,
         true},
        {"a burst", [] { asteroids.rock[2].hitSparks.ignite(1, 2, 3); },
         [](auto& s) { return s.bursts; }, 1, true},
        {"the ship moved", [] { player.position.z = std::nextafter(0.0f, 1.0f); },
         [](auto&) { return 0; }, 0, true},
        {"a rock turned", [] { asteroids.rock[99].rotation.y += 1.0f; }, [](auto&) { return 0; }, 0,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        resetProgramState();
        c.apply();
        const StateSummary now = currentStateSummary();
        EXPECT_EQ(c.field(now), c.expected);
        EXPECT_EQ(now.positionHash != atStart.positionHash, c.moves);
    }
    // A fighter that is not in use is not there, wherever its slot says it is.
    resetProgramState();
    fighters[5].position = {1, 2, 3};
    EXPECT_EQ(currentStateSummary().positionHash, atStart.positionHash);
}

}  // namespace
