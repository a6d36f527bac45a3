#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/shell/shell_fixture.h"
#include "platform/sys/files.h"
#include "platform/sys/launcher.h"
#include "platform/sys/paths.h"
#include "platform/vcl/edits.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_folder.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/shell_tree_view.h"
#include "skin/form/skin_form.h"
#include "skin/menus/skin_menu.h"

namespace skin {
namespace {

using Names = std::vector<std::string>;

// The hooks the platform calls, reachable from the tests.
class TTestList : public TbsSkinFileListView {
public:
    using TbsCustomShellListView::ColClick;
    using TbsCustomShellListView::DblClick;
    using TbsCustomShellListView::Edit;
    using TbsCustomShellListView::KeyDown;
    using TbsSkinFileListView::TbsSkinFileListView;
};

class TTestTree : public TbsSkinDirTreeView {
public:
    using TbsSkinDirTreeView::TbsSkinDirTreeView;
};

Names RowNames(TbsCustomShellListView* list) {
    Names names;
    for (int i = 0; i < list->FolderCount(); ++i) names.push_back(list->FolderAt(i)->DisplayName());
    return names;
}

Names ChildTexts(vcl::TTreeNode* node) {
    Names names;
    for (int i = 0; node && i < node->Count(); ++i) names.push_back(node->Item(i)->Text());
    return names;
}

vcl::TTreeNode* ChildNamed(vcl::TTreeNode* node, const std::string& text) {
    for (int i = 0; node && i < node->Count(); ++i)
        if (node->Item(i)->Text() == text) return node->Item(i);
    return nullptr;
}

class ShellViewsTest : public test::TControlsTest {
protected:
    void SetUp() override {
        TControlsTest::SetUp();
        FHome = std::make_unique<shelltest::TShellHome>();
    }
    void TearDown() override {
        FHome.reset();
        TControlsTest::TearDown();
    }
    const testsupport::TTempDir& Dir() const { return FHome->Dir(); }
    std::string Touch(const std::string& name, const std::string& bytes = "x") const {
        return FHome->Touch(name, bytes);
    }

    // {sub/, a.mp3, B.MP3, c.wav, noext, x.aiff, y.aif} in "m".
    std::string MaskFixture() {
        Dir().MakeFolder("m/sub");
        for (const char* name : {"a.mp3", "B.MP3", "c.wav", "noext", "x.aiff", "y.aif"})
            Touch(std::string("m/") + name);
        return Dir() / "m";
    }

    std::unique_ptr<shelltest::TShellHome> FHome;
};

TEST_F(ShellViewsTest, FolderItemBasics) {
    TbsShellFolder* desktop = DesktopFolder();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->Parent(), nullptr);
    EXPECT_EQ(shell::ItemIdListSize(desktop->AbsoluteID()), 2u);
    EXPECT_EQ(desktop->DisplayName(), "桌面");

    Dir().MakeFolder("a/b/c");
    TItemIdPtr id = ParsePathOrRaise(Dir() / "a/b");
    auto item = FolderFromAbsoluteId(id.get());
    EXPECT_EQ(item->Parent(), desktop);
    EXPECT_EQ(item->Level(), 0);
    EXPECT_EQ(shell::ItemIdListSize(item->RelativeID()), shell::ItemIdListSize(item->AbsoluteID()));
    EXPECT_EQ(item->PathName(), Dir() / "a/b");
    EXPECT_TRUE(item->IsFolder());

    // Three levels deep, renamed: the absolute id names the new object.
    std::vector<TItemIdPtr> ids;
    item->ShellFolder()->EnumObjects(shell::SHCONTF_FOLDERS, ids);
    ASSERT_EQ(ids.size(), 1u);
    TbsShellFolder child(item.get(), ids[0].get(), item->ShellFolder()->BindToObject(ids[0].get()));
    EXPECT_EQ(child.Level(), 1);
    EXPECT_TRUE(child.Rename("d"));
    EXPECT_EQ(child.PathName(), Dir() / "a/b/d");
    EXPECT_EQ(child.FullObjectName(), Dir() / "a/b/d");
    EXPECT_TRUE(sys::DirectoryExists(Dir() / "a/b/d"));

    EXPECT_THROW(child.DetailText(1), rtl::Exception);
    try {
        child.DetailText(1);
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "d: Missing call to LoadColumnDetails");
    }
}

