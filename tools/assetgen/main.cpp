// voxmere-assets <output dir>: writes every texture to <output dir>/Textures, every sound to
// <output dir>/Sounds, the window's icon to <output dir>/voxmere.png and the desktop's icons,
// one per size, to <output dir>/icons/hicolor/<N>x<N>/apps/voxmere.png (the layout of an icon
// theme, so the tree installs as it is), and the same icons in <output dir>/voxmere.ico for the
// Windows executable. The output depends on nothing but this program, so
// each run writes the same bytes.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "assets.h"
#include "assets/asset_files.h"
#include "assets/game_icon.h"
#include "png.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Writes one file of the catalogue under root, making its folder first. An empty file means
// the catalogue names a file no maker draws.
bool writeAsset(const std::filesystem::path& root, const char* name,
                const std::vector<uint8_t>& bytes) {
    const auto path = root / name;
    if (bytes.empty()) {
        std::fprintf(stderr, "voxmere-assets: nothing makes %s\n", name);
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error || !std::filesystem::is_directory(path.parent_path())) {
        std::fprintf(stderr, "voxmere-assets: cannot create %s: %s\n", path.parent_path().c_str(),
                     error ? error.message().c_str() : "not a directory");
        return false;
    }
    if (!writeFile(path, bytes)) {
        std::fprintf(stderr, "voxmere-assets: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: voxmere-assets <output directory>\n");
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    gen::Font font;
    std::string reason;
    if (!font.open(gen::boldFontPath(), reason)) {
        std::fprintf(stderr, "voxmere-assets: %s\n", reason.c_str());
        return 1;
    }
    const auto textures = gen::makeAllTextures(font);
    for (int file = 0; file < textureFileCount; ++file) {
        if (!writeAsset(root, kTextureFiles[file], textures[file])) return 1;
    }
    const auto sounds = gen::makeAllSounds();
    for (int file = 0; file < soundFileCount; ++file) {
        const auto& clip = sounds[file];
        if (!writeAsset(root, kSoundFiles[file],
                        clip.samples.empty() ? std::vector<uint8_t>{} : gen::encodeWave(clip))) {
            return 1;
        }
    }
    if (!writeAsset(root, kIconFile, gen::encodePng(drawGameIcon(), gameIconEdge, gameIconEdge)))
        return 1;
    static_assert(std::size(kDesktopIconFiles) == std::size(desktopIconEdges));
    std::vector<gen::IconImage> windowsIcons;
    for (std::size_t i = 0; i < std::size(desktopIconEdges); ++i) {
        const int edge = desktopIconEdges[i];
        char size[32];
        std::snprintf(size, sizeof size, "/%dx%d/", edge, edge);
        if (std::strstr(kDesktopIconFiles[i], size) == nullptr) {
            std::fprintf(stderr, "voxmere-assets: %s is not the %d-pixel icon\n",
                         kDesktopIconFiles[i], edge);
            return 1;
        }
        std::vector<uint8_t> png = gen::encodePng(drawGameIcon(edge), edge, edge);
        if (!writeAsset(root, kDesktopIconFiles[i], png)) return 1;
        windowsIcons.push_back({edge, std::move(png)});
    }
    if (!writeAsset(root, kWindowsIconFile, gen::encodeIco(windowsIcons))) return 1;
    return 0;
}
