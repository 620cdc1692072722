#include "profile/scores.h"

#include <cstring>
#include <ctime>

#include "profile/player_files.h"

namespace {

constexpr char kMagic[] = "voxmere-scores ";
constexpr char kEndLine[] = "end";

// Before in the table: higher score, then the earlier game, then the shorter one.
bool ranksBefore(const ScoreEntry& a, const ScoreEntry& b) {
    if (a.score != b.score) return a.score > b.score;
    if (a.date != b.date) return a.date < b.date;
    return a.playCentiseconds < b.playCentiseconds;
}

// A decimal number of 1 to `maxDigits` digits without a leading zero (a lone 0 is fine).
bool readNumber(const char*& p, const char* end, int maxDigits, uint64_t& value) {
    const char* start = p;
    value = 0;
    while (p < end && *p >= '0' && *p <= '9' && p - start < maxDigits) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        ++p;
    }
    if (p == start) return false;
    if (p < end && *p >= '0' && *p <= '9') return false;  // too many digits
    return !(*start == '0' && p - start > 1);
}

bool readFixedDigits(const char* p, int digits, int& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

// YYYY-MM-DDTHH:MM:SSZ, a real moment in UTC from 1970 on.
bool readDate(const char* p, const char* end, int64_t& date) {
    if (end - p != 20) return false;
    int year, month, day, hour, minute, second;
    if (!readFixedDigits(p, 4, year) || p[4] != '-' || !readFixedDigits(p + 5, 2, month) ||
        p[7] != '-' || !readFixedDigits(p + 8, 2, day) || p[10] != 'T' ||
        !readFixedDigits(p + 11, 2, hour) || p[13] != ':' || !readFixedDigits(p + 14, 2, minute) ||
        p[16] != ':' || !readFixedDigits(p + 17, 2, second) || p[19] != 'Z') {
        return false;
    }
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 ||
        minute > 59 || second > 59) {
        return false;
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    const time_t seconds = timegm(&fields);
    // timegm rolls 31 February over into March; a real date comes back unchanged.
    if (fields.tm_mday != day || fields.tm_mon != month - 1) return false;
    date = static_cast<int64_t>(seconds);
    return true;
}

bool parseEntry(const char* p, const char* end, int64_t now, ScoreEntry& entry,
                std::string& why) {
    uint64_t score = 0;
    if (p < end && *p == '-') {
        why = "a negative score";
        return false;
    }
    if (!readNumber(p, end, 10, score) || p == end || *p != ' ') {
        why = "not a game (score, play time, date)";
        return false;
    }
    if (score == 0 || score > INT32_MAX) {
        why = score == 0 ? "a score of 0" : "a score too large to be real";
        return false;
    }
    ++p;
    uint64_t seconds = 0;
    int hundredths = 0;
    if (!readNumber(p, end, 10, seconds) || end - p < 4 || *p != '.' ||
        !readFixedDigits(p + 1, 2, hundredths) || p[3] != ' ') {
        why = "a play time that is not seconds with two decimals";
        return false;
    }
    if (seconds * 100 + static_cast<uint64_t>(hundredths) > kMaxPlayCentiseconds) {
        why = "a play time over a thousand hours";
        return false;
    }
    p += 4;
    int64_t date = 0;
    if (!readDate(p, end, date)) {
        why = "a date that is not YYYY-MM-DDTHH:MM:SSZ";
        return false;
    }
    if (date > now + kScoresDateSlackSeconds) {
        why = "a date in the future";
        return false;
    }
    entry.score = static_cast<int32_t>(score);
    entry.playCentiseconds = static_cast<uint32_t>(seconds * 100 + hundredths);
    entry.date = date;
    return true;
}

std::string utcDate(int64_t date) {
    const time_t seconds = static_cast<time_t>(date);
    std::tm fields{};
    gmtime_r(&seconds, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &fields);
    return text;
}

}  // namespace

ScoreKeeper bestScores;

bool operator==(const ScoreEntry& a, const ScoreEntry& b) {
    return a.score == b.score && a.playCentiseconds == b.playCentiseconds && a.date == b.date;
}

bool operator==(const ScoreTable& a, const ScoreTable& b) {
    if (a.count != b.count) return false;
    for (int i = 0; i < a.count; ++i) {
        if (!(a.entries[i] == b.entries[i])) return false;
    }
    return true;
}

