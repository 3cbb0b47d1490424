// The lookup of the program's data files: current folder, then beside the
// program, then the installed data folder relative to it.
#include <fstream>

#include <gtest/gtest.h>

#include "platform/data_files.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// A pretend installation: prefix/bin (the program), prefix/share/vexlin
// (the data) and a separate current folder.
class DataFilesTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Bin());
        fs::create_directories(Share());
        fs::create_directories(Cwd());
    }
    fs::path Bin() const { return dir_.Path() / "prefix" / "bin"; }
    fs::path Share() const { return dir_.Path() / "prefix" / "share" / "vexlin"; }
    fs::path Cwd() const { return dir_.Path() / "work"; }
    static void Put(const fs::path& folder, const char* name) { std::ofstream(folder / name) << name; }
    std::vector<fs::path> Folders() const { return DataFileFolders(Cwd(), Bin()); }

    test::TempDir dir_;
};

TEST_F(DataFilesTest, FoldersAreCurrentThenProgramThenShare) {
    const std::vector<fs::path> expected = {Cwd(), Bin(), Share()};
    EXPECT_EQ(Folders(), expected);
    // Started in its own folder: that folder is searched once.
    const std::vector<fs::path> same = {Bin(), Share()};
    EXPECT_EQ(DataFileFolders(Bin(), Bin()), same);
    // No program folder known: the current folder only.
    EXPECT_EQ(DataFileFolders(Cwd(), {}), std::vector<fs::path>{Cwd()});
}

TEST_F(DataFilesTest, TheFirstFolderHoldingTheFileWins) {
    struct Case {
        bool inCwd, inBin, inShare;
        int expected; // 0 cwd, 1 bin, 2 share, -1 not found
    };
    const Case cases[] = {
        {true, true, true, 0}, {false, true, true, 1}, {false, false, true, 2},
        {true, false, true, 0}, {false, false, false, -1},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "file" + std::to_string(n++) + ".doc";
        if (c.inCwd) Put(Cwd(), name.c_str());
        if (c.inBin) Put(Bin(), name.c_str());
        if (c.inShare) Put(Share(), name.c_str());
        const fs::path where[] = {Cwd(), Bin(), Share()};
        const std::string expected = c.expected < 0 ? "" : (where[c.expected] / name).lexically_normal().string();
        EXPECT_EQ(FindDataFile(name, Folders()), expected) << name;
    }
}

TEST_F(DataFilesTest, OnlyPlainFileNamesAndRegularFilesAreFound) {
    Put(Share(), "Error.wav");
    fs::create_directories(Cwd() / "Error.wav"); // a folder of that name is passed over
    EXPECT_EQ(FindDataFile("Error.wav", Folders()), (Share() / "Error.wav").lexically_normal().string());
    Put(dir_.Path(), "outside.doc");
    for (const char* name : {"", ".", "..", "../outside.doc", "/etc/passwd", "sub/Error.wav"})
        EXPECT_EQ(FindDataFile(name, Folders()), "") << name;
}

} // namespace
} // namespace vx
