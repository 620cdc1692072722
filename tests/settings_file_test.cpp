// The settings file a player may edit: good lines apply, each bad line is named and skipped in
// a short line, and a file the game cannot or must not rewrite is never written over. Saving
// from the options page is tested in player_profile_test.cpp.
#include "profile/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        // As a Windows editor writes them.
        {"\xEF\xBB\xBFstereo = off\r\nseparation = 2\r", {.stereo = false, .separation = 2.0f}, ""},
        {"format = 1\nrumble = no", {.rumble = false}, ""},
        {"format = one", {}, "1: 'one' is not a value for format (a whole number from 1)"},
        // A long value is cut short, and a control character does not reach the terminal.
        {"glasses = " + std::string(100, 'x'),
         {},
         "1: '" + std::string(80, 'x') +
             "...' is not a value for glasses (red-blue, red-cyan, "
             "green-magenta or red-green)"},
        {"colour\x1b[2J = red", {}, "1: unknown key 'colour?[2J'"},
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

TEST(Settings, AfterTenWarningsOneLineSaysHowManyMore) {
    std::string text;
    for (int i = 0; i < 25; ++i) text += "volume = " + std::to_string(i) + "\n";
    CapturedStream err;
    Settings settings;
    parseSettings(text + "stereo = off\n", "settings", settings, err.file);
    EXPECT_FALSE(settings.stereo);
    const std::string said = err.text();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 11) << said;
    EXPECT_NE(said.find("settings:10: unknown key 'volume'"), std::string::npos);
    EXPECT_NE(said.find("\nvoxmere: settings: 15 more bad lines ignored\n"), std::string::npos);
}

// What lies at the settings file's place: what a run takes from it, what it says, and whether
// the options page may write it. What it must not write stays exactly as it was.
TEST(Settings, FilesTheGameMustNotRewriteAreLeftAlone) {
    struct Case {
        std::string text;  // empty: a folder
        Settings read;
        const char* said;  // at start-up, one line; empty for nothing
        bool saved;
    };
    const Case cases[] = {
        {"", {}, "is a folder, not a file; it is left alone and the default settings apply", false},
        {"stereo = off\n" + std::string(kMaxSettingsFileBytes, '#'), {},
         "over 1 MiB, too large for settings; it is ignored and never rewritten", false},
        {"format = 2\nstereo = off\nwobble = 3\nglasses = plaid\n", {.stereo = false},
         "(format 2): read as far as this version understands it, and never rewritten", false},
        {"# mine\r\nstereo = off\r\n", {.stereo = false}, "", true},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const std::string path = folder / "settings";
        if (c.text.empty()) std::filesystem::create_directory(path);
        writeText(path, c.text);
        CapturedStream err;
        EXPECT_EQ(loadSettings(path, err.file), c.read);
        const std::string said = err.text();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), *c.said ? 1 : 0) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        std::string why;
        EXPECT_EQ(saveSettings(path, {.separation = 2.0f}, kSettingSeparation, why), c.saved);
        EXPECT_EQ(why.empty(), c.saved) << why;
        if (!c.text.empty()) {
            EXPECT_EQ(readText(path), c.saved ? c.text + "separation = 2\r\n" : c.text);
        }
    }
}

}  // namespace
