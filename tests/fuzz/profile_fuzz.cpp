// fuzz-sources: src/profile/scores.cpp src/profile/settings.cpp src/profile/player_files.cpp
// fuzz-sources: src/platform/posix/posix_files.cpp
// Feeds arbitrary bytes to the two readers of the player's
// files, as text and as a file on disk. Best scores: a refused file gets one line of reason; an
// accepted one holds only possible games, best first, and reads back the same once written.
// Settings: whatever the text, the values stay among the choices, and a rewritten file reads back
// the values saved into it and what it said of the others. Both read CRLF ends and a byte-order
// mark like plain lines and keep them on a rewrite. On disk: a file over the size limit is refused
// before it is read in, one within it is read whole, and a replaced file reads back what was
// written.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "profile/player_files.h"
#include "profile/scores.h"
#include "profile/settings.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

const TextLayout kWindows{true, true};
char kScratch[] = "/dev/shm/voxmere-fuzz-XXXXXX";

// A text that a Windows editor's layout can be laid over and taken off again unchanged.
bool plain(const std::string& text) {
    return text.find('\r') == std::string::npos && text.compare(0, 3, "\xEF\xBB\xBF") != 0;
}

void checkTable(const ScoreTable& table) {
    check(table.count >= 0 && table.count <= kBestScoreCount);
    for (int i = 0; i < table.count; ++i) {
        const ScoreEntry& e = table.entries[i];
        check(e.score > 0 && e.date >= 0);
        if (i > 0) check(table.entries[i - 1].score >= e.score);
    }
}

void fuzzScores(const std::string& text) {
    ScoreTable table;
    std::string why;
    const ScoresText result = parseScores(text, table, why);
    checkTable(table);
    if (plain(text)) {
        // The same file as a Windows editor saves it reads the same.
        ScoreTable windows;
        std::string windowsWhy;
        check(parseScores(laidOut(text, kWindows), windows, windowsWhy) == result);
        check(windows == table && windowsWhy == why);
    }
    if (result != ScoresText::Good) {
        check(!why.empty() && why.find('\n') == std::string::npos);
        if (result == ScoresText::Newer) check(table.count == 0);
        return;
    }
    for (const TextLayout& layout : {TextLayout{}, kWindows}) {
        const std::string written = formatScores(table, layout);
        ScoreTable again;
        check(parseScores(written, again, why) == ScoresText::Good && again == table);
        check(formatScores(again, layout) == written);
    }
}

Settings parsed(const std::string& text) {
    Settings settings;
    parseSettings(text, "settings", settings, nullptr);
    return settings;
}

void fuzzSettings(const std::string& text) {
    const Settings read = parsed(text);
    check(read.separation == 5.0f || read.separation == 3.5f || read.separation == 2.0f);
    check(static_cast<int>(read.glasses) >= 0 && static_cast<int>(read.glasses) <= 3);

    // Saving two keys changes those and nothing else the file says.
    Settings saved = read;
    saved.stereo = !read.stereo;
    saved.separation = read.separation == 5.0f ? 3.5f : 5.0f;
    const unsigned keys = kSettingStereo | kSettingSeparation;
    const std::string rewritten = rewriteSettings(text, saved, keys);
    check(parsed(rewritten) == saved);
    // Saving every key gives a file that reads back exactly.
    check(parsed(rewriteSettings(text, saved, ~0u)) == saved);

    if (plain(text)) {
        const std::string windows = laidOut(text, kWindows);
        check(parsed(windows) == read);
        // The rewrite keeps the mark, and CRLF ends when the file had any.
        const TextLayout layout{true, text.find('\n') != std::string::npos};
        check(rewriteSettings(windows, saved, keys) == laidOut(rewritten, layout));
    }
}

// The scratch folder in memory for the process, removed when it ends.
void removeScratch() {
    std::remove((std::string(kScratch) + "/file").c_str());
    std::remove(kScratch);
}

void fuzzFile(const std::string& text, uint8_t pick) {
    static const std::string path = std::string(mkdtemp(kScratch)) + "/file";
    static const bool removed = std::atexit(removeScratch) == 0;
    check(removed);
    std::string why;
    check(platform::replaceFile(path, text, why));
    const std::size_t limits[] = {0, text.size() / 2, text.size(), text.size() + 1,
                                  kMaxScoresFileBytes};
    const std::size_t limit = limits[pick % 5];
    std::string contents;
    const platform::FileRead read = platform::readRegularFile(path, limit, contents, why);
    if (text.size() > limit) {
        check(read == platform::FileRead::TooLarge && contents.empty());
    } else {
        check(read == platform::FileRead::Read && contents == text);
    }
    // The readers on the file itself, as `--scores` and start-up read them.
    static std::FILE* nowhere = std::fopen("/dev/null", "w");
    listScores(path, "", nowhere, nowhere);
    loadSettings(path, nowhere);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzzScores(text);
    fuzzSettings(text);
    fuzzFile(text, size > 0 ? data[0] : 0);
    return 0;
}
