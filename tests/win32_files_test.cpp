// The player's files as Windows has them: %APPDATA% under a name with a non-ASCII letter,
// read-only files, devices and folders in a file's place, and the lock as another program sees
// it. Built for Windows only; the suite runs it under Wine.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/gamepad.h"
#include "support/scratch_folder.h"

namespace {

std::wstring wideOf(const std::string& utf8) {
    std::wstring out(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                           out.data(), static_cast<int>(out.size()));
    out.resize(length > 0 ? length : 0);
    return out;
}

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesW(wideOf(path).c_str());
}

int temporaryFilesIn(const std::string& folder) {
    WIN32_FIND_DATAW entry{};
    HANDLE listing = FindFirstFileW(wideOf(folder + "*.tmp").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do ++count;
    while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return count;
}

std::string contentsOf(const std::string& path) {
    std::string contents, why;
    platform::readRegularFile(path, 1 << 20, contents, why);
    return contents;
}

struct Win32Files : ::testing::Test {
    testsupport::ScratchFolder scratch;
    std::string folder;  // the player's folder, made by the lock
    platform::FileLock lock;
    std::string why;
    std::wstring appDataBefore = std::wstring(MAX_PATH, L'\0');

    void SetUp() override {
        appDataBefore.resize(GetEnvironmentVariableW(L"APPDATA", appDataBefore.data(), MAX_PATH));
        const std::u8string base = scratch.path.u8string();
        const std::string appData =
            std::string(reinterpret_cast<const char*>(base.data()), base.size()) + "\\Zo\xC3\xAB";
        SetEnvironmentVariableW(L"APPDATA", wideOf(appData).c_str());
        folder = platform::playerFolder(platform::PlayerFolder::Config, why);
        ASSERT_EQ(folder, appData + "\\voxmere\\");
        ASSERT_TRUE(lock.acquire(folder + "scores", true, why)) << why;
    }
    void TearDown() override {
        lock.release();
        SetEnvironmentVariableW(L"APPDATA",
                                appDataBefore.empty() ? nullptr : appDataBefore.c_str());
    }
};

TEST_F(Win32Files, ScoresAndSettingsShareTheAppDataFolderWhateverItsLetters) {
    EXPECT_EQ(platform::playerFolder(platform::PlayerFolder::Data, why), folder);
    EXPECT_NE(GetFileAttributesW((scratch.path / L"Zo\u00EB\\voxmere").c_str()),
              INVALID_FILE_ATTRIBUTES);
    const std::string scores = folder + "scores";
    for (const char* text : {"first\r\n", "a longer second\r\n", ""}) {
        ASSERT_TRUE(platform::replaceFile(scores, text, why)) << why;
        EXPECT_EQ(contentsOf(scores), text);
    }
    EXPECT_EQ(temporaryFilesIn(folder), 0);

    // A relative APPDATA would name another folder once the game changes into its data folder.
    SetEnvironmentVariableW(L"APPDATA", L"AppData");
    const std::string roaming = platform::playerFolder(platform::PlayerFolder::Data, why);
    EXPECT_EQ(roaming.substr(1, 2), ":\\");
    EXPECT_EQ(roaming.substr(roaming.size() - 9), "\\voxmere\\");
}

// Windows sets no HOME or XDG folders of its own: the player's pad mappings live with the
// settings, whatever the environment brought from elsewhere.
TEST_F(Win32Files, ThePadMappingsFileSitsBesideTheSettings) {
    const char* names[] = {"HOME", "XDG_CONFIG_HOME"};
    std::string before[2];
    for (int i = 0; i < 2; ++i) {
        const char* value = std::getenv(names[i]);
        before[i] = value != nullptr ? value : "";
    }
    // _putenv_s sets both the C library's copy and the process's, as a shell would.
    _putenv_s("HOME", "/home/player");
    _putenv_s("XDG_CONFIG_HOME", "/home/player/.config");
    const std::string mappings = platform::gamepadMappingFile();
    for (int i = 0; i < 2; ++i) _putenv_s(names[i], before[i].c_str());
    EXPECT_EQ(mappings, folder + "gamecontrollerdb.txt");
}

TEST_F(Win32Files, AReadOnlyFileIsReplacedAndStaysReadOnly) {
    const std::string settings = folder + "settings";
    ASSERT_TRUE(platform::replaceFile(settings, "old", why));
    SetFileAttributesW(wideOf(settings).c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(platform::replaceFile(settings, "new", why)) << why;
    EXPECT_EQ(contentsOf(settings), "new");
    EXPECT_NE(attributesOf(settings) & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesW(wideOf(settings).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32Files, TheLockHoldsOffAnyOtherOpeningOfTheLockFileUntilReleased) {
    HANDLE other = CreateFileW(wideOf(folder + "scores.lock").c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    OVERLAPPED whole{};
    const DWORD now = LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY;
    EXPECT_FALSE(LockFileEx(other, now, 0, MAXDWORD, MAXDWORD, &whole));
    lock.release();
    EXPECT_TRUE(LockFileEx(other, now, 0, MAXDWORD, MAXDWORD, &whole));
    CloseHandle(other);
}

TEST_F(Win32Files, WhatIsNoRegularFileIsNeitherReadNorReplaced) {
    const std::string taken = folder + "settings";
    ASSERT_TRUE(CreateDirectoryW(wideOf(taken).c_str(), nullptr));
    std::string contents;
    EXPECT_EQ(platform::readRegularFile(taken, 100, contents, why), platform::FileRead::NotRegular);
    EXPECT_EQ(why, taken + " is a folder");
    EXPECT_FALSE(platform::replaceFile(taken, "x", why));
    EXPECT_NE(attributesOf(taken) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(platform::readRegularFile("NUL", 100, contents, why), platform::FileRead::NotRegular);
    EXPECT_EQ(temporaryFilesIn(folder), 0);

    ASSERT_TRUE(platform::replaceFile(folder + "scores", std::string(101, 's'), why));
    EXPECT_EQ(platform::readRegularFile(folder + "scores", 100, contents, why),
              platform::FileRead::TooLarge);
    EXPECT_TRUE(contents.empty());
}

TEST_F(Win32Files, AFileMovedAsideNeverReplacesOneKeptBefore) {
    const std::string scores = folder + "scores";
    ASSERT_TRUE(platform::replaceFile(scores, "kept", why));
    ASSERT_EQ(platform::renameWithoutReplacing(scores, scores + ".bad", why),
              platform::Rename::Done);
    ASSERT_TRUE(platform::replaceFile(scores, "damaged too", why));
    EXPECT_EQ(platform::renameWithoutReplacing(scores, scores + ".bad", why),
              platform::Rename::NameTaken);
    EXPECT_EQ(contentsOf(scores + ".bad"), "kept");
    EXPECT_EQ(contentsOf(scores), "damaged too");
}

}  // namespace

#endif  // _WIN32
