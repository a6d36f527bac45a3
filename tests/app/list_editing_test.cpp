// Editing the task list: delete keeps rows, tasks and slots paired, also after a run's tasks are
// gone; clear; moves carry each row's records along; the rename editor over the output column and
// its refusals.
#include <chrono>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "platform/sys/files.h"
#include "platform/sys/main_thread.h"
#include "platform/win/types.h"
#include "queue_test_support.h"

namespace app::test {
namespace {

using TListEditingTest = TQueueTest;

// Three rows a, b, c of one multi-add (shown c, b, a), each with its own preset.
class TThreeRows : public TQueueTest {
protected:
    void SetUp() override {
        TQueueTest::SetUp();
        const int presets[] = {101, 303, 111};
        const char* names[] = {"a.avi", "b.avi", "c.avi"};
        for (int i = 0; i < 3; ++i) {
            ChoosePreset(presets[i]);
            ASSERT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, names[i])).empty());
        }
        ASSERT_EQ(RowCount(), 3);
    }
    // Each row's caption with the records its slot holds.
    std::vector<std::string> Records() {
        std::vector<std::string> out;
        for (int r = 0; r < RowCount(); ++r) {
            const TRowRecord* rec = Form1->Rows().Record(r);
            const media::TOutputOptions& o = Form1->Rows().OutputOf(*rec);
            out.push_back(sys::ExtractFileName(Cell(r, -1)) + ">" +
                          sys::ExtractFileName(Form1->Rows().InputOf(*rec).FileName) + "," +
                          sys::ExtractFileName(o.FileName) + "," + o.FileFormat + "," +
                          std::to_string(o.AudioVolume) + "," + o.VideoCodec);
        }
        return out;
    }
};

TEST_F(TThreeRows, DeletingTheMiddleRowRemovesItsTaskAndRenumbers) {
    const std::vector<std::string> before = Records();
    Form1->lvFiles->SetItemIndex(1);
    EXPECT_TRUE(Boxes([] { Form1->bsSkinButton7->ButtonClick(); }).empty());
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(0, siTaskNumber), "1");
    EXPECT_EQ(Cell(1, siTaskNumber), "2");
    EXPECT_EQ(Form1->FFTasks->TasksCount(), 2);
    EXPECT_EQ(Form1->OO1[1].AudioLanguage, kSlotDeleted);
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 0);
    EXPECT_EQ(Records(), (std::vector<std::string>{before[0], before[2]}));
    // The remaining rows still own the tasks of their own files.
    for (int r = 0; r < 2; ++r) {
        const int task = Form1->Rows().Record(r)->Task;
        EXPECT_EQ(task, r);
        EXPECT_EQ(Form1->FFTasks->GetTaskProbe(task, 0)->FileName(), Cell(r, -1));
    }
}

TEST_F(TThreeRows, MovesCarryEachRowsRecordsAlong) {
    // Delete b, then move c up (menu) and down again (button), then up by the hidden button.
    Form1->lvFiles->SetItemIndex(1);
    Form1->btnRemoveClick();
    const std::vector<std::string> kept = Records();  // a, c
    Form1->lvFiles->SetItemIndex(1);
    Form1->N6->Click();
    EXPECT_EQ(Records(), (std::vector<std::string>{kept[1], kept[0]}));
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 0) << "the moved row stays selected";
    EXPECT_EQ(Cell(0, siTaskNumber), "2") << "sub-items travel with the row";
    Form1->bsSkinButton4->ButtonClick();
    EXPECT_EQ(Records(), kept);
    Form1->Button27Click();
    EXPECT_EQ(Records(), (std::vector<std::string>{kept[1], kept[0]}));
    // Up on the first row and down on the last change nothing.
    Form1->bsSkinButton3Click();
    Form1->lvFiles->SetItemIndex(1);
    Form1->bsSkinButton4Click();
    EXPECT_EQ(Records(), (std::vector<std::string>{kept[1], kept[0]}));
    // The restore put the moved row's own choice back into the lists.
    Form1->lvFiles->SetItemIndex(0);
    EXPECT_EQ(Form1->Work.All_Trant_Number, 111);
}

TEST_F(TThreeRows, DeletingAfterTheRunsTasksAreGoneAsksNothingOfTheTaskManager) {
    // The end of a run clears the tasks; a new add makes task 0 again.
    Form1->FFTasks->ClearTasks();
    Form1->Rows().ForgetTasks();
    ASSERT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, "d.avi")).empty());
    Form1->lvFiles->SetItemIndex(0);
    EXPECT_TRUE(Boxes([] { Form1->btnRemoveClick(); }).empty());
    EXPECT_EQ(Form1->FFTasks->TasksCount(), 1) << "the new row's task stays";
    EXPECT_EQ(Form1->Rows().RowOfTask(0)->Caption(), Cell(2, -1));
}

