// Reading ".tex" files: headerless square images whose byte length alone gives their size.
// Nothing here touches GL, so the reader can be tested and fuzzed on its own.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

enum class TexelFormat { Rgba, Luminance };

// The longest file either format accepts: a 1024 x 1024 RGBA image.
constexpr std::size_t maxTextureFileSize = 4194304;

// Edge length of the square image held by a file of byteCount bytes, 0 when no image has that
// size. A 64 x 64 luminance image comes in an 8192-byte file; a 4096-byte one is rejected.
int textureEdgeForFileSize(std::size_t byteCount, TexelFormat format);

enum class TextureFileResult { Loaded, Missing, InvalidSize };

struct TextureFile {
    int edge = 0;
    // The whole file, rows in file order: the first row is t = 0.
    std::vector<unsigned char> texels;
};

// Reads the stream from where it stands to its end (never more than one byte past the longest
// accepted size, so a huge file is rejected without being held in memory).
TextureFileResult readTextureStream(std::FILE* stream, TexelFormat format, TextureFile& image);

// Opens path with "rb" and reads it; Missing when it cannot be opened.
TextureFileResult readTextureFile(const char* path, TexelFormat format, TextureFile& image);

// The loader's error boxes.
extern const char* const missingTextureCaption;
extern const char* const invalidTextureSizeCaption;
std::string missingTextureText(const char* path);
std::string invalidTextureSizeText(const char* path);
