#include "profile/player_files.h"

#include <cstdio>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

std::string playerFilePath(platform::PlayerFolder folder, const char* name, std::string& why) {
    const std::string base = platform::playerFolder(folder, why);
    return base.empty() ? std::string() : base + name;
}

std::string scoresFilePath(std::string& why) {
    return playerFilePath(platform::PlayerFolder::Data, "scores", why);
}

std::string settingsFilePath(std::string& why) {
    return playerFilePath(platform::PlayerFolder::Config, "settings", why);
}

std::string plainLines(const std::string& text, TextLayout& layout) {
    std::size_t start = 0;
    layout.byteOrderMark = text.compare(0, 3, kByteOrderMark) == 0;
    if (layout.byteOrderMark) start = 3;
    const std::size_t firstEnd = text.find('\n', start);
    layout.crlf = firstEnd != std::string::npos && firstEnd > start && text[firstEnd - 1] == '\r';
    std::string plain;
    plain.reserve(text.size() - start);
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    return plain;
}

std::string laidOut(const std::string& plain, const TextLayout& layout) {
    std::string text = layout.byteOrderMark ? kByteOrderMark : "";
    if (!layout.crlf) return text + plain;
    text.reserve(text.size() + plain.size() + plain.size() / 16);
    for (char c : plain) {
        if (c == '\n') text += '\r';
        text += c;
    }
    return text;
}

std::string moveAside(const platform::FileLock& lock, const std::string& path, std::string& why) {
    if (!lock.held()) {
        why = "its lock is not held";
        return {};
    }
    const std::string file = platform::linkTarget(path);
    for (int n = 1; n <= 999; ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, n > 1 ? ".bad.%d" : ".bad", n);
        const std::string aside = file + suffix;
        switch (platform::renameWithoutReplacing(file, aside, why)) {
            case platform::Rename::Done:
                return aside;
            case platform::Rename::NameTaken:
                continue;
            case platform::Rename::Failed:
                return {};
        }
    }
    why = "no free name to move " + file + " aside";
    return {};
}

std::string quoted(const std::string& text, int maxCharacters) {
    std::string out;
    int characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool continuation = (c & 0xC0) == 0x80;
        if (!continuation && characters++ == maxCharacters) return out + "...";
        out += c < 0x20 || c == 0x7F ? '?' : text[i];
    }
    return out;
}
