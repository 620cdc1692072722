// UTF-8 inside the game, UTF-16 at the Windows calls. Not for game code.
#pragma once

#include <string>

namespace platform::win32 {

std::wstring wide(const std::string& utf8);
std::string utf8(const wchar_t* wide, int length = -1);

}  // namespace platform::win32
