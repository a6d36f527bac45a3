// The folder chooser over the fixture namespace, driven while its modal loop waits.
#include "skin/dialogs/select_folder_dialog.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/shell/shell_fixture.h"
#include "platform/sys/env.h"
#include "platform/sys/files.h"
#include "sheet_test_support.h"
#include "skin/controls/panels.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/speed_button.h"
#include "skin/core/resource_strings.h"
#include "skin/dialogs/shell_tree_view.h"
#include "skin/form/skin_form.h"
#include "skin/lists/skin_edit.h"

namespace skin {
namespace {

class SelectFolderDialogTest : public test::TSheetTest {
protected:
    void SetUp() override {
        TSheetTest::SetUp();
        FHome = std::make_unique<shelltest::TShellHome>();
        Dialog = new TbsSkinSelectDirectoryDialog(Form);
    }
    void TearDown() override {
        FHome.reset();
        TSheetTest::TearDown();
    }
    const testsupport::TTempDir& Dir() const { return FHome->Dir(); }
    void WhenShown(std::function<void(TbsSelDirDlgForm*)> step) {
        Screen->QueueIdleStep([this, step] {
            ASSERT_NE(Dialog->DlgFrm(), nullptr);
            step(Dialog->DlgFrm());
        });
    }
    // The edit's Enter as its OnKeyPress gets it; the key must come back unchanged.
    static void Enter(TbsSelDirDlgForm* form, const std::string& text) {
        form->DirEdit->SetText(text);
        char32_t key = U'\r';
        form->DirEdit->OnKeyPress(form->DirEdit, key);
        EXPECT_EQ(key, U'\r');
    }

