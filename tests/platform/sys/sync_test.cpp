#include "platform/sys/sync.h"

#include <atomic>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sys/clock.h"
#include "platform/sys/threads.h"

namespace {

constexpr int kHangGuardMs = 120'000;  // only a hang reaches it

using sys::TWaitResult;

TEST(EventTest, InitialStateAndReset) {
    struct TCase {
        bool manualReset;
        bool initialState;
        TWaitResult first;
        TWaitResult second;
    };
    const TCase cases[] = {
        {true, true, TWaitResult::Signaled, TWaitResult::Signaled},
        {false, true, TWaitResult::Signaled, TWaitResult::Timeout},
        {true, false, TWaitResult::Timeout, TWaitResult::Timeout},
        {false, false, TWaitResult::Timeout, TWaitResult::Timeout},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "manual " << c.manualReset << " initial " << c.initialState);
        sys::TEvent event(c.manualReset, c.initialState);
        EXPECT_EQ(event.Wait(0), c.first);
        EXPECT_EQ(event.Wait(0), c.second);
    }
}

TEST(EventTest, SignalledPassesThenResetTimesOut) {
    sys::TEvent event(true, true);
    EXPECT_EQ(event.Wait(0), TWaitResult::Signaled);
    event.Reset();
    EXPECT_EQ(event.Wait(20), TWaitResult::Timeout);
    event.Set();
    EXPECT_EQ(event.Wait(20), TWaitResult::Signaled);
}

TEST(EventTest, ManualSetWakesEveryWaiter) {
    constexpr int kWaiters = 4;
    sys::TEvent event(true, false);
    sys::TEvent allStarted(true, false);
    std::atomic<int> started{0};
    std::atomic<int> woken{0};
    std::vector<std::unique_ptr<sys::TThread>> waiters;
    for (int i = 0; i < kWaiters; ++i) {
        waiters.push_back(sys::StartThread([&] {
            if (++started == kWaiters) allStarted.Set();
            if (event.Wait(kHangGuardMs) == TWaitResult::Signaled) ++woken;
        }));
    }
    ASSERT_EQ(allStarted.Wait(kHangGuardMs), TWaitResult::Signaled);
    event.Set();
    for (auto& waiter : waiters) waiter->WaitFor();
    EXPECT_EQ(woken, kWaiters);
    EXPECT_EQ(event.Wait(0), TWaitResult::Signaled) << "stays set until Reset";
}

TEST(EventTest, AutoResetReleasesOneWaiterPerSet) {
    sys::TEvent event(false, false);
    std::atomic<int> woken{0};
    std::vector<std::unique_ptr<sys::TThread>> waiters;
    for (int i = 0; i < 2; ++i) {
        waiters.push_back(sys::StartThread([&] {
            if (event.Wait(kHangGuardMs) == TWaitResult::Signaled) ++woken;
        }));
    }
    event.Set();
    // A second Set before a waiter took the state would be absorbed; wait until one did.
    for (int ms = 0; ms < kHangGuardMs && woken == 0; ++ms) sys::SleepMs(1);
    EXPECT_EQ(event.Wait(0), TWaitResult::Timeout) << "the woken waiter took the state";
    event.Set();
    for (auto& waiter : waiters) waiter->WaitFor();
    EXPECT_EQ(woken, 2);
    EXPECT_EQ(event.Wait(0), TWaitResult::Timeout);
}

TEST(CriticalSectionTest, OwnerReentersAndOthersCannotTryEnter) {
    sys::TCriticalSection section;
    section.Enter();
    section.Enter();
    EXPECT_TRUE(section.TryEnter());
    const auto tryFromOtherThread = [&] {
        bool entered = false;
        auto other = sys::StartThread([&] {
            entered = section.TryEnter();
            if (entered) section.Leave();
        });
        other->WaitFor();
        return entered;
    };
    EXPECT_FALSE(tryFromOtherThread());
    section.Leave();
    section.Leave();
    EXPECT_FALSE(tryFromOtherThread()) << "still held once";
    section.Leave();
    EXPECT_TRUE(tryFromOtherThread());
}

TEST(CriticalSectionTest, GuardLeavesOnScopeExit) {
    sys::TCriticalSection section;
    int counter = 0;
    std::vector<std::unique_ptr<sys::TThread>> workers;
    for (int i = 0; i < 4; ++i) {
        workers.push_back(sys::StartThread([&] {
            for (int n = 0; n < 10000; ++n) {
                sys::TLockGuard guard(section);
                ++counter;
            }
        }));
    }
    for (auto& worker : workers) worker->WaitFor();
    EXPECT_EQ(counter, 40000);
    EXPECT_TRUE(section.TryEnter());
    section.Leave();
}

}  // namespace
