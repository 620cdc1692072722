// The player's files on a POSIX system: the XDG folders, reads that never block, writes through
// a temporary file, fsync and rename, and flock on a lock file beside each file.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/file_steps.h"
#include "platform/files.h"
#include "platform/posix/xdg_folder.h"

namespace platform {
namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel allows

std::string systemError(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a link through too many links";
    return "not a regular file";
}

// mkdir -p, with the private mode the XDG rules ask for on the folders it creates.
bool makeFolders(const std::string& folder, std::string& why) {
    std::size_t start = 0;
    while (start <= folder.size()) {
        std::size_t slash = folder.find('/', start);
        if (slash == std::string::npos) slash = folder.size();
        const std::string partial = folder.substr(0, slash);
        start = slash + 1;
        if (partial.empty()) continue;
        if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            why = systemError("cannot create", partial);
            return false;
        }
    }
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        why = systemError("cannot create", folder);
        return false;
    }
    return true;
}

bool writeAll(int fd, const std::string& contents) {
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string temporaryName(const std::string& target) {
    static uint64_t state = 0;
    if (state == 0) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        state = (static_cast<uint64_t>(now.tv_nsec) << 20) ^ static_cast<uint64_t>(now.tv_sec) ^
                (static_cast<uint64_t>(getpid()) << 40) ^ 0x9e3779b97f4a7c15u;
    }
    return filesteps::temporaryName(target, state);
}

}  // namespace

std::string xdgPlayerFolder(const char* xdg, const char* home, const char* homeFallback) {
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/voxmere/";
    if (home == nullptr || home[0] == '\0') return {};
    return std::string(home) + "/" + homeFallback + "/voxmere/";
}

std::string playerFolder(PlayerFolder which, std::string& why) {
    const char* variable = which == PlayerFolder::Data ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME";
    const char* xdg = std::getenv(variable);
    const std::string folder = xdgPlayerFolder(
        xdg, std::getenv("HOME"), which == PlayerFolder::Data ? ".local/share" : ".config");
    if (folder.empty()) {
        why = xdg != nullptr && xdg[0] != '\0'
                  ? std::string(variable) + " is not an absolute path and HOME is not set"
                  : std::string("neither ") + variable + " nor HOME is set";
    }
    return folder;
}

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& contents,
                         std::string& why) {
    contents.clear();
    // Non-blocking, so that a FIFO without a writer cannot hold the game; no effect on a file.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return FileRead::Missing;
        if (errno == ENXIO) {  // a socket
            why = path + " is a socket";
            return FileRead::NotRegular;
        }
        why = systemError("cannot open", path);
        return FileRead::Failed;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        why = systemError("cannot read", path);
        close(fd);
        return FileRead::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        why = path + " is " + kindOf(info.st_mode);
        close(fd);
        return FileRead::NotRegular;
    }
    if (static_cast<uint64_t>(info.st_size) > maxBytes) {
        close(fd);
        return FileRead::TooLarge;
    }
    contents.reserve(static_cast<std::size_t>(info.st_size));
    const FileRead result =
        filesteps::readCapped(maxBytes, contents, [&](char* buffer, std::size_t size) {
            ssize_t n;
            do n = read(fd, buffer, size);
            while (n < 0 && errno == EINTR);
            return static_cast<long long>(n);
        });
    if (result == FileRead::Failed) why = systemError("cannot read", path);
    close(fd);
    return result;
}

std::string linkTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        char target[PATH_MAX];
        const ssize_t n = readlink(current.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<std::size_t>(n) == sizeof target) return current;
        const std::string next(target, static_cast<std::size_t>(n));
        current = next[0] == '/' ? next : folderOf(current) + "/" + next;
    }
    return current;
}

bool replaceFile(const std::string& path, const std::string& contents, std::string& why) {
    const std::string target = linkTarget(path);
    struct stat old {};
    bool replacing = false;
    if (lstat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) {
            why = target + " is " + kindOf(old.st_mode) + ", not replaced";
            return false;
        }
        replacing = true;
    } else if (errno != ENOENT) {
        why = systemError("cannot look at", target);
        return false;
    }
    const std::string folder = folderOf(target);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(target);
        // The usual mode for a new file, as the umask allows; a replaced file's own mode below.
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        why = systemError("cannot create a file in", folder);
        return false;
    }
    bool written = writeAll(fd, contents);
    if (!written) why = systemError("cannot write", temporary);
    if (written && replacing && fchmod(fd, old.st_mode & 07777) != 0) {
        written = false;
        why = systemError("cannot set the mode of", temporary);
    }
    if (written && fsync(fd) != 0) {
        written = false;
        why = systemError("cannot flush", temporary);
    }
    if (close(fd) != 0 && written) {
        written = false;
        why = systemError("cannot close", temporary);
    }
    if (written && rename(temporary.c_str(), target.c_str()) != 0) {
        written = false;
        why = systemError("cannot rename over", target);
    }
    if (!written) {
        unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

int removeLeftoverTemporaryFiles(const std::string& path) {
    const std::string target = linkTarget(path);
    const std::string folder = folderOf(target);
    const std::string name = nameOf(target);
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(listing)) {
        if (!filesteps::isTemporaryOf(entry->d_name, name)) continue;
        struct stat info {};
        if (fstatat(dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && unlinkat(dirfd(listing), entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    closedir(listing);
    return removed;
}

Rename renameWithoutReplacing(const std::string& from, const std::string& to, std::string& why) {
    // link refuses an existing name, where rename would replace it.
    if (link(from.c_str(), to.c_str()) == 0) {
        if (unlink(from.c_str()) != 0) {
            why = systemError("cannot remove", from);
            return Rename::Failed;
        }
        return Rename::Done;
    }
    if (errno == EEXIST) return Rename::NameTaken;
    if (errno == EPERM || errno == ENOTSUP || errno == ENOSYS) {
        // A file system without hard links: rename, after making sure the name is free.
        if (access(to.c_str(), F_OK) == 0) return Rename::NameTaken;
        if (rename(from.c_str(), to.c_str()) == 0) return Rename::Done;
    }
    why = systemError("cannot rename", from);
    return Rename::Failed;
}

bool FileLock::acquire(const std::string& path, bool createFolder, std::string& why) {
    release();
    why.clear();
    if (createFolder && !makeFolders(folderOf(path), why)) return false;
    const std::string lockPath = path + ".lock";
    // Read-only is enough for flock; non-blocking so that a FIFO there cannot hold the game.
    const int fd =
        open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno != ENOENT || createFolder) why = systemError("cannot open", lockPath);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = lockPath + " is " + kindOf(info.st_mode);
        close(fd);
        return false;
    }
    while (flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        why = systemError("cannot lock", lockPath);
        close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

void FileLock::release() {
    if (handle_ == kNone) return;
    close(static_cast<int>(handle_));  // closing drops the lock
    handle_ = kNone;
}

}  // namespace platform
