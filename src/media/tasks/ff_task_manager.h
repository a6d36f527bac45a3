// Tasks (src/media/tasks): the option records (option_records.h/.cpp) and the task manager (this
// header, ff_task_manager.cpp) that turns them into engine jobs with a probe per input. Uses the
// engine, the probe and the media libraries; nothing in the media folders includes it.
//
// The conversion task manager: an ordered list of tasks (a TFFmpeg each: one engine, a probe per
// input and the kept option records), set up from option records, run in list order either on
// worker threads, at most k at a time, or one after another on the caller's thread, and watched
// through events that carry the task's index: OnProgress, OnTerminate (once per task, then once
// with task index -1), OnPreviewBitmap and OnCustomHook. It also owns a probe for testing files.
//
// The user's files: setting a task up (AddTask, AddInputFile, SetOutputFile) opens inputs for
// reading and only asks whether each output could be written; nothing in an output folder is
// created, emptied or deleted before Start. An output file is opened, and an existing file of
// that name replaced, only by the task's own conversion when it starts writing. RemoveTask,
// ClearTasks, Stop and the destructor never delete a file: only a conversion deletes, and only
// an output it opened itself, that is still that file, and that it gave up or left empty. A task
// whose output cannot be written, goes away or is replaced, or whose input changes while it
// converts, ends with an exception whose text names the file.
//
// Threads: the owner's thread (the main thread in the application) sets tasks up, starts, pauses
// and stops them. In thread mode every task converts on its engine's thread and every end report
// runs on one dispatcher thread the manager owns, in the order the tasks ended, the final report
// last; Stop(true) and the destructor return only after the reports are through. In synchronous
// mode the caller of Start converts and reports. Progress and preview events are handed to the
// main thread (CallInMainThread) unless told otherwise; custom hooks run on the conversion
// thread. One lock per event record; the task list has its own lock, which end reports never
// take.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_base_component.h"
#include "media/probe/av_probe.h"
#include "media/probe/probed_streams.h"
#include "media/tasks/option_records.h"
#include "platform/rtl/streams.h"
#include "platform/sys/sync.h"
#include "platform/sys/threads.h"

namespace media {

struct TProgressInfo {
    int32_t TaskIndex = 0;
    int32_t FileIndex = 0;        // input being read; -1 in the task's last report
    int32_t FrameNumber = 0;      // pictures encoded into the first video stream; -1 without video
    int32_t FPS = 0;              // 0 during the first second; -1 without video
    float Quality = 0;            // quantiser of the last picture; -1 for a copy or without video
    float BitRate = 0;            // kbit/s
    int64_t CurrentSize = 0;      // bytes
    int64_t CurrentDuration = 0;  // microseconds
    int64_t TotalDuration = 0;    // microseconds; -1 when unknown
};
using PProgressInfo = TProgressInfo*;

// TaskIndex -1: every task of the run has reported its end (Finished True, no exception).
struct TTerminateInfo {
    int32_t TaskIndex = 0;
    bool Finished = false;
    bool Exception = false;
    std::string ExceptionMsg;
};

struct THookInfo {
    int32_t TaskIndex = 0;
    gfx::TBitmap* Bitmap = nullptr;
    int32_t FrameNumber = 0;
    int64_t PTS = 0;        // microseconds
    bool Update = true;     // left True: the bitmap is written back into the picture
    bool StopHook = false;  // set True: no more hook calls for the task
};
using PHookInfo = THookInfo*;

struct TPreviewInfo {
    int32_t TaskIndex = 0;
    const gfx::TBitmap* Bitmap = nullptr;
    int32_t FrameNumber = 0;
    int64_t PTS = 0;  // microseconds
};

// One task: the engine, a probe per input made on first use, and a copy of each option record
// it was given.
class TFFmpeg : public TCustomFFmpeg, public TOptionCalls {
public:
    explicit TFFmpeg(int maxFiles);
    ~TFFmpeg() override;

    int MaxFiles() const { return FMaxFiles; }
    // nullptr for an index outside the capacity.
    TAVProbe* GetInputProbe(int index);
    // The probe of an input, or nullptr when it has none yet or the index is out of range.
    TAVProbe* InputProbe(int index) const;
    // What the open of input `index` found of its streams, kept from the open on; null when
    // the input is not open or the index is out of range.
    std::shared_ptr<const TProbedStreams> InputStreams(int index) const;

    void StoreInputOptions(int index, const TInputOptions& options);
    void StoreOutputOptions(int index, const TOutputOptions& options);
    void ResetInputOptions(int index);
    void ResetOutputOptions(int index);
    // The kept copies; nullptr when none is kept for that index.
    const TInputOptions* InputOptions(int index) const;
    const TOutputOptions* OutputOptions(int index) const;

