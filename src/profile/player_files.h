// The player's files kept between runs (best scores, settings): their names in the player's
// folders, the line ends a Windows editor may have given them, and keeping a damaged one aside.
// The file system itself is platform/files.h.
#pragma once

#include <string>

#include "platform/files.h"

// <the player's folder><name>; empty with `why` when the system gives no folder.
std::string playerFilePath(platform::PlayerFolder folder, const char* name, std::string& why);
std::string scoresFilePath(std::string& why);    // in the data folder
std::string settingsFilePath(std::string& why);  // in the config folder

// How a text file's lines are laid out beyond plain '\n' ends: a UTF-8 byte-order mark at the
// start, and CRLF ends (told by the first line end).
struct TextLayout {
    bool byteOrderMark = false;
    bool crlf = false;
};

// `text` without its byte-order mark and with every CRLF end made '\n', and what was taken.
std::string plainLines(const std::string& text, TextLayout& layout);
// `plain` laid out again as `layout` says.
std::string laidOut(const std::string& plain, const TextLayout& layout);

// Renames the file at `path` (the one a link there points to) that the game cannot use to
// <name>.bad, or <name>.bad.2, .bad.3 ... when that is taken; nothing is ever replaced or
// deleted. Only under the file's lock, which `lock` must hold. Returns the new name, or empty
// with `why`.
std::string moveAside(const platform::FileLock& lock, const std::string& path, std::string& why);

// `text` cut to at most `maxCharacters` UTF-8 characters (with "..." when cut) and with control
// characters shown as '?', to quote a player's line in one line of standard error.
std::string quoted(const std::string& text, int maxCharacters);
