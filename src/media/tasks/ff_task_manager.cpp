#include "media/tasks/ff_task_manager.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/tasks/previewer.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/main_thread.h"

namespace media {

namespace {

// Holds a lock for a scope; on the main thread it keeps hand-overs running while it waits, since
// the holder may be a worker waiting for the main thread.
class TPumpingGuard {
public:
    explicit TPumpingGuard(sys::TCriticalSection& section) : FSection(section) {
        sys::PumpingLock(FSection);
    }
    ~TPumpingGuard() { FSection.Leave(); }
    TPumpingGuard(const TPumpingGuard&) = delete;
    TPumpingGuard& operator=(const TPumpingGuard&) = delete;

private:
    sys::TCriticalSection& FSection;
};

std::string StreamName(const rtl::TStream* stream, const std::string& privateData) {
    return rtl::Format("stream:%d:%s", int64_t(reinterpret_cast<intptr_t>(stream)), privateData);
}

std::string ExceptionText(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

// A raising end handler must not stop the run's bookkeeping; its text goes to the log.
void LogHandlerFailure(const void* sender, std::exception_ptr error) {
    GetFFLogger().Log(sender, llError, "OnTerminate raised: " + ExceptionText(error));
}

}  // namespace

// --- end reports of thread mode ---

// Runs the end reports of thread mode one after another, in the order they were posted, on a
// thread of its own that holds no lock of the manager.
class TTerminateDispatcher : public sys::TThread {
public:
    using THandler = TCustomFFTaskManager::TTerminateEvent;

    explicit TTerminateDispatcher(TCustomFFTaskManager& manager)
        : sys::TThread(true), FManager(manager) {
        Start();
    }

    // Runs what is queued, then ends.
    ~TTerminateDispatcher() override {
        {
            std::lock_guard lock(FLock);
            FStopping = true;
        }
        FCond.notify_all();
        WaitFor();
    }

    void Post(THandler handler, const TTerminateInfo& info) {
        {
            std::lock_guard lock(FLock);
            FQueue.push_back({std::move(handler), info});
            ++FBusy;
            FIdle.Reset();
        }
        FCond.notify_all();
    }

    // Returns once every report posted so far has run.
    void WaitIdle() { sys::PumpingWait(FIdle); }

    bool IsOwnThread() const { return ThreadId() == sys::CurrentThreadId(); }

protected:
    void Execute() override {
        while (true) {
            TItem item;
            {
                std::unique_lock lock(FLock);
                FCond.wait(lock, [this] { return !FQueue.empty() || FStopping; });
                if (FQueue.empty()) return;
                item = std::move(FQueue.front());
                FQueue.pop_front();
            }
            try {
                item.Handler(&FManager, item.Info);
            } catch (...) {
                LogHandlerFailure(&FManager, std::current_exception());
            }
            item = TItem();
            std::lock_guard lock(FLock);
            if (--FBusy == 0) FIdle.Set();
        }
    }

private:
    struct TItem {
        THandler Handler;
        TTerminateInfo Info;
    };

