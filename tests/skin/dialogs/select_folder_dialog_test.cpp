// The folder chooser over the fixture namespace, driven while its modal loop waits.
#include "skin/dialogs/select_folder_dialog.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/shell/shell_fixture.h"
#include "platform/sys/files.h"
#include "skin/controls/panels.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/speed_button.h"
#include "skin/dialogs/shell_tree_view.h"
#include "skin/form/skin_form.h"
#include "skin/lists/skin_edit.h"

namespace skin {
namespace {

class SelectFolderDialogTest : public test::TControlsTest {
protected:
    void SetUp() override {
        TControlsTest::SetUp();
        FHome = std::make_unique<shelltest::TShellHome>();
        Dialog = new TbsSkinSelectDirectoryDialog(Form);
    }
    void TearDown() override {
        FHome.reset();
        TControlsTest::TearDown();
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
        for (int i = 0; i < node->Count(); ++i) shown = shown || node->Item(i)->Text() == "New Folder";
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
    for (const std::string start : {std::string(), Dir() / "gone"}) {
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

}  // namespace
}  // namespace skin
