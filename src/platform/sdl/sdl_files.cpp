#include <SDL.h>

#include "platform/files.h"

namespace platform {

// On Windows the executable's folder comes from platform/win32/ with the other file calls.
#ifndef _WIN32
std::string executableFolder() {
    // Works before SDL_Init.
    char* base = SDL_GetBasePath();
    if (base == nullptr) return "";
    std::string folder(base);
    SDL_free(base);
    return folder;
}
#endif

}  // namespace platform
