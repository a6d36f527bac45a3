#include "platform/sys/files.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

TEST(FileNameTest, Helpers) {
    struct TCase {
        const char* name;
        const char* path;
        const char* dir;
        const char* file;
        const char* ext;
    };
    const TCase cases[] = {
        {"/a/b/c.txt", "/a/b/", "/a/b", "c.txt", ".txt"},
        {"/a/b/c.tar.gz", "/a/b/", "/a/b", "c.tar.gz", ".gz"},
        {"/c.txt", "/", "/", "c.txt", ".txt"},
        {"c.txt", "", "", "c.txt", ".txt"},
        {"/a.d/file", "/a.d/", "/a.d", "file", ""},
        {"/a/b/", "/a/b/", "/a/b", "", ""},
        {"/a/file.", "/a/", "/a", "file.", "."},
        {"C:\\dir\\x.avi", "", "", "C:\\dir\\x.avi", ".avi"},
        {"/d:e/f.mp4", "/d:e/", "/d:e", "f.mp4", ".mp4"},
        {"/视频/片.mkv", "/视频/", "/视频", "片.mkv", ".mkv"},
        {"", "", "", "", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sys::ExtractFilePath(c.name), c.path);
        EXPECT_EQ(sys::ExtractFileDir(c.name), c.dir);
        EXPECT_EQ(sys::ExtractFileName(c.name), c.file);
        EXPECT_EQ(sys::ExtractFileExt(c.name), c.ext);
    }
}

TEST(FileNameTest, ChangeFileExt) {
    struct TCase {
        const char* name;
        const char* ext;
        const char* result;
    };
    const TCase cases[] = {
        {"/a/b.avi", ".mp4", "/a/b.mp4"}, {"/a/b", ".mp4", "/a/b.mp4"},
        {"/a.d/b", ".mp4", "/a.d/b.mp4"}, {"/a/b.tar.gz", ".zip", "/a/b.tar.zip"},
        {"/a/b.avi", "", "/a/b"},
    };
    for (const TCase& c : cases) EXPECT_EQ(sys::ChangeFileExt(c.name, c.ext), c.result) << c.name;
}

TEST(FileNameTest, TrailingDelimiter) {
    EXPECT_EQ(sys::IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(sys::IncludeTrailingPathDelimiter("/a/"), "/a/");
    EXPECT_EQ(sys::ExcludeTrailingPathDelimiter("/a/"), "/a");
    EXPECT_EQ(sys::ExcludeTrailingPathDelimiter("/a"), "/a");
    EXPECT_EQ(sys::ExcludeTrailingPathDelimiter("/"), "/") << "the root stays the root";
}

class FilesTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/moradex-sys-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        FDir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }

    std::string Make(const std::string& name, const std::string& content) {
        const std::string path = FDir + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::string FDir;
};

TEST_F(FilesTest, ExistenceAndSize) {
    const std::string file = Make("clip.avi", "12345");
    const std::string missing = FDir + "/missing.avi";
    struct TCase {
        std::string path;
        bool file;
        bool dir;
        int64_t size;
    };
    const TCase cases[] = {
        {file, true, false, 5},      {FDir, false, true, -1}, {FDir + "/", false, true, -1},
        {missing, false, false, -1}, {"", false, false, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(sys::FileExists(c.path), c.file);
        EXPECT_EQ(sys::DirectoryExists(c.path), c.dir);
        EXPECT_EQ(sys::FileSize(c.path), c.size);
    }
}

TEST_F(FilesTest, ForceDirectoriesCreatesEveryLevel) {
    const std::string deep = FDir + "/输出/a/b/";
    EXPECT_TRUE(sys::ForceDirectories(deep));
    EXPECT_TRUE(sys::DirectoryExists(deep));
    EXPECT_TRUE(sys::ForceDirectories(deep)) << "an existing folder is success";
    EXPECT_FALSE(sys::ForceDirectories(""));
    const std::string file = Make("plain", "x");
    EXPECT_FALSE(sys::ForceDirectories(file + "/sub")) << "a file is in the way";
}

TEST_F(FilesTest, DeleteRenameRemove) {
    const std::string a = Make("a.txt", "a");
    const std::string b = Make("b.txt", "b");
    EXPECT_FALSE(sys::RenameFile(a, b)) << "a rename never replaces";
    EXPECT_EQ(sys::FileSize(b), 1);
    const std::string c = FDir + "/c.txt";
    EXPECT_TRUE(sys::RenameFile(a, c));
    EXPECT_FALSE(sys::FileExists(a));
    EXPECT_TRUE(sys::FileExists(c));

    const std::string sub = FDir + "/sub";
    ASSERT_TRUE(sys::ForceDirectories(sub));
    EXPECT_FALSE(sys::DeleteFile(sub)) << "folders are not files";
    EXPECT_TRUE(sys::DeleteFile(c));
    EXPECT_FALSE(sys::DeleteFile(c));
    Make("sub/inner", "i");
    EXPECT_FALSE(sys::RemoveDir(sub)) << "not empty";
    EXPECT_TRUE(sys::DeleteFile(sub + "/inner"));
    EXPECT_TRUE(sys::RemoveDir(sub));
    EXPECT_FALSE(sys::DirectoryExists(sub));
}

TEST_F(FilesTest, CurrentDir) {
    EXPECT_EQ(sys::GetCurrentDir(), std::filesystem::current_path().string());
}

}  // namespace
