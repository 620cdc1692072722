#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/win32/win32_text.h"

namespace platform {
namespace {

bool hasHandle(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// A GUI program gets no console. Started from one, it has no standard handles unless the shell
// redirected them; then it writes to the console it was started from.
void reachConsole() {
    const bool out = hasHandle(STD_OUTPUT_HANDLE);
    const bool err = hasHandle(STD_ERROR_HANDLE);
    if (out && err) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!out) std::freopen("CONOUT$", "w", stdout);
    if (!err) std::freopen("CONOUT$", "w", stderr);
    // The console shows lines as they come, as a terminal does.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
}

}  // namespace

void startProcess(int& argc, char**& argv) {
    reachConsole();
    int count = 0;
    wchar_t** wideArgs = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wideArgs == nullptr) return;
    // Kept for the whole run: argv points into it.
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    arguments.clear();
    for (int i = 0; i < count; ++i) arguments.push_back(win32::utf8(wideArgs[i]));
    LocalFree(wideArgs);
    pointers.clear();
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    argc = count;
    argv = pointers.data();
}

}  // namespace platform
