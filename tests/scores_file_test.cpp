// The best-scores file through the score keeper: what a player would notice is that no game is
// lost or hidden. Bad files are kept aside, files that are not damage are read or left alone,
// two games ending at once both stay, and a write that fails leaves the old table whole.
#include "profile/scores.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/posix/xdg_folder.h"
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

// A relative XDG folder would name one place before the game changes into its data folder and
// another after, so the rules ignore it.
TEST(PlayerFiles, XdgFolderWhenAbsoluteElseHomeFallbackElseNotKept) {
    struct Case {
        const char* xdg;
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {"/x", "/h", "/x/voxmere/"},
        {"", "/h", "/h/.local/share/voxmere/"},
        {nullptr, "/h", "/h/.local/share/voxmere/"},
        {"x", "/h", "/h/.local/share/voxmere/"},
        {"./x", "/h", "/h/.local/share/voxmere/"},
        {"x", nullptr, ""},
        {nullptr, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::xdgPlayerFolder(c.xdg, c.home, ".local/share"), c.folder)
            << (c.xdg ? c.xdg : "(unset)");
    }
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
        int listed;  // games `--scores` shows: those before the fault
    };
    const Case cases[] = {
        {"empty", "", "cut short", 0},
        {"cut in the magic", "voxmere-sc", "cut short", 0},
        {"cut before the end line", kOneGame.substr(0, kOneGame.size() - 4), "cut short", 1},
        {"cut inside a line", kOneGame.substr(0, 30), "cut short", 0},
        {"foreign", "\x89PNG\r\n\x1a\n", "not a Voxmere scores file", 0},
        {"damaged version", "voxmere-scores one\nend\n", "damaged version line", 0},
        {"negative score", "voxmere-scores 1\n-5 1.00 2026-01-01T00:00:00Z\nend\n",
         "line 2: a negative score", 0},
        {"zero score", "voxmere-scores 1\n0 1.00 2026-01-01T00:00:00Z\nend\n", "a score of 0", 0},
        {"no such day", "voxmere-scores 1\n10 1.00 2026-02-30T00:00:00Z\nend\n", "a date that", 0},
        {"play time", "voxmere-scores 1\n10 1.5 2026-01-01T00:00:00Z\nend\n", "a play time", 0},
        {"eleven games", eleven, "more than ten games", 10},
        {"after the end", kOneGame + "x", "more after the end line", 1},
        {"a lone CR", "voxmere-scores 1\rend\n", "a damaged version line", 0},
        {"over 64 KiB", kOneGame + std::string(64 * 1024, '\n'), "over 64 KiB", 0},
    };
    ScratchFolder folder;
    const std::string path = folder / "scores";
    const auto aside = [&](int i) {
        return i == 0 ? path + ".bad" : path + ".bad." + std::to_string(i + 1);
    };
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].what);
        writeText(path, cases[i].text);
        CapturedStream out, err;
        listScores(path, "", out.file, err.file);  // changes nothing
        const std::string shown = out.text();
        EXPECT_EQ(lines(shown), cases[i].listed == 0 ? 0 : cases[i].listed + 1) << shown;
        EXPECT_NE(err.text().find(cases[i].listed ? "the games before it are shown" : "no game"),
                  std::string::npos);
        EXPECT_EQ(readText(path), cases[i].text);
        ScoreKeeper keeper;
        keeper.open(path, err.file);
        EXPECT_EQ(keeper.table().count, 0);
        EXPECT_FALSE(fs::exists(path));
        EXPECT_EQ(lines(err.text()), 2) << err.text();
        EXPECT_NE(err.text().find(cases[i].reason), std::string::npos) << err.text();
        EXPECT_NE(err.text().find(aside(i) + ","), std::string::npos) << err.text();
    }
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        EXPECT_EQ(readText(aside(i)), cases[i].text) << "the damaged bytes are kept as they were";
    }
}