    TCustomFFTaskManager& FManager;
    std::mutex FLock;
    std::condition_variable FCond;
    std::deque<TItem> FQueue;
    int FBusy = 0;
    bool FStopping = false;
    sys::TEvent FIdle{true, true};
};

// --- tasks ---

TFFmpeg::TFFmpeg(int maxFiles) : TCustomFFmpeg(maxFiles) {
    FAVProbes.resize(size_t(maxFiles));
    FProbedStreams.resize(size_t(maxFiles));
    FInputOptions.resize(size_t(maxFiles));
    FOutputOptions.resize(size_t(maxFiles));
}

TFFmpeg::~TFFmpeg() {
    // The run reads the probes' owner; it has to be over before they go.
    WaitForThreads();
    DetachProbes();
}

std::unique_ptr<TPreviewer> TFFmpeg::CreatePreviewer() {
    return std::make_unique<TWindowPreviewer>();
}

TAVProbe* TFFmpeg::GetInputProbe(int index) {
    if (index < 0 || index >= FMaxFiles) return nullptr;
    std::unique_ptr<TAVProbe>& probe = FAVProbes[size_t(index)];
    if (!probe) probe = std::make_unique<TAVProbe>();
    return probe.get();
}

TAVProbe* TFFmpeg::InputProbe(int index) const {
    if (index < 0 || index >= FMaxFiles) return nullptr;
    return FAVProbes[size_t(index)].get();
}

std::shared_ptr<const TProbedStreams> TFFmpeg::InputStreams(int index) const {
    if (index < 0 || index >= FMaxFiles) return nullptr;
    return FProbedStreams[size_t(index)];
}

void TFFmpeg::AttachInputProbe(int index, const std::string& fileName) {
    TAVProbe* probe = GetInputProbe(index);
    if (probe == nullptr) return;
    probe->SetFileHandle(Finput_files[size_t(index)]);
    FProbedStreams[size_t(index)] = TProbedStreams::Take(Finput_files[size_t(index)], fileName);
}

void TFFmpeg::DetachProbes() {
    for (std::unique_ptr<TAVProbe>& probe : FAVProbes)
        if (probe && probe->FileHandle() != nullptr) probe->CloseFile();
}

void TFFmpeg::StoreInputOptions(int index, const TInputOptions& options) {
    std::unique_ptr<TInputOptions>& copy = FInputOptions.at(size_t(index));
    if (!copy) copy = std::make_unique<TInputOptions>();
    *copy = options;
}

void TFFmpeg::StoreOutputOptions(int index, const TOutputOptions& options) {
    std::unique_ptr<TOutputOptions>& copy = FOutputOptions.at(size_t(index));
    if (!copy) copy = std::make_unique<TOutputOptions>();
    *copy = options;
}

void TFFmpeg::ResetInputOptions(int index) {
    if (index < 0 || index >= FMaxFiles) return;
    if (FInputOptions[size_t(index)]) InitInputOptions(*FInputOptions[size_t(index)]);
}

void TFFmpeg::ResetOutputOptions(int index) {
    if (index < 0 || index >= FMaxFiles) return;
    if (FOutputOptions[size_t(index)]) InitOutputOptions(*FOutputOptions[size_t(index)]);
}

const TInputOptions* TFFmpeg::InputOptions(int index) const {
    if (index < 0 || index >= FMaxFiles) return nullptr;
    return FInputOptions[size_t(index)].get();
}

const TOutputOptions* TFFmpeg::OutputOptions(int index) const {
    if (index < 0 || index >= FMaxFiles) return nullptr;
    return FOutputOptions[size_t(index)].get();
}

void TFFmpeg::SetPostHook(TPostHook hook, bool present) {
    TPostHooks hooks = FWantedPostHooks;
    TPostHooks changed;
    do {
        changed = hooks;
        if (present)
            changed.Include(hook);
        else
            changed.Exclude(hook);
    } while (!FWantedPostHooks.compare_exchange_weak(hooks, changed));
    ApplyWantedPostHooksIfIdle();
}

// --- the task list ---

int TFFmpegList::Add(std::unique_ptr<TFFmpeg> task) {
    FList.push_back(std::move(task));
    return int(FList.size()) - 1;
}

void TFFmpegList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
}

TFFmpeg& TFFmpegList::Item(int index) const {
    CheckIndex(index);
    return *FList[size_t(index)];
}

int TFFmpegList::IndexOf(const TFFmpeg* task) const {
    for (size_t i = 0; i < FList.size(); ++i)
        if (FList[i].get() == task) return int(i);
    return -1;
}

void TFFmpegList::Delete(int index) {
    CheckIndex(index);
    std::unique_ptr<TFFmpeg> task = std::move(FList[size_t(index)]);
    FList.erase(FList.begin() + index);
}

void TFFmpegList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(FList[size_t(index1)], FList[size_t(index2)]);
}

void TFFmpegList::Clear() {
    TakeAll().clear();
}

std::vector<std::unique_ptr<TFFmpeg>> TFFmpegList::TakeAll() {
    return std::exchange(FList, {});
}

// --- the manager ---

TCustomFFTaskManager::TCustomFFTaskManager() = default;

TCustomFFTaskManager::~TCustomFFTaskManager() {
    {
        TPumpingGuard lock(FTerminateLock);
        FPendingTasks = 0;
    }
    std::vector<std::unique_ptr<TFFmpeg>> tasks;
    {
        TPumpingGuard lock(FListLock);
        tasks = FFFmpegList.TakeAll();
    }
    // Running tasks stop here and post their end reports, which run before the dispatcher goes.
    tasks.clear();
    FDispatcher.reset();
}

