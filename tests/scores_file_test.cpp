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
    };
    const Case cases[] = {
        {"empty", "", "cut short"},
        {"cut in the magic", "voxmere-sc", "cut short"},
        {"cut before the end line", kOneGame.substr(0, kOneGame.size() - 4), "cut short"},
        {"cut inside a line", kOneGame.substr(0, 30), "cut short"},
        {"foreign", "\x89PNG\r\n\x1a\n", "not a Voxmere scores file"},
        {"damaged version", "voxmere-scores one\nend\n", "damaged version line"},
        {"negative score", "voxmere-scores 1\n-5 1.00 2026-01-01T00:00:00Z\nend\n",
         "line 2: a negative score"},
        {"zero score", "voxmere-scores 1\n0 1.00 2026-01-01T00:00:00Z\nend\n", "a score of 0"},
        {"no such day", "voxmere-scores 1\n10 1.00 2026-02-30T00:00:00Z\nend\n", "a date that"},
        {"play time", "voxmere-scores 1\n10 1.5 2026-01-01T00:00:00Z\nend\n", "a play time"},
        {"eleven games", eleven, "more than ten games"},
        {"after the end", kOneGame + "x", "more after the end line"},
        {"a lone CR", "voxmere-scores 1\rend\n", "a damaged version line"},
        {"over 64 KiB", kOneGame + std::string(64 * 1024, '\n'), "over 64 KiB"},
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
        keeper.open(path, err.file);
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
    using Setup = std::function<void(const std::string& path, ScratchFolder& folder)>;
    struct Case {
        const char* what;
        Setup setup;
        int shown;         // games in the table at start-up
        const char* said;  // on standard error, one line; empty for nothing
        bool written;      // the game is kept, in the file the path leads to
    };
    const std::string tomorrow = "voxmere-scores 1\n700 5.00 2026-12-09T10:00:00Z\nend\n";
    const Case cases[] = {
        {"a date after today",
         [&](const std::string& path, ScratchFolder&) { writeText(path, tomorrow); }, 1, "", true},
        {"a newer format",
         [](const std::string& path, ScratchFolder&) {
             writeText(path, "voxmere-scores 2\nwhatever comes\nend\n");
         },
         0, "belong to a newer version of the game (format 2); it is left alone and this game's "
            "score is not kept",
         false},
        {"a FIFO", [](const std::string& path, ScratchFolder&) { mkfifo(path.c_str(), 0644); }, 0,
         "is a FIFO, not a file; it is left alone", false},
        {"a folder", [](const std::string& path, ScratchFolder&) { fs::create_directory(path); },
         0, "is a folder, not a file", false},
        {"a device", [](const std::string& path, ScratchFolder&) { symlink("/dev/null", path.c_str()); },
         0, "is a device, not a file", false},
        {"a link to a file elsewhere",
         [&](const std::string& path, ScratchFolder& folder) {
             fs::create_directory(folder.path / "dotfiles");
             writeText(folder / "dotfiles/my-scores", tomorrow);
             symlink("../dotfiles/my-scores", path.c_str());
         },
         1, "", true},
        {"a link that points nowhere",
         [](const std::string& path, ScratchFolder& folder) {
             symlink((folder / "nowhere").c_str(), path.c_str());
         },
         0, "", true},
        {"CRLF ends and a byte-order mark",
         [](const std::string& path, ScratchFolder&) {
             writeText(path, "\xEF\xBB\xBFvoxmere-scores 1\r\n700 5.00 2026-12-01T10:00:00Z\r\nend\r\n");
         },
         1, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        fs::create_directory(folder.path / "voxmere");
        const std::string path = folder / "voxmere/scores";
        c.setup(path, folder);
        const bool link = fs::is_symlink(path);
        const std::string file =
            link ? fs::weakly_canonical(fs::path(path).parent_path() / fs::read_symlink(path))
                       .string()
                 : path;
        const std::string before = fs::is_regular_file(file) ? readText(file) : "";
        CapturedStream err;
        ScoreKeeper keeper;
        keeper.open(path, err.file);
        EXPECT_EQ(keeper.table().count, c.shown);
        EXPECT_EQ(keeper.enter({900, 100, kNow}, err.file), 0);
        EXPECT_EQ(keeper.best(), 900);
        const std::string said = err.text();
        EXPECT_EQ(lines(said), *c.said ? 1 : 0) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(fs::is_symlink(path), link) << "a link stays a link";
        if (c.written) {
            ScoreKeeper again;
            again.open(path, err.file);
            EXPECT_EQ(again.table().count, c.shown + 1);
        } else if (fs::is_regular_file(file)) {
            EXPECT_EQ(readText(file), before);
        }
        for (const auto& entry : fs::directory_iterator(folder.path / "voxmere")) {
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
    const char* leftovers[] = {"scores.Ab12Cd.tmp", "scores.zzzzzz.tmp"};
    const char* theirs[] = {"scores.backup", "scores.Ab12Cd", "scores.Ab12Cd.tmp.old"};
    for (const Case& c : cases) {
        ScratchFolder folder;
        const std::string path = folder / "scores";
        if (!c.text.empty()) {
            writeText(path, c.text);
            chmod(path.c_str(), c.mode);
        }
        for (const char* name : leftovers) writeText(folder / name, "voxmere-scores 1\n");
        for (const char* name : theirs) writeText(folder / name, "mine");
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
        EXPECT_EQ(text.compare(0, 3, "\xEF\xBB\xBF") == 0, c.text.compare(0, 3, "\xEF\xBB\xBF") == 0);
        EXPECT_NE(text.find(std::string("900 1.00 2026-12-07T13:26:40Z") + c.ends), std::string::npos)
            << text;
        for (const char* name : leftovers) EXPECT_FALSE(fs::exists(folder / name)) << name;
        for (const char* name : theirs) EXPECT_EQ(readText(folder / name), "mine") << name;
        EXPECT_EQ(err.text(), "");
    }
}

// The lock file is only read: enough for flock, and a lock file the player made read-only works.
TEST(Scores, TheLockFileIsOpenedReadOnly) {
    ScratchFolder folder;
    const std::string path = folder / "scores";
    platform::FileLock lock;
    std::string why;
    ASSERT_TRUE(lock.acquire(path, false, why)) << why;
    int flags = -1;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ignored;
        if (fs::read_symlink(entry.path(), ignored) != path + ".lock") continue;
        const std::string info = readText("/proc/self/fdinfo/" + entry.path().filename().string());
        flags = std::stoi(info.substr(info.find("flags:") + 6), nullptr, 8);
    }
    EXPECT_EQ(flags & O_ACCMODE, O_RDONLY);
}

// `voxmere --scores` shows what it can read, says why not the rest, and leaves the folder as it
// found it: no lock file, nothing moved aside, nothing written.
TEST(Scores, TheListingShowsWhatItCanAndChangesNothing) {
    setenv("TZ", "UTC", 1);
    tzset();
    struct Case {
        const char* what;
        std::function<void(const std::string&)> setup;
        const char* listing;
        const char* said;
    };
    const Case cases[] = {
        {"a good table", [](const std::string& path) { writeText(path, kOneGame); },
         "   1       1200    1:23:45  2026-12-01 18:30\n", ""},
        {"damaged at line 3",
         [](const std::string& path) {
             writeText(path, "voxmere-scores 1\n1200 83.45 2026-12-01T18:30:00Z\n0 1.00 x\nend\n");
         },
         "   1       1200    1:23:45  2026-12-01 18:30\n",
         "scores: line 3: a score of 0; the games before it are shown\n"},
        {"foreign", [](const std::string& path) { writeText(path, "hello\n"); }, "",
         "scores: not a Voxmere scores file; no game is shown\n"},
        {"a newer format", [](const std::string& path) { writeText(path, "voxmere-scores 3\n"); }, "",
         "scores: the best scores belong to a newer version of the game (format 3); not shown\n"},
        {"a FIFO", [](const std::string& path) { mkfifo(path.c_str(), 0644); }, "",
         "scores is a FIFO, not a file; it is left alone\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        const std::string path = folder / "scores";
        c.setup(path);
        const std::string before = fs::is_regular_file(path) ? readText(path) : "";
        CapturedStream out, err;
        listScores(path, "", out.file, err.file);
        const std::string shown = out.text();
        EXPECT_EQ(shown.empty() ? shown : shown.substr(shown.find('\n') + 1), c.listing);
        EXPECT_EQ(err.text(), *c.said ? "voxmere: " + path.substr(0, path.size() - 6) + c.said : "");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(readText(path), before);
        }
    }
    unsetenv("TZ");
    tzset();
}

}  // namespace
