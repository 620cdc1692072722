// Helpers of the sound tests: a scratch working directory with a Sounds folder, WAV files
// written byte by byte, and a wait that polls with a generous bound instead of sleeping for a
// sound's length.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "assets/asset_files.h"
#include "assets/wav_writer.h"
#include "support/fresh_process.h"
#include "support/scratch_folder.h"

namespace soundtest {

struct WavLayout {
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t samplesPerSecond = 22050;
    uint16_t bitsPerSample = 16;
    int blockAlign = -1;         // -1: channels x bytes per sample (at least one channel)
    double seconds = 0.1;        // length of the tone
    int64_t claimedLength = -1;  // -1: the real data length
};

// A canonical 44-byte header followed by a loud 440 Hz tone on every channel.
inline std::vector<uint8_t> makeWav(const WavLayout& layout) {
    const int playChannels = layout.channels > 1 ? layout.channels : 1;
    const int bytesPerSample = layout.bitsPerSample / 8 > 0 ? layout.bitsPerSample / 8 : 1;
    const uint32_t frames = static_cast<uint32_t>(layout.seconds * layout.samplesPerSecond);
    std::vector<uint8_t> samples;
    for (uint32_t i = 0; i < frames; ++i) {
        const double v = 0.8 * std::sin(2.0 * 3.14159265358979 * 440.0 * i /
                                        static_cast<double>(layout.samplesPerSecond));
        for (int c = 0; c < playChannels; ++c) {
            if (bytesPerSample == 1) {
                samples.push_back(static_cast<uint8_t>(128 + v * 127));
            } else {
                const auto s = static_cast<int16_t>(v * 32767);
                appendLittleEndian16(samples, static_cast<uint16_t>(s));
                for (int extra = 2; extra < bytesPerSample; ++extra) samples.push_back(0);
            }
        }
    }
    const uint16_t blockAlign = layout.blockAlign >= 0
                                    ? static_cast<uint16_t>(layout.blockAlign)
                                    : static_cast<uint16_t>(playChannels * bytesPerSample);
    const uint32_t length = layout.claimedLength >= 0 ? static_cast<uint32_t>(layout.claimedLength)
                                                      : static_cast<uint32_t>(samples.size());
    WavHeader header;
    header.formatTag = layout.formatTag;
    header.channels = layout.channels;
    header.samplesPerSecond = layout.samplesPerSecond;
    header.blockAlign = blockAlign;
    header.bitsPerSample = layout.bitsPerSample;
    header.dataLength = length;
    std::vector<uint8_t> out;
    appendWavHeader(out, header);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline void writeWav(const std::string& path, const WavLayout& layout) {
    writeFile(path, makeWav(layout));
}

// Every file the game loads, short except where a test needs time: the lasers and the power-up
// last 0.5 s (several quick shots overlap), Loop1 two seconds (it is stopped part way).
inline void writeAllSounds() {
    for (int file = 0; file < soundFileCount; ++file) {
        WavLayout layout;
        const bool lasting = file <= SoundFileLaser6 || file == SoundFilePowerUp;
        layout.seconds = file == SoundFileLoop1 ? 2.0 : lasting ? 0.5 : 0.1;
        writeWav(kSoundFiles[file], layout);
    }
}

// A fresh working directory with an empty Sounds folder for one test; removed afterwards.
struct ScratchDir {
    testsupport::ScratchFolder folder;
    std::filesystem::path original = std::filesystem::current_path();
    ScratchDir() {
        std::filesystem::current_path(folder.path);
        std::filesystem::create_directory("Sounds");
        testsupport::setChildCleanup(
            [made = folder.path] { testsupport::ScratchFolder::remove(made); });
    }
    ~ScratchDir() {
        testsupport::setChildCleanup(nullptr);
        std::filesystem::current_path(original);
    }
    const std::filesystem::path& path() const { return folder.path; }
};

// Polls until the condition holds; false after `limitSeconds`. The bound is generous: the
// tests never depend on how long a sound takes, only on its eventually ending.
template <typename Condition>
bool waitUntil(Condition condition, double limitSeconds = 10.0) {
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(static_cast<int>(limitSeconds * 1000));
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace soundtest
