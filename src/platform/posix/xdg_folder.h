// The XDG base directory rules for the player's folders, apart from the environment so that they
// can be tested.
#pragma once

#include <string>

namespace platform {

// <xdg>/voxmere/ when `xdg` is an absolute path, else <home>/<homeFallback>/voxmere/: the rules
// ignore a relative path, which would name one folder before the game changes into its data
// folder and another after. Empty when `home` is null or empty too.
std::string xdgPlayerFolder(const char* xdg, const char* home, const char* homeFallback);

}  // namespace platform
