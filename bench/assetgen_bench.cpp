// Run time of the asset generator, which every build runs: the whole tool, writing all 22
// files into a scratch folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void GenerateAllAssets(benchmark::State& state) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "voxmere-bench-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pattern.data());
    const std::string command =
        std::string("'") + VOXMERE_ASSETS_TOOL + "' '" + folder.string() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("the generator failed");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(GenerateAllAssets)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
