// The best-scores file through the score keeper: what a player would notice is that no game is
// lost. Bad files are kept aside, two games ending at once both stay, and a write that fails
// leaves the old table whole.
#include "profile/scores.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "profile/player_files.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace testsupport;

constexpr int64_t kNow = 1796650000;  // 2026-12-07
const std::string kOneGame = "voxmere-scores 1\n1200 83.45 2026-12-01T18:30:00Z\nend\n";

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Runs `body` in a child process, which exits 0 when it returns true.
template <typename Body>
pid_t inChild(Body body) {
    const pid_t child = fork();
    if (child == 0) _exit(body() ? 0 : 1);
    return child;
}
bool succeeded(pid_t child) {
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST(PlayerFiles, XdgFolderOrHomeFallbackOrNotKept) {
    EXPECT_EQ(playerFilePath("/x", "/h", ".local/share", "scores"), "/x/voxmere/scores");
    EXPECT_EQ(playerFilePath("", "/h", ".local/share", "scores"), "/h/.local/share/voxmere/scores");
    EXPECT_EQ(playerFilePath(nullptr, "/h", ".config", "settings"), "/h/.config/voxmere/settings");
    EXPECT_EQ(playerFilePath(nullptr, nullptr, ".config", "settings"), "");
    EXPECT_EQ(playerFilePath("", "", ".config", "settings"), "");
}

// Each bad file in turn at the same place: none replaces one kept aside before it.
TEST(Scores, BadFilesAreKeptAsideAndAFreshTableBegins) {
    std::string eleven = "voxmere-scores 1\n";
    for (int i = 1; i <= 11; ++i) eleven += std::to_string(i * 10) + " 1.00 2026-01-01T00:00:00Z\n";
    eleven += "end\n";
    struct Case {
        const char* what;
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", "", "cut short"},
        {"cut in the magic", "voxmere-sc", "cut short"},
        {"cut before the end line", kOneGame.substr(0, kOneGame.size() - 4), "cut short"},
        {"cut inside a line", kOneGame.substr(0, 30), "cut short"},
        {"foreign", "\x89PNG\r\n\x1a\n", "not a Voxmere scores file"},
        {"newer", "voxmere-scores 2\nend\n", "newer version of the game (format 2)"},
        {"damaged version", "voxmere-scores one\nend\n", "damaged version line"},
        {"negative score", "voxmere-scores 1\n-5 1.00 2026-01-01T00:00:00Z\nend\n",
         "line 2: a negative score"},
        {"zero score", "voxmere-scores 1\n0 1.00 2026-01-01T00:00:00Z\nend\n", "a score of 0"},
        {"far future", "voxmere-scores 1\n10 1.00 2031-01-01T00:00:00Z\nend\n", "in the future"},
        {"no such day", "voxmere-scores 1\n10 1.00 2026-02-30T00:00:00Z\nend\n", "a date that"},
        {"play time", "voxmere-scores 1\n10 1.5 2026-01-01T00:00:00Z\nend\n", "a play time"},
        {"eleven games", eleven, "more than ten games"},
        {"after the end", kOneGame + "x", "more after the end line"},
    };
    ScratchFolder folder;
    const std::string path = folder / "scores";
    const auto aside = [&](int i) {
        return i == 0 ? path + ".bad" : path + ".bad." + std::to_string(i + 1);
    };
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].what);
        writeText(path, cases[i].text);
        CapturedStream err;
        ScoreKeeper keeper;
        keeper.open(path, kNow, err.file);
        EXPECT_EQ(keeper.table().count, 0);
        EXPECT_FALSE(fs::exists(path));
        EXPECT_EQ(lines(err.text()), 1) << err.text();
        EXPECT_NE(err.text().find(cases[i].reason), std::string::npos) << err.text();
        EXPECT_NE(err.text().find(aside(i) + ","), std::string::npos) << err.text();
    }
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        EXPECT_EQ(readText(aside(i)), cases[i].text) << "the damaged bytes are kept as they were";
    }
}

