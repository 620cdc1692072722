#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/texture_file.h"

namespace {

// Reading the largest texture files the game accepts (start-up time, not per frame).
void readLargest(benchmark::State& state, TexelFormat format, std::size_t bytes) {
    const std::string path = "texture_file_bench.tex";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const std::vector<unsigned char> texels(bytes, 128);
    std::fwrite(texels.data(), 1, texels.size(), file);
    std::fclose(file);
    for (auto _ : state) {
        TextureFile image;
        const TextureFileResult result = readTextureFile(path.c_str(), format, image);
        if (result != TextureFileResult::Loaded) state.SkipWithError("not loaded");
        benchmark::DoNotOptimize(image.texels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    std::remove(path.c_str());
}

void BM_ReadRgba1024(benchmark::State& state) {
    readLargest(state, TexelFormat::Rgba, 4194304);
}
void BM_ReadLuminance1024(benchmark::State& state) {
    readLargest(state, TexelFormat::Luminance, 1048576);
}
BENCHMARK(BM_ReadRgba1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLuminance1024)->Unit(benchmark::kMillisecond);

}  // namespace
