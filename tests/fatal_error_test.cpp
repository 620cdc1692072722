// A fatal error ends the program only after handing back what it holds. The sound device is
// the one a test can watch: OpenAL Soft's wave-file backend completes its file's header only
// when the device is closed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/sound_bank.h"
#include "assets/texture_loader.h"
#include "sound_test_files.h"

namespace fs = std::filesystem;

namespace {

// The RIFF size field of a finished WAV file is the file's length less 8.
bool isFinishedWav(const fs::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    uint8_t header[8] = {};
    const bool read = std::fread(header, 1, 8, file) == 8;
    std::fclose(file);
    const uint32_t riffSize =
        header[4] | header[5] << 8 | header[6] << 16 | static_cast<uint32_t>(header[7]) << 24;
    return read && riffSize + 8 == fs::file_size(path);
}

TEST(FatalError, MissingTextureClosesTheSoundDeviceBeforeExiting) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // A fixed folder: the death test's child re-runs this test and must write where the
    // parent looks.
    const fs::path dir = fs::temp_directory_path() / ("voxmere-fatal-" + std::to_string(getuid()));
    const fs::path recording = dir / "heard.wav";
    fs::remove_all(dir);
    fs::create_directories(dir / "Sounds");
    fs::create_directories(dir / "Textures");  // empty: the first title page is missing

    EXPECT_EXIT(
        {
            fs::current_path(dir);
            const std::string config =
                "[general]\ndrivers = wave\n[wave]\nfile = " + recording.string() + "\n";
            soundtest::writeFile("alsoft.conf", std::vector<uint8_t>(config.begin(), config.end()));
            setenv("ALSOFT_CONF", (dir / "alsoft.conf").c_str(), 1);
            setenv("ALSOFT_DRIVERS", "wave", 1);
            soundtest::writeAllSounds();
            if (!initSound() || !loadSounds()) std::_Exit(3);
            playSound(SoundLoop1, 0, 0, 0, SoundPlayLooping);
            loadTitleTextures();
        },
        testing::ExitedWithCode(1), "Texture Loader Error");
    EXPECT_TRUE(isFinishedWav(recording)) << "the sound device was left open";
    fs::remove_all(dir);
}

}  // namespace
