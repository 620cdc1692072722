// Preloaded into a game (LD_PRELOAD) by scripts/play-ratio.sh: counts the frames it shows,
// one per SDL_GL_SwapWindow, and keeps the count in the 8-byte file named by
// SWAP_COUNT_FILE, rewritten after every swap so that a reader sees it while the game runs.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

typedef void (*SwapWindow)(void*);

void SDL_GL_SwapWindow(void* window) {
    static SwapWindow real;
    static int file = -2;
    static uint64_t swaps;
    if (real == NULL) real = (SwapWindow)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    if (file == -2) {
        const char* path = getenv("SWAP_COUNT_FILE");
        file = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
    }
    real(window);
    ++swaps;
    if (file >= 0) (void)!pwrite(file, &swaps, sizeof swaps, 0);
}
