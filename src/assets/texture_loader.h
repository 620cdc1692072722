// Turns ".tex" files into GL textures. A texture that cannot be loaded ends the program with a
// message box and exit status 1: the game has no fallback images. The GL context must be
// current.
#pragma once

#include <cstdint>

// Both loaders fill *slot with a new texture name, leave the texture bound to GL_TEXTURE_2D
// and set its wrap and filter state from the arguments. Without mipmaps the minification
// filter is GL_LINEAR whatever mipmappedMinFilter says.
void loadRgbaTexture(const char* path, uint32_t* slot, bool mipmapped, int wrapS, int wrapT,
                     int magFilter, int mipmappedMinFilter);
void loadLuminanceTexture(const char* path, uint32_t* slot, bool mipmapped, int wrapS, int wrapT,
                          int magFilter, int mipmappedMinFilter);

// The three title pages (RGBA), before the title screen; deleted again when it ends.
void loadTitleTextures();
void freeTitleTextures();

// The seven game textures (luminance); they live until the GL context goes.
void loadGameTextures();
