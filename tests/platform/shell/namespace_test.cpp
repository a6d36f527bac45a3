#include "platform/shell/namespace.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/shell/shell_fixture.h"
#include "platform/shell/shell_routines.h"
#include "platform/sys/files.h"

namespace {

using namespace shell;
using shelltest::ChildNames;
using shelltest::FolderOfPath;
using Names = std::vector<std::string>;

constexpr uint32_t kAll = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;

TItemIdPtr Parse(const std::string& path) {
    TItemIdPtr id;
    DesktopShellFolder()->ParseDisplayName(path, id);
    return id;
}

std::string ParsingName(PCItemIDList absolute) {
    return ItemDisplayText(DesktopShellFolder(), absolute, SHGDN_FORPARSING);
}

TEST(ShellNamespaceTest, DesktopAndComputerChildrenInTheirOrder) {
    shelltest::TShellHome home;
    home.Touch("home/Desktop/note.txt");
    EXPECT_EQ(ChildNames(DesktopShellFolder(), kAll),
              (Names{"主文件夹", "Videos", "计算机", "note.txt"}));

    TItemIdPtr computer;
    ASSERT_TRUE(SHGetSpecialFolderLocation(CSIDL_DRIVES, computer));
    EXPECT_EQ(ChildNames(DesktopShellFolder()->BindToObject(computer.get()), kAll),
              (Names{"ROOT (/)", "可移动磁盘 (/media/u/STICK)", "主文件夹 (" + home.Home() + ")"}));
    EXPECT_EQ(ParsingName(computer.get()), "计算机");
    EXPECT_FALSE(DesktopShellFolder()->BindToObject(computer.get())->HasDetails());
}

TEST(ShellNamespaceTest, ADesktopThatIsTheHomeFolderListsNoEntries) {
    shelltest::TShellHome home;
    rmdir((home.Home() + "/Desktop").c_str());
    home.Touch("home/file.txt");
    EXPECT_EQ(ChildNames(DesktopShellFolder(), kAll), (Names{"主文件夹", "Videos", "计算机"}));
    // The empty id's path is the desktop folder, here the home folder.
    EXPECT_EQ(ParsingName(DesktopItemIdList().get()), home.Home());
}

TEST(ShellNamespaceTest, UnlabelledVolumesAreNamedByTheirKind) {
    const std::vector<TVolume> volumes = {{"/", "", TVolumeKind::Fixed, ""},
                                          {"/srv", "", TVolumeKind::Fixed, ""},
                                          {"/mnt/dvd", "", TVolumeKind::CdRom, ""},
                                          {"/net", "x", TVolumeKind::Network, "//host/share"}};
    shelltest::TShellHome home;
    SetVolumeSource([&] { return volumes; });
    TItemIdPtr computer;
    ASSERT_TRUE(SHGetSpecialFolderLocation(CSIDL_DRIVES, computer));
    const Names names = ChildNames(DesktopShellFolder()->BindToObject(computer.get()), kAll);
    EXPECT_EQ(names, (Names{"文件系统 (/)", "本地磁盘 (/srv)", "光盘 (/mnt/dvd)",
                            "//host/share (/net)", "主文件夹 (" + home.Home() + ")"}));
}

TEST(ShellNamespaceTest, ParsingRunsThroughComputerAndTheLongestMount) {
    shelltest::TShellHome home;
    home.Dir().MakeFolder("t/x/y");
    const std::string path = home.Dir() / "t/x/y";
    TItemIdPtr id = Parse(home.Dir() / "t/./x//z/../y/");
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(ParsingName(id.get()), path);
    std::vector<std::string> ancestors;
    for (const TItemIdPtr& ancestor : ItemIdAncestors(id.get()))
        ancestors.push_back(ItemDisplayText(DesktopShellFolder(), ancestor.get(), SHGDN_NORMAL));
    ASSERT_GE(ancestors.size(), 5u);
    EXPECT_EQ(ancestors[0], "桌面");
    EXPECT_EQ(ancestors[1], "计算机");
    EXPECT_EQ(ancestors[2], "ROOT (/)");
    EXPECT_EQ(ancestors[ancestors.size() - 2], "t");
    EXPECT_EQ(ancestors.back(), "x");

    EXPECT_EQ(Parse("/nope-" + std::to_string(getpid())), nullptr);
    EXPECT_EQ(Parse("relative/path"), nullptr);
    EXPECT_EQ(Parse(""), nullptr);

    // A folder reached through 主文件夹 is the parsed one.
    TItemIdPtr viaHome;
    for (const auto& place : {Parse(home.Home())}) viaHome = ItemIdListCopy(place.get());
    std::vector<TItemIdPtr> children;
    DesktopShellFolder()->EnumObjects(SHCONTF_FOLDERS, children);
    ASSERT_FALSE(children.empty());
    EXPECT_TRUE(ItemIdListsEqual(children[0].get(), viaHome.get()));
    EXPECT_FALSE(ItemIdListsEqual(children[0].get(), id.get()));
}

TEST(ShellNamespaceTest, SiblingOrderAndHiddenEntries) {
    shelltest::TShellHome home;
    for (const char* name : {"file10", "file2", "a.mp3", "A.mp3", "x.ZIP", ".dot"})
        home.Touch(std::string("l/") + name);
    home.Dir().MakeFolder("l/zdir");
    home.Dir().MakeFolder("l/.cache");
    const TShellFolderPtr folder = FolderOfPath(home.Dir() / "l");
    EXPECT_EQ(ChildNames(folder, kAll),
              (Names{"zdir", "A.mp3", "a.mp3", "file2", "file10", "x.ZIP"}));
    EXPECT_EQ(ChildNames(folder, kAll | SHCONTF_INCLUDEHIDDEN),
              (Names{".cache", "zdir", ".dot", "A.mp3", "a.mp3", "file2", "file10", "x.ZIP"}));
    EXPECT_EQ(ChildNames(folder, SHCONTF_FOLDERS), (Names{"zdir"}));

    std::vector<TItemIdPtr> ids;
    folder->EnumObjects(kAll | SHCONTF_INCLUDEHIDDEN, ids);
    for (const auto& id : ids) {
        const std::string name = ItemDisplayText(folder, id.get(), SHGDN_INFOLDER);
        const bool dir = name == "zdir" || name == ".cache";
        EXPECT_EQ(ItemIsFolder(folder, id.get()), dir) << name;
        EXPECT_EQ(ItemProperties(folder, id.get()).Contains(fpCut), name[0] == '.') << name;
        EXPECT_TRUE(ItemCapabilities(folder, id.get()).Contains(fcCanRename)) << name;
    }
}

TEST(ShellNamespaceTest, NamesThatAreNoUtf8KeepTheirBytes) {
    shelltest::TShellHome home;
    const std::string name = "bad\xff\xfe.mp3";
    home.Touch("n/" + name);
    const TShellFolderPtr folder = FolderOfPath(home.Dir() / "n");
    std::vector<TItemIdPtr> ids;
    ASSERT_TRUE(folder->EnumObjects(kAll, ids));
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ItemDisplayText(folder, ids[0].get(), SHGDN_INFOLDER), name);
    TItemIdPtr absolute = ItemIdListJoin(folder->AbsoluteID(), ids[0].get());
    EXPECT_EQ(ParsingName(absolute.get()), home.Dir() / "n/" + name);
}

