// The steps of reading and replacing the player's files that do not depend on the system: the
// capped read and the temporary files' names. Included by each system's files implementation
// only, so that both keep the same limits and both recognise the same leftovers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/files.h"

namespace platform::filesteps {

// Reads through `readChunk(buffer, size)` (bytes read, 0 at the end, negative on an error)
// into `contents`, which the caller has reserved for the size it was told. One byte past
// `maxBytes` tells a file that grew since: TooLarge then, with nothing kept.
template <typename ReadChunk>
FileRead readCapped(std::size_t maxBytes, std::string& contents, ReadChunk readChunk) {
    char buffer[4096];
    for (;;) {
        const std::size_t room = maxBytes + 1 - contents.size();
        const long long n = readChunk(buffer, room < sizeof buffer ? room : sizeof buffer);
        if (n < 0) {
            contents.clear();
            return FileRead::Failed;
        }
        if (n == 0) return FileRead::Read;
        contents.append(buffer, static_cast<std::size_t>(n));
        if (contents.size() > maxBytes) {
            contents.clear();
            contents.shrink_to_fit();
            return FileRead::TooLarge;
        }
    }
}

inline constexpr char kTemporaryEnd[] = ".tmp";
inline constexpr int kTemporaryLetters = 6;
inline constexpr char kTemporaryAlphabet[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

inline bool isTemporaryLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// <name>.XXXXXX.tmp, as temporaryName makes them: a digit, a capital, then four letters or
// digits, which no word a player might give a file of their own (scores.backup.tmp) matches.
inline bool isTemporaryOf(const std::string& entry, const std::string& name) {
    const std::size_t endLength = sizeof kTemporaryEnd - 1;
    if (entry.size() != name.size() + 1 + kTemporaryLetters + endLength) return false;
    if (entry.compare(0, name.size(), name) != 0 || entry[name.size()] != '.') return false;
    const char* letters = entry.c_str() + name.size() + 1;
    if (letters[0] < '0' || letters[0] > '9' || letters[1] < 'A' || letters[1] > 'Z') return false;
    for (int i = 0; i < kTemporaryLetters; ++i) {
        if (!isTemporaryLetter(letters[i])) return false;
    }
    return std::strcmp(letters + kTemporaryLetters, kTemporaryEnd) == 0;
}

// A fresh temporary name beside `target`. `state` is the caller's generator, seeded once from
// the clock and the process (never 0).
inline std::string temporaryName(const std::string& target, uint64_t& state) {
    std::string name = target + ".";
    for (int i = 0; i < kTemporaryLetters; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        // The first from the digits, the second from the capitals, as isTemporaryOf expects.
        const uint64_t from = i == 0 ? 52 : i == 1 ? 26 : 0;
        const uint64_t count = i == 0 ? 10 : i == 1 ? 26 : sizeof kTemporaryAlphabet - 1;
        name += kTemporaryAlphabet[from + state % count];
    }
    return name + kTemporaryEnd;
}

}  // namespace platform::filesteps