bool TCustomFFTaskManager::AVLibLoaded() const {
    return AVLibLoader().Loaded(FFTaskManagerLibraries);
}

bool TCustomFFTaskManager::LoadAVLib(const std::string& path) {
    AVLibLoader().SetLibraryPath(path);
    bool loaded = AVLibLoader().Load(FFTaskManagerLibraries);
    if (!loaded) FLastErrMsg = AVLibLoader().LastErrMsg();
    return loaded;
}

void TCustomFFTaskManager::UnloadAVLib() {
    AVLibLoader().Unload(FFTaskManagerLibraries);
}

std::unique_ptr<TFFmpeg> TCustomFFTaskManager::NewTask(int maxFiles) {
    return std::make_unique<TFFmpeg>(maxFiles);
}

void TCustomFFTaskManager::CheckNotWorking(const std::string& operation) {
    if (FWorking) throw rtl::Exception(rtl::Format("Cannot %s while working.", operation));
}

TFFmpeg& TCustomFFTaskManager::Task(int index) {
    TPumpingGuard lock(FListLock);
    return FFFmpegList.Item(index);
}

int TCustomFFTaskManager::TasksCount() {
    TPumpingGuard lock(FListLock);
    return FFFmpegList.Count();
}

void TCustomFFTaskManager::BindTaskEvents(TFFmpeg& task) {
    task.OnProgress = [this](TCustomFFmpeg* sender, int fileIndex, int frameNumber, int fps,
                             float quality, float bitRate, int64_t currentSize,
                             int64_t currentDuration, int64_t totalDuration) {
        DoProgress(sender, fileIndex, frameNumber, fps, quality, bitRate, currentSize,
                   currentDuration, totalDuration);
    };
    task.OnTerminate = [this](TCustomFFmpeg* sender) { DoTerminate(sender); };
}

bool TCustomFFTaskManager::OpenInput(TFFmpeg& task, const std::string& fileName,
                                     const TInputOptions* options) {
    int index = task.nb_input_files();
    if (options != nullptr) {
        TInputOptions copy = *options;
        if (copy.FileName.empty()) copy.FileName = fileName;
        task.StoreInputOptions(index, copy);
        ApplyInputRecord(task, copy);
    } else {
        task.ResetInputOptions(index);
    }
    if (!task.OpenInputFile(fileName)) return false;
    task.AttachInputProbe(index, fileName);
    return true;
}

int TCustomFFTaskManager::AddTask(const std::string& fileName, const TInputOptions* options) {
    CheckNotWorking("AddTask");
    std::unique_ptr<TFFmpeg> task = NewTask(FCustomMaxFiles);
    try {
        task->FullReset();
        task->SetVerbose(FVerbose);
        task->SetPostHook(phPreview, FPreview);
        task->SetPostHook(phBitmap, FPreviewBitmap);
        task->OnPreviewBitmap = [this](TCustomFFmpeg* sender, const gfx::TBitmap& bitmap,
                                       int frameNumber, int64_t pts) {
            DoPreviewBitmap(sender, bitmap, frameNumber, pts);
        };
        if (!OpenInput(*task, fileName, options)) {
            FLastErrMsg = task->LastErrMsg();
            return -1;
        }
        BindTaskEvents(*task);
    } catch (const std::exception& e) {
        FLastErrMsg = e.what();
        return -1;
    }
    TPumpingGuard lock(FListLock);
    return FFFmpegList.Add(std::move(task));
}

int TCustomFFTaskManager::AddTask(const std::string& fileName, const std::string& extOptions) {
    TInputOptions options = InputOptionsFromText(extOptions);
    return AddTask(fileName, &options);
}

int TCustomFFTaskManager::AddTask(rtl::TStream* stream, const std::string& privateData,
                                  const TInputOptions* options) {
    return AddTask(StreamName(stream, privateData), options);
}

bool TCustomFFTaskManager::AddInputFile(int taskIndex, const std::string& fileName,
                                        const TInputOptions* options) {
    CheckNotWorking("AddInputFile");
    TFFmpeg& task = Task(taskIndex);
    if (task.nb_input_files() >= task.MaxFiles()) {
        FLastErrMsg = rtl::Format("max input files %d reached", task.MaxFiles());
        return false;
    }
    int index = task.nb_input_files();
    try {
        if (OpenInput(task, fileName, options)) return true;
        FLastErrMsg = task.LastErrMsg();
    } catch (const std::exception& e) {
        FLastErrMsg = e.what();
    }
    task.ResetInputOptions(index);
    return false;
}

