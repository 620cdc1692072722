#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "common/globals.h"
#include "common/random.h"
#include "world/asteroid.h"
#include "world/particle_burst.h"

namespace {

float length(const Vec3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// Frames of the given length until the burst is over; -1 if it runs past the limit.
int framesUntilFinished(ParticleBurst& burst, float seconds, int limit = 10000) {
    shared.frameSeconds = seconds;
    for (int frame = 1; frame <= limit; ++frame) {
        burst.update();
        if (burst.isFinished()) return frame;
    }
    return -1;
}

// The asteroid's two bursts as a player sees them: the explosion lasts 2.5 s, the hit sparks
// 1.25 s, whatever the frame length. A life that lands exactly on 0 counts as over.
TEST(ParticleBurst, AsteroidExplosionLastsTwoAndAHalfSecondsAndHitSparksHalfThat) {
    struct Case {
        float frame;
        int explosionFrames;
        int sparkFrames;
    };
    const Case cases[] = {{0.125f, 20, 10}, {0.25f, 10, 5}, {0.5f, 5, 3}, {1.0f / 64, 160, 80}};
    for (const Case& c : cases) {
        seedRandom(7);
        Asteroid rock;
        rock.explosion.scatter();
        rock.explosion.ignite(1, 2, 3);
        rock.hitSparks.scatter();
        rock.hitSparks.ignite(1, 2, 3);
        EXPECT_EQ(framesUntilFinished(rock.explosion, c.frame), c.explosionFrames) << c.frame;
        EXPECT_EQ(framesUntilFinished(rock.hitSparks, c.frame), c.sparkFrames) << c.frame;
    }
}

TEST(ParticleBurst, NeverIgnitedOrStoppedBurstsStayPut) {
    seedRandom(3);
    ParticleBurst burst;
    burst.setSpherical(true);
    shared.frameSeconds = 0.5f;
    burst.update();
    EXPECT_TRUE(burst.isFinished());
    for (const Spark& s : burst.sparks) EXPECT_EQ(length(s.position), 0.0f);

    burst.ignite(0, 0, 0);
    burst.update();
    burst.stop();
    const Vec3 before = burst.sparks[0].position;
    burst.update();
    EXPECT_TRUE(burst.isFinished());
    EXPECT_EQ(burst.sparks[0].position.x, before.x);
    EXPECT_GT(length(before), 0.0f);
}

// Spherical bursts throw every piece at the same pace: sparks 120 and debris 80 units a
// second. Cubic ones reach up to 2 per axis and differ in length.
TEST(ParticleBurst, SphericalPiecesFlyAtFixedSpeedsAndCubicOnesStayInTheirCube) {
    seedRandom(11);
    ParticleBurst round;
    round.setSpherical(true);
    round.ignite(0, 0, 0);
    shared.frameSeconds = 0.5f;
    round.update();
    for (const Spark& s : round.sparks) EXPECT_NEAR(length(s.position), 60.0f, 1e-3f);
    for (const Debris& d : round.debris) {
        EXPECT_NEAR(length(d.position), 40.0f, 1e-3f);
        // Tumbling: 1000 degrees per second per unit of spin.
        EXPECT_NEAR(d.rotation.x, d.spin.x * 500.0f, 1e-2f);
        EXPECT_NEAR(d.rotation.z, d.spin.z * 500.0f, 1e-2f);
        EXPECT_LE(std::fabs(d.scale.y), 1.0f);
    }

    ParticleBurst cube;
    cube.scatter();
    float shortest = 10.0f, longest = 0.0f;
    for (const Spark& s : cube.sparks) {
        for (float c : {s.velocity.x, s.velocity.y, s.velocity.z}) {
            EXPECT_LE(std::fabs(c), 2.0f);
        }
        shortest = std::fmin(shortest, length(s.velocity));
        longest = std::fmax(longest, length(s.velocity));
    }
    EXPECT_LT(shortest, longest - 0.5f);
}

TEST(ParticleBurst, OnlyTheCountedPiecesAreScatteredAndMoved) {
    seedRandom(5);
    ParticleBurst burst;
    burst.setCounts(10, 8);
    const Vec3 marker{123.0f, 0.0f, 0.0f};
    burst.sparks[10].velocity = marker;
    burst.debris[8].velocity = marker;
    burst.setSpherical(true);
    EXPECT_EQ(burst.sparks[10].velocity.x, marker.x);
    EXPECT_NEAR(length(burst.sparks[9].velocity), 2.0f, 1e-5f);
    EXPECT_NEAR(length(burst.debris[7].spin), 2.0f, 1e-5f);
    burst.ignite(0, 0, 0);
    shared.frameSeconds = 0.1f;
    burst.update();
    EXPECT_EQ(length(burst.sparks[10].position), 0.0f);
    EXPECT_EQ(length(burst.debris[8].position), 0.0f);
    EXPECT_GT(length(burst.sparks[9].position), 0.0f);

    // Counts past the capacity never reach beyond the arrays.
    burst.setCounts(500, -4);
    EXPECT_EQ(burst.sparkCount, burstCapacity);
    EXPECT_EQ(burst.debrisCount, 0);
}

TEST(ParticleBurst, ReignitingRestartsLifeFromTheNewOriginWithoutPullingPiecesBack) {
    seedRandom(9);
    ParticleBurst burst;
    burst.setSpherical(true);
    burst.setLifetime(100.0f);
    burst.ignite(5, 6, 7);
    shared.frameSeconds = 0.25f;
    burst.update();
    const Vec3 flown = burst.debris[3].position;
    burst.ignite(-50, 0, 20);
    EXPECT_EQ(burst.life, 100.0f);
    EXPECT_EQ(burst.origin.x, -50.0f);
    EXPECT_EQ(burst.debris[3].position.y, flown.y);
    // scatter is what starts the pieces over, and it leaves the burst idle.
    burst.scatter();
    EXPECT_TRUE(burst.isFinished());
    EXPECT_EQ(length(burst.debris[3].position), 0.0f);
    EXPECT_EQ(burst.origin.z, 20.0f);
}

}  // namespace
