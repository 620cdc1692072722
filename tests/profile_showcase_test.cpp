// Not part of the suite (disabled): a game that beat the best score, one second into its
// game-over fade, drawn in the generated art; writes the frame as raw RGB into
// $VOXMERE_SHOWCASE_DIR/new-best.rgb. tools/take-profile-screenshots.sh runs it from the build
// folder (where Textures/ lives) and turns the frame into the README's picture.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/meshes.h"
#include "assets/texture_loader.h"
#include "common/globals.h"
#include "hud/hud.h"
#include "render/stereo_frame.h"
#include "rules/game_update.h"
#include "run/game_frame.h"
#include "support/fake_clock.h"
#include "support/gl_test_context.h"

namespace {

TEST(ProfileShowcase, DISABLED_WriteNewBestBanner) {
    const char* dir = std::getenv("VOXMERE_SHOWCASE_DIR");
    if (dir == nullptr) GTEST_SKIP() << "VOXMERE_SHOWCASE_DIR not set";
    REQUIRE_GL();
    buildMeshLists();
    loadGameTextures();
    testclock::install(5000);
    enterGame(11);
    shared.fadeAlpha = 1.0f;
    const auto play = [](float seconds) {
        for (float t = 0.0f; t < seconds; t += 0.05f) {
            testclock::now += 50;
            updateGame();
        }
    };
    play(12.0f);  // the opening: play has begun, the HUD is up
    scoreDisplay.addScore(1230);
    shared.gameOver = true;
    play(1.0f);
    glColor4f(1, 1, 1, 1);
    renderStereoFrame();
    testclock::uninstall();
    const auto frame = testgl::readFrame();
    const std::string path = std::string(dir) + "/new-best.rgb";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    EXPECT_EQ(std::fwrite(frame.data(), 1, frame.size(), file), frame.size());
    std::fclose(file);
}

}  // namespace
