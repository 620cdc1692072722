// A whole file's bytes, for tests that compare what was written with what is expected. A file
// that cannot be opened reads as empty, which every comparison then reports.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace testfiles {

inline std::vector<uint8_t> readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testfiles