TEST_F(ShellViewsTest, RenameRefusals) {
    Touch("r/a.mp3");
    Touch("r/b.mp3");
    TbsCustomShellListView* list = Make<TTestList>(10, 10, 300, 200, "List");
    list->SetPath(Dir() / "r");
    ASSERT_EQ(list->FolderCount(), 2);
    try {
        list->FolderAt(0)->Rename("b.mp3");
        ADD_FAILURE() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Rename to b.mp3 failed");
    }
    list->SetPath("计算机");
    ASSERT_GE(list->FolderCount(), 2);
    EXPECT_FALSE(list->FolderAt(0)->Rename("x"));
    EXPECT_FALSE(list->RootFolder()->Rename("x"));
}

TEST_F(ShellViewsTest, RootResolution) {
    std::unique_ptr<TbsShellFolder> old = FolderFromAbsoluteId(shell::DesktopItemIdList().get());
    TbsShellFolder* kept = old.get();
    struct TCase {
        std::string Root;
        std::string Error;  // "" resolves
    };
    const std::vector<TCase> cases = {{"", "Error setting path: \"\""},
                                      {"/nope-missing", "Error setting path: \"/nope-missing\""},
                                      {"rfPrinters", "Error setting path: \"rfPrinters\""},
                                      {"RFMYCOMPUTER", ""},
                                      {Dir().Path(), ""}};
    for (const TCase& c : cases) {
        TRoot root = c.Root;
        if (c.Error.empty()) {
            std::unique_ptr<TbsShellFolder> copy = FolderFromAbsoluteId(kept->AbsoluteID());
            auto resolved = RootFolderFromText(copy, "before", root);
            EXPECT_EQ(copy, nullptr) << c.Root;
            EXPECT_EQ(root, c.Root);
            ASSERT_NE(resolved, nullptr);
            continue;
        }
        try {
            RootFolderFromText(old, "before", root);
            ADD_FAILURE() << c.Root;
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(), c.Error);
        }
        EXPECT_EQ(root, "before") << c.Root;
        EXPECT_EQ(old.get(), kept) << c.Root;
    }
}

TEST_F(ShellViewsTest, TreeRootComputerAndPathMoveTheLinkedViews) {
    auto* tree = Make<TTestTree>(10, 10, 200, 300, "Tree");
    vcl::TTreeNode* root = tree->Items().GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), "桌面");
    EXPECT_TRUE(root->Selected());
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(ChildTexts(root), (Names{"主文件夹", "Videos", "计算机"}));
    // The tree's own notifier never gets an OnChange: no thread runs.
    ASSERT_NE(tree->Notifier(), nullptr);
    EXPECT_FALSE(tree->Notifier()->Watching());

    tree->ExpandMyComputer();
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), "计算机");
    EXPECT_EQ(ChildTexts(tree->Selected()), (Names{"ROOT (/)", "可移动磁盘 (/media/u/STICK)",
                                                   "主文件夹 (" + FHome->Home() + ")"}));

    auto* list = Make<TTestList>(220, 10, 300, 200, "List");
    auto* combo = Make<TbsSkinShellComboBox>(220, 220, 200, 20, "Combo");
    tree->SetShellListView(list);
    tree->SetShellComboBox(combo);
    EXPECT_EQ(list->ShellTreeView(), tree);
    EXPECT_EQ(combo->ShellTreeView(), tree);
    Dir().MakeFolder("p/q");
    tree->SetPath(Dir() / "p/q");
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Path(), Dir() / "p/q");
    for (vcl::TTreeNode* node = tree->Selected()->Parent(); node; node = node->Parent())
        EXPECT_TRUE(node->Expanded()) << node->Text();
    EXPECT_EQ(list->Path(), Dir() / "p/q");
    EXPECT_EQ(combo->Path(), Dir() / "p/q");

    EXPECT_THROW(tree->SetPath("/nope-missing"), EInvalidPath);
    EXPECT_EQ(tree->Path(), Dir() / "p/q");
}

TEST_F(ShellViewsTest, ListMasks) {
    const std::string folder = MaskFixture();
    auto* list = Make<TTestList>(10, 10, 300, 200, "List");
    list->SetPath(folder);
    struct TCase {
        const char* Mask;
        Names Rows;
    };
    const TCase cases[] = {{"*.mp3", {"sub", "a.mp3", "B.MP3"}},
                           {"*.aif; *.aiff", {"sub", "x.aiff", "y.aif"}},
                           {"*.*", {"sub", "a.mp3", "B.MP3", "c.wav", "noext", "x.aiff", "y.aif"}},
                           {"", {"sub"}},
                           {"音频|*.wav", {"sub", "c.wav"}}};
    for (const TCase& c : cases) {
        list->SetMask(c.Mask);
        EXPECT_EQ(RowNames(list), c.Rows) << c.Mask;
    }
}