TEST(Scores, TheTenBestStayInOrderAndTiesKeepTheirOrder) {
    ScratchFolder folder;
    const std::string path = folder / "nested/voxmere/scores";  // folders made on first write
    CapturedStream err;
    ScoreKeeper keeper;
    keeper.open(path, err.file);
    struct Game {
        int32_t score;
        int rank;  // where it lands when entered
    };
    const Game games[] = {{500, 0}, {900, 0}, {100, 2}, {500, 2}, {0, -1},  {700, 1}, {300, 4},
                          {200, 5}, {800, 1}, {50, 8},  {40, 9},  {30, -1}, {60, 8},  {1000, 0}};
    int64_t date = kNow - 10000;
    for (const Game& g : games) {
        EXPECT_EQ(keeper.enter({g.score, 1234, date++}, err.file), g.rank) << g.score;
    }
    EXPECT_EQ(err.text(), "");
    ScoreKeeper again;
    again.open(path, err.file);
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
            keeper.open(path, stderr);  // both start from the same (missing) table
            char byte;
            (void)!read(gate[0], &byte, 1);  // both go on when the parent closes the pipe
            for (int game = 0; game < 5; ++game) {
                keeper.enter({100 * (child + 1) + game, 100, kNow - 60}, stderr);
            }
            return true;
        });
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t child : children) EXPECT_TRUE(succeeded(child));
    ScoreKeeper keeper;
    CapturedStream err;
    keeper.open(path, err.file);
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
            keeper.open(path, err.file);
            return keeper.enter({5000, 100, kNow}, err.file) == 0 &&
                   keeper.enter({6000, 100, kNow}, err.file) == 0 && keeper.best() == 6000 &&
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
        // A date after today is a game all the same; a tie keeps the file's order.
        {"voxmere-scores 1\n500 10.00 2027-03-01T00:00:00Z\n500 20.00 2026-01-01T00:00:00Z\n"
         "end\n",
         "Rank      Score  Play time  Date\n"
         "   1        500    0:10:00  2027-03-01 00:00\n"
         "   2        500    0:20:00  2026-01-01 00:00\n"},
    };
    for (const Case& c : cases) {
        ScoreTable table;
        std::string why;
        ASSERT_EQ(parseScores(c.file, table, why), ScoresText::Good) << why;
        EXPECT_EQ(formatScores(table), c.file);
        CapturedStream out;
        printScores(table, out.file);
        EXPECT_EQ(out.text(), c.listing);
    }
    unsetenv("TZ");
    tzset();
}

