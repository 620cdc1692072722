// The yardstick for the game's start-up: the least an SDL2 program does to show the game's
// window. It opens the same full-screen 640 x 480 GL window the game opens (same video hint,
// mode request, GL attributes, hidden creation, mode switch, context, show and raise), clears
// it, swaps once, logs the swap as the game logs its first title frame, and exits.
//   voxmere_minimal_window [--renderer]   (--renderer prints GL_RENDERER and GL_VERSION)
#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "app/frame_log.h"

namespace {

int failWith(const char* step) {
    std::fprintf(stderr, "voxmere_minimal_window: %s: %s\n", step, SDL_GetError());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool printRenderer = argc > 1 && std::strcmp(argv[1], "--renderer") == 0;
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return failWith("SDL_Init");
    SDL_DisplayMode wanted{};
    wanted.w = 640;
    wanted.h = 480;
    SDL_DisplayMode mode{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &mode) == nullptr) return failWith("display mode");
    // The game asks for 16 bits of colour.
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_Window* window =
        SDL_CreateWindow("Voxmere", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) return failWith("window");
    if (SDL_SetWindowDisplayMode(window, &mode) != 0 ||
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
        return failWith("full screen");
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr || SDL_GL_MakeCurrent(window, context) != 0) {
        return failWith("GL context");
    }
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    glViewport(0, 0, 640, 480);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    markFrame(FrameMark::FirstTitleFrame);
    if (printRenderer) {
        std::printf("%s\n%s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                    reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
