// The player's files kept between runs (best scores, settings): where they live and how they are
// written, so that a crash, a full disk or a second game ending at the same moment never loses
// what was there.
#pragma once

#include <string>

// $<xdg>/voxmere/<name>, or $HOME/<homeFallback>/voxmere/<name> when `xdg` is null or empty, as
// the XDG base directory rules say. Empty when HOME is unset or empty too: the file is not kept.
std::string playerFilePath(const char* xdg, const char* home, const char* homeFallback,
                           const char* name);

// The two files, from this process's environment.
std::string scoresFilePath();    // $XDG_DATA_HOME/voxmere/scores
std::string settingsFilePath();  // $XDG_CONFIG_HOME/voxmere/settings

enum class FileRead { Read, Missing, Failed };

// The whole file into `contents`. Missing when it does not exist; Failed (with `why`) when it
// exists but cannot be read.
FileRead readPlayerFile(const std::string& path, std::string& contents, std::string& why);

// Writes `contents` to a temporary file in the same folder, flushes it to the disk and renames
// it over `path`, creating the folder first. On failure the old file is left whole, the
// temporary file is removed and `why` says what failed.
bool writePlayerFile(const std::string& path, const std::string& contents, std::string& why);

// Renames a file the game cannot use to <path>.bad, or <path>.bad.2, .bad.3 ... when that is
// taken; nothing is ever replaced or deleted. Returns the new name, or empty with `why`.
std::string moveAside(const std::string& path, std::string& why);

// An exclusive lock on <path>.lock, held until release or destruction, so that one process at
// a time reads, merges and writes the file. Waits for another holder to finish.
class PlayerFileLock {
public:
    PlayerFileLock() = default;
    PlayerFileLock(const PlayerFileLock&) = delete;
    PlayerFileLock& operator=(const PlayerFileLock&) = delete;
    ~PlayerFileLock() { release(); }

    // Creates the folder when `createFolder`; without it, a missing folder fails quietly
    // (`why` empty) since there is then nothing to guard.
    bool acquire(const std::string& path, bool createFolder, std::string& why);
    void release();

private:
    int fd_ = -1;
};
