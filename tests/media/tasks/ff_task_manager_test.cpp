#include "media/tasks/ff_task_manager.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/media_test_support.h"
#include "media/tasks/fake_task.h"
#include "platform/rtl/exception.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/sync.h"

namespace media {
namespace {

using test::TFakeManager;
using test::TFakeTask;
using test::WaitUntil;

// The end reports of one manager, as its handler received them.
struct TReports {
    struct TReport {
        TTerminateInfo Info;
        sys::TThreadId Thread;
        bool TerminatedFlag;  // the manager's Terminated when the report ran
    };
    std::mutex Lock;
    std::vector<TReport> List;

    void Attach(TCustomFFTaskManager& manager) {
        manager.SetOnTerminate([this](TCustomFFTaskManager* sender, const TTerminateInfo& info) {
            std::lock_guard lock(Lock);
            List.push_back({info, sys::CurrentThreadId(), sender->Terminated()});
        });
    }
    std::vector<TReport> Snapshot() {
        std::lock_guard lock(Lock);
        return List;
    }
    size_t Count() {
        std::lock_guard lock(Lock);
        return List.size();
    }
    bool FinalArrived() {
        std::lock_guard lock(Lock);
        return !List.empty() && List.back().Info.TaskIndex == -1;
    }
    std::vector<int> Indexes() {
        std::vector<int> indexes;
        for (const TReport& report : Snapshot()) indexes.push_back(report.Info.TaskIndex);
        return indexes;
    }
};

// Every task of 0..count-1 reported exactly once, then the final report, last and once.
void ExpectEachOnceThenFinal(const std::vector<int>& indexes, int count) {
    ASSERT_EQ(indexes.size(), size_t(count) + 1);
    EXPECT_EQ(indexes.back(), -1);
    std::vector<int> tasks(indexes.begin(), indexes.end() - 1);
    std::sort(tasks.begin(), tasks.end());
    for (int i = 0; i < count; ++i) EXPECT_EQ(tasks[size_t(i)], i);
}

class TaskManagerTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }
};

TEST_F(TaskManagerTest, StartsAtMostTheThreadCountAndTheNextWhenOneEnds) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(manager.AddFakeTask(), i);

    manager.Start(2);
    ASSERT_TRUE(WaitUntil([&] { return manager.Made(0).Entered && manager.Made(1).Entered; }));
    EXPECT_FALSE(manager.Made(2).Entered);
    EXPECT_TRUE(manager.Working());
    EXPECT_FALSE(manager.Terminated());

    manager.Made(0).Gate.Set();
    ASSERT_TRUE(WaitUntil([&] { return manager.Made(2).Entered.load(); }));
    manager.Made(1).Gate.Set();
    manager.Made(2).Gate.Set();
    ASSERT_TRUE(WaitUntil([&] { return reports.FinalArrived(); }));

    std::vector<TReports::TReport> list = reports.Snapshot();
    ExpectEachOnceThenFinal(reports.Indexes(), 3);
    EXPECT_EQ(list[0].Info.TaskIndex, 0);  // task 0 ended first, and before task 2 started
    for (const TReports::TReport& report : list) {
        EXPECT_TRUE(report.Info.Finished);
        EXPECT_FALSE(report.Info.Exception);
        EXPECT_NE(report.Thread, sys::CurrentThreadId());
        EXPECT_EQ(report.Thread, list[0].Thread);  // one dispatcher for every report
    }
    EXPECT_TRUE(list.back().TerminatedFlag);
    for (int i = 0; i < 3; ++i) EXPECT_NE(manager.Made(i).RunThread, sys::CurrentThreadId());
    EXPECT_TRUE(manager.Terminated());
    EXPECT_TRUE(manager.Working());
    manager.ClearTasks();
    EXPECT_FALSE(manager.Working());
    EXPECT_FALSE(manager.Terminated());
    EXPECT_EQ(manager.TasksCount(), 0);
}