bool TCustomFFTaskManager::AddInputFile(int taskIndex, const std::string& fileName,
                                        const std::string& extOptions) {
    TInputOptions options = InputOptionsFromText(extOptions);
    return AddInputFile(taskIndex, fileName, &options);
}

bool TCustomFFTaskManager::SetOutputFile(int taskIndex, const std::string& fileName,
                                         const TOutputOptions* options) {
    CheckNotWorking("SetOutputFile");
    TFFmpeg& task = Task(taskIndex);
    if (task.nb_output_files() >= task.MaxFiles()) {
        FLastErrMsg = rtl::Format("max output files %d reached", task.MaxFiles());
        return false;
    }
    int index = task.nb_output_files();
    try {
        TStreamDefaults streamDefaults;
        bool join = false;
        if (options != nullptr) {
            TOutputOptions copy = *options;
            if (copy.FileName.empty()) copy.FileName = fileName;
            task.StoreOutputOptions(index, copy);
            ApplyOutputRecord(task, copy, streamDefaults);
            if (copy.CustomHook)
                task.OnCustomHook = [this](TCustomFFmpeg* sender, gfx::TBitmap& bitmap,
                                           int frameNumber, int64_t pts, bool& update,
                                           bool& stopHook) {
                    DoCustomHook(sender, bitmap, frameNumber, pts, update, stopHook);
                };
            join = copy.Join;
        } else {
            task.ResetOutputOptions(index);
        }
        if (task.OpenOutputFile(fileName, join) < 0) {
            FLastErrMsg = task.LastErrMsg();
            task.ResetOutputOptions(index);
            return false;
        }
        if (options != nullptr) AddExtraStreams(task, options->ExtOptions, streamDefaults);
        return true;
    } catch (const std::exception& e) {
        FLastErrMsg = e.what();
        return false;
    }
}

bool TCustomFFTaskManager::SetOutputFile(int taskIndex, const std::string& fileName,
                                         const std::string& extOptions) {
    TOutputOptions options = OutputOptionsFromText(extOptions);
    return SetOutputFile(taskIndex, fileName, &options);
}

bool TCustomFFTaskManager::SetOutputStream(int taskIndex, rtl::TStream* stream,
                                           const std::string& privateData,
                                           const TOutputOptions* options) {
    return SetOutputFile(taskIndex, StreamName(stream, privateData), options);
}

TAVProbe* TCustomFFTaskManager::GetTaskProbe(int taskIndex, int fileIndex) {
    return Task(taskIndex).InputProbe(fileIndex);
}

std::shared_ptr<const TProbedStreams> TCustomFFTaskManager::GetTaskStreams(int taskIndex,
                                                                           int fileIndex) {
    return Task(taskIndex).InputStreams(fileIndex);
}

void TCustomFFTaskManager::ClearTasks() {
    std::vector<std::unique_ptr<TFFmpeg>> tasks;
    {
        TPumpingGuard listLock(FListLock);
        TPumpingGuard terminateLock(FTerminateLock);
        // An end handler of synchronous mode runs inside a task's end report: that task cannot
        // be freed under it.
        bool insideReport = FReportingThread.load() == sys::CurrentThreadId();
        if (FWorking && (!FTerminated || insideReport))
            throw rtl::Exception("Cannot ClearTasks while working.");
        tasks = FFFmpegList.TakeAll();
        FLastErrMsg.clear();
        FCompleteTasks = 0;
        FCurrentTask = -1;
        FPendingTasks = 0;
        FRunTaskCount = 0;
        FTerminated = false;
        FThreadMode = false;
        FWorking = false;
    }
    // Each task waits for its threads; the last conversion thread may still be leaving.
    tasks.clear();
}

void TCustomFFTaskManager::RemoveTask(int taskIndex) {
    CheckNotWorking("RemoveTask");
    TPumpingGuard lock(FListLock);
    FFFmpegList.Delete(taskIndex);
}

void TCustomFFTaskManager::Exchange(int taskIndex1, int taskIndex2) {
    CheckNotWorking("Exchange");
    TPumpingGuard lock(FListLock);
    FFFmpegList.Exchange(taskIndex1, taskIndex2);
}

