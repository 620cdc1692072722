#include <GL/gl.h>
#include <GL/glext.h>  // OpenGL 1.2 and 1.4 names, which Windows' gl.h leaves out
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/texture_loader.h"
#include "assets/texture_table.h"
#include "support/gl_test_context.h"

namespace fs = std::filesystem;

namespace {

// Standard error of a dead child holds this text somewhere.
class HoldsText : public testing::MatcherInterface<const std::string&> {
  public:
    explicit HoldsText(std::string text) : text_(std::move(text)) {}
    bool MatchAndExplain(const std::string& output, testing::MatchResultListener*) const override {
        return output.find(text_) != std::string::npos;
    }
    void DescribeTo(std::ostream* os) const override { *os << "holds \"" << text_ << "\""; }

  private:
    std::string text_;
};

testing::Matcher<const std::string&> holds(const std::string& text) {
    return testing::MakeMatcher(new HoldsText(text));
}

// What the player sees in the box (also echoed to standard error as "caption: text").
std::string sizeError(const std::string& path) {
    return "File size error         : Texture file : " + path + "\n\ninvalide size\n";
}
std::string missingError(const std::string& path) {
    return "Texture Loader Error:     Can't find texture file :    \n\n    " + path + "\n";
}

// A folder of texture files for one test, named after it, so the re-run test in a death
// test's child process writes the same files; removed again by the parent.
class TextureFiles : public testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        home_ = fs::current_path();
        dir_ = home_ / (std::string("texture_files_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Textures");
    }
    void TearDown() override {
        fs::current_path(home_);
        fs::remove_all(dir_);
    }

    // Writes bytes to a file and returns its full path.
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) {
        const fs::path path = dir_ / name;
        std::FILE* file = std::fopen(path.string().c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file == nullptr) return path.string();
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return path.string();
    }
    std::string write(const std::string& name, std::size_t size) {
        std::vector<unsigned char> bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
        return write(name, bytes);
    }
    void enterFolder() { fs::current_path(dir_); }

    fs::path home_;
    fs::path dir_;
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

TEST_F(TextureFiles, SizesOutsideTheTableStopTheProgramNamingTheFile) {
    REQUIRE_GL();
    const std::string near16k = write("a.tex", 16383);
    const std::string over16k = write("b.tex", 16385);
    const std::string quarter = write("c.tex", 4096);
    const std::string short8k = write("d.tex", 8191);
    const std::string empty = write("e.tex", 0);
    const std::string huge = write("f.tex", 4194305);
    const struct {
        void (*load)(const std::string&, uint32_t*);
        std::string path;
    } cases[] = {
        {loadRgba, near16k},      {loadRgba, over16k}, {loadLuminance, over16k},
        {loadLuminance, quarter}, {loadLuminance, short8k}, {loadLuminance, empty},
        {loadRgba, empty},        {loadRgba, huge},    {loadRgba, dir_.string()},
    };
    uint32_t slot = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EXIT(c.load(c.path, &slot), testing::ExitedWithCode(1), holds(sizeError(c.path)));
    }
    EXPECT_EQ(slot, 0u);
}

TEST_F(TextureFiles, MissingFileStopsTheProgramNamingTheFile) {
    REQUIRE_GL();
    uint32_t slot = 0;
    const std::string path = (dir_ / "absent.tex").string();
    EXPECT_EXIT(loadLuminance(path, &slot), testing::ExitedWithCode(1), holds(missingError(path)));
    EXPECT_EXIT(loadRgba(path, &slot), testing::ExitedWithCode(1), holds(missingError(path)));
    // However long the path, the box shows all of it.
    const std::string longPath = "Textures/" + std::string(9000, 'x') + ".tex";
    EXPECT_EXIT(loadRgba(longPath, &slot), testing::ExitedWithCode(1),
                holds(missingError(longPath)));
    const std::string longExisting = write(std::string(200, 'y') + ".tex", 5);
    EXPECT_EXIT(loadLuminance(longExisting, &slot), testing::ExitedWithCode(1),
                holds(sizeError(longExisting)));
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
}

TEST_F(TextureFiles, GameBatchStopsAtTheFirstFileMissingInLoadOrder) {
    REQUIRE_GL();
    for (int file : {TextureFileSprites, TextureFileAsteroid, TextureFileBackdrop})
        write(kTextureFiles[file], 16384);
    enterFolder();
    EXPECT_EXIT(loadGameTextures(), testing::ExitedWithCode(1),
                holds(missingError(kTextureFiles[TextureFileBeams])));
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
    for (int i = 0; i < 3; ++i) EXPECT_EQ(firstTexel(names[i], GL_RGBA), levels[i]) << i;
    EXPECT_EQ(firstTexel(textures.hudAtlas, GL_LUMINANCE), 160);
    freeTitleTextures();
    for (uint32_t name : names) EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(textures.titleMainPage, 0u);
    EXPECT_EQ(textures.titleHelpPage, 0u);
    EXPECT_EQ(textures.titleOptionsPage, 0u);
    EXPECT_EQ(textures.hudAtlas, 0u);
}

TEST_F(TextureFiles, TitleBatchNeedsItsFilesInLoadOrder) {
    REQUIRE_GL();
    enterFolder();
    EXPECT_EXIT(loadTitleTextures(), testing::ExitedWithCode(1),
                holds(missingError(kTextureFiles[TextureFileMainPage])));
    write(kTextureFiles[TextureFileMainPage], 16384);
    write(kTextureFiles[TextureFileOptionsPage], 16384);
    const char* help = kTextureFiles[TextureFileHelpPage];
    EXPECT_EXIT(loadTitleTextures(), testing::ExitedWithCode(1), holds(missingError(help)));
    // A luminance-sized page is no RGBA page.
    write(help, 8192);
    EXPECT_EXIT(loadTitleTextures(), testing::ExitedWithCode(1), holds(sizeError(help)));
}

}  // namespace