TEST_F(TaskManagerTest, SynchronousStartRunsEverythingOnTheCaller) {
    for (int threadCount : {0, -3}) {
        TFakeManager manager;
        TReports reports;
        reports.Attach(manager);
        std::vector<sys::TThreadId> progressThreads;
        manager.SetOnProgress([&](TCustomFFTaskManager*, PProgressInfo info) {
            progressThreads.push_back(sys::CurrentThreadId());
            EXPECT_EQ(info->FrameNumber, info->CurrentSize / 1000);
        });
        for (int i = 0; i < 3; ++i) {
            manager.AddFakeTask(5);
            manager.Last().EmitProgress = true;
        }
        manager.Start(threadCount);

        EXPECT_EQ(reports.Indexes(), (std::vector<int>{0, 1, 2, -1})) << threadCount;
        for (const TReports::TReport& report : reports.Snapshot())
            EXPECT_EQ(report.Thread, sys::CurrentThreadId());
        EXPECT_TRUE(reports.Snapshot().back().TerminatedFlag);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(manager.Made(i).RunThread, sys::CurrentThreadId());
            EXPECT_EQ(manager.Made(i).Steps, 5);
        }
        EXPECT_EQ(progressThreads.size(), 15u);
        for (sys::TThreadId thread : progressThreads) EXPECT_EQ(thread, sys::CurrentThreadId());
        manager.ClearTasks();
    }
}

TEST_F(TaskManagerTest, StartOnAnEmptyListEndsTheRunAtOnce) {
    for (int threadCount : {0, 2}) {
        TFakeManager manager;
        TReports reports;
        reports.Attach(manager);
        manager.Start(threadCount);
        if (threadCount > 0) manager.Stop(true);  // lets the dispatched report through
        EXPECT_EQ(reports.Indexes(), (std::vector<int>{-1})) << threadCount;
        EXPECT_TRUE(reports.Snapshot()[0].Info.Finished);
        EXPECT_TRUE(manager.Terminated());
        EXPECT_TRUE(manager.Working());
        manager.ClearTasks();
        EXPECT_FALSE(manager.Working());
    }
}

TEST_F(TaskManagerTest, StopWaitsForTheRunningTaskAndReportsTheRest) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    for (int i = 0; i < 3; ++i) manager.AddFakeTask();
    manager.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return manager.Made(0).Entered.load(); }));

    manager.Stop(true);
    // Everything reported before Stop returned.
    std::vector<TReports::TReport> list = reports.Snapshot();
    ASSERT_EQ(reports.Indexes(), (std::vector<int>{0, 1, 2, -1}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(list[size_t(i)].Info.Finished) << i;
        EXPECT_FALSE(list[size_t(i)].Info.Exception) << i;
        EXPECT_EQ(list[size_t(i)].Info.ExceptionMsg, "") << i;
    }
    EXPECT_TRUE(list[3].Info.Finished);
    EXPECT_FALSE(manager.Made(1).Entered);
    EXPECT_FALSE(manager.Made(2).Entered);
    EXPECT_TRUE(manager.Terminated());
    EXPECT_NO_THROW(manager.ClearTasks());
    EXPECT_FALSE(manager.Working());
}

TEST_F(TaskManagerTest, RepeatedStartAndStopReportsEveryTaskOnceAndTheFinalLast) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    std::mt19937 random(20240611);
    int outcomes[3] = {};  // stopped or never ran, finished, final
    for (int cycle = 0; cycle < 200; ++cycle) {
        manager.ClearTasks();
        manager.ForgetMade();
        {
            std::lock_guard lock(reports.Lock);
            reports.List.clear();
        }
        for (int i = 0; i < 8; ++i) ASSERT_EQ(manager.AddFakeTask(1 + int(random() % 4)), i);
        manager.Start(4);
        // Stop at a varying point: before any task started, while some run, or after the end.
        int started = int(random() % 9);
        ASSERT_TRUE(WaitUntil([&] {
            int entered = 0;
            for (int i = 0; i < 8; ++i) entered += manager.Made(i).Entered ? 1 : 0;
            return entered >= started;
        }));
        manager.Stop(true);
        for (const TReports::TReport& report : reports.Snapshot())
            ++outcomes[report.Info.TaskIndex == -1 ? 2 : report.Info.Finished ? 1 : 0];
        std::vector<int> indexes = reports.Indexes();
        ExpectEachOnceThenFinal(indexes, 8);
        if (testing::Test::HasFailure()) {
            ADD_FAILURE() << "cycle " << cycle;
            break;
        }
    }
    manager.ClearTasks();
    // The cycles stopped tasks as well as letting them finish.
    EXPECT_GT(outcomes[0], 0);
    EXPECT_GT(outcomes[1], 0);
    EXPECT_EQ(outcomes[2], 200);
}