TEST(ShellNamespaceTest, LinksAreFollowedAndABrokenOneIsAFile) {
    shelltest::TShellHome home;
    home.Dir().MakeFolder("k/real");
    ASSERT_EQ(symlink((home.Dir() / "k/real").c_str(), (home.Dir() / "k/tolink").c_str()), 0);
    ASSERT_EQ(symlink((home.Dir() / "k/gone").c_str(), (home.Dir() / "k/broken").c_str()), 0);
    const TShellFolderPtr folder = FolderOfPath(home.Dir() / "k");
    std::vector<TItemIdPtr> ids;
    ASSERT_TRUE(folder->EnumObjects(kAll, ids));
    for (const auto& id : ids) {
        const std::string name = ItemDisplayText(folder, id.get(), SHGDN_INFOLDER);
        EXPECT_EQ(ItemIsFolder(folder, id.get()), name != "broken") << name;
        EXPECT_EQ(ItemProperties(folder, id.get()).Contains(fpIsLink), name != "real") << name;
    }
}

TEST(ShellNamespaceTest, RenameRefusesAnExistingNameAndVirtualItems) {
    shelltest::TShellHome home;
    home.Touch("r/a.mp3");
    home.Touch("r/b.mp3");
    const TShellFolderPtr folder = FolderOfPath(home.Dir() / "r");
    std::vector<TItemIdPtr> ids;
    folder->EnumObjects(kAll, ids);
    std::sort(ids.begin(), ids.end(),
              [&](auto& a, auto& b) { return folder->CompareIDs(0, a.get(), b.get()) < 0; });
    TItemIdPtr renamed;
    EXPECT_FALSE(folder->SetNameOf(ids[0].get(), "b.mp3", renamed));
    EXPECT_FALSE(folder->SetNameOf(ids[0].get(), "x/y", renamed));
    ASSERT_TRUE(folder->SetNameOf(ids[0].get(), "c.mp3", renamed));
    EXPECT_EQ(ItemDisplayText(folder, renamed.get(), SHGDN_INFOLDER), "c.mp3");
    EXPECT_TRUE(sys::FileExists(home.Dir() / "r/c.mp3"));

    TItemIdPtr computer;
    SHGetSpecialFolderLocation(CSIDL_DRIVES, computer);
    const TShellFolderPtr drives = DesktopShellFolder()->BindToObject(computer.get());
    std::vector<TItemIdPtr> volumes;
    drives->EnumObjects(kAll, volumes);
    EXPECT_FALSE(ItemCapabilities(drives, volumes[0].get()).Contains(fcCanRename));
    EXPECT_FALSE(ItemCapabilities(DesktopShellFolder(), computer.get()).Contains(fcCanRename));
    EXPECT_FALSE(drives->SetNameOf(volumes[0].get(), "x", renamed));
}

