// A fatal error ends the program only after handing back what it holds. The sound device is
// the one a test can watch: OpenAL Soft's wave-file backend completes its file's header only
// when the device is closed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/sound_bank.h"
#include "assets/texture_loader.h"
#include "sound_test_files.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

// The RIFF size field of a finished WAV file is the file's length less 8.
bool isFinishedWav(const fs::path& path) {
    const std::vector<uint8_t> b = testfiles::readAll(path);
    return b.size() >= 8 &&
           (b[4] | b[5] << 8 | b[6] << 16 | static_cast<uint32_t>(b[7]) << 24) + 8 == b.size();
}

TEST(FatalError, ABadTextureClosesTheSoundDeviceBeforeExiting) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const testsupport::ScratchFolder scratch(fs::temp_directory_path() /
                                             ("voxmere-fatal-" + std::to_string(getuid())));
    const fs::path& dir = scratch.path;
    const fs::path recording = dir / "heard.wav";
    fs::create_directories(dir / "Sounds");
    fs::create_directories(dir / "Textures");
    // The first title page, of a size no image has.
    testsupport::writeText((dir / kTextureFiles[TextureFileMainPage]).string(), "short");

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
        testing::ExitedWithCode(1),
        std::string("File size error         : Texture file : ") +
            kTextureFiles[TextureFileMainPage] + "\n\ninvalide size");
    EXPECT_TRUE(isFinishedWav(recording)) << "the sound device was left open";
}

}  // namespace