TEST_F(TaskManagerTest, ListOperationsAreRefusedFromStartUntilClearTasks) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    manager.AddFakeTask();
    manager.AddFakeTask();
    std::string clip = fixtures::Path(fixtures::kClip1sAvi);
    struct TCase {
        const char* Operation;
        std::function<void()> Call;
    };
    const std::vector<TCase> cases = {
        {"AddTask", [&] { manager.AddTask(clip, static_cast<TInputOptions*>(nullptr)); }},
        {"AddTask", [&] { manager.AddTask(clip, std::string("ss=0")); }},
        {"AddTask", [&] { manager.AddTask(nullptr, "x", nullptr); }},
        {"AddInputFile",
         [&] { manager.AddInputFile(0, clip, static_cast<TInputOptions*>(nullptr)); }},
        {"AddInputFile", [&] { manager.AddInputFile(0, clip, std::string()); }},
        {"SetOutputFile",
         [&] { manager.SetOutputFile(0, "a.avi", static_cast<TOutputOptions*>(nullptr)); }},
        {"SetOutputFile", [&] { manager.SetOutputFile(0, "a.avi", std::string()); }},
        {"SetOutputFile", [&] { manager.SetOutputStream(0, nullptr, "x", nullptr); }},
        {"RemoveTask", [&] { manager.RemoveTask(0); }},
        {"Exchange", [&] { manager.Exchange(0, 1); }},
        {"StartTask", [&] { manager.Start(1); }},
    };
    auto expectRefusals = [&](const char* stage) {
        for (const TCase& c : cases) {
            try {
                c.Call();
                ADD_FAILURE() << c.Operation << " was allowed " << stage;
            } catch (const rtl::Exception& e) {
                EXPECT_EQ(e.Message(), std::string("Cannot ") + c.Operation + " while working.")
                    << stage;
            }
        }
    };

    manager.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return manager.Made(0).Entered.load(); }));
    expectRefusals("during the run");
    try {
        manager.ClearTasks();
        ADD_FAILURE() << "ClearTasks was allowed during the run";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot ClearTasks while working.");
    }
    EXPECT_EQ(manager.TasksCount(), 2);

    manager.Made(0).Gate.Set();
    manager.Made(1).Gate.Set();
    ASSERT_TRUE(WaitUntil([&] { return reports.FinalArrived(); }));
    expectRefusals("after the run ended");
    manager.ClearTasks();
    EXPECT_EQ(manager.AddFakeTask(), 0);
}

TEST_F(TaskManagerTest, ClearTasksFromTheFinalHandler) {
    // Thread mode: the final report runs on the dispatcher, and the tasks can go from there.
    {
        TFakeManager manager;
        std::atomic<bool> cleared{false};
        std::string failure;
        manager.SetOnTerminate([&](TCustomFFTaskManager* sender, const TTerminateInfo& info) {
            if (info.TaskIndex != -1) return;
            try {
                sender->ClearTasks();
            } catch (const std::exception& e) {
                failure = e.what();
            }
            cleared = true;
        });
        for (int i = 0; i < 3; ++i) manager.AddFakeTask(3);
        manager.Start(2);
        ASSERT_TRUE(WaitUntil([&] { return cleared.load(); }));
        EXPECT_EQ(failure, "");
        EXPECT_EQ(manager.TasksCount(), 0);
        EXPECT_FALSE(manager.Working());
        EXPECT_FALSE(manager.Terminated());
    }
    // Synchronous mode: the handler runs inside the last task's run, which cannot be freed
    // under it; clearing waits until Start returned.
    {
        TFakeManager manager;
        std::string failure;
        manager.SetOnTerminate([&](TCustomFFTaskManager* sender, const TTerminateInfo& info) {
            if (info.TaskIndex != -1) return;
            try {
                sender->ClearTasks();
            } catch (const std::exception& e) {
                failure = e.what();
            }
        });
        manager.AddFakeTask(2);
        manager.Start(0);
        EXPECT_EQ(failure, "Cannot ClearTasks while working.");
        EXPECT_EQ(manager.TasksCount(), 1);
        EXPECT_NO_THROW(manager.ClearTasks());
    }
}

TEST_F(TaskManagerTest, PauseIsAStateThatTasksStartedMeanwhileTakeOn) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    manager.AddFakeTask();
    manager.AddFakeTask(5);
    manager.Made(0).HonourPause = false;
    manager.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return manager.Made(0).Entered.load(); }));

    manager.Pause();
    manager.Made(0).Gate.Set();
    ASSERT_TRUE(WaitUntil([&] { return manager.Made(1).Entered.load(); }));
    // Held at its first pause point: nothing moves however long we look.
    for (int i = 0; i < 20; ++i) sys::CheckSynchronize(2);
    EXPECT_EQ(manager.Made(1).Steps, 0);
    EXPECT_FALSE(reports.FinalArrived());

    manager.Resume();
    ASSERT_TRUE(WaitUntil([&] { return reports.FinalArrived(); }));
    EXPECT_EQ(manager.Made(1).Steps, 5);
    EXPECT_EQ(reports.Indexes(), (std::vector<int>{0, 1, -1}));
}

