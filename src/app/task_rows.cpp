#include "app/task_rows.h"

namespace app {

TTaskRows::TTaskRows(vcl::TCustomListView& view, TInputSlots& io, TOutputSlots& oo)
    : FView(view), FIO(io), FOO(oo) {
    for (int i = 0; i < kSlotCount; ++i) FRecords[std::size_t(i)].Slot = i;
}

int TTaskRows::Count() const {
    return FView.Items().Count();
}

void TTaskRows::FreeAllSlots() {
    for (media::TOutputOptions& o : FOO) o.AudioLanguage = kSlotFree;
}

int TTaskRows::FreeSlot() const {
    // A "DELETED" slot is reused only when no free one is left: rows removed since the last
    // clearing otherwise keep their slots apart from new ones.
    for (int i = 0; i < kSlotCount; ++i)
        if (FOO[std::size_t(i)].AudioLanguage == kSlotFree) return i;
    for (int i = 0; i < kSlotCount; ++i)
        if (FOO[std::size_t(i)].AudioLanguage == kSlotDeleted) return i;
    return -1;
}

vcl::TListItem* TTaskRows::AddRow(const media::TInputOptions& io, const media::TOutputOptions& oo,
                                  int task) {
    if (Full()) return nullptr;
    const int slot = FreeSlot();
    if (slot < 0) return nullptr;
    FIO[std::size_t(slot)] = io;
    FOO[std::size_t(slot)] = oo;
    FOO[std::size_t(slot)].AudioLanguage = kSlotFull;
    TRowRecord& record = FRecords[std::size_t(slot)];
    record.Task = task;
    vcl::TListItem* item = FView.Items().Add();
    for (int i = 0; i < kSubItemCount; ++i) item->SubItems().Add("");
    item->SetData(&record);
    return item;
}

TRowRecord* TTaskRows::Record(const vcl::TListItem* item) {
    return item ? static_cast<TRowRecord*>(item->Data()) : nullptr;
}

TRowRecord* TTaskRows::Record(int row) {
    if (row < 0 || row >= Count()) return nullptr;
    return Record(FView.Items().Item(row));
}

vcl::TListItem* TTaskRows::RowOfTask(int task) {
    if (task < 0) return nullptr;
    vcl::TListItems& items = FView.Items();
    for (int i = 0, n = items.Count(); i < n; ++i) {
        vcl::TListItem* item = items.Item(i);
        const TRowRecord* record = Record(item);
        if (record && record->Task == task) return item;
    }
    return nullptr;
}

void TTaskRows::DeleteRow(int row) {
    TRowRecord* record = Record(row);
    if (!record) return;
    FOO[std::size_t(record->Slot)].AudioLanguage = kSlotDeleted;
    record->Task = kNoTask;
    FView.Items().Delete(row);
}

void TTaskRows::TaskRemoved(int task) {
    if (task < 0) return;
    vcl::TListItems& items = FView.Items();
    for (int i = 0, n = items.Count(); i < n; ++i) {
        TRowRecord* record = Record(items.Item(i));
        if (!record) continue;
        if (record->Task == task)
            record->Task = kNoTask;
        else if (record->Task > task)
            --record->Task;
    }
}

void TTaskRows::ForgetTasks() {
    for (TRowRecord& record : FRecords) record.Task = kNoTask;
}

void TTaskRows::Clear() {
    FView.Items().Clear();
    ForgetTasks();
    FreeAllSlots();
}

void TTaskRows::SwapRows(int a, int b) {
    vcl::TListItems& items = FView.Items();
    const int n = items.Count();
    if (a == b || a < 0 || b < 0 || a >= n || b >= n) return;
    // Assign copies caption, sub-items, picture and Data, so each record travels with its row.
    items.BeginUpdate();
    vcl::TListItem* spare = items.Add();
    spare->Assign(items.Item(a));
    items.Item(a)->Assign(items.Item(b));
    items.Item(b)->Assign(spare);
    items.Delete(n);
    items.EndUpdate();
}

}  // namespace app
