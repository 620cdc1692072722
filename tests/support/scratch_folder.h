// A fresh folder under the system's temporary folder for one test, removed with everything in
// it when the test ends; a whole text file read or written in one call; and a FILE* that
// collects what a module says on standard error.
#pragma once

#include <stdlib.h>
#ifdef _WIN32
#include <process.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testsupport {

struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
#ifdef _WIN32
        // No mkdtemp: the first free name of a counter, made by the one process that made it.
        static unsigned next = 0;
        std::error_code error;
        do {
            path = std::filesystem::temp_directory_path() /
                   ("voxmere-test-" + std::to_string(_getpid()) + "-" + std::to_string(next++));
        } while (!std::filesystem::create_directory(path, error) && next < 100000);
#else
        std::string pattern =
            (std::filesystem::temp_directory_path() / "voxmere-test-XXXXXX").string();
        path = mkdtemp(pattern.data());
#endif
    }
    // A folder at a fixed place, made afresh: for a death test, whose child runs the test again
    // from its start and must write where the parent looks.
    explicit ScratchFolder(const std::filesystem::path& fixed) : path(fixed) {
        remove(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { remove(path); }
    // Also for a child process, which ends without running the destructor.
    static void remove(const std::filesystem::path& folder) {
        std::error_code ignored;
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder, ignored);
    }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// A file that cannot be opened reads as empty, which every comparison then reports.
inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Text written to `file`, readable at any time through text().
#ifdef _WIN32
// No open_memstream: a temporary file, read back whole.
struct CapturedStream {
    std::FILE* file = std::tmpfile();
    ~CapturedStream() { std::fclose(file); }
    std::string text() {
        std::fflush(file);
        const long end = std::ftell(file);
        std::string out(static_cast<std::size_t>(end > 0 ? end : 0), '\0');
        std::rewind(file);
        out.resize(std::fread(out.data(), 1, out.size(), file));
        std::fseek(file, 0, SEEK_END);
        return out;
    }
};
#else
struct CapturedStream {
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* file = open_memstream(&buffer, &length);
    ~CapturedStream() {
        std::fclose(file);
        std::free(buffer);
    }
    std::string text() {
        std::fflush(file);
        return std::string(buffer, length);
    }
};
#endif

}  // namespace testsupport