TEST_F(TaskManagerTest, AResumeAsATaskStartsPausedNeverLeavesItHeld) {
    // A Resume from another thread lands just when the run has seen the pause and is about
    // to hold the new task; it must come after the task took the pause on (and release it),
    // never between the two.
    class TRacingManager : public TFakeManager {
    public:
        ~TRacingManager() override {
            if (Resumer.joinable()) Resumer.join();
        }
        std::thread Resumer;

    protected:
        void StartingPaused() override {
            if (Resumer.joinable()) return;
            auto done = std::make_shared<sys::TEvent>(true, false);
            Resumer = std::thread([this, done] {
                Resume();
                done->Set();
            });
            // Gives the Resume its chance to slip in here; with the lock it waits instead.
            done->Wait(200);
        }
    };
    TRacingManager manager;
    TReports reports;
    reports.Attach(manager);
    manager.AddFakeTask(5);
    manager.Pause();
    manager.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return reports.FinalArrived(); }));
    EXPECT_EQ(manager.Made(0).Steps, 5);
    EXPECT_EQ(reports.Indexes(), (std::vector<int>{0, -1}));
}

TEST_F(TaskManagerTest, StopReleasesAPausedRun) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    manager.AddFakeTask();
    manager.AddFakeTask();
    manager.Pause();
    manager.Start(2);
    ASSERT_TRUE(WaitUntil([&] { return manager.Made(0).Entered && manager.Made(1).Entered; }));
    manager.Stop(true);
    ExpectEachOnceThenFinal(reports.Indexes(), 2);
    EXPECT_EQ(manager.Made(0).Steps, 0);
}

TEST_F(TaskManagerTest, AFailingTaskReportsItsMessageAndTheRunGoesOn) {
    for (int threadCount : {0, 1}) {
        TFakeManager manager;
        TReports reports;
        reports.Attach(manager);
        manager.AddFakeTask(2);
        manager.Last().FailWith = "Broken stream";
        manager.AddFakeTask(2);
        manager.Start(threadCount);
        ASSERT_TRUE(WaitUntil([&] { return reports.FinalArrived(); }));
        std::vector<TReports::TReport> list = reports.Snapshot();
        ASSERT_EQ(reports.Indexes(), (std::vector<int>{0, 1, -1}));
        EXPECT_TRUE(list[0].Info.Exception);
        EXPECT_FALSE(list[0].Info.Finished);
        EXPECT_EQ(list[0].Info.ExceptionMsg, "Broken stream");
        EXPECT_TRUE(list[1].Info.Finished);
        EXPECT_FALSE(list[1].Info.Exception);
        EXPECT_TRUE(list[2].Info.Finished);
        EXPECT_FALSE(list[2].Info.Exception);
        EXPECT_EQ(list[2].Info.ExceptionMsg, "");
    }
}

TEST_F(TaskManagerTest, ARaisingEndHandlerDoesNotStopTheRun) {
    for (int threadCount : {0, 2}) {
        test::TLogCapture log;
        TFakeManager manager;
        std::atomic<int> calls{0};
        std::atomic<bool> final{false};
        manager.SetOnTerminate([&](TCustomFFTaskManager*, const TTerminateInfo& info) {
            ++calls;
            if (info.TaskIndex == -1) {
                final = true;
                return;
            }
            throw rtl::Exception("handler failed");
        });
        for (int i = 0; i < 3; ++i) manager.AddFakeTask(2);
        manager.Start(threadCount);
        ASSERT_TRUE(WaitUntil([&] { return final.load(); })) << threadCount;
        EXPECT_EQ(calls, 4);
        EXPECT_TRUE(manager.Terminated());
        // Log lines reach the capture through the main thread.
        std::vector<std::string> failures;
        WaitUntil([&] {
            failures.clear();
            for (const std::string& message : log.Messages())
                if (message.rfind("OnTerminate", 0) == 0) failures.push_back(message);
            return failures.size() >= 3;
        });
        EXPECT_EQ(failures, std::vector<std::string>(3, "OnTerminate raised: handler failed"));
        manager.ClearTasks();
    }
}

