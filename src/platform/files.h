// The file system as the game needs it: where the running program and the player's files live,
// and reading and writing those files so that a crash, a full disk, a second game at the same
// moment or an odd file in their place never loses or hides what the player keeps. Paths are
// UTF-8 strings. What counts as damage and what the player is told is the game's business; these
// calls only report what they found, with `why` a short text naming the file and the cause.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The folder holding the executable, ending in its separator; empty when it cannot be told.
std::string executableFolder();

enum class PlayerFolder { Data, Config };

// The folder for the player's kept data (best scores) or configuration (settings, pad
// mappings), ending in its separator; it need not exist yet. Empty, with `why`, when the system
// gives none: the files are then not kept.
std::string playerFolder(PlayerFolder which, std::string& why);

enum class FileRead {
    Read,        // `contents` holds the whole file
    Missing,     // nothing there, or a link that points nowhere
    NotRegular,  // a FIFO, device, folder or socket: left alone, `why` says which (a FIFO...)
    TooLarge,    // over `maxBytes`: nothing was allocated or read
    Failed,      // there but unreadable
};

// Reads the regular file at `path`, following links, into `contents` (cleared first). Opening
// never blocks (a FIFO with no writer returns at once) and the size is checked before anything
// is allocated for the contents.
FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& contents,
                         std::string& why);

// Replaces the file at `path` with `contents` so that it is either the old file or the new one,
// whole, whatever happens: a temporary file beside it, flushed to the disk, renamed over it.
// - A link at `path` stays a link: the file it finally points to is replaced (and created when
//   the link points nowhere).
// - The file keeps its mode; a new one gets the system's usual mode for new files.
// - Something other than a regular file at `path` is never replaced.
// - The folder must exist (FileLock::acquire makes it).
// On failure the old file is untouched, the temporary file removed and `why` says what failed.
bool replaceFile(const std::string& path, const std::string& contents, std::string& why);

// Removes the temporary files that replaceFile calls for `path` left behind when the process
// died before renaming them. Call it only while holding the file's lock, so that no write in
// progress is taken for a dead one. Returns how many were removed.
int removeLeftoverTemporaryFiles(const std::string& path);

// The file a link at `path` finally points to; `path` itself when it is no link.
std::string linkTarget(const std::string& path);

enum class Rename { Done, NameTaken, Failed };

// Renames `from` to `to`, never replacing a file already called `to` (NameTaken then).
Rename renameWithoutReplacing(const std::string& from, const std::string& to, std::string& why);

// An exclusive lock on <path>.lock, held until release or destruction, so that one process at
// a time reads, changes and writes the file. Waits while another process holds it. The lock
// file is made when missing and is never written.
class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { release(); }

    // With `createFolder`, makes the folder holding `path` first (private to the player). Without
    // it, a missing folder fails with `why` empty: there is then no file to guard.
    bool acquire(const std::string& path, bool createFolder, std::string& why);
    void release();
    bool held() const { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;  // the system's handle of the open lock file
};

// The game's data folder: a folder test, the working folder and moving into another one.
bool isFolder(const std::string& path);
bool changeFolder(const std::string& path);  // false when it cannot
std::string workingFolder();                  // for messages; empty when it cannot be told

}  // namespace platform
