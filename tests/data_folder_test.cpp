#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/data_folder.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Runs each test from an empty scratch folder laid out like a prefix (bin/, share/) and a
// build tree, and goes back afterwards.
struct DataFolderTest : ::testing::Test {
    testsupport::ScratchFolder temp;
    fs::path home, scratch = fs::canonical(temp.path);
    void SetUp() override {
        home = fs::current_path();
        fs::create_directories(scratch / "elsewhere");
        fs::create_directories(scratch / "prefix" / "bin");
        fs::current_path(scratch / "elsewhere");
        if (holdsGameData(dataFolderCandidates("")[1])) GTEST_SKIP() << "the game is installed";
    }
    void TearDown() override { fs::current_path(home); }
    void makeData(const fs::path& folder, const char* which = "Textures") {
        fs::create_directories(folder / which);
    }
    fs::path bin() const { return scratch / "prefix" / "bin"; }
    std::string binFolder() const { return bin().string() + "/"; }
};

TEST_F(DataFolderTest, TheWorkingDirectoryComesFirstAndIsNotLeft) {
    makeData(scratch / "elsewhere", "Sounds");  // either folder is enough
    makeData(bin());
    EXPECT_EQ(enterDataFolder(binFolder()), ".");
    EXPECT_EQ(fs::current_path(), scratch / "elsewhere");
}

TEST_F(DataFolderTest, AnInstalledGameMovedToAnotherPrefixIsFoundFromAnyWorkingDirectory) {
    makeData(scratch / "prefix" / "share" / "voxmere");
    EXPECT_NE(enterDataFolder(binFolder()), "");
    EXPECT_EQ(fs::canonical(fs::current_path()), scratch / "prefix" / "share" / "voxmere");
}

TEST_F(DataFolderTest, DataBesideTheExecutableIsFound) {
    makeData(bin(), "Sounds");
    makeData(scratch / "prefix" / "share" / "voxmere");
    EXPECT_EQ(enterDataFolder(binFolder()), binFolder());
    EXPECT_EQ(fs::current_path(), bin());
}

TEST_F(DataFolderTest, WithNoDataAnywhereItStaysAndNamesEveryPlaceItLooked) {
    fs::create_directories(scratch / "elsewhere" / "textures");  // names are case-sensitive
    testing::internal::CaptureStderr();
    EXPECT_EQ(enterDataFolder(binFolder()), "");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(fs::current_path(), scratch / "elsewhere");
    for (const std::string& folder : dataFolderCandidates(binFolder())) {
        const std::string named = folder == "." ? (scratch / "elsewhere").string() : folder;
        EXPECT_NE(said.find(named), std::string::npos) << named << " not in: " << said;
    }
    EXPECT_EQ(dataFolderCandidates(binFolder()).size(), 4u);
    EXPECT_EQ(dataFolderCandidates("").size(), 2u);  // no executable folder known
    EXPECT_EQ(dataFolderCandidates("")[1].front(), '/');
}

}  // namespace
