#include "profile/player_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string systemError(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// mkdir -p, with the private mode the XDG rules ask for on folders it creates.
bool makeFolders(const std::string& folder, std::string& why) {
    std::string partial;
    std::size_t start = 0;
    while (start <= folder.size()) {
        std::size_t slash = folder.find('/', start);
        if (slash == std::string::npos) slash = folder.size();
        partial = folder.substr(0, slash);
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

}  // namespace

std::string playerFilePath(const char* xdg, const char* home, const char* homeFallback,
                           const char* name) {
    std::string base;
    if (xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else if (home != nullptr && *home != '\0') {
        base = std::string(home) + "/" + homeFallback;
    } else {
        return {};
    }
    return base + "/voxmere/" + name;
}

std::string scoresFilePath() {
    return playerFilePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), ".local/share",
                          "scores");
}

std::string settingsFilePath() {
    return playerFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), ".config",
                          "settings");
}

FileRead readPlayerFile(const std::string& path, std::string& contents, std::string& why) {
    contents.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return FileRead::Missing;
        why = systemError("cannot open", path);
        return FileRead::Failed;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            why = systemError("cannot read", path);
            close(fd);
            return FileRead::Failed;
        }
        if (n == 0) break;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return FileRead::Read;
}

bool writePlayerFile(const std::string& path, const std::string& contents, std::string& why) {
    const std::string folder = folderOf(path);
    if (!makeFolders(folder, why)) return false;
    std::string temporary = path + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        why = systemError("cannot create a file in", folder);
        return false;
    }
    bool written = writeAll(fd, contents);
    if (!written) why = systemError("cannot write", temporary);
    if (written && fchmod(fd, 0644) != 0) {
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
    if (written && rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        why = systemError("cannot rename over", path);
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

std::string moveAside(const std::string& path, std::string& why) {
    for (int n = 1; n <= 999; ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, n > 1 ? ".bad.%d" : ".bad", n);
        const std::string aside = path + suffix;
        // link refuses an existing name, where rename would replace it.
        if (link(path.c_str(), aside.c_str()) == 0) {
            if (unlink(path.c_str()) != 0) {
                why = systemError("cannot remove", path);
                return {};
            }
            return aside;
        }
        if (errno == EPERM || errno == ENOTSUP || errno == ENOSYS) {
            // A file system without hard links: rename, after making sure the name is free.
            if (access(aside.c_str(), F_OK) == 0) continue;
            if (rename(path.c_str(), aside.c_str()) == 0) return aside;
        }
        if (errno != EEXIST) {
            why = systemError("cannot move aside", path);
            return {};
        }
    }
    errno = EEXIST;
    why = systemError("no free name to move aside", path);
    return {};
}

bool PlayerFileLock::acquire(const std::string& path, bool createFolder, std::string& why) {
    release();
    why.clear();
    if (createFolder && !makeFolders(folderOf(path), why)) return false;
    const std::string lockPath = path + ".lock";
    fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        if (errno != ENOENT || createFolder) why = systemError("cannot open", lockPath);
        return false;
    }
    while (flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        why = systemError("cannot lock", lockPath);
        release();
        return false;
    }
    return true;
}

void PlayerFileLock::release() {
    if (fd_ < 0) return;
    close(fd_);  // closing drops the lock
    fd_ = -1;
}
