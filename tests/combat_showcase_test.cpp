// Not part of the suite (disabled): draws the seven pickups in a row, with a fighter firing
// behind them, in the generated art, and writes the frame as raw RGB into
// $VOXMERE_SHOWCASE_DIR/pickups.rgb. tools/take-combat-screenshots.sh runs it from the build
// folder (where Textures/ lives) and turns the frame into the README's picture.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/meshes.h"
#include "assets/texture_loader.h"
#include "render/stereo_frame.h"
#include "support/combat.h"
#include "support/gl_test_context.h"

namespace {

TEST(CombatShowcase, DISABLED_WritePickupRow) {
    const char* dir = std::getenv("VOXMERE_SHOWCASE_DIR");
    if (dir == nullptr) GTEST_SKIP() << "VOXMERE_SHOWCASE_DIR not set";
    REQUIRE_GL();
    buildMeshLists();
    loadGameTextures();
    combat::freshGame(5);
    player.shipHidden = true;
    player.shield.strength = 0;
    shared.playStarted = true;
    shared.stereoEnabled = true;
    shared.eyeSeparation = 3.5f;
    // Types 1 to 7 from left to right, a little turned so their faces catch the light.
    for (int type = 1; type <= 7; ++type) {
        Pickup& p = pickups[type - 1];
        p.startPickup(-150, type % 2 == 0 ? -6.0f : 6.0f, 54.0f - 18.0f * (type - 1), 0);
        p.buildPickup(type);
        p.tumble = 25.0f + 40.0f * type;
        p.pulse = 1.0f;
    }
    EnemyFighter& f = combat::placeFighter(0, -420, 28, 10);
    f.fire();
    shared.frameSeconds = 0.3f;
    f.shots[0].update();
    f.shots[1].update();
    f.muzzleFlash = 8;

    glColor4f(1, 1, 1, 1);
    renderStereoFrame();
    const auto frame = testgl::readFrame();
    const std::string path = std::string(dir) + "/pickups.rgb";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    EXPECT_EQ(std::fwrite(frame.data(), 1, frame.size(), file), frame.size());
    std::fclose(file);
}

}  // namespace