TEST(ShellNamespaceTest, ReportTextsComeFromTheEnumeratedIds) {
    shelltest::TShellHome home;
    home.Touch("d/a.mp3", std::string(1500000, 'x'));
    home.Touch("d/noext", "");
    home.Dir().MakeFolder("d/sub");
    const TShellFolderPtr folder = FolderOfPath(home.Dir() / "d");
    ASSERT_TRUE(folder->HasDetails());
    std::vector<std::string> headers;
    TShellDetails details;
    for (int column = 0; folder->GetDetailsOf(nullptr, column, details); ++column) {
        uint32_t state = 0;
        folder->GetDefaultColumnState(column, state);
        headers.push_back(details.Str.Str + (state & SHCOLSTATE_ONBYDEFAULT ? "+" : "-") +
                          std::to_string(details.Fmt) + "/" + std::to_string(details.CxChar));
    }
    EXPECT_EQ(headers,
              (Names{"名称+0/25", "大小+1/10", "类型+0/14", "修改日期+0/14", "创建日期-0/14"}));

    std::vector<TItemIdPtr> ids;
    folder->EnumObjects(kAll, ids);
    std::map<std::string, Names> rows;
    for (const auto& id : ids) {
        Names cells;
        for (int column = 0; column < 4; ++column) {
            folder->GetDetailsOf(id.get(), column, details);
            cells.push_back(ShellTextToString(details.Str, id.get()));
        }
        rows[cells[0]] = cells;
    }
    // Delete the files: the texts must not need them any more.
    std::remove((home.Dir() / "d/a.mp3").c_str());
    EXPECT_EQ(rows["a.mp3"][1], "1,465 KB");
    EXPECT_EQ(rows["a.mp3"][2], "MP3 文件");
    EXPECT_EQ(rows["noext"][1], "0 KB");
    EXPECT_EQ(rows["noext"][2], "文件");
    EXPECT_EQ(rows["sub"][1], "");
    EXPECT_EQ(rows["sub"][2], "文件夹");
    EXPECT_EQ(rows["a.mp3"][3].size(), 16u);
    EXPECT_EQ(rows["a.mp3"][3][13], ':');
}

TEST(ShellNamespaceTest, SpecialFolders) {
    shelltest::TShellHome home;
    struct TCase {
        int Csidl;
        std::string Path;  // "" fails
    };
    const std::vector<TCase> cases = {{CSIDL_DESKTOPDIRECTORY, home.Home() + "/Desktop"},
                                      {CSIDL_PERSONAL, home.Home()},
                                      {CSIDL_TEMPLATES, ""},
                                      {CSIDL_BITBUCKET, ""},
                                      {CSIDL_APPDATA, ""},
                                      {18, ""},
                                      {3, ""}};
    for (const TCase& c : cases) {
        TItemIdPtr id;
        EXPECT_EQ(SHGetSpecialFolderLocation(c.Csidl, id), !c.Path.empty()) << c.Csidl;
        if (!c.Path.empty()) {
            EXPECT_EQ(ParsingName(id.get()), c.Path) << c.Csidl;
        }
    }
    home.Dir().MakeFolder("home/Documents");
    home.Dir().MakeFolder("home/Templates");
    home.Dir().MakeFolder("home/.config");
    home.Dir().MakeFolder("home/.local/share/Trash/files");
    const std::vector<TCase> present = {
        {CSIDL_PERSONAL, home.Home() + "/Documents"},
        {CSIDL_TEMPLATES, home.Home() + "/Templates"},
        {CSIDL_APPDATA, home.Home() + "/.config"},
        {CSIDL_BITBUCKET, home.Home() + "/.local/share/Trash/files"}};
    for (const TCase& c : present) {
        TItemIdPtr id;
        ASSERT_TRUE(SHGetSpecialFolderLocation(c.Csidl, id)) << c.Csidl;
        EXPECT_EQ(ParsingName(id.get()), c.Path) << c.Csidl;
    }
    TItemIdPtr desktop;
    ASSERT_TRUE(SHGetSpecialFolderLocation(CSIDL_DESKTOP, desktop));
    EXPECT_EQ(ItemIdListSize(desktop.get()), 2u);
}

