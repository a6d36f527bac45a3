#include "skin/dialogs/path_routines.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/gfx/graphics.h"
#include "platform/rtl/exception.h"
#include "platform/sys/files.h"
#include "support/temp_dir.h"

namespace skin {
namespace {

TEST(PathRoutines, JoinDropAndCount) {
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/", "b"), "/b");

    struct {
        const char* Path;
        const char* Dropped;
    } const drops[] = {
        {"/", ""},
        {"/a/b/c/", "/.../b/c/"},
        {"/.../b/c/", "/.../c/"},
        {"/.../c/", "/.../"},
        {"/.../", "/"},
        {".../", ""},
        {"a/b/", ".../b/"},
        {"/.a/b/", "/.../b/"},  // a hidden folder is a folder, not our ellipsis
        {"", ""},
    };
    for (const auto& d : drops) {
        std::string path = d.Path;
        DropFirstDirectory(path);
        EXPECT_EQ(path, d.Dropped) << d.Path;
    }

    EXPECT_EQ(CountPathSeparators("/"), 1);
    EXPECT_EQ(CountPathSeparators("/a/b"), 2);
    EXPECT_EQ(CountPathSeparators("file"), 0);
}

TEST(PathRoutines, ShortenPathToWidthDropsFoldersButNeverTheName) {
    gfx::TBitmap bitmap;
    bitmap.SetSize(10, 10);
    gfx::TCanvas& canvas = bitmap.Canvas();
    // Folder names longer than ".../", so every step is narrower than the one before.
    const std::string path = "/alpha/beta/gamma/file.ext";
    const char* const steps[] = {"/alpha/beta/gamma/file.ext",
                                 "/.../beta/gamma/file.ext",
                                 "/.../gamma/file.ext",
                                 "/.../file.ext",
                                 ".../file.ext",
                                 "file.ext"};
    for (const char* step : steps) {
        EXPECT_EQ(ShortenPathToWidth(path, canvas, canvas.TextWidth(step)), step);
        EXPECT_EQ(ShortenPathToWidth(path, canvas, canvas.TextWidth(step) + 1), step);
    }
    EXPECT_EQ(ShortenPathToWidth(path, canvas, 0), "file.ext");
    EXPECT_EQ(ShortenPathToWidth("file.ext", canvas, 0), "file.ext");
}

TEST(PathRoutines, VolumeTextsByMountPoint) {
    std::vector<sys::TVolume> volumes(3);
    volumes[0].MountPoint = "/";
    volumes[0].Label = "Root";
    volumes[1].MountPoint = "/mnt/nas";
    volumes[1].Kind = sys::TVolumeKind::Network;
    volumes[1].Source = "nas:/export";
    volumes[2].MountPoint = "/media/u/cd";
    volumes[2].Kind = sys::TVolumeKind::CD;
    EXPECT_EQ(GetVolumeLabelText("/", volumes), "[Root]");
    EXPECT_EQ(GetVolumeLabelText("/media/u/cd", volumes), "[]");
    EXPECT_EQ(GetVolumeLabelText("/nowhere", volumes), "[]");
    EXPECT_EQ(GetNetworkVolumeText("/mnt/nas", volumes), "nas:/export");
    EXPECT_EQ(GetNetworkVolumeText("/", volumes), "[Root]");
}

class SplitEditPathTest : public testing::Test {
protected:
    SplitEditPathTest() {
        FTemp.MakeFolder("t/x/sub");
        FTemp.Touch("t/x/song.mp3");
        FRoot = std::filesystem::canonical(FTemp.Path()).string();
        std::filesystem::current_path(FRoot + "/t/x");
    }
    ~SplitEditPathTest() override { std::filesystem::current_path(FSaved); }

    testsupport::TTempDir FTemp;
    const std::filesystem::path FSaved = std::filesystem::current_path();
    std::string FRoot;
};

TEST_F(SplitEditPathTest, FolderAndFilePartsOfEditedTexts) {
    const std::string x = FRoot + "/t/x";
    struct {
        std::string Text, Dir, File;
    } const cases[] = {
        {x + "/*.mp3", x, "*.mp3"},
        {"[sub]", x + "/sub", ""},
        {x + "/sub", x + "/sub", ""},
        {x + "/song.mp3", x, "song.mp3"},
        {"song.mp3", x, "song.mp3"},
        {"*.wav", x, "*.wav"},
        {"/", "/", ""},
        {x + "/", x, ""},
    };
    for (const auto& c : cases) {
        std::string dir, file;
        SplitEditPath(c.Text, dir, file);
        EXPECT_EQ(dir, c.Dir) << c.Text;
        EXPECT_EQ(file, c.File) << c.Text;
        EXPECT_EQ(sys::GetCurrentDir(), x) << "the current folder is back after " << c.Text;
    }
}

TEST_F(SplitEditPathTest, AMissingFolderRaisesTheSystemTextAndRestoresTheFolder) {
    for (const std::string& text :
         {FRoot + "/none/*.mp3", std::string("[gone]"), FRoot + "/t/x/new.mp3"}) {
        std::string dir, file;
        try {
            SplitEditPath(text, dir, file);
            ADD_FAILURE() << "no error for " << text;
        } catch (const rtl::EInOutError& e) {
            EXPECT_EQ(e.Message(), "No such file or directory") << text;
        }
        EXPECT_EQ(sys::GetCurrentDir(), FRoot + "/t/x");
    }
}

}  // namespace
}  // namespace skin
