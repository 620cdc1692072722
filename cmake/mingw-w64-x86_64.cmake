# Cross-compiles for 64-bit Windows with Debian's mingw-w64. The posix thread variant, because
# GoogleTest and the game's tests use std::thread and std::mutex; the C and C++ runtimes and
# winpthread are linked in statically, so SDL2.dll is the only DLL shipped beside the game.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VOXMERE_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VOXMERE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOXMERE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VOXMERE_MINGW_TRIPLET}-windres)

# Libraries and headers of the target only from the mingw sysroot and the prefixes the build
# names (SDL2's), programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VOXMERE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
# Tests and helpers run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
