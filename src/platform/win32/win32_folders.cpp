#include <windows.h>

#include "platform/files.h"
#include "platform/win32/win32_text.h"

namespace platform {

namespace win32 {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), length);
    return out;
}

std::string utf8(const wchar_t* wide, int length) {
    if (wide == nullptr) return {};
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), bytes, nullptr, nullptr);
    // A length of -1 counts the terminating zero too.
    if (length < 0 && !out.empty()) out.pop_back();
    return out;
}

}  // namespace win32

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(win32::wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool changeFolder(const std::string& path) {
    return SetCurrentDirectoryW(win32::wide(path).c_str()) != 0;
}

std::string workingFolder() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0) return {};
    std::wstring buffer(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, buffer.data());
    return written == 0 || written >= length ? std::string()
                                             : win32::utf8(buffer.data(), static_cast<int>(written));
}

}  // namespace platform
