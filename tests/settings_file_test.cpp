// The settings file a player may edit: good lines apply, each bad line is named and skipped,
// and a file that cannot be read is never written over. Saving is tested through the options
// page (player_profile_test.cpp).
#include "profile/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "support/scratch_folder.h"

namespace {

using testsupport::CapturedStream;
using testsupport::ScratchFolder;

TEST(Settings, EachLineAppliesOrIsNamedAndSkipped) {
    struct Case {
        std::string line;
        std::function<bool(const Settings&)> applied;  // null: the defaults stay
        const char* complaint;                           // empty: none
    };
    const Case cases[] = {
        {"stereo = off", [](const Settings& s) { return !s.stereo; }, ""},
        {"stereo=no   # comment", [](const Settings& s) { return !s.stereo; }, ""},
        {"  separation = 3.5", [](const Settings& s) { return s.separation == 3.5f; }, ""},
        {"separation = 2", [](const Settings& s) { return s.separation == 2.0f; }, ""},
        {"glasses = green-magenta",
         [](const Settings& s) { return s.glasses == Glasses::GreenMagenta; }, ""},
        {"glasses = red-green", [](const Settings& s) { return s.glasses == Glasses::RedGreen; }, ""},
        {"swap-eyes = yes", [](const Settings& s) { return s.swapEyes; }, ""},
        {"fullscreen = desktop",
         [](const Settings& s) { return s.fullscreen == Fullscreen::Desktop; }, ""},
        {"rumble = off", [](const Settings& s) { return !s.rumble; }, ""},
        {"# stereo = off", nullptr, ""},
        {"colour = red", nullptr, "settings:1: unknown key 'colour'; line ignored"},
        {"separation = 4", nullptr,
         "settings:1: '4' is not a value for separation (5, 3.5 or 2); line ignored"},
        {"glasses = purple", nullptr, "'purple' is not a value for glasses"},
        {"stereo = maybe", nullptr, "'maybe' is not a value for stereo (on or off)"},
        {"stereo", nullptr, "settings:1: not a 'key = value' line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Settings settings;
        CapturedStream err;
        parseSettings(c.line + "\n", "settings", settings, err.file);
        if (c.applied) {
            EXPECT_TRUE(c.applied(settings));
        } else {
            EXPECT_EQ(rewriteSettings("", settings, 0), rewriteSettings("", Settings{}, 0));
        }
        if (*c.complaint == '\0') {
            EXPECT_EQ(err.text(), "");
        } else {
            EXPECT_NE(err.text().find(c.complaint), std::string::npos) << err.text();
        }
    }
}

TEST(Settings, OtherLinesStillApplyAroundABadOne) {
    ScratchFolder folder;
    const std::string path = folder / "settings";
    std::ofstream(path) << "# mine\nstereo = off\nglasses = blue\nseparation = 2\n";
    CapturedStream err;
    const Settings settings = loadSettings(path, err.file);
    EXPECT_FALSE(settings.stereo);
    EXPECT_EQ(settings.separation, 2.0f);
    EXPECT_EQ(settings.glasses, Glasses::RedBlue);
    EXPECT_EQ(err.text(), "voxmere: " + path +
                              ":3: 'blue' is not a value for glasses (red-blue, red-cyan, "
                              "green-magenta or red-green); line ignored\n");
}

TEST(Settings, AFileThatCannotBeReadMeansTheDefaultsAndIsNotWrittenOver) {
    ScratchFolder folder;
    const std::string path = folder / "settings";
    std::filesystem::create_directory(path);  // reading a folder fails even for root
    CapturedStream err;
    const Settings settings = loadSettings(path, err.file);
    EXPECT_EQ(rewriteSettings("", settings, 0), rewriteSettings("", Settings{}, 0));
    EXPECT_NE(err.text().find("the default settings apply"), std::string::npos) << err.text();
    std::string why;
    EXPECT_FALSE(saveSettings(path, Settings{}, kSettingStereo, why));
    EXPECT_FALSE(why.empty());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
