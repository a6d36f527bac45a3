// Fake tasks for the task manager's tests: a TFFmpeg whose run is a loop of steps instead of a
// conversion, and a manager that makes them, so the threading can be driven without outputs.
// Tests only.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "fixtures/fixtures.h"
#include "media/media_test_support.h"
#include "media/tasks/ff_task_manager.h"
#include "platform/sys/clock.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/sync.h"

namespace media::test {

class TFakeTask : public TFFmpeg {
public:
    // `id`: the order in which the manager made it.
    TFakeTask(int maxFiles, int id) : TFFmpeg(maxFiles), Id(id) {}
    ~TFakeTask() override { WaitForThreads(); }

    // A run needs an output: this one is only counted.
    void RegisterPlaceholderOutput() { ++Fnb_output_files; }
    TPostHooks PostHooks() const { return FPostHooks; }
    const TFFmpegOptionState& State() const { return *this; }

    const int Id;
    // The run ends after this many steps (0: only the gate or a stop end it).
    std::atomic<int> StepLimit{0};
    // Opening it ends the run.
    sys::TEvent Gate{true, false};
    // False: the run never holds at the pause point.
    std::atomic<bool> HonourPause{true};
    // Raises this text from the run when not empty (set before the start).
    std::string FailWith;
    // Raises a progress report at every step.
    std::atomic<bool> EmitProgress{false};
    // Hands a picture to the custom hook (while it is wanted) and to the preview at every step.
    std::atomic<bool> EmitPictures{false};
    // What the custom hook gave back, step by step.
    std::vector<std::pair<bool, bool>> HookFlags;

    std::atomic<bool> Entered{false};
    std::atomic<int> Steps{0};
    std::atomic<sys::TThreadId> RunThread{0};
    std::atomic<int64_t> RunReportInterval{0};

protected:
    void Transcode() override {
        RunThread = sys::CurrentThreadId();
        RunReportInterval = ReportInterval;
        Entered = true;
        if (!FailWith.empty()) throw FFmpegException(FailWith);
        while (!Broken()) {
            if (HonourPause) WaitWhilePaused();
            if (Broken()) break;
            if (StepLimit == 0 ? Gate.Wait(1) == sys::TWaitResult::Signaled
                               : Gate.Wait(0) == sys::TWaitResult::Signaled)
                break;
            int steps = ++Steps;
            if (EmitProgress && OnProgress)
                OnProgress(this, 0, steps, 25, 2.0f, 128.0f, steps * 1000, steps * 40000, -1);
            if (EmitPictures) EmitPicture(steps);
            if (StepLimit != 0 && steps >= StepLimit) break;
        }
        FFinished = !Broken();
    }

private:
    void EmitPicture(int step) {
        std::unique_ptr<gfx::TBitmap> owned = CreateFrameBitmap(32, 24, 24);
        gfx::TBitmap& bitmap = *owned;
        if (OnCustomHook && !FHookStopped) {
            bool update = true;
            bool stopHook = false;
            OnCustomHook(this, bitmap, step, step * 40000, update, stopHook);
            HookFlags.push_back({update, stopHook});
            FHookStopped = stopHook;
        }
        if (OnPreviewBitmap) OnPreviewBitmap(this, bitmap, step, step * 40000);
    }

    bool FHookStopped = false;
};

// A manager whose tasks are fake; it keeps a pointer to each task it made, valid while the task
// is in its list.
class TFakeManager : public TFFTaskManager {
public:
    // A task over the short fixture with a counted output; its index.
    int AddFakeTask(int stepLimit = 0) {
        int index =
            AddTask(fixtures::Path(fixtures::kClip1sAvi), static_cast<TInputOptions*>(nullptr));
        if (index >= 0) {
            Last().RegisterPlaceholderOutput();
            Last().StepLimit = stepLimit;
        }
        return index;
    }
    TFakeTask& Last() { return *FMade.back(); }
    TFakeTask& Made(int id) { return *FMade[size_t(id)]; }
    // Forget the tasks made so far (after ClearTasks).
    void ForgetMade() { FMade.clear(); }

protected:
    std::unique_ptr<TFFmpeg> NewTask(int maxFiles) override {
        auto task = std::make_unique<TFakeTask>(maxFiles, int(FMade.size()));
        FMade.push_back(task.get());
        return task;
    }

private:
    std::vector<TFakeTask*> FMade;
};

}  // namespace media::test
