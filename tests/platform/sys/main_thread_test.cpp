// The hand-over to the main thread and the main thread's pumping waits. The test's own thread is
// the main thread.
#include "platform/sys/main_thread.h"

#include <atomic>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>
#include <poll.h>

#include "platform/rtl/exception.h"
#include "platform/sys/threads.h"

namespace {

// Longer than any of these tests needs; a wait that reaches it means a hang.
constexpr int kHangGuardMs = 120'000;  // only a hang reaches it

bool WakeFdReadable() {
    pollfd fd{sys::MainThreadWakeFd(), POLLIN, 0};
    return poll(&fd, 1, 0) == 1;
}

class MainThreadTest : public testing::Test {
protected:
    void SetUp() override { sys::SetMainThread(); }
    void TearDown() override {
        sys::SetMessagePump({});
        while (sys::CheckSynchronize()) {
        }
    }
};

TEST_F(MainThreadTest, CallOnTheMainThreadRunsBeforeReturning) {
    bool ran = false;
    sys::CallInMainThread([&] { ran = sys::IsMainThread(); });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(sys::CheckSynchronize());
}

TEST_F(MainThreadTest, WorkerCallReturnsOnlyAfterTheMainLoopRanIt) {
    std::atomic<bool> ranOnMain{false};
    std::atomic<bool> workerReturned{false};
    bool sawCallOnReturn = false;
    auto worker = sys::StartThread([&] {
        EXPECT_FALSE(sys::IsMainThread());
        sys::CallInMainThread([&] { ranOnMain = sys::IsMainThread(); });
        sawCallOnReturn = ranOnMain;
        workerReturned = true;
    });
    // The hand-over is pending: the wake descriptor says so and the worker still waits.
    pollfd fd{sys::MainThreadWakeFd(), POLLIN, 0};
    ASSERT_EQ(poll(&fd, 1, kHangGuardMs), 1);
    EXPECT_FALSE(workerReturned);
    EXPECT_FALSE(ranOnMain);
    EXPECT_TRUE(sys::CheckSynchronize());
    worker->WaitFor();
    EXPECT_TRUE(ranOnMain);
    EXPECT_TRUE(sawCallOnReturn);
    EXPECT_FALSE(WakeFdReadable());
}

TEST_F(MainThreadTest, WhatTheCallThrowsIsRethrownInTheWorker) {
    std::atomic<bool> caught{false};
    auto worker = sys::StartThread([&] {
        try {
            sys::CallInMainThread([] { throw rtl::Exception("refused"); });
        } catch (const rtl::Exception& e) {
            caught = e.Message() == "refused";
        }
    });
    EXPECT_TRUE(sys::CheckSynchronize(kHangGuardMs));
    worker->WaitFor();
    EXPECT_TRUE(caught);
}

TEST_F(MainThreadTest, QueuedCallsFromOneWorkerArriveInOrder) {
    constexpr int kCount = 200;
    std::vector<int> arrived;
    sys::TEvent queued(true, false);
    auto worker = sys::StartThread([&] {
        for (int i = 0; i < kCount; ++i)
            sys::QueueInMainThread([&arrived, i] { arrived.push_back(i); });
        queued.Set();
    });
    ASSERT_EQ(sys::PumpingWait(queued, kHangGuardMs), sys::TWaitResult::Signaled);
    worker->WaitFor();
    sys::CheckSynchronize();
    ASSERT_EQ(arrived.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i) EXPECT_EQ(arrived[i], i);
}

TEST_F(MainThreadTest, SynchronousAndQueuedCallsShareOneOrder) {
    std::vector<int> arrived;
    auto worker = sys::StartThread([&] {
        sys::QueueInMainThread([&] { arrived.push_back(1); });
        sys::CallInMainThread([&] { arrived.push_back(2); });
        sys::QueueInMainThread([&] { arrived.push_back(3); });
    });
    while (!worker->Finished()) sys::CheckSynchronize(50);
    worker->WaitFor();
    sys::CheckSynchronize();
    EXPECT_EQ(arrived, (std::vector<int>{1, 2, 3}));
}

TEST_F(MainThreadTest, QueueOnTheMainThreadWaitsForTheNextCheck) {
    int runs = 0;
    sys::QueueInMainThread([&] { ++runs; });
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(WakeFdReadable());
    EXPECT_TRUE(sys::CheckSynchronize());
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(WakeFdReadable());
    EXPECT_FALSE(sys::CheckSynchronize());
}

TEST_F(MainThreadTest, ACallQueuedByAQueuedCallRunsAtTheNextCheck) {
    int runs = 0;
    sys::QueueInMainThread([&] {
        ++runs;
        sys::QueueInMainThread([&] { ++runs; });
    });
    EXPECT_TRUE(sys::CheckSynchronize());
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(sys::CheckSynchronize());
    EXPECT_EQ(runs, 2);
}

TEST_F(MainThreadTest, AThrowingQueuedCallLeavesTheRestQueued) {
    std::vector<int> arrived;
    sys::QueueInMainThread([] { throw std::runtime_error("boom"); });
    sys::QueueInMainThread([&] { arrived.push_back(2); });
    EXPECT_THROW(sys::CheckSynchronize(), std::runtime_error);
    EXPECT_TRUE(arrived.empty());
    EXPECT_TRUE(WakeFdReadable());
    EXPECT_TRUE(sys::CheckSynchronize());
    EXPECT_EQ(arrived, std::vector<int>{2});
}

TEST_F(MainThreadTest, CheckSynchronizeOffTheMainThreadRaises) {
    std::atomic<bool> raised{false};
    auto worker = sys::StartThread([&] {
        try {
            sys::CheckSynchronize();
        } catch (const rtl::Exception&) {
            raised = true;
        }
    });
    worker->WaitFor();
    EXPECT_TRUE(raised);
}

TEST_F(MainThreadTest, PumpingWaitRunsTheHandOverTheSetterWaitsFor) {
    sys::TEvent done(false, false);
    std::atomic<bool> handedOver{false};
    auto worker = sys::StartThread([&] {
        sys::CallInMainThread([&] { handedOver = true; });
        done.Set();
    });
    EXPECT_EQ(sys::PumpingWait(done, kHangGuardMs), sys::TWaitResult::Signaled);
    EXPECT_TRUE(handedOver);
    worker->WaitFor();
}

TEST_F(MainThreadTest, PumpingWaitRunsTheMessagePump) {
    sys::TEvent done(true, false);
    int pumped = 0;
    sys::SetMessagePump([&] {
        // A window message handler that ends the wait.
        if (++pumped == 3) done.Set();
    });
    EXPECT_EQ(sys::PumpingWait(done, kHangGuardMs), sys::TWaitResult::Signaled);
    EXPECT_GE(pumped, 3);
}

TEST_F(MainThreadTest, PumpingWaitTimesOut) {
    sys::TEvent never(true, false);
    EXPECT_EQ(sys::PumpingWait(never, 20), sys::TWaitResult::Timeout);
    EXPECT_EQ(sys::PumpingWait(never, 0), sys::TWaitResult::Timeout);
}

TEST_F(MainThreadTest, PumpingWaitOffTheMainThreadIsAPlainWait) {
    sys::TEvent event(false, true);
    std::atomic<int> pumped{0};
    sys::SetMessagePump([&] { ++pumped; });
    sys::TWaitResult first{}, second{};
    auto worker = sys::StartThread([&] {
        first = sys::PumpingWait(event, 0);
        second = sys::PumpingWait(event, 20);
    });
    worker->WaitFor();
    EXPECT_EQ(first, sys::TWaitResult::Signaled);
    EXPECT_EQ(second, sys::TWaitResult::Timeout);
    EXPECT_EQ(pumped, 0);
}

TEST_F(MainThreadTest, PumpingLockRunsTheHandOverTheHolderWaitsFor) {
    sys::TCriticalSection section;
    sys::TEvent holding(true, false);
    std::atomic<bool> handedOver{false};
    int pumped = 0;
    sys::SetMessagePump([&] { ++pumped; });
    auto holder = sys::StartThread([&] {
        sys::TLockGuard guard(section);
        holding.Set();
        sys::CallInMainThread([&] { handedOver = true; });
    });
    ASSERT_EQ(holding.Wait(kHangGuardMs), sys::TWaitResult::Signaled);
    sys::PumpingLock(section);
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(pumped, 0) << "a pumping lock never dispatches window messages";
    section.Leave();
    holder->WaitFor();
}

TEST_F(MainThreadTest, PumpingLockOnAFreeOrOwnSectionEntersAtOnce) {
    sys::TCriticalSection section;
    sys::PumpingLock(section);
    sys::PumpingLock(section);
    section.Leave();
    section.Leave();
    std::atomic<bool> entered{false};
    auto other = sys::StartThread([&] {
        entered = section.TryEnter();
        if (entered) section.Leave();
    });
    other->WaitFor();
    EXPECT_TRUE(entered);
}

TEST_F(MainThreadTest, SetMainThreadMovesTheHandOverTarget) {
    std::atomic<bool> ranOnWorker{false};
    sys::TEvent ready(true, false);
    sys::TEvent finish(true, false);
    auto newMain = sys::StartThread([&] {
        sys::SetMainThread();
        ready.Set();
        while (finish.Wait(0) == sys::TWaitResult::Timeout) sys::CheckSynchronize(20);
    });
    ASSERT_EQ(ready.Wait(kHangGuardMs), sys::TWaitResult::Signaled);
    EXPECT_FALSE(sys::IsMainThread());
    const sys::TThreadId target = newMain->ThreadId();
    sys::CallInMainThread([&] { ranOnWorker = sys::CurrentThreadId() == target; });
    EXPECT_TRUE(ranOnWorker);
    finish.Set();
    newMain->WaitFor();
    sys::SetMainThread();
}

}  // namespace