TEST_F(ShellViewsTest, ListNavigation) {
    const std::string folder = MaskFixture();
    auto* list = Make<TTestList>(10, 10, 300, 200, "List");
    std::vector<std::string> events;
    list->OnPathChanged = [&](vcl::TObject*) { events.push_back("path " + list->Path()); };
    list->OnDblClick = [&](vcl::TObject*) { events.push_back("dblclick"); };
    list->SetPath(folder);
    list->SetPath(folder);
    EXPECT_EQ(events, (Names{"path " + folder}));

    events.clear();
    list->SetItemIndex(0);
    list->DblClick();
    EXPECT_EQ(events, (Names{"path " + folder + "/sub", "dblclick"}));

    list->SetPath("/");
    list->Back();
    EXPECT_EQ(list->Path(), "计算机");
    list->Back();
    EXPECT_EQ(list->Path(), sys::DesktopDir());
    events.clear();
    list->Back();
    EXPECT_TRUE(events.empty());

    list->SetPath(folder);
    list->SetItemIndex(3);
    int key = win::VK_F1 + 4;
    list->KeyDown(key, {});
    EXPECT_EQ(list->ItemIndex(), 3);

    list->SetMultiSelect(true);
    for (int i : {0, 1, 3}) list->Items().Item(i)->SetSelected(true);
    std::vector<std::string> files;
    list->GetSelectedFiles(files);
    EXPECT_EQ(files, (Names{folder + "/a.mp3", folder + "/c.wav"}));
}

// Leaving a folder deselects its rows first, and the handler hears each row as it was: the
// rows still read the folder they were listed from, whichever way the list leaves it.
TEST_F(ShellViewsTest, LeavingAFolderDeselectsItsRowsAsTheyWere) {
    const std::string folder = MaskFixture();
    const struct {
        const char* Way;
        std::function<void(TTestList*)> Leave;
        std::string Path;
    } ways[] = {
        {"double click", [](TTestList* list) { list->DblClick(); }, folder + "/sub"},
        {"Enter",
         [](TTestList* list) {
             int key = win::VK_RETURN;
             list->KeyDown(key, {});
         },
         folder + "/sub"},
        {"BackSpace",
         [](TTestList* list) {
             int key = win::VK_BACK;
             list->KeyDown(key, {});
         },
         Dir().Path()},
        {"a new root", [&](TTestList* list) { list->SetRoot(folder + "/sub"); }, folder + "/sub"},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.Way);
        auto* list = Make<TTestList>(10, 10, 300, 200, "List");
        list->SetPath(folder);
        ASSERT_EQ(RowNames(list)[0], "sub");
        list->SetItemIndex(0);
        Names deselected;
        list->OnSelectItem = [&](vcl::TObject*, vcl::TListItem* item, bool selected) {
            if (!selected) deselected.push_back(item->Caption());
        };
        way.Leave(list);
        EXPECT_EQ(list->Path(), way.Path);
        EXPECT_EQ(deselected, Names{"sub"});
        EXPECT_EQ(list->ItemIndex(), -1);
        list->Free();
    }
}

TEST_F(ShellViewsTest, ReportColumnsAndSorting) {
    Dir().MakeFolder("s/sub");
    Touch("s/a.mp3", std::string(1500000, 'x'));
    Touch("s/b.wav", std::string(10, 'x'));
    Touch("s/c.txt", std::string(5000, 'x'));
    auto* list = Make<TTestList>(10, 10, 400, 200, "List");
    list->SetPath(Dir() / "s");
    list->SetViewStyle(vcl::vsReport);
    Names captions;
    for (int i = 0; i < list->Columns().Count(); ++i)
        captions.push_back(list->Columns()[i]->Caption());
    EXPECT_EQ(captions, (Names{"名称", "大小", "类型", "修改日期"}));
    EXPECT_EQ(list->Columns()[1]->Alignment(), vcl::taRightJustify);

    vcl::TListItem* row = list->Items().Item(1);
    EXPECT_EQ(row->Caption(), "a.mp3");
    ASSERT_EQ(row->SubItems().Count(), 3);
    EXPECT_EQ(row->SubItems()[0], "1,465 KB");
    EXPECT_EQ(row->SubItems()[1], "MP3 文件");

    list->ColClick(list->Columns()[0]);
    EXPECT_EQ(RowNames(list), (Names{"sub", "a.mp3", "b.wav", "c.txt"}));
    list->ColClick(list->Columns()[0]);
    EXPECT_EQ(RowNames(list), (Names{"c.txt", "b.wav", "a.mp3", "sub"}));
    list->ColClick(list->Columns()[1]);
    EXPECT_EQ(RowNames(list), (Names{"sub", "b.wav", "c.txt", "a.mp3"}));
    list->ColClick(list->Columns()[1]);
    EXPECT_EQ(RowNames(list), (Names{"a.mp3", "c.txt", "b.wav", "sub"}));

    list->SetPath("计算机");
    EXPECT_EQ(list->Columns().Count(), 1);
    // A header click other than the first does nothing with fewer than four columns.
    list->ColClick(list->Columns()[0]);
    EXPECT_EQ(list->SortColumn(), 0);
}

