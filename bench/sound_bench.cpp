// What starting sounds costs during a frame, and how long loading all 44 slots takes at
// start-up. Runs on OpenAL Soft's null backend so no sound card is needed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/sound_bank.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A mono 16-bit 22050 Hz tone with a canonical header.
void writeTone(const std::string& path, double seconds) {
    const uint32_t frames = static_cast<uint32_t>(seconds * 22050);
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    put32(out, 36 + frames * 2);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, 22050);
    put32(out, 44100);
    put16(out, 2);
    put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(20000 * std::sin(i * 0.1))));
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
}

// Sound files of the lengths the game ships (music loops of 10 and 30 s), in a scratch
// working directory.
struct SoundFolder {
    std::filesystem::path original = std::filesystem::current_path();
    std::filesystem::path path;
    SoundFolder() {
        setenv("ALSOFT_DRIVERS", "null", 1);
        char pattern[] = "/tmp/voxmere-sound-bench-XXXXXX";
        path = mkdtemp(pattern);
        std::filesystem::current_path(path);
        std::filesystem::create_directory("Sounds");
        for (int n = 1; n <= 6; ++n) writeTone("Sounds/LASER" + std::to_string(n) + ".WAV", 0.5);
        writeTone("Sounds/explode1.WAV", 1.5);
        writeTone("Sounds/explode2.WAV", 1.5);
        writeTone("Sounds/POWERUP.WAV", 0.5);
        writeTone("Sounds/spreadcannon.WAV", 1.5);
        writeTone("Sounds/Loop0.wav", 10.5);
        writeTone("Sounds/Loop1.wav", 30.0);
    }
    ~SoundFolder() {
        std::filesystem::current_path(original);
        std::filesystem::remove_all(path);
    }
};

void BM_LoadAllSounds(benchmark::State& state) {
    SoundFolder folder;
    for (auto _ : state) {
        if (!initSound() || !loadSounds()) state.SkipWithError("loading failed");
        releaseSound();
    }
}
BENCHMARK(BM_LoadAllSounds)->Unit(benchmark::kMillisecond);

// The common case in a fire fight: every copy is sounding, so each shot is five status
// queries and nothing starts.
void BM_PlayFreeCopyAllBusy(benchmark::State& state) {
    SoundFolder folder;
    initSound();
    loadSounds();
    for (int i = 0; i < 5; ++i) playFreeCopyAt(SoundExplode1, 10, 0, -10);
    for (auto _ : state) benchmark::DoNotOptimize(playFreeCopyAt(SoundExplode1, 10, 0, -10));
    releaseSound();
}
BENCHMARK(BM_PlayFreeCopyAllBusy);

// Starting an idle slot: one status query, position, looping flag and play.
void BM_PlaySoundStartStop(benchmark::State& state) {
    SoundFolder folder;
    initSound();
    loadSounds();
    for (auto _ : state) {
        playSound(SoundLoop1, 0, 0, -5, SoundPlayLooping);
        stopSound(SoundLoop1);
    }
    releaseSound();
}
BENCHMARK(BM_PlaySoundStartStop);

}  // namespace
