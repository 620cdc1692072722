// voxmere-assets <output dir>: writes every texture to <output dir>/Textures, every sound to
// <output dir>/Sounds, the window's icon to <output dir>/voxmere.png and the desktop's icons,
// one per size, to <output dir>/icons/hicolor/<N>x<N>/apps/voxmere.png (the layout of an icon
// theme, so the tree installs as it is). The output depends on nothing but this program, so
// each run writes the same bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets.h"
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: voxmere-assets <output directory>\n");
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    std::error_code error;
    for (const char* folder : {"Textures", "Sounds"}) {
        std::filesystem::create_directories(root / folder, error);
        if (error || !std::filesystem::is_directory(root / folder)) {
            std::fprintf(stderr, "voxmere-assets: cannot create %s: %s\n", (root / folder).c_str(),
                         error ? error.message().c_str() : "not a directory");
            return 1;
        }
    }
    gen::Font font;
    std::string reason;
    if (!font.open(gen::boldFontPath(), reason)) {
        std::fprintf(stderr, "voxmere-assets: %s\n", reason.c_str());
        return 1;
    }
    for (const gen::TextureImage& image : gen::makeAllTextures(font)) {
        const auto path = root / "Textures" / image.name;
        if (!writeFile(path, image.texels)) {
            std::fprintf(stderr, "voxmere-assets: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    for (const gen::SoundClip& clip : gen::makeAllSounds()) {
        const auto path = root / "Sounds" / clip.name;
        if (!writeFile(path, gen::encodeWave(clip))) {
            std::fprintf(stderr, "voxmere-assets: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    const auto iconPath = root / "voxmere.png";
    if (!writeFile(iconPath, gen::encodePng(drawGameIcon(), gameIconEdge, gameIconEdge))) {
        std::fprintf(stderr, "voxmere-assets: cannot write %s\n", iconPath.c_str());
        return 1;
    }
    for (const int edge : desktopIconEdges) {
        const std::string size = std::to_string(edge) + "x" + std::to_string(edge);
        const auto folder = root / "icons" / "hicolor" / size / "apps";
        std::filesystem::create_directories(folder, error);
        const auto path = folder / "voxmere.png";
        if (error || !writeFile(path, gen::encodePng(drawGameIcon(edge), edge, edge))) {
            std::fprintf(stderr, "voxmere-assets: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