    // Steps that each run once the loop has handled what the one before caused.
    void Steps(std::vector<std::function<void(TbsSelDirDlgForm*)>> steps) {
        for (auto& step : steps) WhenShown(std::move(step));
    }
    // A real click at the middle of a client rectangle of a control.
    void ClickAt(vcl::TControl* control, const TRect& r) {
        Screen->Click(control->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
    }
    void ClickMiddle(vcl::TControl* control) {
        ClickAt(control, {0, 0, control->Width(), control->Height()});
    }
    static vcl::TTreeNode* ChildNamed(vcl::TTreeNode* parent, const std::string& text) {
        for (int i = 0; parent && i < parent->Count(); ++i)
            if (parent->Item(i)->Text() == text) return parent->Item(i);
        return nullptr;
    }

    std::unique_ptr<shelltest::TShellHome> FHome;
    TbsSkinSelectDirectoryDialog* Dialog = nullptr;
};

TEST_F(SelectFolderDialogTest, ToolBarPathEditNewFolderAndOk) {
    Dir().MakeFolder("music/a");
    Dir().MakeFolder("music/.hidden");
    Dialog->Directory = Dir() / "music";
    Dialog->ShowToolBar = true;
    std::vector<std::string> events;
    Dialog->OnShow = [&](vcl::TObject* s) {
        EXPECT_EQ(s, Dialog);
        EXPECT_EQ(Dialog->DlgFrm(), nullptr) << "OnShow comes before the form";
        events.push_back("show");
    };
    Dialog->OnClose = [&](vcl::TObject* s) {
        EXPECT_EQ(s, Dialog);
        EXPECT_NE(Dialog->DlgFrm(), nullptr) << "OnClose comes before the form goes";
        events.push_back("close");
    };
    WhenShown([&](TbsSelDirDlgForm* form) {
        events.push_back("shown");
        EXPECT_EQ(form->Caption(), "Select folder");
        EXPECT_EQ(form->ClientWidth(), 280);
        EXPECT_EQ(form->ClientHeight(), 280);
        EXPECT_EQ(form->OkButton->Caption(), "OK");
        EXPECT_EQ(form->CancelButton->Caption(), "Cancel");
        EXPECT_EQ(form->NewFolderToolButton->Hint(), "Create New Folder");
        EXPECT_EQ(form->NewFolderToolButton->Glyph().Width(), 16) << "the BS_NEWFOLDER glyph";
        EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music");
        EXPECT_EQ(form->ActiveControl(), form->DirTreeView);
        EXPECT_TRUE(form->DirTreeView->ObjectTypes().Contains(shell::otHidden));
        EXPECT_FALSE(form->DirTreeView->HideSelection());

        // The hidden folder is listed; choosing it by the edit moves the tree.
        Enter(form, Dir() / "music/.hidden");
        EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music/.hidden");
        Enter(form, Dir() / "music/missing");
        EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music/.hidden");
        Enter(form, "");
        EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music/.hidden");
        // A tree move writes the edit.
        form->DirTreeView->SetPath(Dir() / "music/a");
        EXPECT_EQ(form->DirEdit->Text(), Dir() / "music/a");

        // New Folder under the selection, shown under it, never numbered.
        form->NewFolderToolButtonClick(form->NewFolderToolButton);
        EXPECT_TRUE(sys::DirectoryExists(Dir() / "music/a/New Folder"));
        vcl::TTreeNode* node = form->DirTreeView->Selected();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music/a") << "the new folder is not selected";
        bool shown = false;
        for (int i = 0; i < node->Count(); ++i)
            shown = shown || node->Item(i)->Text() == "New Folder";
        EXPECT_TRUE(shown);
        form->NewFolderToolButtonClick(form->NewFolderToolButton);
        EXPECT_FALSE(sys::DirectoryExists(Dir() / "music/a/New Folder 2"));
        form->OkButton->ButtonClick();
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->Directory, Dir() / "music/a");
    EXPECT_EQ(Dialog->DlgFrm(), nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "shown", "close"}));
}

TEST_F(SelectFolderDialogTest, CancelKeepsTheFolderButTakesTheSize) {
    Dir().MakeFolder("v/w");
    const struct {
        const char* How;
        bool Esc;
    } cancels[] = {{"Esc", true}, {"Cancel button", false}};
    for (const auto& c : cancels) {
        SCOPED_TRACE(c.How);
        Dialog->Directory = Dir() / "v";
        Dialog->DialogWidth = 320;
        Dialog->DialogHeight = 300;
        WhenShown([&](TbsSelDirDlgForm* form) {
            EXPECT_EQ(form->ClientWidth(), 320);
            EXPECT_EQ(form->ClientHeight(), 300);
            EXPECT_EQ(form->ToolPanel, nullptr);
            EXPECT_EQ(form->DirEdit, nullptr);
            form->DirTreeView->SetPath(Dir() / "v/w");
            form->SetClientWidth(350);
            form->SetClientHeight(310);
            if (c.Esc)
                Press(win::VK_ESCAPE);
            else
                form->CancelButton->ButtonClick();
        });
        EXPECT_FALSE(Dialog->Execute());
        EXPECT_EQ(Dialog->Directory, Dir() / "v");
        EXPECT_EQ(Dialog->DialogWidth, 350);
        EXPECT_EQ(Dialog->DialogHeight, 310);
    }
}

TEST_F(SelectFolderDialogTest, MissingFolderOpensAtComputerWhereNoFolderIsMade) {
    for (const std::string& start : {std::string(), Dir() / "gone"}) {
        SCOPED_TRACE(start);
        Dialog->Directory = start;
        Dialog->ShowToolBar = true;
        WhenShown([&](TbsSelDirDlgForm* form) {
            ASSERT_NE(form->DirTreeView->Selected(), nullptr);
            EXPECT_EQ(form->DirTreeView->Selected()->Text(), "计算机");
            EXPECT_TRUE(form->DirTreeView->Selected()->Expanded());
            const int before = form->DirTreeView->Selected()->Count();
            form->NewFolderToolButtonClick(form->NewFolderToolButton);
            EXPECT_EQ(form->DirTreeView->Selected()->Count(), before);
            EXPECT_FALSE(sys::DirectoryExists(FHome->Home() + "/New Folder"));
            form->OkButton->ButtonClick();
        });
        EXPECT_TRUE(Dialog->Execute());
        // Whatever the tree reports for 计算机; the caller tests that it exists.
        EXPECT_FALSE(sys::DirectoryExists(Dialog->Directory) && Dialog->Directory != "/");
    }
}

TEST_F(SelectFolderDialogTest, AFolderThatCannotBeMadeRaisesAndTheDialogStaysOpen) {
    Dir().MakeFolder("ro");
    Dialog->Directory = Dir() / "ro";
    Dialog->ShowToolBar = true;
    WhenShown([&](TbsSelDirDlgForm* form) {
        // A file in the way of the parent makes creation fail whatever the user's rights.
        const std::string blocker = Dir() / "ro";
        ASSERT_TRUE(sys::RemoveDir(blocker));
        FHome->Touch("ro");
        EXPECT_THROW(form->NewFolderToolButtonClick(form->NewFolderToolButton), rtl::EInOutError);
        EXPECT_NE(Dialog->DlgFrm(), nullptr);
        form->CancelButton->ButtonClick();
    });
    EXPECT_FALSE(Dialog->Execute());
}

TEST_F(SelectFolderDialogTest, AnExceptionStillClosesAndFreesTheForm) {
    bool closed = false;
    Dialog->OnClose = [&](vcl::TObject*) { closed = true; };
    Dialog->Directory = Dir().Path();
    Dialog->DialogWidth = 300;
    WhenShown([&](TbsSelDirDlgForm*) { throw std::runtime_error("boom"); });
    EXPECT_ANY_THROW(Dialog->Execute());
    EXPECT_TRUE(closed);
    EXPECT_EQ(Dialog->DlgFrm(), nullptr);
    EXPECT_EQ(Dialog->Directory, Dir().Path());
    EXPECT_EQ(Dialog->DialogWidth, 300);
}

TEST_F(SelectFolderDialogTest, RealClicksAndKeysChooseTheFolder) {
    Dir().MakeFolder("music/a");
    Dir().MakeFolder("music/b");
    Dir().MakeFolder("music/c");
    Dialog->Directory = Dir() / "music/a";
    Dialog->ShowToolBar = true;
    Steps({
        [&](TbsSelDirDlgForm* form) {
            vcl::TTreeNode* music = form->DirTreeView->Selected()->Parent();
            ASSERT_TRUE(music->Expanded()) << "opens with the ancestors expanded";
            vcl::TTreeNode* c = ChildNamed(music, "c");
            ASSERT_NE(c, nullptr);
            ClickAt(form->DirTreeView, c->DisplayRect(true));
        },
        [&](TbsSelDirDlgForm* form) {
            EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music/c");
            EXPECT_EQ(form->DirEdit->Text(), Dir() / "music/c");
            Press(win::VK_UP);
        },
        [&](TbsSelDirDlgForm* form) {
            EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music/b");
            Press(win::VK_LEFT);  // to the parent, as the tree's keys go
        },
        [&](TbsSelDirDlgForm* form) {
            EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music");
            Press(win::VK_DOWN);
        },
        [&](TbsSelDirDlgForm* form) {
            EXPECT_EQ(form->DirTreeView->Path(), Dir() / "music/a");
            ClickMiddle(form->OkButton);
        },
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->Directory, Dir() / "music/a");
}

TEST_F(SelectFolderDialogTest, AFolderTypedIntoThePathEditWithEnterIsChosen) {
    // Enter in the edit selects the folder, then reaches the form as the default button's key.
    Dir().MakeFolder("music/a");
    Dir().MakeFolder("films/.old");
    Dialog->Directory = Dir() / "music/a";
    Dialog->ShowToolBar = true;
    Steps({
        [&](TbsSelDirDlgForm* form) { ClickMiddle(form->DirEdit); },
        [&](TbsSelDirDlgForm* form) {
            ASSERT_TRUE(form->DirEdit->Focused());
            Press(win::VK_END);
            for (std::size_t i = 0; i < form->DirEdit->Text().size(); ++i) Press(win::VK_BACK);
            Screen->Text(Dir() / "films/.old");
        },
        [&](TbsSelDirDlgForm* form) {
            EXPECT_EQ(form->DirEdit->Text(), Dir() / "films/.old");
            Press(win::VK_RETURN);
        },
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->Directory, Dir() / "films/.old");
}

TEST_F(SelectFolderDialogTest, WithASkinTheSkinsMinimumSizeAndTheTableTextsApply) {
    Dir().MakeFolder("m");
    LoadStored(0);
    auto* table = new TbsResourceStrData(Form);
    rtl::TStringList lines;
    for (const char* line : {"MSG_BTN_OK=确定", "MSG_BTN_CANCEL=取消", "MSG_NEWFOLDER=新建文件夹"})
        lines.Add(line);
    table->SetResStrings(lines);
    Data->SetResourceStrData(table);
    Dialog->SetSkinData(Data);
    Dialog->SetCtrlSkinData(Data);
    Dialog->ShowToolBar = true;
    Dialog->Directory = Dir() / "m";
    Dialog->DialogWidth = 40;
    Dialog->DialogHeight = 20;
    int minWidth = 0, minHeight = 0;
    WhenShown([&](TbsSelDirDlgForm* form) {
        minWidth = form->BSF->GetMinWidth();
        minHeight = form->BSF->GetMinHeight();
        EXPECT_GT(minWidth, 40);
        EXPECT_GT(minHeight, 20);
        EXPECT_EQ(form->ClientWidth(), minWidth);
        EXPECT_EQ(form->ClientHeight(), minHeight);
        EXPECT_EQ(form->OkButton->Caption(), "确定");
        EXPECT_EQ(form->CancelButton->Caption(), "取消");
        EXPECT_EQ(form->NewFolderToolButton->Hint(), "") << "a key the table lacks gives no text";
        form->NewFolderToolButtonClick(form->NewFolderToolButton);
        EXPECT_TRUE(sys::DirectoryExists(Dir() / "m/新建文件夹"));
        form->CancelButton->ButtonClick();
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Dialog->DialogWidth, minWidth);
    EXPECT_EQ(Dialog->DialogHeight, minHeight);
}

// The dialog as the screen shows it: default look and the first-start skin, each with and
// without the tool bar. It opens at 计算机, whose volumes the fixture fixes; the home is a fixed
// missing folder, as a temporary folder's name would differ on every run.
TEST_F(SelectFolderDialogTest, LooksAsReviewed) {
    sys::SetEnv("HOME", "/nonexistent-moradex-home");
    // The shell's image list is shared by every view; an unskinned tree leaves its background
    // as the last skinned one set it, so start from none as a fresh program does.
    ShellImageList(false)->SetBkColor(gfx::clNone);
    test::TSheet sheet;
    int column = 0;
    for (const test::TSheetLook& look : {test::kNoSkinLook, test::kFirstStartLook}) {
        SCOPED_TRACE(look.Name);
        ApplyLook(look);
        TbsSkinData* data = look.StoredSkin < 0 ? nullptr : Data;
        Dialog->SetSkinData(data);
        Dialog->SetCtrlSkinData(data);
        for (bool toolBar : {false, true}) {
            Dialog->ShowToolBar = toolBar;
            Dialog->Directory.clear();
            Dialog->DialogWidth = Dialog->DialogHeight = 0;
            WhenShown([&](TbsSelDirDlgForm*) { Wait(300); });  // past every fade
            WhenShown([&](TbsSelDirDlgForm* form) {
                sheet.Add(toolBar ? 1 : 0, column,
                          test::TSheet::ImageOf(Screen->CaptureWindow(form->Handle())));
                form->CancelButton->ButtonClick();
            });
            EXPECT_FALSE(Dialog->Execute());
        }
        ++column;
    }
    test::ExpectSheetMatches(sheet.Compose(), "select_folder_dialog");
}

}  // namespace
}  // namespace skin
