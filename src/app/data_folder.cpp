#include "app/data_folder.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#ifndef VOXMERE_INSTALLED_DATA_DIR
#define VOXMERE_INSTALLED_DATA_DIR "/usr/local/share/voxmere"
#endif
#ifndef VOXMERE_DATA_DIR_FROM_BIN
#define VOXMERE_DATA_DIR_FROM_BIN "../share/voxmere"
#endif

namespace {

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

std::vector<std::string> dataFolderCandidates(const std::string& executableFolder) {
    std::vector<std::string> folders{".", VOXMERE_INSTALLED_DATA_DIR};
    if (!executableFolder.empty()) {
        folders.push_back(executableFolder);
        folders.push_back(withSlash(executableFolder) + VOXMERE_DATA_DIR_FROM_BIN);
    }
    return folders;
}

bool holdsGameData(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path root(folder);
    return std::filesystem::is_directory(root / "Textures", error) ||
           std::filesystem::is_directory(root / "Sounds", error);
}

std::string enterDataFolder(const std::string& executableFolder) {
    const std::vector<std::string> folders = dataFolderCandidates(executableFolder);
    for (const std::string& folder : folders) {
        if (!holdsGameData(folder)) continue;
        if (folder == ".") return folder;
        if (chdir(folder.c_str()) == 0) {
            std::fprintf(stderr, "voxmere: game data from %s\n", folder.c_str());
            return folder;
        }
    }
    std::fprintf(stderr, "voxmere: no Textures/ and Sounds/ found; looked in:\n");
    for (const std::string& folder : folders) {
        std::error_code error;
        const std::string shown =
            folder == "." ? std::filesystem::current_path(error).string() + " (working directory)"
                          : folder;
        std::fprintf(stderr, "  %s\n", shown.c_str());
    }
    return "";
}