    // --- the calls an option record turns into: each goes to the engine's handler ---
#define MORADEX_FORWARD_OPTION_CALL(result, name, parameters, arguments) \
    result name parameters override {                                    \
        return TCustomFFmpeg::name arguments;                            \
    }
    MORADEX_OPTION_CALLS(MORADEX_FORWARD_OPTION_CALL)
#undef MORADEX_FORWARD_OPTION_CALL
    void SetRecordingTimestamp(int64_t value) override {
        Frecording_timestamp = value;
    }

protected:
    // The window of live preview (previewer.h).
    std::unique_ptr<TPreviewer> CreatePreviewer() override;

private:
    friend class TCustomFFTaskManager;

    // The probe of input `index` looks at the engine's opened input `fileName` from now on,
    // and what it found is kept apart from the context, which the run reads.
    void AttachInputProbe(int index, const std::string& fileName);
    // The run released its inputs: the probes let go of them.
    void DetachProbes();
    void SetPostHook(TPostHook hook, bool present);
    void SetReportInterval(int64_t microseconds) {
        ReportInterval = microseconds;
    }

    std::vector<std::unique_ptr<TAVProbe>> FAVProbes;
    std::vector<std::shared_ptr<const TProbedStreams>> FProbedStreams;
    std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
    std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
    // The task's index in the run; set by Start, read by its end report.
    int FTaskIndex = -1;
};

// The tasks, owned; an index outside the list raises the list index error.
class TFFmpegList {
public:
    int Add(std::unique_ptr<TFFmpeg> task);
    TFFmpeg& Item(int index) const;
    int IndexOf(const TFFmpeg* task) const;
    int Count() const { return int(FList.size()); }
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Clear();
    // Empties the list and hands the tasks over, so they can be freed outside a lock.
    std::vector<std::unique_ptr<TFFmpeg>> TakeAll();

private:
    void CheckIndex(int index) const;

    std::vector<std::unique_ptr<TFFmpeg>> FList;
};

class TTerminateDispatcher;

class TCustomFFTaskManager : public TFFBaseComponent {
public:
    using TProgressEvent = std::function<void(TCustomFFTaskManager* sender, PProgressInfo info)>;
    using TTerminateEvent =
        std::function<void(TCustomFFTaskManager* sender, const TTerminateInfo& info)>;
    using TCustomHookEvent = std::function<void(TCustomFFTaskManager* sender, PHookInfo info)>;
    using TPreviewBitmapEvent =
        std::function<void(TCustomFFTaskManager* sender, const TPreviewInfo& info)>;

    TCustomFFTaskManager();
    // Frees the tasks (each stops and waits for its threads), then lets the end reports through.
    ~TCustomFFTaskManager() override;

    bool AVLibLoaded() const;
    bool LoadAVLib(const std::string& path);
    void UnloadAVLib();

    // A new task with one input: its index, or -1 with LastErrMsg.
    int AddTask(const std::string& fileName, const TInputOptions* options);
    int AddTask(const std::string& fileName, const std::string& extOptions);
    // The input named "stream:<address of the stream>:<privateData>".
    int AddTask(rtl::TStream* stream, const std::string& privateData, const TInputOptions* options);
    bool AddInputFile(int taskIndex, const std::string& fileName, const TInputOptions* options);
    bool AddInputFile(int taskIndex, const std::string& fileName, const std::string& extOptions);
    // Adds an output to a task (its file is opened when the task converts); false with
    // LastErrMsg, also when the file could not be written.
    bool SetOutputFile(int taskIndex, const std::string& fileName, const TOutputOptions* options);
    bool SetOutputFile(int taskIndex, const std::string& fileName, const std::string& extOptions);
    bool SetOutputStream(int taskIndex, rtl::TStream* stream, const std::string& privateData,
                         const TOutputOptions* options);
    // Raises the list index error for a bad task index; nullptr when the input has no probe.
    TAVProbe* GetTaskProbe(int taskIndex, int fileIndex);
    // What the add found of an input's streams (see probed_streams.h): unlike the probe, it may
    // be read while the task converts. Raises like GetTaskProbe; null when the input has none.
    std::shared_ptr<const TProbedStreams> GetTaskStreams(int taskIndex, int fileIndex);

    // Back to idle; raises "Cannot ClearTasks while working." while a run has not ended.
    void ClearTasks();
    void RemoveTask(int taskIndex);
    void Exchange(int taskIndex1, int taskIndex2);

    // threadCount > 0: at most that many tasks at once on their own threads, returns at once.
    // Otherwise every task runs on the calling thread and Start returns after the final report.
    void Start(int threadCount);
    // A state of the manager: running tasks hold, and tasks that start meanwhile start held.
    void Pause();
    void Resume();
    // No further task starts; running tasks stop and tasks that never ran report their end.
    // With waitFor, returns once every task and every end report is through.
    void Stop(bool waitFor);

