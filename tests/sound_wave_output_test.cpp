#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assets/sound_bank.h"
#include "platform/events.h"
#include "sound_test_files.h"
#include "support/fresh_process.h"

namespace {

// OpenAL Soft's wave-file backend records everything the listener hears into a stereo WAV
// file, written out when the device closes. The library reads its backend once per process,
// so each test's body runs in a fresh process. On Windows under Wine the recording is ALSA's:
// its default device pointed at a file (type file, format raw) receives the mix as 32-bit
// float stereo frames, from the latest opening of the device on; VOXMERE_SOUND_RECORDING names
// that file as Windows sees it (Z:\...). Without it the tests are skipped there.
struct HeardSound {
    double left = 0.0;  // energy per channel
    double right = 0.0;
    int frames = 0;
};

struct WaveOutputTest : ::testing::Test {
    soundtest::ScratchDir dir;
    std::string recording;

#ifdef _WIN32
    void SetUp() override {
        if (std::getenv("VOXMERE_SOUND_RECORDING") == nullptr) {
            GTEST_SKIP() << "VOXMERE_SOUND_RECORDING names no file ALSA records into";
        }
    }
#endif

    // Chooses the wave backend and starts the game's sound; only inside inFreshProcess.
    void start() {
#ifdef _WIN32
        recording = std::getenv("VOXMERE_SOUND_RECORDING");
#else
        recording = (dir.path() / "heard.wav").string();
        const std::string config = (dir.path() / "alsoft.conf").string();
        const std::string text =
            "[general]\ndrivers = wave\nsample-type = int16\ndither = false\n"
            "[wave]\nfile = " +
            recording + "\n";
        soundtest::writeFile(config, std::vector<uint8_t>(text.begin(), text.end()));
        setenv("ALSOFT_CONF", config.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
#endif
        soundtest::writeAllSounds();
        ASSERT_TRUE(initSound());
        ASSERT_TRUE(soundBank.soundEnabled);
        ASSERT_TRUE(loadSounds());
    }
    void TearDown() override { releaseSound(); }

    // Plays the 0.5 s power-up sound once at a position and waits for it to end.
    void playToTheEnd(float x, float y, float z) {
        ASSERT_TRUE(playSound(SoundPowerUp, x, y, z, SoundPlayOnce));
        ASSERT_TRUE(soundtest::waitUntil([] { return !isSoundPlaying(SoundPowerUp); }));
    }

    // Closes the device and measures what was recorded.
    HeardSound heard() {
        releaseSound();
        HeardSound result;
        std::FILE* file = std::fopen(recording.c_str(), "rb");
        if (file == nullptr) return result;
        std::vector<uint8_t> bytes;
        uint8_t chunk[4096];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
        std::fclose(file);
#ifdef _WIN32
        for (size_t at = 0; at + 8 <= bytes.size(); at += 8) {
            float l, r;
            std::memcpy(&l, &bytes[at], 4);
            std::memcpy(&r, &bytes[at + 4], 4);
            result.left += static_cast<double>(l) * l;
            result.right += static_cast<double>(r) * r;
            ++result.frames;
        }
        return result;
#endif
        auto u32 = [&](size_t at) {
            return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
        };
        // Walk the chunks: the backend writes an extensible format chunk before the data.
        int channels = 0;
        int bits = 0;
        for (size_t at = 12; at + 8 <= bytes.size();) {
            const std::string id(bytes.begin() + at, bytes.begin() + at + 4);
            const size_t size = u32(at + 4);
            if (id == "fmt " && at + 24 <= bytes.size()) {
                channels = bytes[at + 10] | bytes[at + 11] << 8;
                bits = bytes[at + 22] | bytes[at + 23] << 8;
            } else if (id == "data") {
                EXPECT_EQ(channels, 2);
                EXPECT_EQ(bits, 16);
                const size_t end = std::min(bytes.size(), at + 8 + size);
                for (size_t s = at + 8; s + 4 <= end; s += 4) {
                    const auto l = static_cast<int16_t>(bytes[s] | bytes[s + 1] << 8);
                    const auto r = static_cast<int16_t>(bytes[s + 2] | bytes[s + 3] << 8);
                    result.left += static_cast<double>(l) * l;
                    result.right += static_cast<double>(r) * r;
                    ++result.frames;
                }
                break;
            }
            at += 8 + size + (size & 1);
        }
        return result;
    }
};

TEST_F(WaveOutputTest, SourceAtNegativeZIsHeardOnTheRight) {
    testsupport::inFreshProcess([&] {
        start();
        playToTheEnd(0.0f, 0.0f, -10.0f);
        const HeardSound sound = heard();
        ASSERT_GT(sound.frames, 0);
        EXPECT_GT(sound.right, 0.0);
        EXPECT_GT(sound.right, 10.0 * sound.left) << sound.left << " vs " << sound.right;
    });
}

TEST_F(WaveOutputTest, SourceAtPositiveZIsHeardOnTheLeft) {
    testsupport::inFreshProcess([&] {
        start();
        playToTheEnd(0.0f, 0.0f, 10.0f);
        const HeardSound sound = heard();
        EXPECT_GT(sound.left, 0.0);
        EXPECT_GT(sound.left, 10.0 * sound.right) << sound.left << " vs " << sound.right;
    });
}

TEST_F(WaveOutputTest, SourceAheadIsHeardOnBothSidesAlike) {
    testsupport::inFreshProcess([&] {
        start();
        playToTheEnd(10.0f, 0.0f, 0.0f);
        const HeardSound sound = heard();
        EXPECT_GT(sound.left, 0.0);
        EXPECT_NEAR(sound.left / sound.right, 1.0, 0.05);
    });
}

TEST_F(WaveOutputTest, DistanceFadesSoundsGentlyWithARolloffOfOneHundredth) {
    testsupport::inFreshProcess([&] {
        start();
        // The same tone one unit to the left and 100 units to the right, at once: inverse distance
        // with rolloff 0.01 gives the far one a gain of 1 / (1 + 0.01 * 99), about half.
        ASSERT_TRUE(playSound(SoundPowerUp, 0.0f, 0.0f, 1.0f, SoundPlayOnce));
        ASSERT_TRUE(playFreeCopyAt(SoundLaser1, 0.0f, 0.0f, -100.0f));
        ASSERT_TRUE(soundtest::waitUntil(
            [] { return !isSoundPlaying(SoundPowerUp) && !isSoundPlaying(SoundLaser1); }));
        const HeardSound sound = heard();
        ASSERT_GT(sound.right, 0.0);
        const double gainRatio = std::sqrt(sound.left / sound.right);
        EXPECT_NEAR(gainRatio, 1.99, 0.1);
    });
}

TEST_F(WaveOutputTest, NothingIsHeardWhileTheWindowIsUnfocused) {
    testsupport::inFreshProcess([&] {
        start();
        platform::notifyFocus(false);
        playToTheEnd(0.0f, 0.0f, -10.0f);
        const HeardSound sound = heard();
        ASSERT_GT(sound.frames, 0);
        EXPECT_EQ(sound.left, 0.0);
        EXPECT_EQ(sound.right, 0.0);
    });
}

}  // namespace
