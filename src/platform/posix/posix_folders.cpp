#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "platform/files.h"

namespace platform {

bool isFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool changeFolder(const std::string& path) {
    return chdir(path.c_str()) == 0;
}

std::string workingFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

}  // namespace platform
