// The running program's folder chooser: both folder questions of the main window reach a skinned
// folder dialog of their own, which keeps where the user left it.
#include <gtest/gtest.h>

#include "app_test_support.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "skin/dialogs/shell_tree_view.h"

namespace app::test {
namespace {

class FolderChooserTest : public TAppTest {
protected:
    skin::TbsSkinSelectDirectoryDialog* DialogNamed(const char* name) {
        return dynamic_cast<skin::TbsSkinSelectDirectoryDialog*>(Form1->FindComponent(name));
    }
    // What the chooser answers when, inside the dialog, `act` runs on the shown form.
    std::optional<std::string> Ask(const std::string& title, const std::string& start,
                                   std::function<void(skin::TbsSelDirDlgForm*)> act) {
        Screen->QueueIdleStep([this, act] {
            for (const char* name :
                 {"bsSkinSelectDirectoryDialog1", "bsSkinSelectDirectoryDialog2"})
                if (DialogNamed(name)->DlgFrm()) {
                    shown = name;
                    act(DialogNamed(name)->DlgFrm());
                }
        });
        return Services().ChooseFolder(title, start);
    }
    std::string shown;
};

TEST_F(FolderChooserTest, EachQuestionHasItsOwnDialogThatKeepsTheFolder) {
    Start();
    InstallFolderChooser();
    home.MakeFolder("clips");
    home.MakeFolder("out");

    EXPECT_EQ(Ask("选择目录", "",
                  [&](skin::TbsSelDirDlgForm* form) {
                      EXPECT_EQ(form->Caption(), "选择目录");
                      EXPECT_EQ(form->ToolPanel, nullptr);
                      form->DirTreeView->SetPath(home / "clips");
                      form->OkButton->ButtonClick();
                  }),
              home / "clips");
    EXPECT_EQ(shown, "bsSkinSelectDirectoryDialog1");

    EXPECT_EQ(Ask("选择输出目录", home / "out",
                  [&](skin::TbsSelDirDlgForm* form) {
                      EXPECT_EQ(form->Caption(), "选择输出目录");
                      EXPECT_EQ(form->DirTreeView->Path(), home / "out");
                      form->DirTreeView->SetPath(home / "clips");
                      form->CancelButton->ButtonClick();
                  }),
              std::nullopt);
    EXPECT_EQ(shown, "bsSkinSelectDirectoryDialog2");

    // The add-folder dialog opens where its own last OK left it.
    EXPECT_EQ(Ask("选择目录", "",
                  [&](skin::TbsSelDirDlgForm* form) {
                      EXPECT_EQ(form->DirTreeView->Path(), home / "clips");
                      form->CancelButton->ButtonClick();
                  }),
              std::nullopt);
    EXPECT_EQ(shown, "bsSkinSelectDirectoryDialog1");
}

}  // namespace
}  // namespace app::test
