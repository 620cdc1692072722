// The player's files on Windows: %APPDATA%\voxmere\, reads of regular files only, writes through
// a temporary file, FlushFileBuffers and MoveFileExW, and LockFileEx on a lock file beside each
// file. Paths are UTF-8 in the game and wide at every Windows call.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>

#include "platform/file_steps.h"
#include "platform/files.h"
#include "platform/win32/win32_text.h"

namespace platform {
namespace {

using win32::utf8;
using win32::wide;

std::string utf8(const std::wstring& text) {
    return utf8(text.data(), static_cast<int>(text.size()));
}

std::string systemError(const char* what, const std::string& path, DWORD error = GetLastError()) {
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text = length > 0 ? utf8(message, static_cast<int>(length)) : std::string();
    LocalFree(message);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) {
        text.pop_back();
    }
    if (text.empty()) text = "error " + std::to_string(error);
    return std::string(what) + " " + path + ": " + text;
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::size_t lastSeparator(const std::string& path) {
    return path.find_last_of("\\/");
}

std::string folderOf(const std::string& path) {
    const std::size_t at = lastSeparator(path);
    if (at == std::string::npos) return ".";
    return path.substr(0, at == 0 || (at == 2 && path[1] == ':') ? at + 1 : at);
}

std::string nameOf(const std::string& path) {
    const std::size_t at = lastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

enum class Kind { Missing, Regular, Folder, Device, Pipe, Failed };

const char* kindText(Kind kind) {
    switch (kind) {
        case Kind::Folder:
            return "a folder";
        case Kind::Device:
            return "a device";
        case Kind::Pipe:
            return "a pipe";
        default:
            return "not a regular file";
    }
}

Kind kindOfOpen(HANDLE file) {
    switch (GetFileType(file)) {
        case FILE_TYPE_DISK: {
            BY_HANDLE_FILE_INFORMATION info{};
            if (!GetFileInformationByHandle(file, &info)) return Kind::Failed;
            return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Folder
                                                                           : Kind::Regular;
        }
        case FILE_TYPE_PIPE:
            return Kind::Pipe;
        default:
            return Kind::Device;  // a console, NUL, a port
    }
}

// What is at `path`, following links, without reading or blocking on it.
Kind kindAt(const std::string& path, DWORD& error) {
    // No access asked: enough to tell the kind, and it opens folders and devices alike.
    HANDLE file =
        CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return isMissing(error) ? Kind::Missing : Kind::Failed;
    }
    const Kind kind = kindOfOpen(file);
    error = GetLastError();
    CloseHandle(file);
    return kind;
}

// Makes every missing folder of `folder`. They inherit the permissions of %APPDATA%, which is
// the player's own.
bool makeFolders(const std::string& folder, std::string& why) {
    std::size_t start = 0;
    // A drive ("C:\") or a share ("\\server\share\") is not made.
    if (folder.size() >= 2 && folder[1] == ':') start = 3;
    if (folder.size() >= 2 && isSeparator(folder[0]) && isSeparator(folder[1])) {
        const std::size_t server = folder.find_first_of("\\/", 2);
        const std::size_t share =
            server == std::string::npos ? server : folder.find_first_of("\\/", server + 1);
        start = share == std::string::npos ? folder.size() : share + 1;
    }
    while (start <= folder.size()) {
        std::size_t at = folder.find_first_of("\\/", start);
        if (at == std::string::npos) at = folder.size();
        const std::string partial = folder.substr(0, at);
        start = at + 1;
        if (partial.empty() || isSeparator(partial.back())) continue;
        if (!CreateDirectoryW(wide(partial).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            why = systemError("cannot create", partial);
            return false;
        }
    }
    DWORD error = 0;
    if (kindAt(folder, error) != Kind::Folder) {
        why = systemError("cannot create", folder, ERROR_DIRECTORY);
        return false;
    }
    return true;
}

std::string temporaryName(const std::string& target) {
    static uint64_t state = 0;
    if (state == 0) {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        state = (static_cast<uint64_t>(now.QuadPart) << 20) ^ GetTickCount64() ^
                (static_cast<uint64_t>(GetCurrentProcessId()) << 40) ^ 0x9e3779b97f4a7c15u;
    }
    return filesteps::temporaryName(target, state);
}

bool writeAll(HANDLE file, const std::string& contents) {
    std::size_t done = 0;
    while (done < contents.size()) {
        const std::size_t left = contents.size() - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, contents.data() + done, chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += written;
    }
    return true;
}

// Another program looking at the old file (a virus scanner, an indexer) can hold it open for
// a moment, which refuses the rename; a few short retries outlast it.
bool moveOver(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        if (attempt == 9 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
            return false;
        }
        Sleep(20);
    }
}

}  // namespace

std::string executableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // cut short: a longer path than MAX_PATH
    }
    const std::size_t at = path.find_last_of(L"\\/");
    return at == std::wstring::npos ? std::string() : utf8(path.substr(0, at + 1));
}

