// The drive, directory, file and filter controls over temporary folders and a fixture machine
// of mounted volumes. The controls move the process's current folder; each case puts it back.
#include "skin/dialogs/file_controls.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/rtl/exception.h"
#include "platform/sys/files.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/dialogs/path_routines.h"
#include "support/temp_dir.h"

namespace skin {
namespace {

std::vector<std::string> ItemsOf(vcl::TListBoxStrings& items) {
    std::vector<std::string> v;
    for (int i = 0; i < items.Count(); ++i) v.push_back(items[i]);
    return v;
}

bool SamePicture(const gfx::TBitmap* shown, const char* resource) {
    gfx::TBitmap expected;
    expected.LoadFromResourceName(resource);
    if (!shown || shown->Width() != expected.Width() || shown->Height() != expected.Height())
        return false;
    gfx::TBitmap& s = const_cast<gfx::TBitmap&>(*shown);
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            if (s.Canvas().Pixel(x, y) != expected.Canvas().Pixel(x, y)) return false;
    return true;
}

class FileControlsTest : public test::TControlsTest {
public:
    void SetUp() override {
        TControlsTest::SetUp();
        FRoot = std::filesystem::canonical(FTemp.Path()).string();
        FileControlVolumeSources() = {};
    }
    void TearDown() override {
        FileControlVolumeSources() = {};
        std::filesystem::current_path(FSaved);
        TControlsTest::TearDown();
    }

    testsupport::TTempDir FTemp;
    std::string FRoot;
    const std::filesystem::path FSaved = std::filesystem::current_path();
};

TEST_F(FileControlsTest, DriveComboListsTheVolumesWithTheirPictures) {
    FTemp.MakeFolder("by-label");
    std::filesystem::create_symlink("../../sda2", FTemp / "by-label/ROOT");
    std::vector<std::string> statted;
    sys::TVolumeSources& sources = FileControlVolumeSources();
    sources.MountInfo =
        "22 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
        "23 22 0:21 / /proc rw - proc proc rw\n"
        "24 22 7:3 / /snap/core/1 ro - squashfs /dev/loop3 ro\n"
        "25 22 8:1 / /boot/efi rw - vfat /dev/sda1 rw\n"
        "26 22 8:17 / /media/u/STICK rw - vfat /dev/sdb1 rw\n"
        "27 22 0:50 / /mnt/nas rw - nfs4 nas:/export rw\n";
    sources.SysRoot = FTemp / "sys";
    sources.ByLabelDir = FTemp / "by-label";
    sources.IsDirectory = [&](const std::string& path) {
        statted.push_back(path);
        return true;
    };

    auto* combo = Make<TbsSkinDriveComboBox>(20, 20, 200, 20, "Drives");
    Run();
    EXPECT_EQ(ItemsOf(combo->Items()),
              (std::vector<std::string>{"/ [root]", "/media/u/STICK", "/mnt/nas nas:/export"}));
    EXPECT_TRUE(SamePicture(combo->ItemBitmap(0), "BS_HARD"));
    EXPECT_TRUE(SamePicture(combo->ItemBitmap(1), "BS_FLOPPY"));
    EXPECT_TRUE(SamePicture(combo->ItemBitmap(2), "BS_NETWORK"));
    EXPECT_EQ(combo->Drive(), "/") << "the volume of the current folder";
    EXPECT_EQ(combo->ItemIndex(), 0);

    combo->SetTextCase(tcUpperCase);
    EXPECT_EQ(ItemsOf(combo->Items()),
              (std::vector<std::string>{"/ [ROOT]", "/media/u/STICK", "/mnt/nas NAS:/EXPORT"}));
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->SetDrive("/mnt/nas");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "/mnt/nas NAS:/EXPORT");
    combo->SetDrive("");
    EXPECT_EQ(combo->ItemIndex(), -1);