TEST_F(TaskManagerTest, DestroyingAManagerMidRunDeliversTheReportsBeforeItReturns) {
    TReports reports;
    {
        TFakeManager manager;
        reports.Attach(manager);
        for (int i = 0; i < 4; ++i) manager.AddFakeTask();
        manager.Start(2);
        ASSERT_TRUE(WaitUntil([&] { return manager.Made(0).Entered && manager.Made(1).Entered; }));
    }
    // The two running tasks were stopped and reported; the others never ran.
    std::vector<int> indexes = reports.Indexes();
    std::sort(indexes.begin(), indexes.end());
    EXPECT_EQ(indexes, (std::vector<int>{0, 1}));
}

TEST_F(TaskManagerTest, ProgressReachesTheMainThreadWithTheTaskIndex) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    std::vector<int> taskIndexes;
    std::vector<sys::TThreadId> threads;
    manager.SetOnProgress([&](TCustomFFTaskManager* sender, PProgressInfo info) {
        EXPECT_EQ(sender, &manager);
        taskIndexes.push_back(info->TaskIndex);
        threads.push_back(sys::CurrentThreadId());
        EXPECT_EQ(info->FPS, 25);
        EXPECT_FLOAT_EQ(info->Quality, 2.0f);
        EXPECT_EQ(info->CurrentDuration, info->FrameNumber * 40000);
        EXPECT_EQ(info->TotalDuration, -1);
    });
    manager.SetProgressInterval(250);
    for (int i = 0; i < 2; ++i) {
        manager.AddFakeTask(4);
        manager.Last().EmitProgress = true;
    }
    manager.Start(2);
    ASSERT_TRUE(WaitUntil([&] { return reports.FinalArrived(); }));
    EXPECT_EQ(std::count(taskIndexes.begin(), taskIndexes.end(), 0), 4);
    EXPECT_EQ(std::count(taskIndexes.begin(), taskIndexes.end(), 1), 4);
    for (sys::TThreadId thread : threads) EXPECT_EQ(thread, sys::CurrentThreadId());
    EXPECT_EQ(manager.Made(0).RunReportInterval, 250000);
}

TEST_F(TaskManagerTest, PropertiesAndTheirDefaults) {
    TFakeManager manager;
    EXPECT_EQ(manager.Version(), "1.0");
    EXPECT_EQ(manager.About(), "");
    EXPECT_EQ(manager.CustomMaxFiles(), 20);
    EXPECT_EQ(manager.ProgressInterval(), 500);
    EXPECT_EQ(manager.ThreadPriority(), sys::tpNormal);
    EXPECT_TRUE(manager.TriggerEventInMainThread());
    EXPECT_EQ(manager.Verbose(), 1);
    EXPECT_FALSE(manager.Working());
    EXPECT_FALSE(manager.Terminated());
    EXPECT_EQ(manager.TasksCount(), 0);

    const std::pair<int, int> intervals[] = {{50, 100}, {100, 100}, {101, 101}, {-5, 100}};
    for (auto [given, stored] : intervals) {
        manager.SetProgressInterval(given);
        EXPECT_EQ(manager.ProgressInterval(), stored) << given;
    }

    // The preview switches reach the tasks there are and the tasks added later.
    manager.AddFakeTask();
    manager.SetPreview(true);
    manager.SetPreviewBitmap(true);
    EXPECT_EQ(manager.Made(0).PostHooks(), (TPostHooks{phPreview, phBitmap}));
    manager.AddFakeTask();
    EXPECT_EQ(manager.Made(1).PostHooks(), (TPostHooks{phPreview, phBitmap}));
    manager.SetPreview(false);
    EXPECT_EQ(manager.Made(0).PostHooks(), (TPostHooks{phBitmap}));
    EXPECT_EQ(manager.Made(1).PostHooks(), (TPostHooks{phBitmap}));
    EXPECT_FALSE(manager.Preview());
    EXPECT_TRUE(manager.PreviewBitmap());
}

