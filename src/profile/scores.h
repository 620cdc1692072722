// The table of best games kept between runs: reading and writing its file, and adding a game to
// it so that no game another process added meanwhile is lost.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

constexpr int kBestScoreCount = 10;
constexpr int kScoresFormatVersion = 1;
// A date further ahead of the clock than this is impossible, not a clock set a little fast.
constexpr int64_t kScoresDateSlackSeconds = 24 * 60 * 60;
// Longer than anyone plays one game: a thousand hours.
constexpr uint32_t kMaxPlayCentiseconds = 1000u * 60u * 60u * 100u;

struct ScoreEntry {
    int32_t score = 0;              // above 0
    uint32_t playCentiseconds = 0;  // play time, in hundredths of a second
    int64_t date = 0;               // when the game ended: seconds since 1970, UTC
};

// Best first; among equal scores the earlier game stays ahead.
struct ScoreTable {
    int count = 0;
    ScoreEntry entries[kBestScoreCount];
};

bool operator==(const ScoreEntry& a, const ScoreEntry& b);
bool operator==(const ScoreTable& a, const ScoreTable& b);

// Checks the whole text before taking anything from it. Refuses, with a one-line reason, a
// text that is not a scores file, comes from a newer version, is cut short or damaged, or holds
// an impossible value (a score of 0 or below, a date more than a day after `now`, more than ten
// games). `table` is only filled on success.
bool parseScores(const std::string& text, int64_t now, ScoreTable& table, std::string& why);
std::string formatScores(const ScoreTable& table);

// Puts the game in its place. Returns its rank (0 for the best) or -1 when it is not among the
// ten best or its score is not above 0.
int addScore(ScoreTable& table, const ScoreEntry& entry);

// The table as `voxmere --scores` prints it: rank, score, play time (mm:ss:cc, as the HUD shows
// it) and local date, or one line saying there is none yet.
void printScores(const ScoreTable& table, std::FILE* out);

// The best scores as this run knows them, and the file behind them.
class ScoreKeeper {
public:
    // Reads the table at `path` (empty: scores are not kept). A missing file is an empty table;
    // a bad one is moved aside with one line on `err` and an empty table begins.
    void open(const std::string& path, int64_t now, std::FILE* err);

    const ScoreTable& table() const { return table_; }
    int32_t best() const { return table_.count > 0 ? table_.entries[0].score : 0; }

    // Adds a finished game under the lock: the file is read again, the game merged in and the
    // table written back, so games other processes ended meanwhile stay. When the file cannot
    // be written the game still counts for this run, and `err` hears once that scores are not
    // kept. A play time or date the file could not hold is brought within its bounds first.
    // Returns the game's rank in the merged table, or -1.
    int enter(const ScoreEntry& entry, int64_t now, std::FILE* err);

private:
    bool readLocked(int64_t now, std::FILE* err, std::string& why);
    void notKept(const std::string& why, std::FILE* err);

    std::string path_;
    ScoreTable table_;
    bool notKeptSaid_ = false;
};

// The game's table: read at start-up, shown by the title, beaten by the new-best banner.
extern ScoreKeeper bestScores;
