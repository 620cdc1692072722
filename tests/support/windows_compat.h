// Included before every test file of the Windows build: the POSIX environment calls the tests
// use, on the C runtime's own, and windows.h (which gl.h includes there) read once up front
// so that its `near` and `far` leave the tests' own names alone.
#pragma once

#ifdef _WIN32
#include <stdlib.h>
#include <windows.h>
#undef near
#undef far

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && getenv(name) != nullptr) return 0;
    return _putenv_s(name, value);
}
inline int unsetenv(const char* name) {
    return _putenv_s(name, "");
}
#endif
