#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "assets/texture_file.h"

namespace {

// A file too long for any image is turned down after one byte more than the longest accepted
// size: the rest is neither read nor held in memory.
TEST(TextureFile, OverlongFileIsRejectedWithoutReadingItAll) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    const std::vector<unsigned char> block(1 << 20, 9);
    for (int i = 0; i < 6; ++i) std::fwrite(block.data(), 1, block.size(), stream);
    std::rewind(stream);
    TextureFile image;
    EXPECT_EQ(readTextureStream(stream, TexelFormat::Rgba, image), TextureFileResult::InvalidSize);
    EXPECT_EQ(std::ftell(stream), static_cast<long>(maxTextureFileSize + 1));
    EXPECT_TRUE(image.texels.empty());
    EXPECT_EQ(image.edge, 0);
    std::fclose(stream);
}

// The longest accepted file still loads whole.
TEST(TextureFile, LongestAcceptedFileLoadsWhole) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    std::vector<unsigned char> bytes(maxTextureFileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i % 253);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::rewind(stream);
    TextureFile image;
    EXPECT_EQ(readTextureStream(stream, TexelFormat::Rgba, image), TextureFileResult::Loaded);
    EXPECT_EQ(image.edge, 1024);
    EXPECT_EQ(image.texels, bytes);
    std::fclose(stream);
}

}  // namespace
