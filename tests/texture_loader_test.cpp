#include <GL/gl.h>
#include <GL/glext.h>  // OpenGL 1.2 and 1.4 names, which Windows' gl.h leaves out
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "assets/asset_files.h"
#include "assets/texture_file.h"
#include "assets/texture_loader.h"
#include "assets/texture_table.h"
#include "support/gl_test_context.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

// A folder of texture files for one test, named after it, so the re-run test in a death
// test's child process writes the same files.
class TextureFiles : public testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        fs::create_directories(folder.path / "Textures");
    }
    void TearDown() override { fs::current_path(home); }

    // Writes bytes to a file and returns its full path.
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) {
        const std::string path = folder / name;
        testsupport::writeText(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }
    std::string write(const std::string& name, std::size_t size) {
        std::vector<unsigned char> bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
        return write(name, bytes);
    }
    void enterFolder() { fs::current_path(folder.path); }

    const fs::path home = fs::current_path();
    const testsupport::ScratchFolder folder{
        home / (std::string("texture_files_") +
                testing::UnitTest::GetInstance()->current_test_info()->name())};
};

GLint levelParameter(int level, GLenum name) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint textureParameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

void loadLuminance(const std::string& path, uint32_t* slot) {
    loadLuminanceTexture(path.c_str(), slot, false, GL_REPEAT, GL_REPEAT, GL_LINEAR,
                         GL_LINEAR_MIPMAP_LINEAR);
}
void loadRgba(const std::string& path, uint32_t* slot) {
    loadRgbaTexture(path.c_str(), slot, false, GL_REPEAT, GL_REPEAT, GL_LINEAR,
                    GL_LINEAR_MIPMAP_LINEAR);
}

struct SizeCase {
    std::size_t bytes;
    int edge;
};

TEST_F(TextureFiles, EveryAcceptedSizeLoadsAsItsSquare) {
    REQUIRE_GL();
    const SizeCase rgba[] = {
        {16384, 64}, {65536, 128}, {262144, 256}, {1048576, 512}, {4194304, 1024}};
    const SizeCase luminance[] = {
        {8192, 64}, {16384, 128}, {65536, 256}, {262144, 512}, {1048576, 1024}};
    for (const SizeCase& c : rgba) {
        uint32_t slot = 0;
        loadRgba(write("rgba.tex", c.bytes), &slot);
        EXPECT_NE(slot, 0u);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), c.edge) << c.bytes << " RGBA bytes";
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), c.edge) << c.bytes << " RGBA bytes";
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
    }
    for (const SizeCase& c : luminance) {
        uint32_t slot = 0;
        loadLuminance(write("luminance.tex", c.bytes), &slot);
        EXPECT_NE(slot, 0u);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), c.edge) << c.bytes << " luminance bytes";
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), c.edge) << c.bytes << " luminance bytes";
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_LUMINANCE8);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// An 8192-byte luminance file is a 64 x 64 image made of its first 64 rows.
TEST_F(TextureFiles, SmallLuminanceImageUsesTheFirstHalfOfItsFile) {
    REQUIRE_GL();
    std::vector<unsigned char> bytes(8192);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = i < 4096 ? i % 251 : 255;
    uint32_t slot = 0;
    loadLuminance(write("small.tex", bytes), &slot);
    std::vector<unsigned char> texels(64 * 64);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_TRUE(std::equal(texels.begin(), texels.end(), bytes.begin()));
}

// Rows reach GL in file order: the first texel of the file is drawn at texture coordinate
// (0, 0), the first row along t = 0.
TEST_F(TextureFiles, FirstTexelOfTheFileLandsAtTextureOrigin) {
    REQUIRE_GL();
    std::vector<unsigned char> bytes(128 * 128, 0);
    bytes[0] = 200;              // row 0, column 0
    bytes[5] = 120;              // row 0, column 5
    bytes[7 * 128] = 60;         // row 7, column 0
    bytes[128 * 128 - 1] = 250;  // last row, last column
    uint32_t slot = 0;
    loadLuminanceTexture(write("origin.tex", bytes).c_str(), &slot, false, GL_CLAMP_TO_EDGE,
                         GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST);

    // Texture coordinate (s, t) drawn at client pixel (128 s, 128 t), y down.
    testgl::clearAll();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(0, 1);
    glVertex2f(0, 128);
    glTexCoord2f(1, 1);
    glVertex2f(128, 128);
    glTexCoord2f(1, 0);
    glVertex2f(128, 0);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();

    EXPECT_NEAR(testgl::readPixel(0, 0).r, 200, 2);
    EXPECT_NEAR(testgl::readPixel(5, 0).r, 120, 2);
    EXPECT_NEAR(testgl::readPixel(0, 7).r, 60, 2);
    EXPECT_NEAR(testgl::readPixel(127, 127).r, 250, 2);
    EXPECT_NEAR(testgl::readPixel(1, 1).r, 0, 2);
}

