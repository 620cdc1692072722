// The opt-in frame log: which moments of a run it stamps, once each, in order, and that it
// writes nothing unless asked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/frame_log.h"
#include "app/main_loop.h"
#include "app/program_reset.h"
#include "assets/texture_table.h"
#include "assets/title_layout.h"
#include "common/globals.h"
#include "hud_test_atlas.h"
#include "input/input.h"
#include "platform/events.h"
#include "rules/director.h"
#include "rules/frame_timer.h"
#include "run/game_frame.h"
#include "support/fake_clock.h"
#include "support/gl_test_context.h"
#include "support/scratch_folder.h"

namespace {

struct Stamp {
    std::string name;
    double seconds;
};

std::vector<Stamp> readLog(const std::string& path) {
    std::vector<Stamp> stamps;
    std::istringstream in(testsupport::readText(path));
    Stamp s;
    while (in >> s.name >> s.seconds) stamps.push_back(s);
    return stamps;
}

std::vector<std::string> namesIn(const std::vector<Stamp>& stamps) {
    std::vector<std::string> names;
    for (const Stamp& s : stamps) names.push_back(s.name);
    return names;
}

struct FrameLogTest : ::testing::Test {
    testsupport::ScratchFolder folder;
    std::string path = folder / "frame_log.txt";

    void SetUp() override {
        REQUIRE_GL();
        const auto page = [](float, float) { return hudtest::Rgb{90, 90, 90}; };
        textures.titleMainPage = hudtest::makeRgba(16, page);
        textures.titleHelpPage = textures.titleMainPage;
        textures.titleOptionsPage = textures.titleMainPage;
        testclock::install(5000);
        resetFrameTimer();
    }
    void TearDown() override {
        openFrameLog(nullptr);
        testclock::uninstall();
    }

    static void tapKey(int key) {
        platform::postMessage(WM_KEYDOWN, static_cast<uint64_t>(key), 0);
        platform::postMessage(WM_KEYUP, static_cast<uint64_t>(key), 0);
    }
    // A title run ended by Enter, then one game frame ended by Escape.
    static void enterThenEscape() {
        shared.titleFinished = false;
        tapKey(VK_RETURN);
        runTitleLoop();
        resetDirector();
        shared.quitRequested = false;
        tapKey(VK_ESCAPE);
        runGameLoop();
    }
};

TEST_F(FrameLogTest, EnterRunStampsStartFirstTitleFrameAndFirstGameFrameOnceInOrder) {
    openFrameLog(path.c_str());
    enterThenEscape();
    enterThenEscape();  // the same moments reached again add nothing
    const auto stamps = readLog(path);
    // Enter is handled in the first title frame, before its swap.
    EXPECT_EQ(namesIn(stamps), (std::vector<std::string>{"start", "title-frame", "game-frame"}));
    ASSERT_EQ(stamps.size(), 3u);
    EXPECT_GT(stamps[0].seconds, 0.0);
    EXPECT_LE(stamps[0].seconds, stamps[1].seconds);
    EXPECT_LE(stamps[1].seconds, stamps[2].seconds);
    EXPECT_LE(monotonicSeconds() - stamps[2].seconds, 60.0) << "not the monotonic clock";
    EXPECT_GE(monotonicSeconds(), stamps[2].seconds);
}

TEST_F(FrameLogTest, AClickOnStartIsStampedWhenSeenNotWhenTheFadeEnds) {
    openFrameLog(path.c_str());
    testclock::run(25);
    const MenuRect& start = kStartButton;
    platform::postMessage(
        WM_LBUTTONDOWN, 0,
        makeLParam((start.left + start.right) / 2, (start.top + start.bottom) / 2));
    runTitleLoop();
    ASSERT_TRUE(shared.titleFinished);
    // The click reaches the first frame, which is stamped after its swap.
    EXPECT_EQ(namesIn(readLog(path)), (std::vector<std::string>{"start", "title-frame"}));
}

TEST_F(FrameLogTest, QuitOnTheTitleStampsNoStart) {
    openFrameLog(path.c_str());
    platform::postMessage(WM_LBUTTONDOWN, 0, makeLParam(450, 300));  // quit button
    runTitleLoop();
    ASSERT_TRUE(shared.quitRequested);
    EXPECT_EQ(namesIn(readLog(path)), std::vector<std::string>{"title-frame"});
}

TEST_F(FrameLogTest, NothingIsWrittenWithoutALog) {
    openFrameLog(nullptr);
    enterThenEscape();
    EXPECT_FALSE(std::filesystem::exists(path));
    openFrameLog("");
    enterThenEscape();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(FrameLogTest, TheProgramResetForgetsTheChosenLogAndTheMarksReached) {
    openFrameLog(path.c_str());
    markFrame(FrameMark::FirstTitleFrame);
    resetProgramState();
    const std::string next = path + ".next";
    setenv("VOXMERE_FRAME_LOG", next.c_str(), 1);
    markFrame(FrameMark::FirstTitleFrame);
    unsetenv("VOXMERE_FRAME_LOG");
    EXPECT_EQ(readLog(path).size(), 1u);
    EXPECT_EQ(namesIn(readLog(next)), std::vector<std::string>{"title-frame"});
}

TEST_F(FrameLogTest, LinesAppendWithMicrosecondsAndAnUnwritablePathFails) {
    ASSERT_TRUE(appendFrameLogLine(path.c_str(), "launch", 12.5));
    ASSERT_TRUE(appendFrameLogLine(path.c_str(), "title-frame", 12.7654321));
    EXPECT_EQ(testsupport::readText(path), "launch 12.500000\ntitle-frame 12.765432\n");
    EXPECT_FALSE(appendFrameLogLine("/nonexistent-dir/frame.log", "launch", 1.0));
}

}  // namespace
