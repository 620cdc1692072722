#include "profile/scores.h"

#include <cstring>
#include <ctime>

#include "platform/files.h"
#include "profile/player_files.h"

namespace {

constexpr char kMagic[] = "voxmere-scores ";
constexpr char kEndLine[] = "end";
constexpr int64_t kLastDate = 253402300799;  // 9999-12-31T23:59:59Z, the last the file can hold

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

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar, and back.
int64_t daysFromCivil(int year, int month, int day) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<int64_t>(era) * 146097 + dayOfEra - 719468;
}

void civilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int dayOfEra = static_cast<int>(days - era * 146097);
    const int yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<int>(era * 400 + yearOfEra + (month <= 2 ? 1 : 0));
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// YYYY-MM-DDTHH:MM:SSZ, a real moment in UTC from 1970 on. Any such date is a game's: a clock
// that ran ahead and was put right leaves games dated after today.
bool readDate(const char* p, const char* end, int64_t& date) {
    if (end - p != 20) return false;
    int year, month, day, hour, minute, second;
    if (!readFixedDigits(p, 4, year) || p[4] != '-' || !readFixedDigits(p + 5, 2, month) ||
        p[7] != '-' || !readFixedDigits(p + 8, 2, day) || p[10] != 'T' ||
        !readFixedDigits(p + 11, 2, hour) || p[13] != ':' || !readFixedDigits(p + 14, 2, minute) ||
        p[16] != ':' || !readFixedDigits(p + 17, 2, second) || p[19] != 'Z') {
        return false;
    }
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    date = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

bool parseEntry(const char* p, const char* end, ScoreEntry& entry, std::string& why) {
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
    entry.score = static_cast<int32_t>(score);
    entry.playCentiseconds = static_cast<uint32_t>(seconds * 100 + hundredths);
    entry.date = date;
    return true;
}

std::string utcDate(int64_t date) {
    const int64_t days = (date >= 0 ? date : date - 86399) / 86400;
    const int64_t second = date - days * 86400;
    int year, month, day;
    civilFromDays(days, year, month, day);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", year, month, day,
                  static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                  static_cast<int>(second % 60));
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

ScoresText parseScores(const std::string& input, ScoreTable& table, std::string& why) {
    table = ScoreTable{};
    TextLayout layout;
    const std::string text = plainLines(input, layout);
    const char* p = text.data();
    const char* const end = p + text.size();
    const std::size_t magicLength = sizeof kMagic - 1;
    if (text.size() < magicLength) {
        const bool prefix = text.compare(0, text.size(), kMagic, text.size()) == 0;
        why = prefix ? "cut short" : "not a Voxmere scores file";
        return ScoresText::Damaged;
    }
    if (text.compare(0, magicLength, kMagic) != 0) {
        why = "not a Voxmere scores file";
        return ScoresText::Damaged;
    }
    p += magicLength;
    const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
    if (lineEnd == nullptr) {
        why = "cut short";
        return ScoresText::Damaged;
    }
    uint64_t version = 0;
    if (!readNumber(p, lineEnd, 9, version) || p != lineEnd || version == 0) {
        why = "a damaged version line";
        return ScoresText::Damaged;
    }
    if (version > kScoresFormatVersion) {
        why = "format " + std::to_string(version);
        return ScoresText::Newer;
    }
    for (int line = 2;; ++line) {
        p = lineEnd + 1;
        lineEnd = p == end ? nullptr : static_cast<const char*>(std::memchr(p, '\n', end - p));
        if (lineEnd == nullptr) {
            why = "cut short";
            return ScoresText::Damaged;
        }
        if (lineEnd - p == static_cast<std::ptrdiff_t>(sizeof kEndLine - 1) &&
            std::memcmp(p, kEndLine, sizeof kEndLine - 1) == 0) {
            if (lineEnd + 1 != end) {
                why = "more after the end line";
                return ScoresText::Damaged;
            }
            return ScoresText::Good;
        }
        if (table.count == kBestScoreCount) {
            why = "more than ten games";
            return ScoresText::Damaged;
        }
        ScoreEntry entry;
        if (!parseEntry(p, lineEnd, entry, why)) {
            why = "line " + std::to_string(line) + ": " + why;
            return ScoresText::Damaged;
        }
        addScore(table, entry);
    }
}

std::string formatScores(const ScoreTable& table, const TextLayout& layout) {
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
    return laidOut(text, layout);
}

int addScore(ScoreTable& table, const ScoreEntry& entry) {
    if (entry.score <= 0) return -1;
    int rank = 0;
    while (rank < table.count && table.entries[rank].score >= entry.score) ++rank;
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
        char date[32];
        const std::tm* local = std::localtime(&seconds);
        if (local == nullptr || std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", local) == 0) {
            std::snprintf(date, sizeof date, "%.16s", utcDate(e.date).c_str());
            date[10] = ' ';
        }
        std::fprintf(out, "%4d %10d  %3u:%02u:%02u  %s\n", i + 1, e.score, cs / 6000,
                     cs / 100 % 60, cs % 100, date);
    }
}

