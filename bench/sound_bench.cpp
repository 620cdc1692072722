// What starting sounds costs during a frame, and how long loading all 44 slots takes at
// start-up. Runs on OpenAL Soft's null backend so no sound card is needed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/sound_bank.h"
#include "sound_test_files.h"

namespace {

// A mono 16-bit 22050 Hz tone with a canonical header.
void writeTone(const std::string& path, double seconds) {
    soundtest::WavLayout tone;
    tone.seconds = seconds;
    soundtest::writeWav(path, tone);
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
        // Seconds of each file of the catalogue, in its order.
        const double seconds[soundFileCount] = {0.5, 0.5, 0.5, 0.5, 0.5,  0.5,
                                                1.5, 1.5, 0.5, 1.5, 10.5, 30.0};
        for (int file = 0; file < soundFileCount; ++file)
            writeTone(kSoundFiles[file], seconds[file]);
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