std::string playerFolder(PlayerFolder, std::string& why) {
    // Settings and scores share the one roaming folder, as Windows programs keep them. The
    // environment's APPDATA comes first, as a shell or a test sets it; the known folder
    // otherwise.
    std::wstring base(MAX_PATH, L'\0');
    DWORD length = GetEnvironmentVariableW(L"APPDATA", base.data(), MAX_PATH);
    if (length >= MAX_PATH) {
        base.resize(length);
        length = GetEnvironmentVariableW(L"APPDATA", base.data(), length);
    }
    base.resize(length < base.size() ? length : 0);
    const bool absolute =
        base.size() >= 3 && base[1] == L':' && (base[2] == L'\\' || base[2] == L'/');
    const bool share = base.size() >= 3 && base[0] == L'\\' && base[1] == L'\\';
    if (!absolute && !share) {
        wchar_t* known = nullptr;
        const HRESULT result =
            SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &known);
        base = SUCCEEDED(result) && known != nullptr ? std::wstring(known) : std::wstring();
        CoTaskMemFree(known);
        if (base.empty()) {
            why = "Windows names no application data folder";
            return {};
        }
    }
    if (base.back() != L'\\' && base.back() != L'/') base += L'\\';
    return utf8(base) + "voxmere\\";
}

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& contents,
                         std::string& why) {
    contents.clear();
    // A folder, a pipe or a device is told apart before it is opened for reading, which could
    // wait on a pipe or a console.
    DWORD error = 0;
    const Kind kind = kindAt(path, error);
    if (kind == Kind::Missing) return FileRead::Missing;
    if (kind == Kind::Failed) {
        why = systemError("cannot open", path, error);
        return FileRead::Failed;
    }
    if (kind != Kind::Regular) {
        why = path + " is " + kindText(kind);
        return FileRead::NotRegular;
    }
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (isMissing(GetLastError())) return FileRead::Missing;  // removed in between
        why = systemError("cannot open", path);
        return FileRead::Failed;
    }
    if (kindOfOpen(file) != Kind::Regular) {  // swapped in between
        why = path + " is not a regular file";
        CloseHandle(file);
        return FileRead::NotRegular;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        why = systemError("cannot read", path);
        CloseHandle(file);
        return FileRead::Failed;
    }
    if (static_cast<uint64_t>(size.QuadPart) > maxBytes) {
        CloseHandle(file);
        return FileRead::TooLarge;
    }
    contents.reserve(static_cast<std::size_t>(size.QuadPart));
    const FileRead result =
        filesteps::readCapped(maxBytes, contents, [&](char* buffer, std::size_t size) {
            DWORD got = 0;
            if (!ReadFile(file, buffer, static_cast<DWORD>(size), &got, nullptr)) return -1LL;
            return static_cast<long long>(got);
        });
    if (result == FileRead::Failed) why = systemError("cannot read", path);
    CloseHandle(file);
    return result;
}

