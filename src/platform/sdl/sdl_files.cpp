#include <SDL.h>

#include "platform/files.h"

namespace platform {

std::string executableFolder() {
    // Works before SDL_Init.
    char* base = SDL_GetBasePath();
    if (base == nullptr) return "";
    std::string folder(base);
    SDL_free(base);
    return folder;
}

}  // namespace platform