TEST_F(TListEditingTest, DeleteAndRenameWithoutASelectionSayWhatIsMissing) {
    ASSERT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, "a.avi")).empty());
    Form1->lvFiles->SetItemIndex(-1);
    EXPECT_EQ(Boxes([] { Form1->N8->Click(); }),
              std::vector<std::string>{"提示|请先选择您需要删除的项目！"});
    EXPECT_EQ(Boxes([] { Form1->bsSkinButton21->ButtonClick(); }),
              std::vector<std::string>{"提示|请先选中您需要重命名的项目！"});
    EXPECT_EQ(Boxes([] { Form1->N26->Click(); }),
              std::vector<std::string>{"提示|请先选中您需要重命名的项目！"});
    EXPECT_EQ(RowCount(), 1);
    Form1->lvFilesDblClick();
    EXPECT_FALSE(Form1->edt->Visible());
}

TEST_F(TListEditingTest, DeletingTheOnlyRowAndClearingLeaveTheEmptyList) {
    for (bool clear : {false, true}) {
        SCOPED_TRACE(clear ? "clear" : "delete");
        ASSERT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, "a.avi")).empty());
        Form1->bsSkinSlider1->SetValue(5);
        if (clear)
            Form1->bsSkinButton8->ButtonClick();
        else
            Form1->N8->Click();
        EXPECT_EQ(RowCount(), 0);
        EXPECT_EQ(Form1->FFTasks->TasksCount(), 0);
        EXPECT_TRUE(Form1->bsSkinPanel5->Visible());
        EXPECT_EQ(Form1->bsSkinSlider1->Value(), 0);
        for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{
                 Form1->bsSkinButton7, Form1->bsSkinButton8, Form1->bsSkinButton21,
                 Form1->bsSkinButton2, Form1->btnRemove, Form1->btnClear})
            EXPECT_FALSE(c->Enabled()) << c->Name();
        for (vcl::TMenuItem* item : {Form1->N8, Form1->N9, Form1->N26, Form1->N10})
            EXPECT_FALSE(item->Enabled()) << item->Caption();
        EXPECT_EQ(Form1->bsSkinButton2->ImageIndex(), 13);
        EXPECT_TRUE(Form1->bsSkinButton3->Enabled() && Form1->bsSkinButton4->Enabled());
    }
    // Clear freed every slot: the next add takes slot 0 again.
    EXPECT_EQ(Form1->OO1[0].AudioLanguage, kSlotFree);
    ASSERT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, "a.avi")).empty());
    EXPECT_EQ(Form1->Rows().Record(0)->Slot, 0);
}

// Overwrite mode ("直接覆盖输出文件") with an earlier output of the same name in the output folder:
// adding, deleting, clearing and closing leave it byte for byte and put nothing beside it; only
// the conversion of its row replaces it.
TEST_F(TListEditingTest, AnEarlierOutputIsOnlyReplacedByItsRowsConversion) {
    Form5->bsSkinCheckRadioBox3->SetChecked(true);
    const std::string folder = Form1->FileOutPutPath;
    std::filesystem::create_directories(folder);
    const std::string earlier = folder + "/a.avi";
    testsupport::WriteFile(earlier, "an earlier conversion");
    const std::string clip = Media(fixtures::kTinyClipAvi, "a.avi");
    auto folderHolds = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    };
    auto expectUntouched = [&](const char* step) {
        EXPECT_EQ(testsupport::ReadFile(earlier), "an earlier conversion") << step;
        EXPECT_EQ(folderHolds(), std::set<std::string>{"a.avi"}) << step;
    };

    ASSERT_TRUE(AddOne(clip).empty());
    EXPECT_EQ(Cell(0, siOutputFile), "a.avi");
    expectUntouched("add");
    Form1->N8->Click();
    ASSERT_EQ(RowCount(), 0);
    expectUntouched("delete");
    ASSERT_TRUE(AddOne(clip).empty());
    ASSERT_TRUE(AddOne(clip).empty());
    Form1->bsSkinButton8->ButtonClick();
    ASSERT_EQ(RowCount(), 0);
    expectUntouched("clear");

    // Start: the row's conversion writes the file.
    ASSERT_TRUE(AddOne(clip).empty());
    expectUntouched("add again");
    Form1->bsSkinButton2->ButtonClick();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (Form1->Running() && std::chrono::steady_clock::now() < deadline) {
        sys::CheckSynchronize(10);
        Run();
    }
    ASSERT_FALSE(Form1->Running());
    EXPECT_EQ(Cell(0, siProgress), "100%");
    EXPECT_EQ(testsupport::ReadFile(earlier).rfind("RIFF", 0), 0u) << "replaced by the conversion";

    // Closing with a queued row leaves the folder as it is.
    testsupport::WriteFile(earlier, "an earlier conversion");
    ASSERT_TRUE(AddOne(clip).empty());
    Form1->Close();
    Run();
    expectUntouched("close");
}

