#include "assets/texture_loader.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <string>
#include <type_traits>

#include "assets/asset_files.h"
#include "assets/lit_area.h"
#include "assets/sprite_layout.h"
#include "assets/texture_file.h"
#include "assets/texture_table.h"
#include "common/fatal_error.h"

static_assert(std::is_same_v<GLuint, uint32_t>, "texture slots are GL texture names");
static_assert(std::is_same_v<GLint, int>, "GL enumerants are passed as int");

namespace {

void loadTexture(TexelFormat format, const char* path, uint32_t* slot, bool mipmapped, int wrapS,
                 int wrapT, int magFilter, int mipmappedMinFilter) {
    TextureFile image;
    switch (readTextureFile(path, format, image)) {
        case TextureFileResult::Missing:
            fatalError(missingTextureText(path).c_str(), missingTextureCaption);
        case TextureFileResult::InvalidSize:
            fatalError(invalidTextureSizeText(path).c_str(), invalidTextureSizeCaption);
        case TextureFileResult::Loaded:
            break;
    }
    const bool rgba = format == TexelFormat::Rgba;
    const GLenum pixelFormat = rgba ? GL_RGBA : GL_LUMINANCE;
    const GLint internalFormat = rgba ? GL_RGBA8 : GL_LUMINANCE8;

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, slot);
    glBindTexture(GL_TEXTURE_2D, *slot);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmapped ? mipmappedMinFilter : GL_LINEAR);
    // Rows go to GL in file order: the file's first row is t = 0.
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, image.edge, image.edge, 0, pixelFormat,
                 GL_UNSIGNED_BYTE, image.texels.data());
    // The chain is rebuilt from the same texels, level 0 included, with four components.
    if (mipmapped) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, image.edge, image.edge, pixelFormat, GL_UNSIGNED_BYTE,
                          image.texels.data());
    }
}

// Every texture of the game repeats and filters linearly.
void loadGameTexture(const char* path, uint32_t* slot, bool mipmapped) {
    loadLuminanceTexture(path, slot, mipmapped, GL_REPEAT, GL_REPEAT, GL_LINEAR,
                         GL_LINEAR_MIPMAP_LINEAR);
}

void loadTitleTexture(const char* path, uint32_t* slot) {
    loadRgbaTexture(path, slot, false, GL_REPEAT, GL_REPEAT, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
}

// The beam strips' lit parts, from the file just loaded (read again: it is small).
void trimBeams() {
    TextureFile image;
    textures.beamsTrimmed = readTextureFile(kTextureFiles[TextureFileBeams],
                                            TexelFormat::Luminance, image) ==
                            TextureFileResult::Loaded;
    if (!textures.beamsTrimmed) return;
    for (int level = 0; level < 6; ++level) {
        textures.beamLit[level] = litPart(image.texels.data(), image.edge, beamStripRect(level));
    }
}

}  // namespace

void loadRgbaTexture(const char* path, uint32_t* slot, bool mipmapped, int wrapS, int wrapT,
                     int magFilter, int mipmappedMinFilter) {
    loadTexture(TexelFormat::Rgba, path, slot, mipmapped, wrapS, wrapT, magFilter,
                mipmappedMinFilter);
}

void loadLuminanceTexture(const char* path, uint32_t* slot, bool mipmapped, int wrapS, int wrapT,
                          int magFilter, int mipmappedMinFilter) {
    loadTexture(TexelFormat::Luminance, path, slot, mipmapped, wrapS, wrapT, magFilter,
                mipmappedMinFilter);
}

void loadTitleTextures() {
    loadTitleTexture(kTextureFiles[TextureFileMainPage], &textures.titleMainPage);
    loadTitleTexture(kTextureFiles[TextureFileHelpPage], &textures.titleHelpPage);
    loadTitleTexture(kTextureFiles[TextureFileOptionsPage], &textures.titleOptionsPage);
    // The main page shows the best score in the HUD's digits.
    loadGameTexture(kTextureFiles[TextureFileHud], &textures.hudAtlas, false);
}

void freeTitleTextures() {
    glDeleteTextures(1, &textures.titleMainPage);
    glDeleteTextures(1, &textures.titleHelpPage);
    glDeleteTextures(1, &textures.titleOptionsPage);
    glDeleteTextures(1, &textures.hudAtlas);
    // GL hands the freed names out again to the game textures: forget them.
    textures.titleMainPage = 0;
    textures.titleHelpPage = 0;
    textures.titleOptionsPage = 0;
    textures.hudAtlas = 0;
}

void loadGameTextures() {
    loadGameTexture(kTextureFiles[TextureFileSprites], &textures.spriteAtlas, true);
    loadGameTexture(kTextureFiles[TextureFileAsteroid], &textures.asteroidTexture, true);
    loadGameTexture(kTextureFiles[TextureFileBeams], &textures.beamTexture, false);
    trimBeams();
    loadGameTexture(kTextureFiles[TextureFileBackdrop], &textures.backdropTexture, true);
    loadGameTexture(kTextureFiles[TextureFileFighter], &textures.fighterTexture, true);
    loadGameTexture(kTextureFiles[TextureFileHud], &textures.hudAtlas, false);
    loadGameTexture(kTextureFiles[TextureFileShield], &textures.shieldTexture, false);
}
