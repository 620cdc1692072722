// The player's files through a run: settings applied at start-up under the command line and
// saved from the options page, and a finished game entered in the best scores with the
// new-best banner in its game-over fade.
#include "app/player_profile.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "common/globals.h"
#include "hud/banner.h"
#include "hud/hud.h"
#include "profile/scores.h"
#include "rules/director.h"
#include "run/recorded_run.h"
#include "support/scratch_folder.h"
#include "view/glasses.h"

namespace {

using namespace testsupport;

// The process's XDG folders point into a scratch folder for the test.
struct ProfileTest : ::testing::Test {
    ScratchFolder folder;
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        std::filesystem::create_directories(folder.path / "config/voxmere");
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
    }
    std::string settings() { return folder / "config/voxmere/settings"; }
    std::string scores() { return folder / "data/voxmere/scores"; }
};

TEST_F(ProfileTest, TheFileStartsTheRunTheCommandLineWinsAndOnlyOptionsAreSaved) {
    writeText(settings(),
              "# mine\nstereo = off  # for now\nseparation = 3.5\n"
              "glasses = red-green\nvolume = 11\nswap-eyes = yes\n");
    RunOptions options;
    options.glassesGiven = true;
    options.glasses = Glasses::GreenMagenta;
    CapturedStream err;
    startPlayerProfile(options, err.file);
    EXPECT_FALSE(shared.stereoEnabled);
    EXPECT_EQ(shared.eyeSeparation, 3.5f);
    EXPECT_EQ(glasses.kind, Glasses::GreenMagenta);
    EXPECT_TRUE(glasses.swapEyes);

    const std::string before = readText(settings());
    saveChangedOptions(err.file);  // nothing changed: nothing written
    EXPECT_EQ(readText(settings()), before);
    shared.stereoEnabled = true;
    shared.eyeSeparation = 2.0f;
    saveChangedOptions(err.file);
    // Only the options' lines change; the player's comments and unknown keys stay, and keys
    // the player never set are not added.
    EXPECT_EQ(readText(settings()),
              "# mine\nstereo = on  # for now\nseparation = 2\nglasses = red-green\n"
              "volume = 11\nswap-eyes = yes\n");
    EXPECT_NE(err.text().find("settings:5: unknown key 'volume'"), std::string::npos);
}

TEST_F(ProfileTest, AFinishedGameEntersTheTableOnlyWhenPlayedAndScoredAndNeverFromAReplay) {
    struct Case {
        const char* what;
        JournalMode mode;
        bool played;
        int32_t score;
        int32_t best;  // already in the table
        bool entered;
        bool banner;  // the new-best banner during the game-over fade
    };
    const Case cases[] = {
        {"a new best", JournalMode::Off, true, 340, 200, true, true},
        {"the first game", JournalMode::Off, true, 20, 0, true, true},
        {"below the best", JournalMode::Off, true, 150, 200, true, false},
        {"equal to the best", JournalMode::Off, true, 200, 200, true, false},
        {"recorded", JournalMode::Record, true, 340, 200, true, true},
        {"replayed", JournalMode::Replay, true, 340, 200, false, true},
        {"no score", JournalMode::Off, true, 0, 200, false, false},
        {"ended in the opening", JournalMode::Off, false, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder.path / "data");
        CapturedStream err;
        bestScores.open(scores(), err.file);
        if (c.best > 0) bestScores.enter({c.best, 6000, 1796600000}, err.file);
        const ScoreTable before = bestScores.table();
        recordedRun.mode = c.mode;
        shared.playStarted = c.played;
        scoreDisplay.resetScore();
        scoreDisplay.addScore(c.score);
        timeDisplay.elapsed = 83.456f;
        noticeBanner = Banner{};
        shared.gameOver = true;
        shared.frameSeconds = 0.1f;
        updateDirector();
        EXPECT_EQ(noticeBanner.running && noticeBanner.image == BannerNewBest, c.banner);

        enterFinishedGame(1796650000, err.file);
        ScoreKeeper file;
        file.open(scores(), err.file);
        EXPECT_EQ(file.table().count, before.count + (c.entered ? 1 : 0));
        if (c.entered) {
            const ScoreTable& t = file.table();
            const ScoreEntry& game = t.entries[c.banner ? 0 : t.count - 1];
            EXPECT_EQ(game.score, c.score);
            EXPECT_EQ(game.playCentiseconds, 8345u);
            EXPECT_EQ(game.date, 1796650000);
        }
        EXPECT_EQ(err.text(), "");
    }
    recordedRun.mode = JournalMode::Off;
}

// Two games open on their titles: one player turns stereo off in one, then picks the gentle
// separation in the other. Each writes only the choice made in it, so neither undoes the other.
TEST_F(ProfileTest, TwoGamesChangingDifferentOptionsKeepBoth) {
    writeText(settings(), "# mine\n");
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = fork();
        if (children[child] != 0) continue;
        close(gate[1]);
        startPlayerProfile(RunOptions{}, stderr);  // both start from the same file
        char byte;
        (void)!read(gate[0], &byte, 1);  // both go on when the parent closes the pipe
        if (child == 0) shared.stereoEnabled = false;
        if (child == 1) shared.eyeSeparation = 2.0f;
        saveChangedOptions(stderr);
        _exit(0);
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t child : children) {
        int status = -1;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0);
    }
    const std::string text = readText(settings());
    EXPECT_NE(text.find("\nstereo = off\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nseparation = 2\n"), std::string::npos) << text;
    EXPECT_EQ(text.size(), std::string("# mine\nstereo = off\nseparation = 2\n").size()) << text;
}

}  // namespace