TEST(Scores, TheTenBestStayInOrderAndTiesKeepTheEarlierGame) {
    ScratchFolder folder;
    const std::string path = folder / "nested/voxmere/scores";  // folders made on first write
    CapturedStream err;
    ScoreKeeper keeper;
    keeper.open(path, kNow, err.file);
    struct Game {
        int32_t score;
        int rank;  // where it lands when entered
    };
    const Game games[] = {{500, 0}, {900, 0}, {100, 2}, {500, 2}, {0, -1},  {700, 1}, {300, 4},
                          {200, 5}, {800, 1}, {50, 8},  {40, 9},  {30, -1}, {60, 8},  {1000, 0}};
    int64_t date = kNow - 10000;
    for (const Game& g : games) {
        EXPECT_EQ(keeper.enter({g.score, 1234, date++}, kNow, err.file), g.rank) << g.score;
    }
    EXPECT_EQ(err.text(), "");
    ScoreKeeper again;
    again.open(path, kNow, err.file);
    EXPECT_EQ(again.table(), keeper.table());
    const int32_t expected[] = {1000, 900, 800, 700, 500, 500, 300, 200, 100, 60};
    ASSERT_EQ(again.table().count, kBestScoreCount);
    for (int i = 0; i < kBestScoreCount; ++i)
        EXPECT_EQ(again.table().entries[i].score, expected[i]);
    EXPECT_LT(again.table().entries[4].date, again.table().entries[5].date);
}

TEST(Scores, TwoProcessesEndingAtOnceKeepEveryGame) {
    ScratchFolder folder;
    const std::string path = folder / "scores";
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = inChild([&] {
            close(gate[1]);
            ScoreKeeper keeper;
            keeper.open(path, kNow, stderr);  // both start from the same (missing) table
            char byte;
            (void)!read(gate[0], &byte, 1);  // both go on when the parent closes the pipe
            for (int game = 0; game < 5; ++game) {
                keeper.enter({100 * (child + 1) + game, 100, kNow - 60}, kNow, stderr);
            }
            return true;
        });
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t child : children) EXPECT_TRUE(succeeded(child));
    ScoreKeeper keeper;
    CapturedStream err;
    keeper.open(path, kNow, err.file);
    ASSERT_EQ(keeper.table().count, 10) << readText(path);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(keeper.table().entries[i].score, i < 5 ? 204 - i : 104 - (i - 5));
    }
    EXPECT_EQ(err.text(), "");
}

// Without HOME, with a file where the folder goes, and on a disk that fills part way (a file
// size limit stops the write): the games count for this run all the same, standard error hears
// it once, and the old file stays whole with no temporary file left beside it.
TEST(Scores, ScoresThatCannotBeWrittenStillCountAndAreSaidOnce) {
    ScratchFolder folder;
    writeText(folder / "file", "");
    writeText(folder / "scores", kOneGame);
    for (const std::string& path :
         {std::string(), folder / "file/voxmere/scores", folder / "scores"}) {
        EXPECT_TRUE(succeeded(inChild([&] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{40, 40};
            setrlimit(RLIMIT_FSIZE, &limit);
            CapturedStream err;
            ScoreKeeper keeper;
            keeper.open(path, kNow, err.file);
            return keeper.enter({5000, 100, kNow}, kNow, err.file) == 0 &&
                   keeper.enter({6000, 100, kNow}, kNow, err.file) == 0 && keeper.best() == 6000 &&
                   lines(err.text()) == 1 &&
                   err.text().find("best scores are not kept") != std::string::npos;
        }))) << path;
    }
    EXPECT_EQ(readText(folder / "scores"), kOneGame);
    for (const auto& entry : fs::directory_iterator(folder.path)) {
        const std::string name = entry.path().filename();
        EXPECT_TRUE(name == "file" || name == "scores" || name == "scores.lock") << name;
    }
}

TEST(Scores, ListingForTheCommandLine) {
    setenv("TZ", "UTC", 1);
    tzset();
    struct Case {
        std::string file;
        std::string listing;
    };
    const Case cases[] = {
        {"voxmere-scores 1\nend\n", "No best scores yet: play a game to enter the table.\n"},
        {"voxmere-scores 1\n1200 83.45 2026-12-01T18:30:00Z\n20 6005.00 "
         "2026-11-02T07:05:59Z\nend\n",
         "Rank      Score  Play time  Date\n"
         "   1       1200    1:23:45  2026-12-01 18:30\n"
         "   2         20  100:05:00  2026-11-02 07:05\n"},
    };
    for (const Case& c : cases) {
        ScoreTable table;
        std::string why;
        ASSERT_TRUE(parseScores(c.file, kNow, table, why)) << why;
        EXPECT_EQ(formatScores(table), c.file);
        CapturedStream out;
        printScores(table, out.file);
        EXPECT_EQ(out.text(), c.listing);
    }
    unsetenv("TZ");
    tzset();
}

}  // namespace
