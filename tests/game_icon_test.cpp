// The icon: what the desktop shows (the generator's PNGs and Windows icon, read back by
// ImageMagick) is exactly what is drawn at each size, the window's included, and it looks like the game's two-eyed ship.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "assets/asset_files.h"
#include "assets/game_icon.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

using testfiles::readAll;

// What ImageMagick reads from `source` as RGBA bytes, with its "width height".
std::vector<uint8_t> decodeIcon(const std::string& source, std::string& size) {
    const fs::path raw = fs::temp_directory_path() / ("voxmere-icon-" + std::to_string(getpid()));
    const std::string command = "convert '" + source + "' -depth 8 'rgba:" + raw.string() +
                                "' && identify -format '%w %h' '" + source + "' > '" +
                                raw.string() + ".size'";
    const bool read = std::system(command.c_str()) == 0;
    const auto decoded = readAll(raw);
    const auto sizeBytes = readAll(raw.string() + ".size");
    fs::remove(raw);
    fs::remove(raw.string() + ".size");
    size = read ? std::string(sizeBytes.begin(), sizeBytes.end()) : "unreadable";
    return decoded;
}

// Every PNG the desktop gets (the window's size and each icon-theme size), and each image of
// the Windows executable's icon, holds exactly the drawing at its size.
TEST(GameIcon, TheGeneratedIconsHoldExactlyTheDrawnPixels) {
    std::vector<std::pair<std::string, int>> icons{{kIconFile, gameIconEdge}};
    for (std::size_t i = 0; i < std::size(desktopIconEdges); ++i) {
        icons.push_back({kDesktopIconFiles[i], desktopIconEdges[i]});
        icons.push_back({std::string(kWindowsIconFile) + "[" + std::to_string(i) + "]",
                         desktopIconEdges[i]});
    }
    for (const auto& [name, edge] : icons) {
        SCOPED_TRACE(name);
        const std::string source = (fs::path(VOXMERE_ASSETS_DIR) / name).string();
        if (name.find(".png") != std::string::npos) {
            const auto bytes = readAll(source);
            ASSERT_GT(bytes.size(), 33u) << source;
            const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
            EXPECT_TRUE(std::equal(signature, signature + 8, bytes.begin()));
        }
        std::string size;
        const auto decoded = decodeIcon(source, size);
        EXPECT_EQ(size, std::to_string(edge) + " " + std::to_string(edge));
        EXPECT_TRUE(decoded == drawGameIcon(edge)) << "the file and the drawing differ";
    }
}

TEST(GameIcon, TwoCopiesOfTheShipMirrorEachOtherOnADiscWithClearCorners) {
    const auto icon = drawGameIcon();
    ASSERT_EQ(icon.size(), static_cast<size_t>(gameIconEdge * gameIconEdge * 4));
    EXPECT_TRUE(icon == drawGameIcon());
    const auto at = [&](int x, int y, int channel) {
        return icon[(y * gameIconEdge + x) * 4 + channel];
    };
    const int last = gameIconEdge - 1;
    for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
        EXPECT_EQ(at(x, y, 3), 0) << x << "," << y;
    }
    EXPECT_EQ(at(gameIconEdge / 2, gameIconEdge / 2, 3), 255);

    long redOnlyX = 0, blueOnlyX = 0, redOnly = 0, blueOnly = 0;
    for (int y = 0; y < gameIconEdge; ++y) {
        for (int x = 0; x < gameIconEdge; ++x) {
            // The left eye's red copy is the right eye's blue copy mirrored.
            EXPECT_NEAR(at(x, y, 0), at(last - x, y, 2), 30) << x << "," << y;
            if (at(x, y, 0) > 200 && at(x, y, 2) < 100) redOnlyX += x, ++redOnly;
            if (at(x, y, 2) > 200 && at(x, y, 0) < 100) blueOnlyX += x, ++blueOnly;
        }
    }
    ASSERT_GT(redOnly, 20);
    ASSERT_GT(blueOnly, 20);
    EXPECT_LT(redOnlyX / redOnly, blueOnlyX / blueOnly) << "red should be the left copy";
}

}  // namespace
