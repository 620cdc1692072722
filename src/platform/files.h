// Where the running program lives, for finding its data beside it.
#pragma once

#include <string>

namespace platform {

// The folder holding the executable, ending in '/'; empty when it cannot be told.
std::string executableFolder();

}  // namespace platform