// What lies at the scores file's place, and what a game then shows and keeps. None of these is
// damage: nothing is moved aside, and a file the game does not understand is never written over.
TEST(Scores, WhatIsNotDamageIsReadOrLeftAlone) {
    enum Place { File, Fifo, Folder, LinkTo };  // what the path is; a link points to `text`
    struct Case {
        Place place;
        std::string text;  // the file's, or the link's target (a file elsewhere holding kOneGame)
        int shown;         // games in the table at start-up, and in the listing
        const char* said;  // by the game on standard error, one line; empty for nothing
        bool written;      // the game is kept, in the file the path leads to
    };
    const Case cases[] = {
        {File, "voxmere-scores 1\n700 5.00 2026-12-09T10:00:00Z\nend\n", 1, "", true},  // tomorrow
        {File, "\xEF\xBB\xBFvoxmere-scores 1\r\n7 5.00 2026-12-01T10:00:00Z\r\nend\r\n", 1, "", true},
        {File, "voxmere-scores 2\nwhatever\nend\n", 0,
         "belong to a newer version of the game (format 2); it is left alone and this game's "
         "score is not kept",
         false},
        {Fifo, "", 0, "is a FIFO, not a file; it is left alone", false},
        {Folder, "", 0, "is a folder, not a file", false},
        {LinkTo, "/dev/null", 0, "is a device, not a file", false},
        {LinkTo, "../elsewhere", 1, "", true},
        {LinkTo, "../nowhere", 0, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScratchFolder folder;
        fs::create_directory(folder.path / "v");
        const std::string path = folder / "v/scores";
        writeText(folder / "elsewhere", kOneGame);
        if (c.place == File) writeText(path, c.text);
        if (c.place == Fifo) mkfifo(path.c_str(), 0644);
        if (c.place == Folder) fs::create_directory(path);
        if (c.place == LinkTo) fs::create_symlink(c.text, path);
        CapturedStream out, listed, err;
        listScores(path, "", out.file, listed.file);  // only reads: the folder stays as it is
        // A heading over the games; for no file, one line saying there is no table yet.
        EXPECT_EQ(lines(out.text()), c.shown > 0 ? c.shown + 1 : c.written) << out.text();
        ScoreKeeper keeper;
        keeper.open(path, err.file);
        EXPECT_EQ(keeper.table().count, c.shown);
        EXPECT_EQ(keeper.enter({9000, 100, kNow}, err.file), 0);
        const std::string said = err.text();
        EXPECT_EQ(lines(said), *c.said ? 1 : 0) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(fs::is_symlink(path), c.place == LinkTo) << "a link stays a link";
        ScoreKeeper again;
        again.open(path, err.file);
        EXPECT_EQ(again.table().count, c.written ? c.shown + 1 : 0);
        if (c.place == File && !c.written) {
            EXPECT_EQ(readText(path), c.text);
        }
        for (const auto& entry : fs::directory_iterator(folder.path / "v")) {
            const std::string name = entry.path().filename();
            EXPECT_TRUE(name == "scores" || name == "scores.lock") << name << " beside it";
        }
    }
}

// CRLF ends and the mark are kept when the game writes the table back, and so is the mode the
// player gave the file; a new file gets the mode the umask allows. A temporary file a crashed
// write left behind goes at the next write, and nothing else beside the file is touched.
TEST(Scores, ARewriteKeepsTheFilesLineEndsAndModeAndClearsLeftovers) {
    struct Case {
        std::string text;  // empty: no file yet
        mode_t mode;       // the file's, or the umask for a new one
        mode_t written;
        const char* ends;  // what the rewritten file's line ends look like
    };
    const Case cases[] = {
        {kOneGame, 0640, 0640, "\n"},
        {"\xEF\xBB\xBFvoxmere-scores 1\r\nend\r\n", 0600, 0600, "\r\n"},
        {"", 022, 0644, "\n"},
        {"", 077, 0600, "\n"},
    };
    const char* leftovers[] = {"scores.1Ab2Cd.tmp", "scores.9Zzzzz.tmp"};
    const char* theirs[] = {"scores.backup.tmp", "scores.1Ab2Cd", "scores.1Ab2Cd.tmp.old"};
    for (const Case& c : cases) {
        ScratchFolder folder;
        const std::string path = folder / "scores";
        if (!c.text.empty()) {
            writeText(path, c.text);
            chmod(path.c_str(), c.mode);
        }
        // A write killed part way, as a file size limit kills it, leaves its temporary file.
        EXPECT_FALSE(succeeded(inChild([&] {
            const rlimit limit{20, 20};
            setrlimit(RLIMIT_FSIZE, &limit);
            ScoreKeeper crashing;
            crashing.open(path, stderr);
            return crashing.enter({800, 100, kNow}, stderr) >= 0;
        })));
        const auto entries = [&] {
            return std::distance(fs::directory_iterator(folder.path), fs::directory_iterator());
        };
        for (const char* name : leftovers) writeText(folder / name, "voxmere-scores 1\n");
        for (const char* name : theirs) writeText(folder / name, "mine");
        const auto before = entries();
        const mode_t umaskBefore = umask(c.text.empty() ? c.mode : 022);
        CapturedStream err;
        ScoreKeeper keeper;
        keeper.open(path, err.file);
        keeper.enter({900, 100, kNow}, err.file);
        umask(umaskBefore);
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, c.written) << c.text;
        const std::string text = readText(path);
        EXPECT_EQ(text.compare(0, 3, "\xEF\xBB\xBF") == 0,
                  c.text.compare(0, 3, "\xEF\xBB\xBF") == 0);
        EXPECT_NE(text.find(std::string("900 1.00 2026-12-07T13:26:40Z") + c.ends),
                  std::string::npos)
            << text;
        for (const char* name : leftovers) EXPECT_FALSE(fs::exists(folder / name)) << name;
        EXPECT_EQ(entries(), before - 3 + (c.text.empty() ? 1 : 0)) << "the killed write's too";
        for (const char* name : theirs) EXPECT_EQ(readText(folder / name), "mine") << name;
        EXPECT_EQ(err.text(), "");
    }
}

}  // namespace
