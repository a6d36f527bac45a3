// The row model: slots taken in order with "DELETED" ones last, at most 500 rows, and records
// (slot and task) that follow their row through deletes and swaps.
#include "app/task_rows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"

namespace app {
namespace {

class TaskRowsTest : public vcl::test::TVclTest {
protected:
    void SetUp() override {
        TVclTest::SetUp();
        form = ShowForm(10, 10, 300, 200);
        view = new vcl::TListView(form);
        view->SetViewStyle(vcl::vsReport);
        view->SetParent(form);
        rows = std::make_unique<TTaskRows>(*view, io, oo);
        rows->FreeAllSlots();
    }
    void TearDown() override {
        rows.reset();
        TVclTest::TearDown();
    }
    // A row for the file `name`, its task `task`; the file also marks the slot's records.
    vcl::TListItem* Add(const std::string& name, int task) {
        media::TInputOptions i;
        i.FileName = name;
        media::TOutputOptions o;
        o.FileName = name + ".out";
        vcl::TListItem* item = rows->AddRow(i, o, task);
        if (item) item->SetCaption(name);
        return item;
    }
    // Each row as "caption:slot:task", and the slot's records checked against the caption.
    std::vector<std::string> Rows() {
        std::vector<std::string> out;
        for (int r = 0; r < rows->Count(); ++r) {
            const TRowRecord* rec = rows->Record(r);
            const std::string caption = view->Items().Item(r)->Caption();
            EXPECT_EQ(rows->InputOf(*rec).FileName, caption);
            EXPECT_EQ(rows->OutputOf(*rec).FileName, caption + ".out");
            EXPECT_EQ(oo[std::size_t(rec->Slot)].AudioLanguage, kSlotFull);
            out.push_back(caption + ":" + std::to_string(rec->Slot) + ":" +
                          std::to_string(rec->Task));
        }
        return out;
    }

    vcl::TForm* form = nullptr;
    vcl::TListView* view = nullptr;
    TInputSlots io;
    TOutputSlots oo;
    std::unique_ptr<TTaskRows> rows;
};

TEST_F(TaskRowsTest, AddsTakeFreeSlotsInOrderAndDeletedOnesOnlyWhenNoneIsFree) {
    ASSERT_NE(Add("a", 0), nullptr);
    ASSERT_NE(Add("b", 1), nullptr);
    ASSERT_NE(Add("c", 2), nullptr);
    EXPECT_EQ(view->Items().Item(0)->SubItems().Count(), kSubItemCount);
    rows->DeleteRow(1);
    EXPECT_EQ(oo[1].AudioLanguage, kSlotDeleted);
    EXPECT_EQ(oo[1].FileName, "b.out");  // a deleted slot keeps its records
    rows->TaskRemoved(1);
    ASSERT_NE(Add("d", 2), nullptr);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a:0:0", "c:2:1", "d:3:2"}));

    // Every slot taken or deleted: the next add reuses the first deleted slot.
    for (int s = 4; s < kSlotCount; ++s) oo[std::size_t(s)].AudioLanguage = kSlotFull;
    EXPECT_EQ(rows->FreeSlot(), 1);
    ASSERT_NE(Add("e", 3), nullptr);
    EXPECT_EQ(rows->Record(3)->Slot, 1);
    EXPECT_EQ(rows->FreeSlot(), -1);
    EXPECT_EQ(Add("f", 4), nullptr);
    EXPECT_EQ(rows->Count(), 4);

    // Freeing writes only the state.
    rows->FreeAllSlots();
    EXPECT_EQ(oo[2].AudioLanguage, kSlotFree);
    EXPECT_EQ(oo[2].FileName, "c.out");
}

TEST_F(TaskRowsTest, TheListHoldsAtMostFiveHundredRows) {
    view->Items().BeginUpdate();
    for (int r = 0; r < kMaxRows; ++r) ASSERT_NE(Add("f" + std::to_string(r), r), nullptr);
    view->Items().EndUpdate();
    EXPECT_TRUE(rows->Full());
    EXPECT_EQ(Add("one too many", 500), nullptr);
    EXPECT_EQ(rows->Count(), kMaxRows);
    EXPECT_EQ(oo[500].AudioLanguage, kSlotFree);  // the 501st slot stays unused
    // A swap at the end of a full list passes through a spare row and leaves 500.
    rows->SwapRows(498, 499);
    EXPECT_EQ(rows->Count(), kMaxRows);
    EXPECT_EQ(view->Items().Item(499)->Caption(), "f498");
    EXPECT_EQ(rows->Record(499)->Slot, 498);
}

TEST_F(TaskRowsTest, RecordsFollowTheirRowsThroughDeletesAndSwaps) {
    for (const char* name : {"a", "b", "c", "d"}) Add(name, rows->Count());
    view->Items().Item(2)->SubItems().Put(siOutputFile, "c.mp4");
    // Delete b (task 1), then move c up twice, then d up once.
    rows->DeleteRow(1);
    rows->TaskRemoved(1);
    rows->SwapRows(1, 0);
    rows->SwapRows(2, 1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"c:2:1", "d:3:2", "a:0:0"}));
    EXPECT_EQ(view->Items().Item(0)->SubItems().Get(siOutputFile), "c.mp4");
    EXPECT_EQ(rows->RowOfTask(2)->Caption(), "d");
    EXPECT_EQ(rows->RowOfTask(0)->Caption(), "a");
    EXPECT_EQ(rows->RowOfTask(3), nullptr);
    EXPECT_EQ(rows->RowOfTask(kNoTask), nullptr);

    // Out of range or equal swaps change nothing.
    for (auto [a, b] : {std::pair{0, 0}, {-1, 0}, {0, 3}}) rows->SwapRows(a, b);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"c:2:1", "d:3:2", "a:0:0"}));

    // After the run's tasks are gone, no row has a task and a new add gets one again.
    rows->ForgetTasks();
    EXPECT_EQ(rows->RowOfTask(0), nullptr);
    EXPECT_EQ(rows->Record(0)->Task, kNoTask);
    Add("e", 0);
    EXPECT_EQ(rows->RowOfTask(0)->Caption(), "e");
    EXPECT_EQ(rows->Record(3)->Slot, 4);

    rows->Clear();
    EXPECT_EQ(rows->Count(), 0);
    EXPECT_EQ(oo[1].AudioLanguage, kSlotFree);
    Add("f", 0);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"f:0:0"}));
    EXPECT_EQ(rows->Record(5), nullptr);
    EXPECT_EQ(TTaskRows::Record(nullptr), nullptr);
}

}  // namespace
}  // namespace app
