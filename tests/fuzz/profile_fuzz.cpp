// fuzz-sources: src/profile/scores.cpp src/profile/settings.cpp src/profile/player_files.cpp
// Feeds arbitrary bytes to the two readers of the player's files. Best scores: a refused file
// gets one line of reason; an accepted one holds only possible games, best first, and reads back
// the same once written. Settings: whatever the text, the values stay among the choices, and a
// rewritten file reads back the values that were saved into it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "profile/scores.h"
#include "profile/settings.h"

namespace {

constexpr int64_t kNow = 1796650000;

void check(bool condition) {
    if (!condition) std::abort();
}

void fuzzScores(const std::string& text) {
    ScoreTable table;
    std::string why;
    if (!parseScores(text, kNow, table, why)) {
        check(!why.empty() && why.find('\n') == std::string::npos);
        return;
    }
    check(table.count >= 0 && table.count <= kBestScoreCount);
    for (int i = 0; i < table.count; ++i) {
        const ScoreEntry& e = table.entries[i];
        check(e.score > 0 && e.date >= 0 && e.date <= kNow + kScoresDateSlackSeconds);
        if (i > 0) check(table.entries[i - 1].score >= e.score);
    }
    const std::string written = formatScores(table);
    ScoreTable again;
    check(parseScores(written, kNow, again, why) && again == table);
    check(formatScores(again) == written);
}

// `text` with `keys` saved from `saved`, read back.
Settings readBack(const std::string& text, const Settings& saved, unsigned keys) {
    Settings back;
    parseSettings(rewriteSettings(text, saved, keys), "settings", back, nullptr);
    return back;
}

void fuzzSettings(const std::string& text) {
    Settings read;
    parseSettings(text, "settings", read, nullptr);
    check(read.separation == 5.0f || read.separation == 3.5f || read.separation == 2.0f);
    check(static_cast<int>(read.glasses) >= 0 && static_cast<int>(read.glasses) <= 3);

    Settings saved;
    saved.stereo = !read.stereo;
    saved.separation = read.separation == 5.0f ? 3.5f : 5.0f;
    const Settings back = readBack(text, saved, kSettingStereo | kSettingSeparation);
    check(back.stereo == saved.stereo && back.separation == saved.separation);
    // Saving every key gives a file that reads back exactly.
    check(readBack(text, saved, ~0u) == saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzzScores(text);
    fuzzSettings(text);
    return 0;
}
