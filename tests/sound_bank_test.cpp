#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "assets/asset_files.h"
#include "assets/sound_bank.h"
#include "platform/audio.h"
#include "platform/events.h"
#include "run/game_frame.h"
#include "sound_test_files.h"
#include "support/fresh_process.h"

using soundtest::waitUntil;
using soundtest::WavLayout;
using soundtest::writeWav;

namespace {

// Every test gets its own working directory and OpenAL Soft's null backend: a silent device
// that still mixes in real time, so sources advance and end.
struct SoundBankTest : ::testing::Test {
    soundtest::ScratchDir dir;
    void SetUp() override { setenv("ALSOFT_DRIVERS", "null", 1); }
    void TearDown() override { releaseSound(); }

    void startWithAllSounds() {
        soundtest::writeAllSounds();
        ASSERT_TRUE(initSound());
        ASSERT_TRUE(soundBank.soundEnabled);
        ASSERT_TRUE(loadSounds());
    }
};

// Names of the files opened in Sounds/ since the watch began, in order.
class OpenWatch {
  public:
    OpenWatch() {
        fd_ = inotify_init1(IN_NONBLOCK);
        // Closes are watched too: they keep repeated opens of one file from being merged.
        inotify_add_watch(fd_, "Sounds", IN_OPEN | IN_CLOSE);
    }
    ~OpenWatch() { close(fd_); }
    std::vector<std::string> opened() {
        std::vector<std::string> names;
        alignas(inotify_event) char buffer[65536];
        ssize_t got;
        while ((got = read(fd_, buffer, sizeof buffer)) > 0) {
            for (char* p = buffer; p < buffer + got;) {
                const auto* event = reinterpret_cast<inotify_event*>(p);
                if (event->len > 0 && (event->mask & IN_OPEN) != 0) names.emplace_back(event->name);
                p += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

  private:
    int fd_ = -1;
};

std::vector<std::string> expectedLoadOrder() {
    const auto name = [](int file) {
        return std::filesystem::path(kSoundFiles[file]).filename().string();
    };
    std::vector<std::string> names;
    for (int file = SoundFileLaser1; file <= SoundFileExplode2; ++file)
        names.insert(names.end(), 5, name(file));
    for (int file : {SoundFileSpreadCannon, SoundFilePowerUp, SoundFileLoop0, SoundFileLoop1})
        names.push_back(name(file));
    return names;
}

TEST_F(SoundBankTest, LoadsEverySlotFromItsOwnFileInTheFixedOrder) {
    soundtest::writeAllSounds();
    ASSERT_TRUE(initSound());
    OpenWatch watch;
    ASSERT_TRUE(loadSounds());
    EXPECT_EQ(watch.opened(), expectedLoadOrder());
    for (SoundId id = 0; id < soundCount; ++id) {
        EXPECT_NE(soundBank.buffers[id], 0u) << id;
        EXPECT_NE(soundBank.sources[id], 0u) << id;
        EXPECT_EQ(platform::audioBufferChannels(soundBank.buffers[id]), 1) << id;
    }
    EXPECT_STREQ(soundFile(SoundLaser6 + 4), kSoundFiles[SoundFileLaser6]);
    EXPECT_STREQ(soundFile(SoundExplode2), kSoundFiles[SoundFileExplode2]);
}

TEST_F(SoundBankTest, MissingSpreadCannonFailsBeforePowerUpIsOpened) {
    soundtest::writeAllSounds();
    std::remove(kSoundFiles[SoundFileSpreadCannon]);
    ASSERT_TRUE(initSound());
    OpenWatch watch;
    EXPECT_FALSE(loadSounds());
    std::vector<std::string> expected = expectedLoadOrder();
    expected.resize(40);  // the 40 copies of lasers and explosions, then nothing
    EXPECT_EQ(watch.opened(), expected);
    EXPECT_EQ(soundBank.sources[SoundPowerUp], 0u);
}

TEST_F(SoundBankTest, SixQuickShotsStartFiveCopiesAndTheSixthWaitsForOneToEnd) {
    startWithAllSounds();
    for (int shot = 0; shot < 5; ++shot) EXPECT_TRUE(playFreeCopy(SoundLaser3)) << shot;
    EXPECT_FALSE(playFreeCopy(SoundLaser3));
    for (SoundId id = SoundLaser3; id < SoundLaser3 + 5; ++id) EXPECT_TRUE(isSoundPlaying(id));
    EXPECT_FALSE(isSoundPlaying(SoundLaser2 + 4));
    EXPECT_FALSE(isSoundPlaying(SoundLaser4));

    // Copies are heard above the listener.
    float x, y, z;
    platform::audioSourcePosition(soundBank.sources[SoundLaser3 + 2], x, y, z);
    EXPECT_FLOAT_EQ(y, 50.0f);

    // Once a copy has ended the next shot takes the first idle slot.
    ASSERT_TRUE(waitUntil([] { return !isSoundPlaying(SoundLaser3); }));
    EXPECT_TRUE(playFreeCopy(SoundLaser3));
    EXPECT_TRUE(isSoundPlaying(SoundLaser3));
}

TEST_F(SoundBankTest, ExplosionCopiesArePlacedWhereTheTargetWas) {
    startWithAllSounds();
    EXPECT_TRUE(playFreeCopyAt(SoundExplode1, 4.0f, -2.0f, -30.0f));
    EXPECT_TRUE(playFreeCopyAt(SoundExplode1, 1.0f, 1.0f, 1.0f));
    float x, y, z;
    platform::audioSourcePosition(soundBank.sources[SoundExplode1], x, y, z);
    EXPECT_FLOAT_EQ(x, 4.0f);
    EXPECT_FLOAT_EQ(y, -2.0f);
    EXPECT_FLOAT_EQ(z, -30.0f);
    platform::audioSourcePosition(soundBank.sources[SoundExplode1 + 1], x, y, z);
    EXPECT_FLOAT_EQ(z, 1.0f);
}

TEST_F(SoundBankTest, IdsPastTheTableAreRefusedAndCopiesNeverRunPastIt) {
    startWithAllSounds();
    EXPECT_FALSE(playSound(44, 0, 0, 0, SoundPlayOnce));
    EXPECT_FALSE(playSound(0xFFFFFFFFu, 0, 0, 0, SoundPlayOnce));
    stopSound(44);
    EXPECT_FALSE(isSoundPlaying(44));
    EXPECT_TRUE(playSound(SoundLoop1, 0, 0, 0, SoundPlayOnce));
    EXPECT_TRUE(isSoundPlaying(SoundLoop1));

    // A five-copy call on the last slots only looks at slots that exist.
    EXPECT_TRUE(playFreeCopy(SoundLoop0));
    EXPECT_FALSE(playFreeCopy(SoundLoop0));
    EXPECT_FALSE(playFreeCopyAt(soundCount, 0, 0, 0));
}

TEST_F(SoundBankTest, WithoutASoundDeviceNothingIsLoadedAndEveryPlayDoesNothing) {
    // OpenAL reads its backend once per process: the missing one is chosen in a fresh one.
    testsupport::inFreshProcess([&] {
        setenv("ALSOFT_DRIVERS", "none-here", 1);  // no backend: alcOpenDevice(NULL) fails
        ASSERT_TRUE(initSound());
        EXPECT_FALSE(soundBank.soundEnabled);
        // Not even the Sounds folder is needed.
        std::filesystem::remove("Sounds");
        EXPECT_TRUE(loadSounds());
        EXPECT_TRUE(playSound(SoundLoop1, 0, 0, 0, SoundPlayLooping));
        EXPECT_FALSE(isSoundPlaying(SoundLoop1));
        EXPECT_FALSE(playSound(44, 0, 0, 0, SoundPlayOnce));
        EXPECT_FALSE(playFreeCopy(SoundLaser1));
        EXPECT_FALSE(playFreeCopyAt(SoundExplode1, 0, 0, -5));
        stopSound(SoundLoop1);
        platform::notifyFocus(false);
        for (SoundId id = 0; id < soundCount; ++id) EXPECT_EQ(soundBank.sources[id], 0u);
    });
}

TEST_F(SoundBankTest, StopPausesAndTheNextPlayResumesWhereItStopped) {
    startWithAllSounds();
    const uint32_t source = soundBank.sources[SoundLoop1];
    ASSERT_TRUE(playSound(SoundLoop1, 0, 0, 0, SoundPlayLooping));
    ASSERT_TRUE(waitUntil([&] { return platform::audioSourceSampleOffset(source) > 2205; }));
    stopSound(SoundLoop1);
    EXPECT_FALSE(isSoundPlaying(SoundLoop1));
    const int stoppedAt = platform::audioSourceSampleOffset(source);
    EXPECT_GT(stoppedAt, 2205);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(platform::audioSourceSampleOffset(source), stoppedAt);  // paused, not running

    ASSERT_TRUE(playSound(SoundLoop1, 0, 0, 0, SoundPlayLooping));
    EXPECT_TRUE(isSoundPlaying(SoundLoop1));
    EXPECT_GE(platform::audioSourceSampleOffset(source), stoppedAt);
}

TEST_F(SoundBankTest, OneShotThatPlayedToItsEndStartsAgainFromTheBeginning) {
    startWithAllSounds();
    const uint32_t source = soundBank.sources[SoundPowerUp];
    ASSERT_TRUE(playSound(SoundPowerUp, 0, 0, 0, SoundPlayOnce));
    ASSERT_TRUE(waitUntil([] { return !isSoundPlaying(SoundPowerUp); }));
    stopSound(SoundPowerUp);  // stopping a finished sound changes nothing
    ASSERT_TRUE(playSound(SoundPowerUp, 0, 0, 0, SoundPlayOnce));
    EXPECT_TRUE(isSoundPlaying(SoundPowerUp));
    EXPECT_LT(platform::audioSourceSampleOffset(source), 22050 / 4);  // of 0.5 s
}

TEST_F(SoundBankTest, PlayingASoundThatIsSoundingNeitherRestartsNorMovesIt) {
    startWithAllSounds();
    const uint32_t source = soundBank.sources[SoundLoop1];
    ASSERT_TRUE(playSound(SoundLoop1, 1.0f, 2.0f, 3.0f, SoundPlayLooping));
    ASSERT_TRUE(waitUntil([&] { return platform::audioSourceSampleOffset(source) > 2205; }));
    const int before = platform::audioSourceSampleOffset(source);
    EXPECT_TRUE(playSound(SoundLoop1, 9.0f, 9.0f, 9.0f, SoundPlayOnce));
    EXPECT_GE(platform::audioSourceSampleOffset(source), before);
    EXPECT_TRUE(platform::isAudioSourceLooping(source));
    float x, y, z;
    platform::audioSourcePosition(source, x, y, z);
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_FLOAT_EQ(y, 2.0f);
    EXPECT_FLOAT_EQ(z, 3.0f);
}

TEST_F(SoundBankTest, ChannelCountOfTheFileDecidesTheBuffer) {
    ASSERT_TRUE(initSound());
    WavLayout stereo;
    stereo.channels = 2;
    writeWav("Sounds/stereo.wav", stereo);
    ASSERT_TRUE(loadWave("Sounds/stereo.wav", SoundPowerUp));
    EXPECT_EQ(platform::audioBufferChannels(soundBank.buffers[SoundPowerUp]), 2);

    WavLayout noChannels;  // a channel count of 0 is read as mono
    noChannels.channels = 0;
    writeWav("Sounds/zero.wav", noChannels);
    ASSERT_TRUE(loadWave("Sounds/zero.wav", SoundLoop0));
    EXPECT_EQ(platform::audioBufferChannels(soundBank.buffers[SoundLoop0]), 1);

    WavLayout eightBit;
    eightBit.bitsPerSample = 8;
    eightBit.samplesPerSecond = 11025;
    writeWav("Sounds/eight.wav", eightBit);
    EXPECT_TRUE(loadWave("Sounds/eight.wav", SoundLoop1));
}

struct BadFile {
    const char* what;
    std::vector<uint8_t> bytes;
};

std::vector<BadFile> badFiles() {
    std::vector<BadFile> files;
    const std::vector<uint8_t> good = soundtest::makeWav(WavLayout{});
    files.push_back({"empty", {}});
    files.push_back({"header cut short", {good.begin(), good.begin() + 43}});
    files.push_back({"header only", {good.begin(), good.begin() + 44}});
    files.push_back({"samples cut short", {good.begin(), good.end() - 2}});
    auto layout = [](auto change) {
        WavLayout s;
        change(s);
        return soundtest::makeWav(s);
    };
    files.push_back({"length claims more", layout([](WavLayout& s) { s.claimedLength = 100000; })});
    files.push_back(
        {"length of gigabytes", layout([](WavLayout& s) { s.claimedLength = 0xFFFFFFF0; })});
    files.push_back({"length under the cap but past the file",
                     layout([](WavLayout& s) { s.claimedLength = 0x0FFFFFF0; })});
    files.push_back({"zero length", layout([](WavLayout& s) { s.claimedLength = 0; })});
    files.push_back({"half a frame", layout([](WavLayout& s) { s.claimedLength = 2001; })});
    files.push_back({"float samples", layout([](WavLayout& s) { s.formatTag = 3; })});
    files.push_back({"compressed", layout([](WavLayout& s) { s.formatTag = 2; })});
    files.push_back({"three channels", layout([](WavLayout& s) { s.channels = 3; })});
    files.push_back({"24 bits", layout([](WavLayout& s) { s.bitsPerSample = 24; })});
    files.push_back({"0 bits", layout([](WavLayout& s) { s.bitsPerSample = 0; })});
    files.push_back({"block align of zero", layout([](WavLayout& s) { s.blockAlign = 0; })});
    files.push_back({"block align too big", layout([](WavLayout& s) { s.blockAlign = 4; })});
    files.push_back({"stereo align on mono", layout([](WavLayout& s) {
                         s.channels = 2;
                         s.blockAlign = 2;
                     })});
    files.push_back({"rate of zero", layout([](WavLayout& s) { s.samplesPerSecond = 0; })});
    files.push_back({"rate of megahertz", layout([](WavLayout& s) {
                         s.samplesPerSecond = 50000000;
                         s.seconds = 0.0001;
                     })});
    return files;
}

TEST_F(SoundBankTest, DamagedOrUnplayableFilesFailCleanly) {
    soundtest::writeAllSounds();
    ASSERT_TRUE(initSound());
    for (const BadFile& bad : badFiles()) {
        SCOPED_TRACE(bad.what);
        soundtest::writeFile(kSoundFiles[SoundFileLaser4], bad.bytes);
        EXPECT_FALSE(loadWave(kSoundFiles[SoundFileLaser4], SoundLaser4));
        EXPECT_EQ(soundBank.sources[SoundLaser4], 0u);
        EXPECT_TRUE(playSound(SoundLaser4, 0, 0, 0, SoundPlayOnce));  // nothing to play
        EXPECT_FALSE(isSoundPlaying(SoundLaser4));
        releaseSound();
        ASSERT_TRUE(initSound());
        EXPECT_FALSE(loadSounds());
    }
}

TEST_F(SoundBankTest, LyingLengthLeavesTheReadersDebugLine) {
    soundtest::writeAllSounds();
    WavLayout lying;
    lying.claimedLength = 1000000;
    writeWav(kSoundFiles[SoundFileLoop0], lying);
    ASSERT_TRUE(initSound());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadSounds());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Data1 : 0, dwdata: 1000000, pFile: "), std::string::npos) << err;
}

TEST_F(SoundBankTest, FocusLossMutesTheListenerAndFocusUnmutes) {
    startWithAllSounds();
    EXPECT_FLOAT_EQ(platform::listenerGain(), 1.0f);
    platform::notifyFocus(false);
    EXPECT_FLOAT_EQ(platform::listenerGain(), 0.0f);
    platform::notifyFocus(true);
    EXPECT_FLOAT_EQ(platform::listenerGain(), 1.0f);
}

using SoundStartUpDeathTest = SoundBankTest;

TEST_F(SoundStartUpDeathTest, MissingFileOrUnusableDeviceShowsTheBoxAndExitsWithStatus1) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    soundtest::writeAllSounds();
    platform::setAudioDeviceUnusable(true);  // the device opens, then cannot be used
    EXPECT_EXIT(startSoundOrExit(), testing::ExitedWithCode(1),
                "DirectSound3D Error: Could not find wav files");
    platform::setAudioDeviceUnusable(false);
    std::remove(kSoundFiles[SoundFileLoop1]);
    EXPECT_EXIT(startSoundOrExit(), testing::ExitedWithCode(1),
                "DirectSound3D Error: Could not find wav files");
}

}  // namespace