TEST_F(TListEditingTest, RenameTakesAUsableNameWithTheFormatsExtension) {
    ChoosePreset(303);
    ASSERT_EQ(Form1->ChosenExtension(), ".mp4");
    ASSERT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, "a.avi")).empty());
    vcl::TEdit* edt = Form1->edt;
    auto rename = [&](const std::string& text) {
        Form1->bsSkinButton21->ButtonClick();
        EXPECT_TRUE(edt->Visible());
        EXPECT_TRUE(edt->Focused());
        edt->SetText(text);
        Form1->lvFiles->SetFocus();  // leaving the editor commits
    };
    rename("abc");
    EXPECT_FALSE(edt->Visible());
    EXPECT_EQ(Cell(0, siOutputFile), "abc.mp4");
    const TRowRecord* rec = Form1->Rows().Record(0);
    EXPECT_EQ(Form1->Rows().OutputOf(*rec).FileName, Form1->FileOutPutPath + "/abc.mp4");
    Form1->bsSkinButton21->ButtonClick();
    EXPECT_EQ(edt->Text(), "abc") << "the editor starts with the name without extension";
    edt->SetText("a.b");
    Form1->lvFiles->SetFocus();
    EXPECT_EQ(Cell(0, siOutputFile), "a.b.mp4");

    for (const char* refused : {"", "   ", ".", "..", "../x", "a/b"}) {
        SCOPED_TRACE(refused);
        rename(refused);
        EXPECT_TRUE(edt->Visible()) << "the editor stays";
        EXPECT_EQ(Cell(0, siOutputFile), "a.b.mp4");
    }
    // Esc leaves the name as it was.
    edt->SetFocus();
    edt->SetText("other");
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_FALSE(edt->Visible());
    EXPECT_EQ(Cell(0, siOutputFile), "a.b.mp4");

    // Enter commits as leaving the editor does and gives the list the focus; a refused name
    // keeps the editor open.
    Form1->bsSkinButton21->ButtonClick();
    edt->SetText("a/b");
    Press(win::VK_RETURN);
    Run();
    EXPECT_TRUE(edt->Visible());
    EXPECT_EQ(Cell(0, siOutputFile), "a.b.mp4");
    edt->SetText("entered");
    Press(win::VK_RETURN);
    Run();
    EXPECT_FALSE(edt->Visible());
    EXPECT_TRUE(Form1->lvFiles->Focused());
    EXPECT_EQ(Cell(0, siOutputFile), "entered.mp4");

    // The editor lies over column 3 of the selected row, also with the list scrolled sideways.
    Form1->lvFiles->Columns()[0]->SetWidth(300);
    Form1->lvFiles->Scroll(40, 0);
    Form1->lvFilesDblClick();
    const vcl::TRect row = Form1->lvFiles->Items().Item(0)->DisplayRect();
    int left = row.Left + 2;
    for (int c = 0; c < 3; ++c) left += Form1->lvFiles->Columns()[c]->Width();
    EXPECT_EQ(edt->Parent(), Form1->lvFiles);
    EXPECT_EQ(edt->Left(), left);
    EXPECT_LT(row.Left, 0) << "the list scrolled";
    EXPECT_EQ(edt->Top(), row.Top);
    EXPECT_EQ(edt->Width(), Form1->lvFiles->Columns()[3]->Width());
}

TEST_F(TListEditingTest, TheRenameEditorCoversTheOutputColumnAndTheNewNameShowsAtOnce) {
    ASSERT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, "a.avi")).empty());
    // The added file's preview would reach the pane at a moment that depends on the machine.
    Form1->FFPlayer->Stop(true);
    // The temporary folders' names would show in the input column and the folder edit.
    Form1->lvFiles->Items().Item(0)->SetCaption("/media/a.avi");
    Form1->Video_OutPut_Folder_Edit->SetText("/media/输出");
    Run();
    Form1->bsSkinButton21->ButtonClick();
    Form1->edt->SetText("renamed");
    Run();
    vcl::test::ExpectLooksLike(*Screen->CaptureWindow(Form1->Handle()), "rename_editor.png");
    Form1->lvFiles->SetFocus();
    Run();
    ASSERT_EQ(Cell(0, siOutputFile), "renamed.avi");
    vcl::test::ExpectLooksLike(*Screen->CaptureWindow(Form1->Handle()), "rename_done.png");
}

}  // namespace
}  // namespace app::test
