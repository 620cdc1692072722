// The pixels a frame shades, and the ones it no longer shades: a trimmed beam lights what its
// whole strip lit, both eyes' backdrops drawn in one pass (or skipped when faded out) give what
// the two eye passes gave, and each scene shades no more pixels than its bound.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/program_reset.h"
#include "assets/meshes.h"
#include "assets/texture_loader.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "platform/video.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "run/game_frame.h"
#include "run/journal.h"
#include "run/recorded_run.h"
#include "support/full_load.h"
#include "support/gl_test_context.h"
#include "view/flight_camera.h"
#include "view/glasses.h"

// OpenGL 1.5's occlusion queries, which gl.h declares only on request (and a batch of test
// files compiled together may have included it without).
#ifndef GL_SAMPLES_PASSED
#define GL_SAMPLES_PASSED 0x8914
#define GL_QUERY_RESULT 0x8866
#endif
namespace {

void loadGameArt() {
    const std::filesystem::path original = std::filesystem::current_path();
    std::filesystem::current_path(VOXMERE_ASSETS_DIR);
    loadGameTextures();
    std::filesystem::current_path(original);
}

// Pixels shaded by what `draw` does.
// Pixels shaded by what `draw` does, counted by an occlusion query (OpenGL 1.5, asked of the
// driver: Windows' opengl32 exports only 1.1).
template <typename Draw>
long pixelsShaded(Draw draw) {
    void(APIENTRY * genQueries)(GLsizei, GLuint*) = nullptr;
    void(APIENTRY * deleteQueries)(GLsizei, const GLuint*) = nullptr;
    void(APIENTRY * beginQuery)(GLenum, GLuint) = nullptr;
    void(APIENTRY * endQuery)(GLenum) = nullptr;
    void(APIENTRY * queryResult)(GLuint, GLenum, GLuint*) = nullptr;
    if (!platform::glFunction("glGenQueries", genQueries) ||
        !platform::glFunction("glDeleteQueries", deleteQueries) ||
        !platform::glFunction("glBeginQuery", beginQuery) ||
        !platform::glFunction("glEndQuery", endQuery) ||
        !platform::glFunction("glGetQueryObjectuiv", queryResult)) {
        ADD_FAILURE() << "no occlusion queries";
        return -1;
    }
    GLuint query = 0;
    genQueries(1, &query);
    beginQuery(GL_SAMPLES_PASSED, query);
    draw();
    endQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    queryResult(query, GL_QUERY_RESULT, &samples);
    deleteQueries(1, &query);
    return samples;
}

TEST(TrimmedBeams, LightExactlyThePixelsOfTheirWholeStrip) {
    REQUIRE_GL();
    loadGameArt();
    ASSERT_TRUE(textures.beamsTrimmed);
    const TextureTable trimmed = textures;
    PlayerCannon beam;
    beam.active = true;
    beam.alpha = 1.0f;
    beam.position = {-200, 4, 7};
    for (uint32_t level = 0; level <= 5; ++level) {
        beam.level = level;
        const auto shot = [&](bool trim, long& shaded) {
            testgl::clearAll();
            textures.beamsTrimmed = trim;
            loadFlightCamera(3.5f);
            glColor4f(1, 1, 1, 1);
            shaded = pixelsShaded([&] { beam.draw(); });
            return testgl::readFrame();
        };
        long wholeShaded = 0, trimmedShaded = 0;
        const auto whole = shot(false, wholeShaded);
        EXPECT_EQ(shot(true, trimmedShaded), whole) << "level " << level;
        EXPECT_LT(trimmedShaded, wholeShaded) << "level " << level;
        textures = trimmed;
    }
}

// The backdrop of each eye drawn on its own, as the eye passes drew it.
std::vector<uint8_t> twoPassBackdrop(float separation, const float (&right)[4],
                                     const float (&left)[4]) {
    testgl::clearAll();
    const auto eye = [](void (*mask)(), float offset, const float (&colour)[4]) {
        mask();
        loadFlightCamera(offset);
        glColor4fv(colour);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glTranslatef(0.2f, -0.1f, 0);  // a scrolled backdrop: the ship off centre
        drawBackdrop();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    };
    eye(maskForRightEye, -separation, right);
    eye(maskForLeftEye, separation, left);
    return testgl::readFrame();
}

TEST(StereoBackdrop, OnePassGivesBothEyesBackdropsAndSkipsWhenFadedOut) {
    REQUIRE_GL();
    loadGameArt();
    struct Case {
        float separation;
        float right[4], left[4];
    } const cases[] = {
        {3.5f, {1, 1, 1, 1}, {1, 1, 1, 1}},
        {5.0f, {1, 1, 1, 0.6f}, {1, 1, 1, 0.25f}},
        {2.0f, {1, 1, 1, 1}, {1, 1, 1, 0}},
        {0.0f, {1, 1, 1, 0.8f}, {1, 1, 1, 0.8f}},
        {3.5f, {1, 1, 1, 0}, {1, 1, 1, 0}},
    };
    for (const Case& c : cases) {
        const auto expected = twoPassBackdrop(c.separation, c.right, c.left);
        testgl::clearAll();
        player.position = {0, -0.1f / 0.0016666667f, 0.2f / 0.0016666667f};
        player.shakeOffset = {};
        maskForBothEyes();
        const long shaded =
            pixelsShaded([&] { drawStereoBackdrop(c.separation, c.right, c.left); });
        const auto got = testgl::readFrame();
        int differing = 0, largest = 0;
        for (size_t i = 0; i < got.size(); ++i) {
            const int d = std::abs(got[i] - expected[i]);
            differing += d != 0;
            largest = std::max(largest, d);
        }
        // Where the eyes' alphas differ and neither is 0, each is folded into its texel
        // factors: the same picture a rounding apart. Otherwise only the rasteriser's
        // interpolation may part them on a rare pixel.
        const bool oneAlpha = c.right[3] == c.left[3] || c.right[3] == 0 || c.left[3] == 0;
        EXPECT_LE(largest, oneAlpha ? 1 : 2) << "separation " << c.separation;
        if (oneAlpha) {
            EXPECT_LT(differing, 1000) << "separation " << c.separation;
        }
        const bool dark = c.right[3] == 0 && c.left[3] == 0;
        EXPECT_EQ(shaded, dark ? 0 : 640 * 480) << "one pass, or none when nothing would show";
    }
    player = {};
}

// The three scenes at fixed frames: the opening and busy flight of the kept journals, full load.
long sceneShaded(int scene) {
    if (scene < 2) {
        const TextureTable kept = textures;
        resetProgramState();
        textures = kept;
        JournalReader reader;
        const std::string name = scene == 0 ? "calm_flight.vxj" : "heavy_fight.vxj";
        EXPECT_TRUE(reader.open((std::string(VOXMERE_SOURCE_DIR) + "/tests/journals/" + name)
                                    .c_str()));
        beginReplay(reader.header());
        enterGame(reader.header().seed);
        for (int i = 0; i < (scene == 0 ? 150 : 1500); ++i) replayFrame(reader, false);
    } else {
        fullload::fullLoadScene();
    }
    glColor4f(1, 1, 1, 1);
    return pixelsShaded([] { renderStereoFrame(); });
}

TEST(ShadedPixels, EachSceneStaysBelowItsBound) {
    REQUIRE_GL();
    buildMeshLists();
    loadGameArt();
    // About 1.1 times what each shades now, in 640 x 480 screens (307 200 pixels): the
    // opening 1.3, busy flight 1.6, full load 6.1. A backdrop in each eye pass again would
    // add a whole screen to each.
    const struct {
        const char* name;
        long bound;
    } scenes[] = {{"opening", 450000}, {"flight", 530000}, {"full load", 2070000}};
    for (int s = 0; s < 3; ++s) {
        EXPECT_LT(sceneShaded(s), scenes[s].bound) << scenes[s].name;
    }
    testclock::uninstall();
}

}  // namespace