TEST(ShellNamespaceTest, UnreadableFolderGivesNothingAndOneErrorLine) {
    shelltest::TShellHome home;
    const TShellFolderPtr missing = std::make_shared<IShellFolder>(Parse(home.Home()).get());
    home.Dir().MakeFolder("gone");
    const TShellFolderPtr folder = FolderOfPath(home.Dir() / "gone");
    rmdir((home.Dir() / "gone").c_str());
    std::vector<TItemIdPtr> ids;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(folder->EnumObjects(kAll, ids));
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(ids.empty());
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1);
    EXPECT_NE(error.find(home.Dir() / "gone"), std::string::npos);
    EXPECT_NE(missing, nullptr);
}

TEST(ShellNamespaceTest, TextRoutines) {
    EXPECT_EQ(ObjectTypesToEnumFlags({otFolders, otNonFolders}), 0x60u);
    EXPECT_EQ(ObjectTypesToEnumFlags({otHidden}), 0x80u);
    EXPECT_EQ(RootFolderIndex("RFDESKTOP"), rfDesktop);
    EXPECT_EQ(RootFolderIndex("rfTemplates"), rfTemplates);
    EXPECT_EQ(RootFolderIndex("/home"), -1);
    EXPECT_EQ(RootFolderCSIDL[rfMyComputer], 17);
    EXPECT_EQ(RootFolderCSIDL[rfTemplates], 21);
    for (const char* text : {"?", "?a", "?1?2", "a?b"})
        EXPECT_EQ(ShellTextToString(TStrRet{0, 0, text}, nullptr), text);
    EXPECT_EQ(ShellTextToString(TStrRet{1, 2, ""}, nullptr), "");
    EXPECT_EQ(ItemDisplayText(nullptr, nullptr, 0), "parentfolder = nil");

    struct TOrder {
        const char* A;
        const char* B;
        int Natural;
    };
    const TOrder orders[] = {{"file2", "file10", -1}, {"a.mp3", "A.mp3", 1}, {"x01", "x1", -1},
                             {"b", "a10", 1},         {"Ä", "ä", -1},        {"abc", "ab", 1}};
    for (const TOrder& o : orders) {
        EXPECT_EQ(CompareNamesNatural(o.A, o.B), o.Natural) << o.A << " " << o.B;
        EXPECT_EQ(CompareNamesNatural(o.B, o.A), -o.Natural) << o.B << " " << o.A;
    }
    EXPECT_EQ(AnsiCompareText("Ärger", "ärger"), 0);
    EXPECT_LT(AnsiCompareText("file10", "file2"), 0);
    EXPECT_GT(AnsiCompareText("Б", "а"), 0);
}

TEST(ShellNamespaceTest, IconsByKindAndExtension) {
    EXPECT_EQ(IconOfFileName("a.MP3"), siAudio);
    EXPECT_EQ(IconOfFileName("a.mkv"), siVideo);
    EXPECT_EQ(IconOfFileName("a.dvr-ms"), siVideo);
    EXPECT_EQ(IconOfFileName("a.png"), siPicture);
    EXPECT_EQ(IconOfFileName("a.zip"), siArchive);
    EXPECT_EQ(IconOfFileName("noext"), siFile);
    shelltest::TShellHome home;
    TItemIdPtr computer;
    SHGetSpecialFolderLocation(CSIDL_DRIVES, computer);
    EXPECT_EQ(ShellIconIndex(computer.get(), false, false), siComputer);
    EXPECT_EQ(ShellIconIndex(DesktopItemIdList().get(), true, false), siDesktop);
    home.Dir().MakeFolder("i/sub");
    TItemIdPtr sub = Parse(home.Dir() / "i/sub");
    EXPECT_EQ(ShellIconIndex(sub.get(), false, false), siFolderClosed);
    EXPECT_EQ(ShellIconIndex(sub.get(), false, true), siFolderOpen);
}

}  // namespace