TEST_F(TextureFiles, RgbaTexelsKeepTheirChannelOrderAndRows) {
    REQUIRE_GL();
    std::vector<unsigned char> bytes(16384);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i / 3);
    uint32_t slot = 0;
    loadRgba(write("page.tex", bytes), &slot);
    std::vector<unsigned char> texels(bytes.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, bytes);
}

TEST_F(TextureFiles, WrapAndFilterFollowTheArgumentsAndTheMipmapFlag) {
    REQUIRE_GL();
    const std::string path = write("filters.tex", 65536);  // 256 x 256 luminance
    uint32_t plain = 0;
    loadLuminanceTexture(path.c_str(), &plain, false, GL_CLAMP_TO_EDGE, GL_MIRRORED_REPEAT,
                         GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(plain)) << "the new texture stays bound";
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_MIRRORED_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR) << "no mipmaps: linear";
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 0) << "no mipmap levels";

    uint32_t mipmapped = 0;
    loadLuminanceTexture(path.c_str(), &mipmapped, true, GL_REPEAT, GL_REPEAT, GL_LINEAR,
                         GL_NEAREST_MIPMAP_LINEAR);
    EXPECT_NE(mipmapped, plain);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 128);
    EXPECT_EQ(levelParameter(8, GL_TEXTURE_WIDTH), 1);
    // The chain, level 0 included, is rebuilt with four components.
    EXPECT_GT(levelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_GT(levelParameter(0, GL_TEXTURE_RED_SIZE), 0);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The byte length alone says what a file holds: a square of the table's edge, or nothing.
TEST_F(TextureFiles, TheSizeTableTellsImagesFromEveryOtherFile) {
    const struct {
        std::size_t bytes;
        int rgbaEdge, luminanceEdge;  // 0: refused
    } sizes[] = {
        {0, 0, 0},          {4096, 0, 0},         {8191, 0, 0},       {8192, 0, 64},
        {16383, 0, 0},      {16384, 64, 128},     {16385, 0, 0},      {65536, 128, 256},
        {262144, 256, 512}, {1048576, 512, 1024}, {4194304, 1024, 0}, {4194305, 0, 0},
    };
    for (const auto& size : sizes) {
        const std::string path = write("sized.tex", size.bytes);
        for (const auto& [format, edge] : {std::pair{TexelFormat::Rgba, size.rgbaEdge},
                                           std::pair{TexelFormat::Luminance, size.luminanceEdge}}) {
            TextureFile image;
            EXPECT_EQ(readTextureFile(path.c_str(), format, image),
                      edge > 0 ? TextureFileResult::Loaded : TextureFileResult::InvalidSize)
                << size.bytes << " bytes";
            EXPECT_EQ(image.edge, edge) << size.bytes << " bytes";
        }
    }
    TextureFile image;
#ifdef _WIN32
    // Windows' C runtime will not open a folder at all.
    constexpr TextureFileResult kFolder = TextureFileResult::Missing;
#else
    constexpr TextureFileResult kFolder = TextureFileResult::InvalidSize;
#endif
    EXPECT_EQ(readTextureFile(folder.path.string().c_str(), TexelFormat::Rgba, image), kFolder)
        << "a folder";
    const std::string absent = folder / "absent.tex";
    EXPECT_EQ(readTextureFile(absent.c_str(), TexelFormat::Luminance, image),
              TextureFileResult::Missing);
}

// However long the path, the box of a file of the wrong size shows all of it.
TEST(TextureBoxes, TheSizeBoxNamesTheWholePath) {
    const std::string path = "Textures/" + std::string(9000, 'x') + ".tex";
    EXPECT_EQ(invalidTextureSizeText(path.c_str()), "Texture file : " + path + "\n\ninvalide size");
}

// A file the loader cannot use ends the program: the box, however long the path (also written
// to standard error, kept in a file here), and exit status 1. The fatal-error test sees the
// box of a file of the wrong size.
TEST_F(TextureFiles, AMissingFileStopsTheProgramNamingTheWholePath) {
    REQUIRE_GL();
    const std::string path = "Textures/" + std::string(9000, 'x') + ".tex";
    const std::string said = folder / "said.txt";
    uint32_t slot = 0;
    EXPECT_EXIT(
        {
            // Binary, so that Windows keeps the box's line ends as they were written.
            if (std::freopen(said.c_str(), "wb", stderr) == nullptr) std::_Exit(2);
            loadRgba(path, &slot);
        },
        testing::ExitedWithCode(1), "");
    const std::string box =
        "Texture Loader Error:     Can't find texture file :    \n\n    " + path;
    EXPECT_NE(testsupport::readText(said).find(box + "\n"), std::string::npos)
        << testsupport::readText(said);
}

// The first texel of a loaded texture, read back from GL (red channel).
int firstTexel(uint32_t name, GLenum format) {
    glBindTexture(GL_TEXTURE_2D, name);
    const int edge = levelParameter(0, GL_TEXTURE_WIDTH);
    std::vector<unsigned char> texels(static_cast<std::size_t>(edge) * edge * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
    return texels.empty() ? -1 : texels[0];
}

// Each slot shows the picture of its own file: every file is filled with its own level.
TEST_F(TextureFiles, EveryGameSlotHoldsThePictureOfItsOwnFile) {
    REQUIRE_GL();
    const struct {
        int file;
        uint32_t* slot;
    } slots[] = {
        {TextureFileAsteroid, &textures.asteroidTexture},
        {TextureFileFighter, &textures.fighterTexture},
        {TextureFileBeams, &textures.beamTexture},
        {TextureFileHud, &textures.hudAtlas},
        {TextureFileSprites, &textures.spriteAtlas},
        {TextureFileShield, &textures.shieldTexture},
        {TextureFileBackdrop, &textures.backdropTexture},
    };
    for (const auto& s : slots) {
        write(kTextureFiles[s.file],
              std::vector<unsigned char>(16384, static_cast<unsigned char>(20 + 20 * s.file)));
    }
    enterFolder();
    loadGameTextures();
    for (const auto& s : slots) {
        EXPECT_EQ(firstTexel(*s.slot, GL_LUMINANCE), 20 + 20 * s.file) << kTextureFiles[s.file];
    }
    EXPECT_EQ(textures.titleMainPage, 0u);
    // GL hands out names in order, so they give the load order, in which the first file missing
    // is the one the box names.
    const uint32_t loadOrder[] = {textures.spriteAtlas,    textures.asteroidTexture,
                                  textures.beamTexture,    textures.backdropTexture,
                                  textures.fighterTexture, textures.hudAtlas,
                                  textures.shieldTexture};
    EXPECT_TRUE(std::is_sorted(std::begin(loadOrder), std::end(loadOrder)));
}

TEST_F(TextureFiles, TitleTexturesLoadAsRgbaAndAreFreedAgain) {
    REQUIRE_GL();
    // Pages of three sizes, each with its own red level.
    write(kTextureFiles[TextureFileMainPage], std::vector<unsigned char>(1048576, 40));
    write(kTextureFiles[TextureFileHelpPage], std::vector<unsigned char>(262144, 80));
    write(kTextureFiles[TextureFileOptionsPage], std::vector<unsigned char>(4194304, 120));
    // The HUD atlas, for the best score on the main page.
    write(kTextureFiles[TextureFileHud], std::vector<unsigned char>(262144, 160));
    enterFolder();
    loadTitleTextures();
    const uint32_t names[] = {textures.titleMainPage, textures.titleHelpPage,
                              textures.titleOptionsPage, textures.hudAtlas};
    const int levels[] = {40, 80, 120};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(firstTexel(names[i], GL_RGBA), levels[i]) << i;
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8) << i;
    }
    EXPECT_TRUE(std::is_sorted(std::begin(names), std::end(names))) << "not in load order";
    EXPECT_EQ(firstTexel(textures.hudAtlas, GL_LUMINANCE), 160);
    freeTitleTextures();
    for (uint32_t name : names) EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(textures.titleMainPage, 0u);
    EXPECT_EQ(textures.titleHelpPage, 0u);
    EXPECT_EQ(textures.titleOptionsPage, 0u);
    EXPECT_EQ(textures.hudAtlas, 0u);
}

}  // namespace
