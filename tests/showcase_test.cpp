// Not part of the suite (disabled): frames for the pictures in docs/screenshots, drawn in the generated
// art and written as raw RGB into $VOXMERE_SHOWCASE_DIR. tools/take-screenshots.sh runs them
// from the build folder (where Textures/ lives) and turns the frames into pictures.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/meshes.h"
#include "assets/texture_loader.h"
#include "hud/hud.h"
#include "render/stereo_frame.h"
#include "rules/game_update.h"
#include "run/game_frame.h"
#include "app/program_reset.h"
#include "assets/texture_table.h"
#include "render/title_screen.h"
#include "run/journal.h"
#include "run/recorded_run.h"
#include "support/combat.h"
#include "support/full_load.h"
#include "support/fake_clock.h"
#include "support/gl_test_context.h"

namespace {

struct Showcase : ::testing::Test {
    const char* dir = std::getenv("VOXMERE_SHOWCASE_DIR");
    void SetUp() override {
        if (dir == nullptr) GTEST_SKIP() << "VOXMERE_SHOWCASE_DIR not set";
        REQUIRE_GL();
        buildMeshLists();
        loadGameTextures();
    }
    // The stereo frame as the game draws it now, into <dir>/<name>.rgb.
    void write(const char* name) {
        glColor4f(1, 1, 1, 1);
        renderStereoFrame();
        const auto frame = testgl::readFrame();
        const std::string path = std::string(dir) + "/" + name + ".rgb";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr) << path;
        EXPECT_EQ(std::fwrite(frame.data(), 1, frame.size(), file), frame.size());
        std::fclose(file);
    }
};
using CombatShowcase = Showcase;
using ProfileShowcase = Showcase;

// The seven pickups in a row, with a fighter firing behind them.
TEST_F(CombatShowcase, DISABLED_WritePickupRow) {
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
    write("pickups");
}

// A game that beat the best score, one second into its game-over fade.
TEST_F(ProfileShowcase, DISABLED_WriteNewBestBanner) {
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
    write("new-best");
    testclock::uninstall();
}

// The five scenes a change to the drawing is judged by, before and after
// (tools/take-screenshots.sh scenes compares them): the title, the opening, busy flight, full
// load and the game-over fade, the game's scenes at fixed frames of the kept journals.
TEST_F(Showcase, DISABLED_WriteScenes) {
    loadTitleTextures();
    titleScreen = {};
    glColor4f(1, 1, 1, 1);
    drawTitle();
    const auto title = testgl::readFrame();
    std::FILE* file = std::fopen((std::string(dir) + "/title.rgb").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(title.data(), 1, title.size(), file);
    std::fclose(file);
    freeTitleTextures();
    loadGameTextures();  // the title's names may have been handed out again
    // `frame` counts from the journal's end when negative.
    const auto journalFrame = [&](const char* journal, long frame, const char* name) {
        const TextureTable kept = textures;
        resetProgramState();
        textures = kept;
        JournalReader reader;
        ASSERT_TRUE(reader.open((std::string(VOXMERE_SOURCE_DIR) + "/tests/journals/" + journal)
                                    .c_str()))
            << reader.error();
        if (frame < 0) frame += reader.frameCount();
        ASSERT_TRUE(frame >= 0 && frame < static_cast<int64_t>(reader.frameCount())) << journal;
        beginReplay(reader.header());
        enterGame(reader.header().seed);
        for (long i = 0; i < frame; ++i) ASSERT_TRUE(replayFrame(reader, false));
        write(name);
    };
    journalFrame("calm_flight.vxj", 150, "opening");
    journalFrame("heavy_fight.vxj", 1500, "flight");
    journalFrame("game_over.vxj", -20, "game-over");
    fullload::fullLoadScene();
    write("full-load");
    testclock::uninstall();
}

}  // namespace
