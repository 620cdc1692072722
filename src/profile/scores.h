// The table of best games kept between runs: reading and writing its file, and adding a game to
// it so that no game another process added meanwhile is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "profile/player_files.h"

constexpr int kBestScoreCount = 10;
constexpr int kScoresFormatVersion = 1;
// A table of ten games is under a kilobyte; a file this large is damaged, and never read in.
constexpr std::size_t kMaxScoresFileBytes = 64 * 1024;
// Longer than anyone plays one game: a thousand hours.
constexpr uint32_t kMaxPlayCentiseconds = 1000u * 60u * 60u * 100u;

struct ScoreEntry {
    int32_t score = 0;              // above 0
    uint32_t playCentiseconds = 0;  // play time, in hundredths of a second
    int64_t date = 0;               // when the game ended: seconds since 1970, UTC
};

// Best first; equal scores keep the order the file gives them, and a new game goes after them.
struct ScoreTable {
    int count = 0;
    ScoreEntry entries[kBestScoreCount];
};

bool operator==(const ScoreEntry& a, const ScoreEntry& b);
bool operator==(const ScoreTable& a, const ScoreTable& b);

enum class ScoresText { Good, Damaged, Newer };

// Checks the whole text (a byte-order mark and CRLF line ends are read like plain lines) before
// taking anything from it. Damaged, with a one-line reason, for a text that is not a scores file,
// is cut short or damaged, or holds an impossible value (a score of 0 or below, a date that is no
// real date, more than ten games); `table` then holds the games before the fault, for a listing.
// Newer for a format this version does not know, with `table` empty.
ScoresText parseScores(const std::string& text, ScoreTable& table, std::string& why);
// The file's text; with `layout`, laid out as the file it replaces was.
std::string formatScores(const ScoreTable& table, const TextLayout& layout = {});

// Puts the game in its place. Returns its rank (0 for the best) or -1 when it is not among the
// ten best or its score is not above 0.
int addScore(ScoreTable& table, const ScoreEntry& entry);

// The table as `voxmere --scores` prints it: rank, score, play time (mm:ss:cc, as the HUD shows
// it) and local date, or one line saying there is none yet.
void printScores(const ScoreTable& table, std::FILE* out);

// `voxmere --scores`: prints the table at `path` (empty: `noPath` says why there is none) to
// `out`, as much of it as can be read, and says on `err` why the rest could not be. Never writes,
// renames or locks anything. False when the file could not be read whole.
bool listScores(const std::string& path, const std::string& noPath, std::FILE* out, std::FILE* err);

// The best scores as this run knows them, and the file behind them.
class ScoreKeeper {
public:
    // Reads the table at `path` (empty: scores are not kept, `noPath` says why). A missing file
    // is an empty table. A damaged one is moved aside under the lock with one line on `err`, and
    // a fresh table begins. One from a newer version is left alone, with one line on `err`:
    // the table is empty and this run's games are not written. Something other than a file there,
    // or a file that cannot be read, is left alone too.
    void open(const std::string& path, std::FILE* err, const std::string& noPath = {});

    const ScoreTable& table() const { return table_; }
    int32_t best() const { return table_.count > 0 ? table_.entries[0].score : 0; }

    // Adds a finished game under the lock: the file is read again, the game merged in and the
    // table written back, so games other processes ended meanwhile stay. When the file cannot
    // be written the game still counts for this run, and `err` hears once that scores are not
    // kept. A play time or date the file could not hold is brought within its bounds first.
    // Returns the game's rank in the merged table, or -1.
    int enter(const ScoreEntry& entry, std::FILE* err);

private:
    bool readLocked(const platform::FileLock& lock, std::FILE* err);
    void notKept(const std::string& why, std::FILE* err);

    std::string path_;
    ScoreTable table_;
    TextLayout layout_;       // the file's, kept when it is written back
    bool leftAlone_ = false;  // a newer version's table: never written over
    bool notKeptSaid_ = false;
};

// The game's table: read at start-up, shown by the title, beaten by the new-best banner.
extern ScoreKeeper bestScores;
