// fuzz-sources: src/profile/scores.cpp src/profile/player_files.cpp
// Feeds arbitrary bytes to the best-scores reader. A refused file gets one line of reason; an
// accepted one holds only possible games, best first, and reads back the same once written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "profile/scores.h"

namespace {

constexpr int64_t kNow = 1796650000;

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ScoreTable table;
    std::string why;
    if (!parseScores(text, kNow, table, why)) {
        check(!why.empty() && why.find('\n') == std::string::npos);
        return 0;
    }
    check(table.count >= 0 && table.count <= kBestScoreCount);
    for (int i = 0; i < table.count; ++i) {
        const ScoreEntry& e = table.entries[i];
        check(e.score > 0 && e.date >= 0 && e.date <= kNow + kScoresDateSlackSeconds);
        if (i > 0) check(table.entries[i - 1].score >= e.score);
    }
    const std::string written = formatScores(table);
    ScoreTable again;
    check(parseScores(written, kNow, again, why));
    check(again == table);
    check(formatScores(again) == written);
    return 0;
}
