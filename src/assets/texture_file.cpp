#include "assets/texture_file.h"

#include <algorithm>
#include <utility>

const char* const missingTextureCaption = "Texture Loader Error";
const char* const invalidTextureSizeCaption = "File size error         ";

namespace {

struct SizeEntry {
    std::size_t rgbaBytes;
    std::size_t luminanceBytes;
    int edge;
};

// 64 x 64 luminance files carry 8192 bytes; GL only uses the first 64 rows of them.
constexpr SizeEntry sizeTable[] = {
    {16384, 8192, 64},      {65536, 16384, 128},      {262144, 65536, 256},
    {1048576, 262144, 512}, {4194304, 1048576, 1024},
};

constexpr std::size_t readChunk = 65536;

}  // namespace

int textureEdgeForFileSize(std::size_t byteCount, TexelFormat format) {
    for (const SizeEntry& entry : sizeTable) {
        const std::size_t bytes =
            format == TexelFormat::Rgba ? entry.rgbaBytes : entry.luminanceBytes;
        if (bytes == byteCount) return entry.edge;
    }
    return 0;
}

TextureFileResult readTextureStream(std::FILE* stream, TexelFormat format, TextureFile& image) {
    // One byte beyond the longest accepted size is enough to know a file is too long.
    const std::size_t limit = maxTextureFileSize + 1;
    std::vector<unsigned char> bytes;
    // The length the file claims only sizes the buffer; what is read decides.
    const long origin = std::ftell(stream);
    if (origin >= 0 && std::fseek(stream, 0, SEEK_END) == 0) {
        const long end = std::ftell(stream);
        if (end > origin) bytes.reserve(std::min(limit, static_cast<std::size_t>(end - origin)));
        std::fseek(stream, origin, SEEK_SET);
    }
    while (bytes.size() < limit) {
        const std::size_t start = bytes.size();
        const std::size_t wanted = std::min(readChunk, limit - start);
        bytes.resize(start + wanted);
        const std::size_t got = std::fread(bytes.data() + start, 1, wanted, stream);
        bytes.resize(start + got);
        if (got < wanted) break;  // end of file, or a read error ends the file there
    }
    const int edge = textureEdgeForFileSize(bytes.size(), format);
    if (edge == 0) return TextureFileResult::InvalidSize;
    image.edge = edge;
    image.texels = std::move(bytes);
    return TextureFileResult::Loaded;
}

TextureFileResult readTextureFile(const char* path, TexelFormat format, TextureFile& image) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return TextureFileResult::Missing;
    const TextureFileResult result = readTextureStream(file, format, image);
    std::fclose(file);
    return result;
}

std::string missingTextureText(const char* path) {
    return std::string("    Can't find texture file :    \n\n    ") + path;
}

std::string invalidTextureSizeText(const char* path) {
    return std::string("Texture file : ") + path + "\n\ninvalide size";
}
