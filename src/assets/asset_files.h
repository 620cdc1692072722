// Every file the asset generator writes and the game reads, as paths inside the data folder.
// The loaders, the generator, the tests and the benchmarks name files only through these
// lists, and tools/CMakeLists.txt takes every double-quoted string in this file as one of the
// generator's outputs, so no comment here may hold a double quote. The generator stops with an
// error when it has no maker for an entry.
#pragma once

enum TextureFileIndex {
    TextureFileAsteroid,
    TextureFileFighter,
    TextureFileHelpPage,
    TextureFileBeams,
    TextureFileMainPage,
    TextureFileHud,
    TextureFileOptionsPage,
    TextureFileSprites,
    TextureFileShield,
    TextureFileBackdrop,
    textureFileCount
};

inline constexpr const char* kTextureFiles[textureFileCount] = {
    "Textures/Texture0.tex", "Textures/Texture1.tex", "Textures/Texture2.tex",
    "Textures/Texture3.tex", "Textures/Texture4.tex", "Textures/Texture5.tex",
    "Textures/Texture6.tex", "Textures/Texture7.tex", "Textures/Texture8.tex",
    "Textures/Texture9.tex",
};
static_assert(kTextureFiles[textureFileCount - 1] != nullptr);  // a path for every texture

// The six lasers and the two explosions each fill five consecutive sound slots; the rest one.
enum SoundFileIndex {
    SoundFileLaser1,
    SoundFileLaser2,
    SoundFileLaser3,
    SoundFileLaser4,
    SoundFileLaser5,
    SoundFileLaser6,
    SoundFileExplode1,
    SoundFileExplode2,
    SoundFilePowerUp,
    SoundFileSpreadCannon,
    SoundFileLoop0,
    SoundFileLoop1,
    soundFileCount
};

inline constexpr const char* kSoundFiles[soundFileCount] = {
    "Sounds/LASER1.WAV",  "Sounds/LASER2.WAV",       "Sounds/LASER3.WAV",   "Sounds/LASER4.WAV",
    "Sounds/LASER5.WAV",  "Sounds/LASER6.WAV",       "Sounds/explode1.WAV", "Sounds/explode2.WAV",
    "Sounds/POWERUP.WAV", "Sounds/spreadcannon.WAV", "Sounds/Loop0.wav",    "Sounds/Loop1.wav",
};
static_assert(kSoundFiles[soundFileCount - 1] != nullptr);  // a path for every sound

// The window's icon beside the two folders, and the desktop's icons in an icon theme's layout,
// one per edge of desktopIconEdges (assets/game_icon.h), in that order.
inline constexpr const char* kIconFile = "voxmere.png";
inline constexpr const char* kDesktopIconFiles[] = {
    "icons/hicolor/16x16/apps/voxmere.png",   "icons/hicolor/22x22/apps/voxmere.png",
    "icons/hicolor/24x24/apps/voxmere.png",   "icons/hicolor/32x32/apps/voxmere.png",
    "icons/hicolor/48x48/apps/voxmere.png",   "icons/hicolor/64x64/apps/voxmere.png",
    "icons/hicolor/128x128/apps/voxmere.png", "icons/hicolor/256x256/apps/voxmere.png",
};
// The same icons in one Windows icon file, which the Windows executable carries.
inline constexpr const char* kWindowsIconFile = "voxmere.ico";