void TCustomFFTaskManager::Start(int threadCount) {
    CheckNotWorking("StartTask");
    bool threadMode = threadCount > 0;
    if (threadMode && !FDispatcher) FDispatcher = std::make_unique<TTerminateDispatcher>(*this);
    {
        TPumpingGuard listLock(FListLock);
        TPumpingGuard terminateLock(FTerminateLock);
        FRunTaskCount = FFFmpegList.Count();
        for (int i = 0; i < FRunTaskCount; ++i) FFFmpegList.Item(i).FTaskIndex = i;
        FCompleteTasks = 0;
        FCurrentTask = 0;
        FPendingTasks = FRunTaskCount;
        FTerminated = false;
        FThreadMode = threadMode;
        FWorking = true;
    }
    if (FRunTaskCount == 0) {
        // Nothing to run: the run ends at once, the way a run ends.
        TPumpingGuard lock(FTerminateLock);
        DoFinalTerminate();
        return;
    }
    if (!threadMode) {
        while (FPendingTasks > 0) StartNextTask();
        return;
    }
    while (FPendingTasks > 0) {
        {
            // An ending task starts the next one under this lock too: one claim at a time.
            TPumpingGuard lock(FTerminateLock);
            StartNextTask();
        }
        if (--threadCount == 0) break;
    }
}

void TCustomFFTaskManager::StartNextTask() {
    TFFmpeg* task = nullptr;
    {
        TPumpingGuard lock(FTerminateLock);
        if (FPendingTasks <= 0) return;
        --FPendingTasks;
        // The list does not change during a run.
        task = &FFFmpegList.Item(FCurrentTask++);
    }
    task->SetVerbose(FVerbose);
    task->SetReportInterval(int64_t(FProgressInterval) * 1000);
    if (!FThreadMode) {
        task->StartConvert(false, FThreadPriority);
        return;
    }
    TConvertThread* thread = task->StartConvert(true, FThreadPriority);
    if (thread == nullptr) return;
    {
        // Read after the task is converting, and under the lock of Pause and Resume: either
        // one lands before the check or after the task took the state on.
        TPumpingGuard lock(FPauseLock);
        if (FPaused) {
            StartingPaused();
            task->Pause();
        }
    }
    thread->Resume();
}

void TCustomFFTaskManager::Pause() {
    TPumpingGuard pauseLock(FPauseLock);
    FPaused = true;
    TPumpingGuard lock(FListLock);
    for (int i = 0; i < FFFmpegList.Count(); ++i) FFFmpegList.Item(i).Pause();
}

void TCustomFFTaskManager::Resume() {
    TPumpingGuard pauseLock(FPauseLock);
    FPaused = false;
    TPumpingGuard lock(FListLock);
    for (int i = 0; i < FFFmpegList.Count(); ++i) FFFmpegList.Item(i).Resume();
}

void TCustomFFTaskManager::Stop(bool waitFor) {
    bool running;
    {
        TPumpingGuard lock(FTerminateLock);
        running = FWorking && !FTerminated;
        if (running) FPendingTasks = 0;
    }
    FPaused = false;
    if (running) {
        TPumpingGuard lock(FListLock);
        for (int i = 0; i < FFFmpegList.Count(); ++i) {
            TFFmpeg& task = FFFmpegList.Item(i);
            task.TerminateOrStop(waitFor);
            // A task that has just ended may still be on its way to its end report.
            if (waitFor) task.Stop(true);
        }
    }
    if (waitFor && FDispatcher && !FDispatcher->IsOwnThread()) FDispatcher->WaitIdle();
}

void TCustomFFTaskManager::SetPreview(bool value) {
    {
        TPumpingGuard lock(FListLock);
        for (int i = 0; i < FFFmpegList.Count(); ++i)
            FFFmpegList.Item(i).SetPostHook(phPreview, value);
    }
    FPreview = value;
}

void TCustomFFTaskManager::SetPreviewBitmap(bool value) {
    {
        TPumpingGuard lock(FListLock);
        for (int i = 0; i < FFFmpegList.Count(); ++i)
            FFFmpegList.Item(i).SetPostHook(phBitmap, value);
    }
    FPreviewBitmap = value;
}

void TCustomFFTaskManager::SetProgressInterval(int value) {
    FProgressInterval = value <= 100 ? 100 : value;
}

