#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/sys/files.h"
#include "support/temp_dir.h"

namespace {

// Puts the process's folder back whatever a case does with it.
class FoldersTest : public testing::Test {
protected:
    ~FoldersTest() override { std::filesystem::current_path(FSaved); }

    testsupport::TTempDir FTemp;
    const std::filesystem::path FSaved = std::filesystem::current_path();
};

TEST_F(FoldersTest, SetCurrentDirMovesOrReportsTheSystemError) {
    FTemp.MakeFolder("a/b");
    FTemp.Touch("file");
    ASSERT_TRUE(sys::SetCurrentDir(FTemp / "a"));
    EXPECT_EQ(sys::GetCurrentDir(), std::filesystem::canonical(FTemp / "a").string());
    ASSERT_TRUE(sys::SetCurrentDir("b")) << "relative to the current folder";
    EXPECT_EQ(sys::ExtractFileName(sys::GetCurrentDir()), "b");

    struct {
        std::string Path;
        int Error;
    } const failures[] = {
        {FTemp / "missing", ENOENT},
        {FTemp / "file", ENOTDIR},
        {"", ENOENT},
    };
    for (const auto& f : failures) {
        const std::string before = sys::GetCurrentDir();
        int error = 0;
        EXPECT_FALSE(sys::SetCurrentDir(f.Path, &error)) << f.Path;
        EXPECT_EQ(error, f.Error) << f.Path;
        EXPECT_EQ(sys::GetCurrentDir(), before) << "a failed change leaves the folder alone";
    }
}

TEST_F(FoldersTest, ListDirectoryGivesKindsAndFlags) {
    FTemp.MakeFolder("sub");
    FTemp.MakeFolder(".hid");
    FTemp.Touch("a.mp3");
    FTemp.Touch(".h.mp3");
    std::filesystem::create_directory_symlink(FTemp / "sub", FTemp / "link");

    std::vector<sys::TDirEntry> entries;
    ASSERT_TRUE(sys::ListDirectory(FTemp.Path(), entries));
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.Name < b.Name; });
    struct {
        const char* Name;
        bool Directory, Hidden;
    } const expected[] = {
        {".h.mp3", false, true}, {".hid", true, true}, {"a.mp3", false, false},
        {"link", true, false},   {"sub", true, false},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Name, expected[i].Name);
        EXPECT_EQ(entries[i].Directory, expected[i].Directory) << expected[i].Name;
        EXPECT_EQ(entries[i].Hidden, expected[i].Hidden) << expected[i].Name;
        EXPECT_FALSE(entries[i].ReadOnly) << expected[i].Name;
    }

    int error = 0;
    EXPECT_FALSE(sys::ListDirectory(FTemp / "missing", entries, &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_TRUE(entries.empty());
}

}  // namespace