TEST_F(ShellViewsTest, LookInComboEntriesAndChain) {
    Dir().MakeFolder("t/a/b");
    const std::string mount = Dir() / "t";
    shell::SetVolumeSource([mount] {
        return std::vector<shell::TVolume>{
            {"/", "ROOT", shell::TVolumeKind::Fixed, ""},
            {"/media/u/STICK", "", shell::TVolumeKind::Removable, ""},
            {mount, "T", shell::TVolumeKind::Fixed, ""}};
    });
    auto* combo = Make<TbsSkinShellComboBox>(10, 10, 200, 20, "Combo");
    auto entries = [&] {
        Names names;
        for (int i = 0; i < combo->ItemsEx().Count(); ++i)
            names.push_back(std::to_string(combo->ItemsEx().Items(i)->Indent) + " " +
                            combo->ItemsEx().Items(i)->Caption);
        return names;
    };
    const std::string home = "主文件夹 (" + FHome->Home() + ")";
    const Names base = {"0 桌面",
                        "1 主文件夹",
                        "1 Videos",
                        "1 计算机",
                        "2 ROOT (/)",
                        "2 可移动磁盘 (/media/u/STICK)",
                        "2 T (" + mount + ")",
                        "2 " + home};
    EXPECT_EQ(entries(), base);
    EXPECT_EQ(combo->ItemIndex(), 0);

    auto* list = Make<TTestList>(10, 40, 300, 200, "List");
    combo->SetShellListView(list);
    list->SetPath(mount + "/a/b");
    Names chain = base;
    chain.insert(chain.begin() + 7, {"3 a", "4 b"});
    EXPECT_EQ(entries(), chain);
    EXPECT_EQ(combo->Items()[combo->ItemIndex()], "b");

    combo->SetRoot("rfMyComputer");
    combo->SetRoot("RFDESKTOP");
    EXPECT_EQ(entries(), (Names{"0 桌面", "1 主文件夹", "1 Videos", "1 计算机"}));

    // A choice moves the list only once the popup has closed with it.
    combo->SetRoot("rfDesktop");
    list->SetPath(mount);
    combo->DropDown();
    ASSERT_TRUE(combo->IsPopupVisible());
    combo->ListBox()->SetItemIndex(1);
    EXPECT_EQ(list->Path(), mount);
    combo->CloseUp(true);
    EXPECT_EQ(list->Path(), FHome->Home());
}

TEST_F(ShellViewsTest, VerbsHandOver) {
    Touch("v/a.mp3");
    auto* list = Make<TTestList>(10, 10, 300, 200, "List");
    list->SetPath(Dir() / "v");
    list->SetItemIndex(0);
    std::vector<std::string> opened;
    sys::TDocumentOpener previous = sys::SetDocumentOpener([&](const std::string& target) {
        opened.push_back(target + " in " + sys::GetCurrentDir());
    });
    const std::string before = sys::GetCurrentDir();
    RunShellVerb(list, list->SelectedFolder(), "open");
    sys::SetDocumentOpener(previous);
    EXPECT_EQ(opened, (Names{Dir() / "v/a.mp3 in " + Dir() / "v"}));
    EXPECT_EQ(sys::GetCurrentDir(), before);

    RunShellVerb(list, list->SelectedFolder(), "rename");
    ASSERT_TRUE(list->IsEditing());
    vcl::TCustomEdit* editor = nullptr;
    for (int i = 0; i < list->ComponentCount() && !editor; ++i)
        editor = dynamic_cast<vcl::TCustomEdit*>(list->Components(i));
    ASSERT_NE(editor, nullptr);
    editor->SetText("z.mp3");
    Press(win::VK_RETURN);
    Run();
    EXPECT_FALSE(list->IsEditing());
    EXPECT_TRUE(sys::FileExists(Dir() / "v/z.mp3"));

    // Verbs the menu does not offer still hand over: a deleted file leaves the list.
    RunShellVerb(list, list->SelectedFolder(), "delete");
    EXPECT_FALSE(sys::FileExists(Dir() / "v/z.mp3"));
    EXPECT_EQ(list->FolderCount(), 0);

    class TOrder : public TbsSkinFileListView {
    public:
        using TbsSkinFileListView::TbsSkinFileListView;
        void ExecuteCommand(const std::string& Verb, bool& Handled) override {
            Calls.push_back("execute " + Verb);
            TbsSkinFileListView::ExecuteCommand(Verb, Handled);
        }
        void CommandCompleted(const std::string& Verb, bool Succeeded) override {
            Calls.push_back("completed " + Verb + (Succeeded ? " ok" : " failed"));
        }
        Names Calls;
    };
    Touch("w/a.mp3");
    auto* order = Make<TOrder>(10, 10, 300, 200, "Order");
    order->SetPath(Dir() / "w");
    order->SetItemIndex(0);
    RunShellVerb(order, order->SelectedFolder(), "properties");
    EXPECT_EQ(order->Calls, (Names{"execute properties", "completed properties failed"}));
}