std::string linkTarget(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    // Windows follows the whole chain itself; a link that points nowhere stays itself.
    HANDLE file =
        CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;
    std::wstring target(MAX_PATH, L'\0');
    const auto finalPath = [&] {
        return GetFinalPathNameByHandleW(file, target.data(), static_cast<DWORD>(target.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    };
    DWORD length = finalPath();
    if (length >= target.size()) {  // too long for the buffer: the length it needs
        target.resize(length);
        length = finalPath();
    }
    CloseHandle(file);
    if (length == 0 || length >= target.size()) return path;
    target.resize(length);
    // \\?\C:\... or \\?\UNC\server\share\...
    if (target.compare(0, 8, L"\\\\?\\UNC\\") == 0) return "\\\\" + utf8(target.substr(8));
    if (target.compare(0, 4, L"\\\\?\\") == 0) return utf8(target.substr(4));
    return utf8(target);
}

bool replaceFile(const std::string& path, const std::string& contents, std::string& why) {
    const std::string target = linkTarget(path);
    const std::wstring wideTarget = wide(target);
    DWORD error = 0;
    const Kind kind = kindAt(target, error);
    if (kind == Kind::Failed) {
        why = systemError("cannot look at", target, error);
        return false;
    }
    if (kind != Kind::Missing && kind != Kind::Regular) {
        why = target + " is " + kindText(kind) + ", not replaced";
        return false;
    }
    // The old file's attributes carry over. A read-only file cannot be renamed over, so it
    // loses the flag just before and gets it back, new, from the temporary file.
    const DWORD kept = kind == Kind::Regular ? GetFileAttributesW(wideTarget.c_str()) : 0;
    const DWORD keptFlags = kept == INVALID_FILE_ATTRIBUTES
                                ? 0
                                : kept & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);

    std::string temporary;
    std::wstring wideTemporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryName(target);
        wideTemporary = wide(temporary);
        file = CreateFileW(wideTemporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();  // before folderOf can allocate
        why = systemError("cannot create a file in", folderOf(target), error);
        return false;
    }
    bool written = writeAll(file, contents);
    if (!written) why = systemError("cannot write", temporary);
    if (written && !FlushFileBuffers(file)) {
        written = false;
        why = systemError("cannot flush", temporary);
    }
    if (!CloseHandle(file) && written) {
        written = false;
        why = systemError("cannot close", temporary);
    }
    if (written && keptFlags != 0 &&
        !SetFileAttributesW(wideTemporary.c_str(), keptFlags | FILE_ATTRIBUTE_ARCHIVE)) {
        written = false;
        why = systemError("cannot set the attributes of", temporary);
    }
    const bool unlocked = written && (keptFlags & FILE_ATTRIBUTE_READONLY) != 0 &&
                          SetFileAttributesW(wideTarget.c_str(), kept & ~FILE_ATTRIBUTE_READONLY);
    if (written && !moveOver(wideTemporary, wideTarget)) {
        written = false;
        why = systemError("cannot rename over", target);
        if (unlocked) SetFileAttributesW(wideTarget.c_str(), kept);
    }
    if (!written) {
        SetFileAttributesW(wideTemporary.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(wideTemporary.c_str());
        return false;
    }
    return true;
}

int removeLeftoverTemporaryFiles(const std::string& path) {
    const std::string target = linkTarget(path);
    const std::string folder = folderOf(target);
    const std::string name = nameOf(target);
    WIN32_FIND_DATAW entry{};
    HANDLE listing = FindFirstFileW(wide(folder + "\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return 0;
    int removed = 0;
    do {
        const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((entry.dwFileAttributes & notPlain) != 0 ||
            !filesteps::isTemporaryOf(utf8(entry.cFileName), name)) {
            continue;
        }
        const std::wstring leftover = wide(folder) + L"\\" + entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        if (DeleteFileW(leftover.c_str())) ++removed;
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return removed;
}

Rename renameWithoutReplacing(const std::string& from, const std::string& to, std::string& why) {
    // Without MOVEFILE_REPLACE_EXISTING the rename refuses a name that is taken.
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
        return Rename::Done;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return Rename::NameTaken;
    why = systemError("cannot rename", from, error);
    return Rename::Failed;
}

bool FileLock::acquire(const std::string& path, bool createFolder, std::string& why) {
    release();
    why.clear();
    if (createFolder && !makeFolders(folderOf(path), why)) return false;
    const std::string lockPath = path + ".lock";
    // Read access is enough for LockFileEx; others may open and remove the file meanwhile.
    HANDLE file = CreateFileW(wide(lockPath).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_PATH_NOT_FOUND || createFolder) {
            why = systemError("cannot open", lockPath, error);
        }
        return false;
    }
    const Kind kind = kindOfOpen(file);
    if (kind != Kind::Regular) {
        why = lockPath + " is " + kindText(kind);
        CloseHandle(file);
        return false;
    }
    // The whole file, however long: waits while another process holds it.
    OVERLAPPED whole{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        why = systemError("cannot lock", lockPath);
        CloseHandle(file);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

void FileLock::release() {
    if (handle_ == kNone) return;
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    // Unlocked at once: closing alone frees the lock only when Windows gets round to it.
    OVERLAPPED whole{};
    UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(file);
    handle_ = kNone;
}

}  // namespace platform
