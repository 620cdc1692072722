// fuzz-sources: src/assets/texture_file.cpp
// Feeds arbitrary bytes to the ".tex" reader as the file contents (through a memory stream)
// and as a path in the error texts, and checks what it accepts against its size table.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/texture_file.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void readAs(const uint8_t* data, std::size_t size, TexelFormat format) {
    // fmemopen refuses an empty buffer: give it one byte and read none of it.
    static unsigned char placeholder = 0;
    void* buffer = size > 0 ? const_cast<uint8_t*>(data) : static_cast<void*>(&placeholder);
    std::FILE* stream = fmemopen(buffer, size > 0 ? size : 1, "rb");
    check(stream != nullptr);
    if (size == 0) std::fgetc(stream);
    TextureFile image;
    const TextureFileResult result = readTextureStream(stream, format, image);
    std::fclose(stream);

    const int edge = textureEdgeForFileSize(size, format);
    if (result == TextureFileResult::Loaded) {
        check(edge > 0 && image.edge == edge);
        check(image.texels.size() == size);
        const std::size_t texel = format == TexelFormat::Rgba ? 4 : 1;
        check(image.texels.size() >= texel * edge * edge);  // GL reads edge x edge texels
        for (std::size_t i = 0; i < size; ++i) check(image.texels[i] == data[i]);
    } else {
        check(result == TextureFileResult::InvalidSize);
        check(edge == 0);
        check(image.texels.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    readAs(data, size, TexelFormat::Rgba);
    readAs(data, size, TexelFormat::Luminance);

    // The error texts hold any path whole, up to its first NUL.
    const std::string path(reinterpret_cast<const char*>(data), size);
    const std::string missing = missingTextureText(path.c_str());
    const std::string invalid = invalidTextureSizeText(path.c_str());
    const std::size_t shown = std::string(path.c_str()).size();
    check(missing.size() == 39 + shown);
    check(invalid.size() == 15 + shown + 15);
    return 0;
}