// Run as root (as in CI), the case first drops to an unprivileged user in a child process so
// the folder really is unreadable; it is never skipped.
TEST_F(ShellViewsTest, UnreadableFolderLosesItsButtonAndListsNothing) {
    Dir().MakeFolder("u/locked/inner");
    chmod(Dir().Path().c_str(), 0755);
    chmod((Dir() / "u").c_str(), 0755);
    chmod((Dir() / "u/locked").c_str(), 0);
    auto* tree = Make<TTestTree>(10, 10, 200, 300, "Tree");
    auto* list = Make<TTestList>(220, 10, 300, 200, "List");
    const std::string locked = Dir() / "u/locked";
    EXPECT_EXIT(
        {
            if (getuid() == 0 && setuid(65534) != 0) std::_Exit(3);
            // The death test holds standard error already: a pipe takes the error lines.
            int fds[2];
            if (pipe(fds) != 0 || dup2(fds[1], 2) < 0) std::_Exit(6);
            fcntl(fds[0], F_SETFL, O_NONBLOCK);
            tree->SetPath(Dir() / "u");
            vcl::TTreeNode* node = ChildNamed(tree->Selected(), "locked");
            if (!node || !node->HasChildren()) std::_Exit(4);
            node->Expand(false);
            const bool button = node->HasChildren();
            list->SetPath(locked);
            std::fflush(stderr);
            char buffer[4096];
            const ssize_t got = read(fds[0], buffer, sizeof buffer);
            const std::string error(buffer, got > 0 ? size_t(got) : 0);
            const auto lines = std::count(error.begin(), error.end(), '\n');
            const bool named = error.find(locked) != std::string::npos;
            std::_Exit(!button && list->FolderCount() == 0 && lines == 2 && named ? 0 : 5);
        },
        testing::ExitedWithCode(0), "");
    chmod((Dir() / "u/locked").c_str(), 0755);
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

TEST_F(ShellViewsTest, ContextMenuNeedsAFormSkinComponentAndOffersOpenAndRename) {
    Touch("c/a.mp3");
    auto* list = Make<TTestList>(10, 10, 300, 200, "List");
    list->SetPath(Dir() / "c");
    list->SetItemIndex(0);
    ShowShellContextMenu(list, list->SelectedFolder(), 5, 5);
    EXPECT_EQ(list->FindComponent("ShellContextMenu"), nullptr);

    auto* skinForm = new TbsSkinForm(Form);
    ShowShellContextMenu(list, list->SelectedFolder(), 5, 5);
    Run();
    auto* menu = dynamic_cast<TbsSkinPopupMenu*>(list->FindComponent("ShellContextMenu"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items()->Count(), 2);
    EXPECT_EQ(menu->Items()->Items(0)->Caption(), "打开");
    EXPECT_EQ(menu->Items()->Items(1)->Caption(), "重命名");
    EXPECT_EQ(skinForm->SkinMenu->LevelCount(), 1);
    skinForm->SkinMenu->CheckItem(skinForm->SkinMenu->Level(0),
                                  skinForm->SkinMenu->Level(0)->Item(1), true, false);
    Run();
    EXPECT_TRUE(list->IsEditing());
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_FALSE(list->IsEditing());
}

}  // namespace
}  // namespace skin
