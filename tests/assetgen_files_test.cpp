// The generated files as the loaders and the player meet them: sizes and headers the loaders
// accept, identical bytes on every run, sounds that never clip, carry no DC and loop without a
// click, and tiling textures without seams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/game_icon.h"
#include "assets/wav_header.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

using testfiles::readAll;
using testsupport::ScratchFolder;

fs::path built() {
    return fs::path(VOXMERE_ASSETS_DIR);
}

// A path as one shell word. Built by appending: GCC 12 at -O3 warns (falsely) about the
// overlapping copy inside `"'" + path`.
std::string quoted(const fs::path& path) {
    std::string word(1, '\'');
    word += path.string();
    word += '\'';
    return word;
}

int runTool(const std::string& arguments, const fs::path& errors) {
    const std::string command =
        std::string("'") + VOXMERE_ASSETS_TOOL + "' " + arguments + " 2>'" + errors.string() + "'";
    return std::system(command.c_str());
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

struct Wave {
    int rate = 0;
    std::vector<int16_t> samples;
    double seconds() const { return static_cast<double>(samples.size()) / rate; }
};

Wave readWave(const char* name) {
    const auto bytes = readAll(built() / name);
    Wave w;
    if (bytes.size() < 44) return w;
    w.rate = static_cast<int>(le32(bytes, 24));
    const size_t count = le32(bytes, 40) / 2;
    for (size_t i = 0; i < count && 44 + 2 * i + 1 < bytes.size(); ++i) {
        w.samples.push_back(static_cast<int16_t>(le16(bytes, 44 + 2 * i)));
    }
    return w;
}

TEST(AssetFiles, EveryTextureHasASizeItsLoaderAccepts) {
    for (int file = 0; file < textureFileCount; ++file) {
        SCOPED_TRACE(kTextureFiles[file]);
        const auto size = fs::file_size(built() / kTextureFiles[file]);
        const bool rgba = file == TextureFileHelpPage || file == TextureFileMainPage ||
                          file == TextureFileOptionsPage;
        if (rgba) {
            EXPECT_TRUE(size == 4u * 512 * 512 || size == 4u * 1024 * 1024) << size;
        } else {
            // 128 and up; a 64 x 64 luminance file would need 8192 bytes, so it is never used.
            EXPECT_TRUE(size == 128u * 128 || size == 256u * 256 || size == 512u * 512 ||
                        size == 1024u * 1024)
                << size;
        }
    }
}

TEST(AssetFiles, EverySoundHasTheCanonicalMonoHeaderAndItsLength) {
    struct Limit {
        double minSeconds, maxSeconds;
    };
    const Limit limits[soundFileCount] = {{0.05, 0.5}, {0.05, 0.5}, {0.05, 0.5},  {0.05, 0.5},
                                          {0.05, 0.5}, {0.05, 0.5}, {1.0, 2.0},   {1.0, 2.0},
                                          {0.1, 0.5},  {0.3, 1.5},  {10.3, 10.6}, {30.0, 120.0}};
    for (int i = 0; i < soundFileCount; ++i) {
        SCOPED_TRACE(kSoundFiles[i]);
        const auto bytes = readAll(built() / kSoundFiles[i]);
        ASSERT_GT(bytes.size(), 44u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
        EXPECT_EQ(le32(bytes, 4), bytes.size() - 8);
        EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(le32(bytes, 16), 16u);
        EXPECT_EQ(le16(bytes, 20), 1);  // PCM
        EXPECT_EQ(le16(bytes, 22), 1);  // mono, so OpenAL can place it
        const uint32_t rate = le32(bytes, 24);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
        EXPECT_EQ(le32(bytes, 28), rate * 2);
        EXPECT_EQ(le16(bytes, 32), 2);
        EXPECT_EQ(le16(bytes, 34), 16);
        EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
        EXPECT_EQ(le32(bytes, 40), bytes.size() - 44);
        const double seconds = static_cast<double>(bytes.size() - 44) / 2.0 / rate;
        EXPECT_GE(seconds, limits[i].minSeconds);
        EXPECT_LE(seconds, limits[i].maxSeconds);
    }
}

TEST(AssetFiles, TheGamesWaveReaderAcceptsEverySound) {
    for (const char* name : kSoundFiles) {
        SCOPED_TRACE(name);
        std::FILE* file = std::fopen((built() / name).c_str(), "rb");
        ASSERT_NE(file, nullptr);
        WavHeader header;
        EXPECT_TRUE(readWavHeader(file, header));
        EXPECT_TRUE(isPlayableWav(header));
        EXPECT_EQ(wavPlayChannels(header.channels), 1);
        EXPECT_TRUE(fileHoldsBytes(file, header.dataLength));
        std::fclose(file);
    }
}

// The build's own run is the first; one more into a scratch folder must match it byte for byte.
TEST(AssetFiles, TwoRunsWriteIdenticalBytes) {
    ScratchFolder second;
    ASSERT_EQ(runTool(quoted(second.path), second.path / "errors.txt"), 0);
    std::vector<const char*> files(std::begin(kTextureFiles), std::end(kTextureFiles));
    files.insert(files.end(), std::begin(kSoundFiles), std::end(kSoundFiles));
    files.push_back(kIconFile);
    files.insert(files.end(), std::begin(kDesktopIconFiles), std::end(kDesktopIconFiles));
    files.push_back(kWindowsIconFile);
    for (const char* name : files) {
        SCOPED_TRACE(name);
        const auto a = readAll(built() / name);
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == readAll(second.path / name));
    }
    // Nothing beyond the catalogue and the error log.
    int written = 0;
    for (const auto& entry : fs::recursive_directory_iterator(second.path))
        written += entry.is_regular_file();
    EXPECT_EQ(written, static_cast<int>(files.size()) + 1);
}

TEST(AssetFiles, BadCommandLinesAndUnwritableFoldersFailWithAMessage) {
    ScratchFolder scratch;
    const std::string errors = scratch / "errors.txt";
    EXPECT_NE(runTool("", errors), 0);
    EXPECT_NE(testsupport::readText(errors), "") << "no usage message";
    EXPECT_NE(runTool("a b", errors), 0);

    // A plain file where the output folder should be: the file is kept as it was.
    const fs::path blocker = scratch.path / "occupied";
    testsupport::writeText(blocker, "keep me");
    EXPECT_NE(runTool(quoted(blocker), errors), 0);
    EXPECT_NE(testsupport::readText(errors).find("cannot create"), std::string::npos);
    EXPECT_EQ(testsupport::readText(blocker), "keep me");
}

TEST(AssetSounds, NoClippingNoDcAndSilenceAtTheEndsOfOneShots) {
    for (int file = 0; file < soundFileCount; ++file) {
        const char* name = kSoundFiles[file];
        SCOPED_TRACE(name);
        const Wave w = readWave(name);
        ASSERT_FALSE(w.samples.empty());
        int peak = 0;
        double sum = 0.0;
        for (const int16_t s : w.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
            sum += s;
        }
        EXPECT_LT(peak, 32000) << "too close to full scale";
        EXPECT_GT(peak, 8000) << "too quiet to hear over the music";
        EXPECT_LT(std::fabs(sum / static_cast<double>(w.samples.size())), 16.0) << "DC offset";
        if (file != SoundFileLoop1) {
            // One-shots end at rest, so stopping or finishing never clicks.
            EXPECT_LT(std::abs(w.samples.back()), 64);
            EXPECT_LT(std::abs(w.samples.front()), 2000);
        }
    }
}

TEST(AssetSounds, LasersGrowHeavierWithThePowerLevel) {
    // Weight: the energy below about 300 Hz, in total and as a share of the whole.
    double previousLow = 0.0, previousShare = 0.0, previousSeconds = 0.0;
    for (int level = 0; level < 6; ++level) {
        SCOPED_TRACE(kSoundFiles[SoundFileLaser1 + level]);
        const Wave w = readWave(kSoundFiles[SoundFileLaser1 + level]);
        const double a = std::exp(-2.0 * M_PI * 300.0 / w.rate);
        double smooth = 0.0, low = 0.0, all = 0.0;
        for (const int16_t s : w.samples) {
            smooth = a * smooth + (1.0 - a) * s;
            low += smooth * smooth;
            all += static_cast<double>(s) * s;
        }
        EXPECT_GT(low, previousLow);
        EXPECT_GT(low / all, previousShare);
        EXPECT_GE(w.seconds(), previousSeconds);
        previousLow = low;
        previousShare = low / all;
        previousSeconds = w.seconds();
    }
}

TEST(AssetSounds, GameMusicLoopsWithoutAClick) {
    const Wave w = readWave(kSoundFiles[SoundFileLoop1]);
    ASSERT_GT(w.samples.size(), 1000u);
    const auto& s = w.samples;
    const size_t n = s.size();
    const auto at = [&](size_t i) { return static_cast<double>(s[i % n]); };
    // How big a step and a bend between neighbouring samples usually are in this music.
    std::vector<double> steps, bends;
    for (size_t i = 1; i + 1 < n; ++i) {
        steps.push_back(std::fabs(at(i + 1) - at(i)));
        bends.push_back(std::fabs(at(i + 1) - 2 * at(i) + at(i - 1)));
    }
    std::sort(steps.begin(), steps.end());
    std::sort(bends.begin(), bends.end());
    const double step99 = steps[steps.size() * 99 / 100], bend99 = bends[bends.size() * 99 / 100];
    // Across the seam: from the last sample to the first, and the slope either side.
    const double jump = std::fabs(at(0) - at(n - 1));
    const double slopeBefore = at(n - 1) - at(n - 2), slopeAfter = at(0) - at(n - 1);
    const double bend = std::fabs(slopeAfter - slopeBefore);
    EXPECT_LT(jump, step99);
    EXPECT_LT(bend, bend99);
    EXPECT_LT(std::fabs((at(1) - at(0)) - slopeAfter), bend99);
}

// Mean absolute difference between two columns (or rows) of a square luminance image.
double lineDifference(const std::vector<uint8_t>& img, int edge, int a, int b, bool columns) {
    double sum = 0.0;
    for (int i = 0; i < edge; ++i) {
        const int pa = columns ? i * edge + a : a * edge + i;
        const int pb = columns ? i * edge + b : b * edge + i;
        sum += std::abs(static_cast<int>(img[pa]) - static_cast<int>(img[pb]));
    }
    return sum / edge;
}

TEST(AssetTextures, RockShieldAndBackdropTileWithoutSeams) {
    for (int file : {TextureFileAsteroid, TextureFileShield, TextureFileBackdrop}) {
        SCOPED_TRACE(kTextureFiles[file]);
        const auto img = readAll(built() / kTextureFiles[file]);
        const int edge = static_cast<int>(std::lround(std::sqrt(static_cast<double>(img.size()))));
        ASSERT_EQ(static_cast<size_t>(edge) * edge, img.size());
        for (const bool columns : {true, false}) {
            // The wrap from the last line to the first must look like the neighbouring pairs on
            // either side of it.
            double nearby = 0.0;
            for (int i = 1; i <= 4; ++i) {
                nearby =
                    std::max(nearby, lineDifference(img, edge, edge - 1 - i, edge - i, columns));
                nearby = std::max(nearby, lineDifference(img, edge, i - 1, i, columns));
            }
            EXPECT_LT(lineDifference(img, edge, edge - 1, 0, columns), nearby * 1.3 + 1.0)
                << (columns ? "left and right edges" : "top and bottom edges");
        }
    }
}

}  // namespace