TEST_F(TaskManagerTest, InputsUpToTheCapacityAndTheirProbes) {
    TFFTaskManager manager;
    std::string clip = fixtures::Path(fixtures::kClip1sAvi);
    ASSERT_EQ(manager.AddTask(clip, static_cast<TInputOptions*>(nullptr)), 0);
    for (int i = 1; i < 20; ++i)
        ASSERT_TRUE(manager.AddInputFile(0, clip, static_cast<TInputOptions*>(nullptr)))
            << i << ": " << manager.LastErrMsg();
    EXPECT_FALSE(manager.AddInputFile(0, clip, static_cast<TInputOptions*>(nullptr)));
    EXPECT_EQ(manager.LastErrMsg(), "max input files 20 reached");

    TAVProbe* probe = manager.GetTaskProbe(0, 19);
    ASSERT_NE(probe, nullptr);
    EXPECT_NE(probe->FileHandle(), nullptr);
    EXPECT_EQ(probe->StreamCount(), 2);
    EXPECT_NE(probe->FileInfoText().find("Stream #"), std::string::npos);
    EXPECT_EQ(manager.GetTaskProbe(0, 20), nullptr);
    EXPECT_EQ(manager.GetTaskProbe(0, -1), nullptr);
    EXPECT_THROW(manager.GetTaskProbe(1, 0), rtl::EListError);
    EXPECT_THROW(manager.GetTaskProbe(-1, 0), rtl::EListError);
    EXPECT_THROW(manager.AddInputFile(3, clip, static_cast<TInputOptions*>(nullptr)),
                 rtl::EListError);
}

TEST_F(TaskManagerTest, ATaskThatCannotBeSetUpIsNotAdded) {
    TFFTaskManager manager;
    std::string clip = fixtures::Path(fixtures::kClip1sAvi);
    struct TCase {
        std::string FileName;
        std::string ExtOptions;
        std::string Message;
    };
    const TCase cases[] = {
        {"/no/such/file.avi", "", "/no/such/file.avi: No such file or directory"},
        {clip, "r=fast", "Incorrect frame rate"},
        {clip, "f=nosuchformat", "Unknown input format: \"nosuchformat\""},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(manager.AddTask(c.FileName, c.ExtOptions), -1) << c.Message;
        EXPECT_EQ(manager.LastErrMsg(), c.Message);
        EXPECT_EQ(manager.TasksCount(), 0);
    }
    // A failed further input leaves the task as it was.
    ASSERT_EQ(manager.AddTask(clip, std::string()), 0);
    EXPECT_FALSE(manager.AddInputFile(0, "/no/such/file.avi", std::string("TimeStart=5")));
    EXPECT_EQ(manager.TasksCount(), 1);
    EXPECT_EQ(manager.GetTaskProbe(0, 1), nullptr);
    EXPECT_TRUE(manager.AddInputFile(0, clip, std::string()));
    EXPECT_NE(manager.GetTaskProbe(0, 1), nullptr);
}

TEST_F(TaskManagerTest, TheTaskKeepsItsInputRecordsAndTheTextOverloadReadsTheirTimes) {
    TFakeManager manager;
    std::string clip = fixtures::Path(fixtures::kClip1sAvi);
    ASSERT_EQ(manager.AddTask(clip, std::string("timestart=5000000<CRLF>ss=1")), 0);
    TFakeTask& task = manager.Last();
    ASSERT_NE(task.InputOptions(0), nullptr);
    EXPECT_EQ(task.InputOptions(0)->FileName, clip);
    EXPECT_EQ(task.InputOptions(0)->TimeStart, 5000000);
    EXPECT_EQ(task.InputOptions(0)->ExtOptions, "ss=1\n");

    TInputOptions options;
    options.FileName = "another name";
    options.Tag = 7;
    ASSERT_TRUE(manager.AddInputFile(0, clip, &options));
    EXPECT_EQ(task.InputOptions(1)->FileName, "another name");
    EXPECT_EQ(task.InputOptions(1)->Tag, 7);
    EXPECT_EQ(task.InputOptions(2), nullptr);
}

TEST_F(TaskManagerTest, ProbesLetGoOfTheInputsOnceTheRunReleasedThem) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    manager.AddFakeTask(2);
    ASSERT_NE(manager.GetTaskProbe(0, 0)->FileHandle(), nullptr);
    manager.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return reports.FinalArrived(); }));
    TAVProbe* probe = manager.GetTaskProbe(0, 0);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->FileHandle(), nullptr);
    EXPECT_EQ(probe->StreamCount(), -1);
}

TEST_F(TaskManagerTest, StopOutsideARunLeavesTheTasksReady) {
    TFakeManager manager;
    TReports reports;
    reports.Attach(manager);
    manager.AddFakeTask(2);
    manager.Stop(true);
    EXPECT_EQ(reports.Count(), 0u);
    EXPECT_FALSE(manager.Working());
    manager.Start(0);
    EXPECT_EQ(reports.Indexes(), (std::vector<int>{0, -1}));
    EXPECT_TRUE(reports.Snapshot()[0].Info.Finished);
}

}  // namespace
}  // namespace media
