#include "app/data_folder.h"

#include <cstdio>

#include "platform/files.h"

#ifndef VOXMERE_INSTALLED_DATA_DIR
#define VOXMERE_INSTALLED_DATA_DIR "/usr/local/share/voxmere"
#endif
#ifndef VOXMERE_DATA_DIR_FROM_BIN
#define VOXMERE_DATA_DIR_FROM_BIN "../share/voxmere"
#endif

namespace {

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

}  // namespace

std::vector<std::string> dataFolderCandidates(const std::string& executableFolder) {
    // Windows has no installed data folder: the data sits beside the executable.
    std::vector<std::string> folders{"."};
    if (*VOXMERE_INSTALLED_DATA_DIR != '\0') folders.push_back(VOXMERE_INSTALLED_DATA_DIR);
    if (!executableFolder.empty()) {
        folders.push_back(executableFolder);
        if (*VOXMERE_DATA_DIR_FROM_BIN != '\0') {
            folders.push_back(withSlash(executableFolder) + VOXMERE_DATA_DIR_FROM_BIN);
        }
    }
    return folders;
}

bool holdsGameData(const std::string& folder) {
    const std::string root = withSlash(folder);
    return platform::isFolder(root + "Textures") || platform::isFolder(root + "Sounds");
}

std::string enterDataFolder(const std::string& executableFolder) {
    const std::vector<std::string> folders = dataFolderCandidates(executableFolder);
    for (const std::string& folder : folders) {
        if (!holdsGameData(folder)) continue;
        if (folder == ".") return folder;
        if (platform::changeFolder(folder)) {
            std::fprintf(stderr, "voxmere: game data from %s\n", folder.c_str());
            return folder;
        }
    }
    std::fprintf(stderr, "voxmere: no Textures/ and Sounds/ found; looked in:\n");
    for (const std::string& folder : folders) {
        const std::string shown =
            folder == "." ? platform::workingFolder() + " (working directory)" : folder;
        std::fprintf(stderr, "  %s\n", shown.c_str());
    }
    return "";
}