void TCustomFFTaskManager::SetOnCustomHook(TCustomHookEvent handler) {
    TPumpingGuard lock(FHookLock);
    FOnCustomHook = std::move(handler);
}

void TCustomFFTaskManager::SetOnPreviewBitmap(TPreviewBitmapEvent handler) {
    TPumpingGuard lock(FPreviewLock);
    FOnPreviewBitmap = std::move(handler);
}

void TCustomFFTaskManager::SetOnProgress(TProgressEvent handler) {
    TPumpingGuard lock(FProgressLock);
    FOnProgress = std::move(handler);
}

void TCustomFFTaskManager::SetOnTerminate(TTerminateEvent handler) {
    TPumpingGuard lock(FTerminateLock);
    FOnTerminate = std::move(handler);
}

// --- events ---

void TCustomFFTaskManager::DoCustomHook(TCustomFFmpeg* sender, gfx::TBitmap& bitmap,
                                        int frameNumber, int64_t pts, bool& update,
                                        bool& stopHook) {
    TPumpingGuard lock(FHookLock);
    if (!FOnCustomHook) return;
    FHookInfo = {
        static_cast<TFFmpeg*>(sender)->FTaskIndex, &bitmap, frameNumber, pts, update, stopHook};
    TCustomHookEvent handler = FOnCustomHook;
    handler(this, &FHookInfo);
    update = FHookInfo.Update;
    stopHook = FHookInfo.StopHook;
}

void TCustomFFTaskManager::DoPreviewBitmap(TCustomFFmpeg* sender, const gfx::TBitmap& bitmap,
                                           int frameNumber, int64_t pts) {
    TPumpingGuard lock(FPreviewLock);
    if (!FOnPreviewBitmap) return;
    FPreviewInfo = {static_cast<TFFmpeg*>(sender)->FTaskIndex, &bitmap, frameNumber, pts};
    TPreviewBitmapEvent handler = FOnPreviewBitmap;
    if (FTriggerEventInMainThread)
        sys::CallInMainThread([&] { handler(this, FPreviewInfo); });
    else
        handler(this, FPreviewInfo);
}

void TCustomFFTaskManager::DoProgress(TCustomFFmpeg* sender, int fileIndex, int frameNumber,
                                      int fps, float quality, float bitRate, int64_t currentSize,
                                      int64_t currentDuration, int64_t totalDuration) {
    TPumpingGuard lock(FProgressLock);
    if (!FOnProgress) return;
    FProgressInfo = {static_cast<TFFmpeg*>(sender)->FTaskIndex,
                     fileIndex,
                     frameNumber,
                     fps,
                     quality,
                     bitRate,
                     currentSize,
                     currentDuration,
                     totalDuration};
    TProgressEvent handler = FOnProgress;
    if (FTriggerEventInMainThread)
        sys::CallInMainThread([&] { handler(this, &FProgressInfo); });
    else
        handler(this, &FProgressInfo);
}

void TCustomFFTaskManager::RaiseTerminate(const TTerminateInfo& info) {
    if (!FOnTerminate) return;
    if (FThreadMode) {
        FDispatcher->Post(FOnTerminate, info);
        return;
    }
    FTerminateInfo = info;
    TTerminateEvent handler = FOnTerminate;
    try {
        handler(this, FTerminateInfo);
    } catch (...) {
        LogHandlerFailure(this, std::current_exception());
    }
}

void TCustomFFTaskManager::DoTerminate(TCustomFFmpeg* sender) {
    auto& task = static_cast<TFFmpeg&>(*sender);
    task.DetachProbes();
    TPumpingGuard lock(FTerminateLock);
    // The reporting task's run is on this thread's stack until the report is through.
    sys::TThreadId outer = FReportingThread.exchange(sys::CurrentThreadId());
    RaiseTerminate({task.FTaskIndex, task.Finished(), task.FatalException(), task.FatalMessage()});
    ++FCompleteTasks;
    if (FPendingTasks < 1) {
        if (FCompleteTasks >= FRunTaskCount) DoFinalTerminate();
    } else if (FThreadMode) {
        StartNextTask();
    }
    FReportingThread = outer;
}

void TCustomFFTaskManager::DoFinalTerminate() {
    FTerminated = true;
    RaiseTerminate({-1, true, false, ""});
}

}  // namespace media