    const std::string& About() const { return FAbout; }
    void SetAbout(const std::string& value) { FAbout = value; }
    static std::string Version() { return "1.0"; }
    bool Preview() const { return FPreview; }
    void SetPreview(bool value);
    bool PreviewBitmap() const { return FPreviewBitmap; }
    void SetPreviewBitmap(bool value);
    int ProgressInterval() const { return FProgressInterval; }
    // Milliseconds; anything up to 100 stores 100.
    void SetProgressInterval(int value);
    sys::TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(sys::TThreadPriority value) { FThreadPriority = value; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool value) { FTriggerEventInMainThread = value; }
    TAVProbe& AVProbe() { return FAVProbe; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    int TasksCount();
    int CustomMaxFiles() const { return FCustomMaxFiles; }
    void SetCustomMaxFiles(int value) { FCustomMaxFiles = value; }
    bool Terminated() const { return FTerminated.load(); }
    void* UserData() const { return FData; }
    void SetUserData(void* value) { FData = value; }
    int Verbose() const { return FVerbose; }
    void SetVerbose(int value) { FVerbose = value; }
    bool Working() const { return FWorking.load(); }

    // Each setter takes its event's lock, so a handler is never swapped while it runs.
    void SetOnCustomHook(TCustomHookEvent handler);
    void SetOnPreviewBitmap(TPreviewBitmapEvent handler);
    void SetOnProgress(TProgressEvent handler);
    void SetOnTerminate(TTerminateEvent handler);

protected:
    // Makes the engine of a new task; a descendant may hand out its own kind.
    virtual std::unique_ptr<TFFmpeg> NewTask(int maxFiles);

    void CheckNotWorking(const std::string& operation);
    void StartNextTask();
    // Called under the pause lock just before a task that starts while paused is held.
    virtual void StartingPaused() {}
    virtual void DoCustomHook(TCustomFFmpeg* sender, gfx::TBitmap& bitmap, int frameNumber,
                              int64_t pts, bool& update, bool& stopHook);
    virtual void DoPreviewBitmap(TCustomFFmpeg* sender, const gfx::TBitmap& bitmap, int frameNumber,
                                 int64_t pts);
    virtual void DoProgress(TCustomFFmpeg* sender, int fileIndex, int frameNumber, int fps,
                            float quality, float bitRate, int64_t currentSize,
                            int64_t currentDuration, int64_t totalDuration);
    virtual void DoTerminate(TCustomFFmpeg* sender);
    void DoFinalTerminate();

private:
    // The task at `index`, under the list lock.
    TFFmpeg& Task(int index);
    bool OpenInput(TFFmpeg& task, const std::string& fileName, const TInputOptions* options);
    // Raises the end report: through the dispatcher in thread mode, else at once.
    void RaiseTerminate(const TTerminateInfo& info);
    void BindTaskEvents(TFFmpeg& task);

    std::string FAbout;
    std::string FLastErrMsg;
    void* FData = nullptr;
    int FCustomMaxFiles = 20;
    bool FPreview = false;
    bool FPreviewBitmap = false;
    int FProgressInterval = 500;
    sys::TThreadPriority FThreadPriority = sys::tpNormal;
    bool FTriggerEventInMainThread = true;
    int FVerbose = 1;
    THookInfo FHookInfo;
    TProgressInfo FProgressInfo;
    TTerminateInfo FTerminateInfo;
    TPreviewInfo FPreviewInfo;
    TCustomHookEvent FOnCustomHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TTerminateEvent FOnTerminate;
    sys::TCriticalSection FHookLock;
    sys::TCriticalSection FPreviewLock;
    sys::TCriticalSection FProgressLock;
    sys::TCriticalSection FTerminateLock;
    TAVProbe FAVProbe;
    // Guards the list against a ClearTasks from an end report while the owner walks it.
    sys::TCriticalSection FListLock;
    TFFmpegList FFFmpegList;
    // The counters of a run change under FTerminateLock.
    int FCompleteTasks = 0;
    int FCurrentTask = -1;
    std::atomic<int> FPendingTasks{0};
    int FRunTaskCount = 0;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FThreadMode{false};
    std::atomic<bool> FWorking{false};
    std::atomic<bool> FPaused{false};
    // Pause, Resume and a starting task's reading of the state are one step each.
    sys::TCriticalSection FPauseLock;
    // The thread inside a task's end report, 0 when none is.
    std::atomic<sys::TThreadId> FReportingThread{0};
    // Made at the first run in thread mode; lives as long as the manager.
    std::unique_ptr<TTerminateDispatcher> FDispatcher;
};

class TFFTaskManager : public TCustomFFTaskManager {};

}  // namespace media
