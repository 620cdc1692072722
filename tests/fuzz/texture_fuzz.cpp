// fuzz-sources: src/assets/texture_file.cpp
// Feeds arbitrary bytes to the ".tex" reader as the file contents (through a memory stream of
// exactly that size) and as a path in the error texts. Properties: no crash and no read past
// the input (ASan), an accepted image is a square that the file holds whole, byte for byte,
// and a refused one leaves nothing behind.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assets/texture_file.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void readAs(const uint8_t* data, std::size_t size, TexelFormat format) {
    // fmemopen refuses an empty buffer: give it one byte and read none of it.
    std::vector<uint8_t> copy(data, data + size);
    uint8_t placeholder = 0;
    void* buffer = size > 0 ? static_cast<void*>(copy.data()) : static_cast<void*>(&placeholder);
    std::FILE* stream = fmemopen(buffer, size > 0 ? size : 1, "rb");
    check(stream != nullptr);
    if (size == 0) std::fgetc(stream);
    TextureFile image;
    const TextureFileResult result = readTextureStream(stream, format, image);
    std::fclose(stream);

    check(result == TextureFileResult::Loaded || result == TextureFileResult::InvalidSize);
    if (result == TextureFileResult::Loaded) {
        // GL reads edge x edge texels from the buffer: the file must hold all of them.
        const std::size_t texel = format == TexelFormat::Rgba ? 4 : 1;
        const std::size_t edge = static_cast<std::size_t>(image.edge);
        check(image.edge > 0 && (edge & (edge - 1)) == 0);
        check(texel * edge * edge <= size && size <= maxTextureFileSize);
        check(image.texels.size() == size);
        check(std::memcmp(image.texels.data(), data, size) == 0);
    } else {
        check(image.edge == 0 && image.texels.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    readAs(data, size, TexelFormat::Rgba);
    readAs(data, size, TexelFormat::Luminance);

    // Both error texts name the whole path, up to its first NUL.
    const std::string path(reinterpret_cast<const char*>(data), size);
    const std::string shown(path.c_str());
    check(missingTextureText(path.c_str()).find(shown) != std::string::npos);
    check(invalidTextureSizeText(path.c_str()).find(shown) != std::string::npos);
    return 0;
}