    for (const std::string& p : statted)
        EXPECT_NE(p.rfind("/mnt/nas", 0), 0u) << "the network share was touched: " << p;
}

TEST_F(FileControlsTest, TheDriveFolderAndGlyphPicturesAreTheirSizeWithAKeyCorner) {
    const struct {
        const char* Name;
        int Width, Height;
    } pictures[] = {
        {"BS_FLOPPY", 16, 16},       {"BS_HARD", 16, 16},
        {"BS_NETWORK", 16, 16},      {"BS_CDROM", 16, 16},
        {"BS_RAM", 16, 11},          {"BS_OPENFOLDER", 16, 15},
        {"BS_CLOSEDFOLDER", 16, 15}, {"BS_CURRENTFOLDER", 16, 15},
        {"BS_NEWFOLDER", 16, 16},    {"BS_BACK", 16, 16},
        {"BS_UP", 16, 16},           {"BS_LVSTYLE", 16, 16},
        {"BS_STRETCH", 16, 16},
    };
    auto* list = Make<TbsSkinDirectoryListBox>(20, 20, 150, 100);  // registers the pictures
    (void)list;
    for (const auto& p : pictures) {
        gfx::TBitmap b;
        ASSERT_TRUE(b.LoadFromResourceName(p.Name)) << p.Name;
        EXPECT_EQ(b.Width(), p.Width) << p.Name;
        EXPECT_EQ(b.Height(), p.Height) << p.Name;
        EXPECT_EQ(b.Canvas().Pixel(0, b.Height() - 1), gfx::RGB(255, 0, 255)) << p.Name;
        int drawn = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                drawn += b.Canvas().Pixel(x, y) != gfx::RGB(255, 0, 255);
        EXPECT_GT(drawn, 40) << p.Name << " is a picture, not a blank";
    }
}

TEST_F(FileControlsTest, DirectoryListShowsThePathThenTheSubFolders) {
    FTemp.MakeFolder("a/b/x/deeper");
    FTemp.MakeFolder("a/b/y");
    FTemp.MakeFolder("a/b/.h");
    FTemp.Touch("a/b/file.mp3");
    FTemp.Touch("a/b/x/in-x.mp3");
    const std::string b = FRoot + "/a/b";

    auto* list = Make<TbsSkinDirectoryListBox>(20, 20, 200, 200, "Dirs");
    auto* files = Make<TbsSkinFileListBox>(230, 20, 150, 200, "Files");
    auto* label = new TbsSkinStdLabel(Form);
    label->SetParent(Form);
    label->SetBounds(20, 230, 120, 16);
    label->SetAutoSize(false);
    list->SetFileList(files);
    list->SetDirLabel(label);
    int changes = 0;
    list->OnChange = [&](vcl::TObject*) { ++changes; };
    list->SetDirectory(b);
    Run();

    std::vector<std::string> expected{"/"};
    std::vector<std::string> paths{"/"};
    for (std::size_t start = 1;;) {
        const std::size_t slash = b.find('/', start);
        expected.push_back(b.substr(start, slash - start));
        paths.push_back(b.substr(0, slash));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    const int current = int(expected.size()) - 1;
    expected.push_back("x");
    expected.push_back("y");
    paths.push_back(b + "/x");
    paths.push_back(b + "/y");
    EXPECT_EQ(ItemsOf(list->Items()), expected);
    EXPECT_EQ(list->ItemIndex(), current) << "the folder itself is selected";
    for (int i = 0; i < int(paths.size()); ++i) EXPECT_EQ(list->GetItemPath(i), paths[i]) << i;
    EXPECT_EQ(list->GetItemPath(int(paths.size())), "");
    EXPECT_EQ(files->Directory(), b);
    EXPECT_EQ(ItemsOf(files->Items()), std::vector<std::string>{"file.mp3"});
    EXPECT_EQ(changes, 1);

    // A double click on "x" opens it and moves the linked list and label.
    const vcl::TRect r = list->ItemRect(current + 1);
    const vcl::TPoint p = list->ListBox->ClientToScreen({r.Left + 20, r.Top + r.Height() / 2});
    Screen->Click(p);
    Screen->Click(p);
    Run();
    EXPECT_EQ(list->Directory(), b + "/x");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(files->Directory(), b + "/x");
    EXPECT_EQ(ItemsOf(files->Items()), std::vector<std::string>{"in-x.mp3"});
    EXPECT_EQ(label->Caption(), ShortenPathToWidth(b + "/x", label->Canvas(), 120));
    EXPECT_NE(label->Caption(), b + "/x") << "too long for 120 pixels";
    EXPECT_EQ(list->Items()[list->Items().Count() - 1], "deeper");

    // Enter opens the selected entry too.
    list->SetItemIndex(list->Items().Count() - 1);
    list->ListBox->SetFocus();
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(list->Directory(), b + "/x/deeper");

    // A folder that is not there raises the system's text and leaves the list alone.
    try {
        list->SetDirectory(FRoot + "/missing");
        ADD_FAILURE() << "no error";
    } catch (const rtl::EInOutError& e) {
        EXPECT_EQ(e.Message(), "No such file or directory");
    }
    EXPECT_EQ(list->Directory(), b + "/x/deeper");
}

TEST_F(FileControlsTest, ChoosingADriveMovesTheLinkedDirectoryList) {
    FTemp.MakeFolder("vol/a");
    FileControlVolumeSources().MountInfo =
        "1 0 8:2 / / rw - ext4 /dev/sda2 rw\n2 1 8:17 / " + FRoot + "/vol rw - ext4 /dev/sdb1 rw\n";
    FileControlVolumeSources().ByLabelDir = FTemp / "no-labels";
    auto* list = Make<TbsSkinDirectoryListBox>(20, 60, 200, 200, "Dirs");
    auto* combo = Make<TbsSkinDriveComboBox>(20, 20, 200, 20, "Drives");
    combo->SetDirList(list);
    list->SetDirectory(FRoot + "/vol/a");
    Run();
    EXPECT_EQ(list->Drive(), FRoot + "/vol");
    combo->SetDrive("/");
    EXPECT_EQ(list->Directory(), "/");
    EXPECT_EQ(list->Items()[0], "/");
    // Back into the volume through the list: the combo follows.
    list->SetDirectory(FRoot + "/vol/a");
    EXPECT_EQ(combo->Drive(), FRoot + "/vol");
    EXPECT_EQ(combo->Text(), FRoot + "/vol []");
}

class FileListTest : public FileControlsTest {
public:
    void SetUp() override {
        FileControlsTest::SetUp();
        for (const char* f : {"a.mp3", "B.MP3", "c.wav", "x.aiff", "y.aif", ".h.mp3", "noext"})
            FTemp.Touch(f);
        FTemp.MakeFolder("sub");
        FTemp.Touch("sub/inner.wav");
        Files = Make<TbsSkinFileListBox>(20, 20, 200, 200, "Files");
        Files->SetDirectory(FRoot);
        Run();
    }
    std::vector<std::string> Listed() {
        auto v = ItemsOf(Files->Items());
        std::sort(v.begin(), v.end());
        return v;
    }

    TbsSkinFileListBox* Files = nullptr;
};

TEST_F(FileListTest, MasksAndFileTypes) {
    using V = std::vector<std::string>;
    const struct {
        const char* Mask;
        TbsFileType Types;
        V Expected;
    } cases[] = {
        {"*.*", {bsftNormal}, {"B.MP3", "a.mp3", "c.wav", "noext", "x.aiff", "y.aif"}},
        {"*.mp3;*.wav", {bsftNormal}, {"B.MP3", "a.mp3", "c.wav"}},
        {"*.mp3;a.*", {bsftNormal}, {"B.MP3", "a.mp3"}},  // listed once
        {"*.aif; *.aiff", {bsftNormal}, {"x.aiff", "y.aif"}},
        {"*.mp3", {bsftNormal, bsftHidden}, {".h.mp3", "B.MP3", "a.mp3"}},
        {"s*", {bsftNormal}, {}},
        {"s*", {bsftNormal, bsftDirectory}, {"[sub]"}},
        {"*", {bsftDirectory}, {"[sub]"}},
        {"", {bsftNormal}, {}},
    };
    for (const auto& c : cases) {
        Files->SetFileType(c.Types);
        Files->SetMask(c.Mask);
        EXPECT_EQ(Listed(), c.Expected) << "mask \"" << c.Mask << "\"";
    }
}

TEST_F(FileListTest, ApplyFilePathTakesMasksFoldersAndFiles) {
    auto* edit = new vcl::TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(20, 240, 200, 20);
    Files->SetFileEdit(edit);
    int changes = 0;
    Files->OnChange = [&](vcl::TObject*) { ++changes; };

    Files->ApplyFilePath("*.wav");
    EXPECT_EQ(Files->Mask(), "*.wav");
    EXPECT_EQ(Files->Directory(), FRoot);
    EXPECT_EQ(ItemsOf(Files->Items()), std::vector<std::string>{"c.wav"});
    EXPECT_EQ(edit->Text(), "*.wav") << "the mask while nothing is selected";
    EXPECT_GT(changes, 0);

    Files->ApplyFilePath("c.wav");
    EXPECT_EQ(Files->ItemIndex(), 0);
    EXPECT_EQ(Files->FileName(), FRoot + "/c.wav");
    EXPECT_EQ(edit->Text(), "c.wav");

    // A file the mask hides becomes the mask.
    Files->ApplyFilePath(FRoot + "/a.mp3");
    EXPECT_EQ(Files->Mask(), "a.mp3");
    EXPECT_EQ(Files->FileName(), FRoot + "/a.mp3");

    Files->ApplyFilePath("*.wav");
    Files->ApplyFilePath("sub");
    EXPECT_EQ(Files->Directory(), FRoot + "/sub");
    EXPECT_EQ(ItemsOf(Files->Items()), std::vector<std::string>{"inner.wav"});
}

TEST_F(FileListTest, FilterComboParsesItsTextAndFeedsTheList) {
    auto* combo = Make<TbsSkinFilterComboBox>(20, 240, 200, 20, "Filter");
    Run();
    EXPECT_EQ(ItemsOf(combo->Items()), std::vector<std::string>{"All files (*.*)"});
    EXPECT_EQ(combo->Mask(), "*.*");

    using V = std::vector<std::string>;
    const struct {
        const char* Filter;
        V Items, Masks;
    } cases[] = {
        {"MP3|*.mp3|WAV|*.wav|", {"MP3", "WAV"}, {"*.mp3", "*.wav"}},
        {"MP3|*.mp3|dangling", {"MP3"}, {"*.mp3"}},
        {"MP3|*.mp3|Empty|", {"MP3", "Empty"}, {"*.mp3", ""}},
        {"AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|",
         {"AIFF音频编码格式(*.aif; *.aiff)"},
         {"*.aif; *.aiff"}},
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        combo->SetFilter(c.Filter);
        EXPECT_EQ(ItemsOf(combo->Items()), c.Items) << c.Filter;
        EXPECT_EQ(combo->MaskList(), c.Masks) << c.Filter;
        EXPECT_EQ(combo->ItemIndex(), c.Items.empty() ? -1 : 0) << c.Filter;
    }
    EXPECT_EQ(combo->Mask(), "*.*") << "no items";

    combo->SetFilter("MP3|*.mp3|WAV|*.wav");
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Mask(), "*.wav") << "no selection reads as the last entry";
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SetFilter("mp3|*.MP3|wav|*.WAV");
    EXPECT_EQ(ItemsOf(combo->Items()), (V{"MP3", "WAV"})) << "only the case differs";

    combo->SetFileList(Files);
    combo->SetItemIndex(0);
    EXPECT_EQ(Files->Mask(), "*.mp3");
    EXPECT_EQ(ItemsOf(Files->Items()).size(), 2u);
    combo->SetFilter("AIFF|*.aif; *.aiff|");
    EXPECT_EQ(Files->Mask(), "*.aif; *.aiff");
    EXPECT_EQ(Listed(), (V{"x.aiff", "y.aif"}));
}

}  // namespace
}  // namespace skin