namespace {

enum class ScoresFile { Table, Missing, Damaged, Newer, LeftAlone };

// The file at `path` as it is, with no lock and no change: `why` says what is wrong with a file
// that is not a table, ready for "voxmere: <why>".
ScoresFile readScoresFile(const std::string& path, ScoreTable& table, TextLayout& layout,
                          std::string& why) {
    table = ScoreTable{};
    std::string text, reason;
    switch (platform::readRegularFile(path, kMaxScoresFileBytes, text, why)) {
        case platform::FileRead::Missing: return ScoresFile::Missing;
        case platform::FileRead::NotRegular:
            why += ", not a file; it is left alone";
            return ScoresFile::LeftAlone;
        case platform::FileRead::Failed: return ScoresFile::LeftAlone;
        case platform::FileRead::TooLarge:
            why = path + ": over 64 KiB, far more than a table";
            return ScoresFile::Damaged;
        case platform::FileRead::Read: break;
    }
    plainLines(text, layout);
    switch (parseScores(text, table, reason)) {
        case ScoresText::Good: return ScoresFile::Table;
        case ScoresText::Newer:
            why = path + ": the best scores belong to a newer version of the game (" + reason + ")";
            return ScoresFile::Newer;
        case ScoresText::Damaged: break;
    }
    why = path + ": " + reason;
    return ScoresFile::Damaged;
}

}  // namespace

bool listScores(const std::string& path, const std::string& noPath, std::FILE* out,
                std::FILE* err) {
    if (path.empty()) {
        std::fprintf(err, "voxmere: no best scores: %s\n", noPath.c_str());
        return false;
    }
    ScoreTable table;
    TextLayout layout;
    std::string why;
    switch (readScoresFile(path, table, layout, why)) {
        case ScoresFile::Table:
        case ScoresFile::Missing: printScores(table, out); return true;
        case ScoresFile::Newer: std::fprintf(err, "voxmere: %s; not shown\n", why.c_str()); break;
        case ScoresFile::LeftAlone: std::fprintf(err, "voxmere: %s\n", why.c_str()); break;
        case ScoresFile::Damaged:
            if (table.count > 0) printScores(table, out);
            std::fprintf(err, "voxmere: %s; %s\n", why.c_str(),
                         table.count > 0 ? "the games before it are shown" : "no game is shown");
            break;
    }
    return false;
}

void ScoreKeeper::open(const std::string& path, std::FILE* err, const std::string& noPath) {
    *this = ScoreKeeper{};
    path_ = path;
    if (path_.empty()) {
        notKept(noPath, err);
        return;
    }
    platform::FileLock lock;
    std::string why;
    // Without the folder there is no table yet. Reading needs no lock, only moving aside does.
    lock.acquire(path_, false, why);
    readLocked(lock, err);
}

int ScoreKeeper::enter(const ScoreEntry& game, std::FILE* err) {
    if (game.score <= 0) return -1;
    ScoreEntry entry = game;
    if (entry.playCentiseconds > kMaxPlayCentiseconds) entry.playCentiseconds = kMaxPlayCentiseconds;
    if (entry.date < 0) entry.date = 0;
    if (entry.date > kLastDate) entry.date = kLastDate;
    std::string why;
    platform::FileLock lock;
    if (path_.empty() || leftAlone_) return addScore(table_, entry);
    if (!lock.acquire(path_, true, why)) {
        notKept(why, err);
        return addScore(table_, entry);
    }
    if (!readLocked(lock, err)) return addScore(table_, entry);
    const int rank = addScore(table_, entry);
    if (rank < 0) return rank;
    platform::removeLeftoverTemporaryFiles(path_);
    if (!platform::replaceFile(path_, formatScores(table_, layout_), why)) notKept(why, err);
    return rank;
}

bool ScoreKeeper::readLocked(const platform::FileLock& lock, std::FILE* err) {
    std::string why;
    ScoreTable read;
    TextLayout layout;
    switch (readScoresFile(path_, read, layout, why)) {
        case ScoresFile::Table:
            table_ = read;
            layout_ = layout;
            return true;
        case ScoresFile::Missing: table_ = ScoreTable{}; return true;
        case ScoresFile::Newer:
            leftAlone_ = true;
            table_ = ScoreTable{};
            if (!notKeptSaid_) {
                notKeptSaid_ = true;
                std::fprintf(err,
                             "voxmere: %s; it is left alone and this game's score is not kept\n",
                             why.c_str());
            }
            return false;
        case ScoresFile::LeftAlone:
            notKept(why, err);  // never written over: what it holds may be fine
            return false;
        case ScoresFile::Damaged: break;
    }
    std::string whyNotAside;
    const std::string aside = moveAside(lock, path_, whyNotAside);
    if (aside.empty()) {
        if (notKeptSaid_) return false;
        std::fprintf(err, "voxmere: %s, and it cannot be moved aside (%s)\n", why.c_str(),
                     lock.held() ? whyNotAside.c_str() : "it cannot be locked");
        notKeptSaid_ = true;
        return false;
    }
    std::fprintf(err, "voxmere: %s; kept as %s, a fresh table begins\n", why.c_str(),
                 aside.c_str());
    table_ = ScoreTable{};
    layout_ = layout;
    return true;
}

void ScoreKeeper::notKept(const std::string& why, std::FILE* err) {
    if (notKeptSaid_) return;
    notKeptSaid_ = true;
    std::fprintf(err, "voxmere: best scores are not kept: %s\n", why.c_str());
}