bool parseScores(const std::string& text, int64_t now, ScoreTable& table, std::string& why) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const std::size_t magicLength = sizeof kMagic - 1;
    if (text.size() < magicLength) {
        const bool prefix = text.compare(0, text.size(), kMagic, text.size()) == 0;
        why = prefix ? "cut short" : "not a Voxmere scores file";
        return false;
    }
    if (text.compare(0, magicLength, kMagic) != 0) {
        why = "not a Voxmere scores file";
        return false;
    }
    p += magicLength;
    const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
    if (lineEnd == nullptr) {
        why = "cut short";
        return false;
    }
    uint64_t version = 0;
    if (!readNumber(p, lineEnd, 9, version) || p != lineEnd || version == 0) {
        why = "a damaged version line";
        return false;
    }
    if (version > kScoresFormatVersion) {
        why = "written by a newer version of the game (format " + std::to_string(version) + ")";
        return false;
    }
    ScoreTable read;
    for (int line = 2;; ++line) {
        p = lineEnd + 1;
        if (p == end) {
            why = "cut short";
            return false;
        }
        lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
        if (lineEnd == nullptr) {
            why = "cut short";
            return false;
        }
        if (lineEnd - p == static_cast<std::ptrdiff_t>(sizeof kEndLine - 1) &&
            std::memcmp(p, kEndLine, sizeof kEndLine - 1) == 0) {
            if (lineEnd + 1 != end) {
                why = "more after the end line";
                return false;
            }
            break;
        }
        if (read.count == kBestScoreCount) {
            why = "more than ten games";
            return false;
        }
        ScoreEntry entry;
        if (!parseEntry(p, lineEnd, now, entry, why)) {
            why = "line " + std::to_string(line) + ": " + why;
            return false;
        }
        addScore(read, entry);
    }
    table = read;
    return true;
}

std::string formatScores(const ScoreTable& table) {
    std::string text = kMagic + std::to_string(kScoresFormatVersion) + "\n";
    for (int i = 0; i < table.count; ++i) {
        const ScoreEntry& e = table.entries[i];
        char line[96];
        std::snprintf(line, sizeof line, "%d %u.%02u %s\n", e.score, e.playCentiseconds / 100,
                      e.playCentiseconds % 100, utcDate(e.date).c_str());
        text += line;
    }
    text += kEndLine;
    text += '\n';
    return text;
}

int addScore(ScoreTable& table, const ScoreEntry& entry) {
    if (entry.score <= 0) return -1;
    int rank = 0;
    while (rank < table.count && !ranksBefore(entry, table.entries[rank])) ++rank;
    if (rank == kBestScoreCount) return -1;
    const int last = table.count < kBestScoreCount ? table.count : kBestScoreCount - 1;
    for (int i = last; i > rank; --i) table.entries[i] = table.entries[i - 1];
    table.entries[rank] = entry;
    if (table.count < kBestScoreCount) ++table.count;
    return rank;
}

void printScores(const ScoreTable& table, std::FILE* out) {
    if (table.count == 0) {
        std::fputs("No best scores yet: play a game to enter the table.\n", out);
        return;
    }
    std::fputs("Rank      Score  Play time  Date\n", out);
    for (int i = 0; i < table.count; ++i) {
        const ScoreEntry& e = table.entries[i];
        const uint32_t cs = e.playCentiseconds;
        const time_t seconds = static_cast<time_t>(e.date);
        std::tm fields{};
        localtime_r(&seconds, &fields);
        char date[32];
        std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &fields);
        std::fprintf(out, "%4d %10d  %3u:%02u:%02u  %s\n", i + 1, e.score, cs / 6000,
                     cs / 100 % 60, cs % 100, date);
    }
}

void ScoreKeeper::open(const std::string& path, int64_t now, std::FILE* err) {
    path_ = path;
    table_ = ScoreTable{};
    if (path_.empty()) {
        notKept("neither XDG_DATA_HOME nor HOME is set", err);
        return;
    }
    PlayerFileLock lock;
    std::string why;
    // Without the folder there is no table yet; reading needs no lock, only moving aside does.
    lock.acquire(path_, false, why);
    if (!readLocked(now, err, why)) notKept(why, err);
}

int ScoreKeeper::enter(const ScoreEntry& game, int64_t now, std::FILE* err) {
    if (game.score <= 0) return -1;
    ScoreEntry entry = game;
    if (entry.playCentiseconds > kMaxPlayCentiseconds) entry.playCentiseconds = kMaxPlayCentiseconds;
    if (entry.date < 0) entry.date = 0;
    std::string why;
    PlayerFileLock lock;
    if (path_.empty() || !lock.acquire(path_, true, why) || !readLocked(now, err, why)) {
        if (!path_.empty()) notKept(why, err);
        return addScore(table_, entry);
    }
    const int rank = addScore(table_, entry);
    if (rank >= 0 && !writePlayerFile(path_, formatScores(table_), why)) notKept(why, err);
    return rank;
}

bool ScoreKeeper::readLocked(int64_t now, std::FILE* err, std::string& why) {
    std::string text;
    switch (readPlayerFile(path_, text, why)) {
        case FileRead::Missing:
            table_ = ScoreTable{};
            return true;
        case FileRead::Failed:
            return false;  // never written over: what it holds may be fine
        case FileRead::Read:
            break;
    }
    std::string reason;
    if (parseScores(text, now, table_, reason)) return true;
    const std::string aside = moveAside(path_, why);
    if (aside.empty()) {
        std::fprintf(err, "voxmere: %s: %s, and it cannot be moved aside\n", path_.c_str(),
                     reason.c_str());
        return false;
    }
    std::fprintf(err, "voxmere: %s: %s; kept as %s, a fresh table begins\n", path_.c_str(),
                 reason.c_str(), aside.c_str());
    table_ = ScoreTable{};
    return true;
}

void ScoreKeeper::notKept(const std::string& why, std::FILE* err) {
    if (notKeptSaid_) return;
    notKeptSaid_ = true;
    std::fprintf(err, "voxmere: best scores are not kept: %s\n", why.c_str());
}
