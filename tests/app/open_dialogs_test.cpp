// The main window's open dialogs: how start-up sets them up, the 42-entry filter in the real
// dialog, and the seam through which the application's tests answer them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_test_support.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/shell_list_view.h"

namespace app::test {
namespace {

using Names = std::vector<std::string>;

TEST_F(TAppTest, BothOpenDialogsStartWithTheFilterOfFortyTwoEntries) {
    Start();
    const struct {
        skin::TbsSkinOpenDialog* Dialog;
        bool Multi;
    } dialogs[] = {{Form1->OpenDialog1, false}, {Form1->OpenDialog2, true}};
    for (const auto& d : dialogs) {
        ASSERT_NE(d.Dialog, nullptr);
        EXPECT_EQ(d.Dialog->Title, "打开文件");
        EXPECT_EQ(d.Dialog->MultiSelection, d.Multi);
        EXPECT_TRUE(d.Dialog->CheckFileExists);
        EXPECT_TRUE(d.Dialog->ToolButtonsTransparent);
        EXPECT_EQ(d.Dialog->SkinData(), Form1->bsSkinData1);
        EXPECT_EQ(d.Dialog->CtrlSkinData(), Form1->bsSkinData1);
        EXPECT_EQ(d.Dialog->Filter, Form1->OpenDialogFilter);
        EXPECT_EQ(d.Dialog->FilterIndex, 1);
    }
    const std::string& filter = Form1->OpenDialogFilter;
    EXPECT_EQ(std::count(filter.begin(), filter.end(), '|'), 84);
    EXPECT_EQ(filter.rfind("所有文件格式 (*.*)|*.*|", 0), 0u);
    EXPECT_NE(filter.find("|Flac无损压缩音频格式\u3000(*.flac)|*.flac|"), std::string::npos);
    EXPECT_NE(filter.find("|微软数字视频格式( *.dvr-ms)|*.dvr-ms|"), std::string::npos);

    // In the real dialog: entry 1 selected; the AIFF entry lists both extensions.
    for (const char* f : {"x.aif", "y.aiff", "z.wav", "w.AIFF"}) home.Touch(f);
    Form1->OpenDialog1->InitialDir = home.Path();
    Names all, aiff;
    int count = 0, index = -1;
    Screen->QueueIdleStep([&] {
        skin::TbsOpenDlgForm* form = Form1->OpenDialog1->DlgFrm();
        ASSERT_NE(form, nullptr);
        count = form->FilterComboBox->Items().Count();
        index = form->FilterComboBox->ItemIndex();
        auto rows = [&] {
            Names names;
            for (int i = 0; i < form->FileListView->FolderCount(); ++i)
                if (!form->FileListView->FolderAt(i)->IsFolder())
                    names.push_back(form->FileListView->FolderAt(i)->DisplayName());
            return names;
        };
        all = rows();
        form->FilterComboBox->SetItemIndex(41);
        aiff = rows();
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Form1->OpenDialog1->Execute());
    EXPECT_EQ(count, 42);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(all, (Names{"w.AIFF", "x.aif", "y.aiff", "z.wav"}));
    EXPECT_EQ(aiff, (Names{"w.AIFF", "x.aif", "y.aiff"}));
    EXPECT_EQ(Form1->OpenDialog1->FilterIndex, 42) << "kept for the next add";
}

TEST_F(TAppTest, AResponderAnswersTheOpenDialogInPlaceOfTheUser) {
    Start();
    std::vector<skin::TbsSkinOpenDialog*> asked;
    Services().AnswerOpenDialog = [&](skin::TbsSkinOpenDialog& dialog) {
        asked.push_back(&dialog);
        dialog.SetFileName(home.File("a.mp4"));
        return true;
    };
    EXPECT_TRUE(ExecuteOpenDialog(*Form1->OpenDialog2));
    EXPECT_EQ(asked, std::vector<skin::TbsSkinOpenDialog*>{Form1->OpenDialog2});
    EXPECT_EQ(Form1->OpenDialog2->FileName(), home.File("a.mp4"));
    EXPECT_EQ(Form1->OpenDialog2->DlgFrm(), nullptr) << "no dialog was shown";
}

}  // namespace
}  // namespace app::test
