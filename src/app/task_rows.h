// The task rows and their option slots. Every row of the task list owns a record, held in the
// list item's Data: the number of its option slot (IO1/OO1) and, while a run's tasks exist, the
// index of its task in the task manager. Whatever reaches a row's slot or task (delete, move,
// rename, the task build at start, progress and completion) goes through the row's record, never
// through the row's position, so removals and moves keep rows, slots and tasks paired.
//
// A slot's state is the text in its output record's AudioLanguage: "kong" free, "Full" taken,
// "DELETED" its row was removed. A new row takes the first "kong" slot, else the first "DELETED"
// one; the list holds at most kMaxRows rows. The records live in one array beside the slots (a
// slot has at most one row), so copying an item copies the pointer and nothing needs freeing.
// Main thread only.
#pragma once

#include <array>
#include <string>

#include "media/tasks/option_records.h"
#include "platform/vcl/list_view.h"

namespace app {

inline constexpr int kSlotCount = 501;
inline constexpr int kMaxRows = 500;
inline constexpr int kNoTask = -1;

inline const std::string kSlotFree = "kong";
inline const std::string kSlotFull = "Full";
inline const std::string kSlotDeleted = "DELETED";

// Sub-items of a task row.
enum TFileSubItem {
    siDuration,
    siFileSize,
    siOutputFile,
    siProgress,
    siFps,
    siCurrentTime,
    siConvertedSize,
    siTaskNumber,
    siChoiceKey,
    siOptionString,
    siVideoCodec,
    siAudioCodec,
    siAudioChannels,
    siVideoTag,
    siFileExt,
    siFrameSize,
    siVideoBitrate,
    siFrameRate,
    siAudioBitrate,
    siAudioSampleRate,
    siFrameAspectRatio,
    siDisableVideo,
    siTargetType,
    siNormType,
    kSubItemCount
};

struct TRowRecord {
    int Slot = -1;
    int Task = kNoTask;  // index in the task manager while the run's tasks exist
};

using TInputSlots = std::array<media::TInputOptions, kSlotCount>;
using TOutputSlots = std::array<media::TOutputOptions, kSlotCount>;

class TTaskRows {
public:
    TTaskRows(vcl::TCustomListView& view, TInputSlots& io, TOutputSlots& oo);
    TTaskRows(const TTaskRows&) = delete;
    TTaskRows& operator=(const TTaskRows&) = delete;

    int Count() const;
    bool Full() const { return Count() >= kMaxRows; }

    // Every slot "kong"; the records in the slots stay as they are.
    void FreeAllSlots();
    // The slot a new row would take, or -1 when none is left.
    int FreeSlot() const;

    // Appends a row owning a new slot that receives copies of the records ("Full"), with
    // kSubItemCount empty sub-items; nullptr (nothing changed) when the list is full or no slot
    // is left.
    vcl::TListItem* AddRow(const media::TInputOptions& io, const media::TOutputOptions& oo,
                           int task);

    // The record of a row; nullptr for an item without one (or no item).
    static TRowRecord* Record(const vcl::TListItem* item);
    TRowRecord* Record(int row);
    media::TInputOptions& InputOf(const TRowRecord& record) { return FIO[record.Slot]; }
    media::TOutputOptions& OutputOf(const TRowRecord& record) { return FOO[record.Slot]; }

    // The row that owns a task, or nullptr.
    vcl::TListItem* RowOfTask(int task);

    // Deletes the row and marks its slot "DELETED". Its task (when it has one) is the caller's
    // to remove first; TaskRemoved then keeps the other records in step.
    void DeleteRow(int row);
    // The task manager removed a task: records of the tasks behind it move down by one.
    void TaskRemoved(int task);
    // The run's tasks are gone (cleared): no record has a task any more.
    void ForgetTasks();
    // Deletes every row and frees every slot.
    void Clear();
    // Swaps two rows in one update of the list: captions, sub-items and records.
    void SwapRows(int a, int b);

private:
    vcl::TCustomListView& FView;
    TInputSlots& FIO;
    TOutputSlots& FOO;
    std::array<TRowRecord, kSlotCount> FRecords;
};

}  // namespace app
