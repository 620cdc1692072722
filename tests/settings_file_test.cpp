// The settings file a player may edit: good lines apply, each bad line is named and skipped,
// and a file that cannot be read is never written over. Saving is tested through the options
// page (player_profile_test.cpp).
#include "profile/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratch_folder.h"

namespace {

using namespace testsupport;

TEST(Settings, EachLineAppliesOrIsNamedAndSkipped) {
    struct Case {
        std::string text;
        Settings applied;
        std::string complaint;  // what standard error hears, after "voxmere: settings:"
    };
    const Case cases[] = {
        {"stereo = off", {.stereo = false}, ""},
        {"stereo=no   # comment", {.stereo = false}, ""},
        {"  separation = 3.5", {.separation = 3.5f}, ""},
        {"separation = 2", {.separation = 2.0f}, ""},
        {"glasses = green-magenta", {.glasses = Glasses::GreenMagenta}, ""},
        {"glasses = red-green", {.glasses = Glasses::RedGreen}, ""},
        {"swap-eyes = yes", {.swapEyes = true}, ""},
        {"fullscreen = desktop", {.fullscreen = Fullscreen::Desktop}, ""},
        {"rumble = off", {.rumble = false}, ""},
        {"# stereo = off", {}, ""},
        {"colour = red", {}, "1: unknown key 'colour'"},
        {"separation = 4", {}, "1: '4' is not a value for separation (5, 3.5 or 2)"},
        {"stereo = maybe", {}, "1: 'maybe' is not a value for stereo (on or off)"},
        {"stereo", {}, "1: not a 'key = value' line"},
        // The lines around a bad one still apply.
        {"# mine\nstereo = off\nglasses = blue\nseparation = 2",
         {.stereo = false, .separation = 2.0f},
         "3: 'blue' is not a value for glasses (red-blue, red-cyan, green-magenta or red-green)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Settings settings;
        CapturedStream err;
        parseSettings(c.text + "\n", "settings", settings, err.file);
        EXPECT_EQ(settings, c.applied);
        EXPECT_EQ(err.text(), c.complaint.empty()
                                  ? ""
                                  : "voxmere: settings:" + c.complaint + "; line ignored\n");
    }
}

TEST(Settings, AFileThatCannotBeReadMeansTheDefaultsAndIsNotWrittenOver) {
    ScratchFolder folder;
    const std::string path = folder / "settings";
    std::filesystem::create_directory(path);  // reading a folder fails even for root
    CapturedStream err;
    EXPECT_EQ(loadSettings(path, err.file), Settings{});
    EXPECT_NE(err.text().find("the default settings apply"), std::string::npos) << err.text();
    std::string why;
    EXPECT_FALSE(saveSettings(path, Settings{}, kSettingStereo, why));
    EXPECT_FALSE(why.empty());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
