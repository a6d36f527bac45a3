#include "platform/sys/threads.h"

#include <atomic>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/rtl/exception.h"
#include "platform/sys/clock.h"
#include "platform/sys/sync.h"

namespace {

constexpr int kHangGuardMs = 120'000;  // only a hang reaches it

class TFlagThread : public sys::TThread {
public:
    TFlagThread() : TThread(true) {}
    ~TFlagThread() override {
        Terminate();
        WaitFor();
    }
    std::atomic<bool> Ran{false};
    std::atomic<sys::TThreadId> SeenId{0};

protected:
    void Execute() override {
        SeenId = sys::CurrentThreadId();
        Ran = true;
    }
};

class TLoopThread : public sys::TThread {
public:
    explicit TLoopThread(std::atomic<bool>& left) : TThread(true), FLeft(left) { Start(); }
    ~TLoopThread() override {
        Terminate();
        WaitFor();
    }

protected:
    void Execute() override {
        while (!Terminated()) sys::SleepMs(1);
        FLeft = true;
    }

private:
    std::atomic<bool>& FLeft;
};

int NiceOf(sys::TThreadId id) {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, id);
    EXPECT_EQ(errno, 0);
    return nice;
}

TEST(ThreadTest, SuspendedThreadRunsOnlyAfterStart) {
    TFlagThread thread;
    EXPECT_EQ(thread.ThreadId(), 0u);
    EXPECT_FALSE(thread.Finished());
    thread.Start();
    EXPECT_NE(thread.ThreadId(), 0u);
    thread.WaitFor();
    EXPECT_TRUE(thread.Ran);
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(thread.SeenId, thread.ThreadId());
    EXPECT_NE(thread.ThreadId(), sys::CurrentThreadId());
    EXPECT_THROW(thread.Start(), rtl::Exception);
    thread.WaitFor();  // a second join is harmless
}

TEST(ThreadTest, NeverStartedThreadIsDestroyedQuietly) {
    TFlagThread thread;
    thread.WaitFor();
    EXPECT_FALSE(thread.Ran);
}

TEST(ThreadTest, DestructorTerminatesAndJoins) {
    std::atomic<bool> left{false};
    auto thread = std::make_unique<TLoopThread>(left);
    EXPECT_FALSE(thread->Terminated());
    thread.reset();
    EXPECT_TRUE(left);
}

TEST(ThreadTest, ExceptionOfExecuteIsKept) {
    auto thread = sys::StartThread([] { throw std::runtime_error("broken"); });
    thread->WaitFor();
    ASSERT_TRUE(thread->FatalException());
    EXPECT_THROW(std::rethrow_exception(thread->FatalException()), std::runtime_error);
}

TEST(ThreadTest, LowPrioritiesReadBackAHigherNiceValue) {
    sys::TEvent release(true, false);
    const sys::TThreadPriority priorities[] = {sys::tpNormal, sys::tpLower, sys::tpLowest,
                                               sys::tpIdle};
    std::vector<std::unique_ptr<sys::TThread>> threads;
    for (auto priority : priorities)
        threads.push_back(sys::StartThread([&] { release.Wait(kHangGuardMs); }, priority));
    std::vector<int> nice, policy;
    for (auto& thread : threads) {
        nice.push_back(NiceOf(thread->ThreadId()));
        policy.push_back(sched_getscheduler(thread->ThreadId()));
    }
    release.Set();
    EXPECT_GT(nice[1], nice[0]) << "tpLower above tpNormal";
    EXPECT_GT(nice[2], nice[1]) << "tpLowest above tpLower";
    EXPECT_GT(nice[3], nice[0]) << "tpIdle above tpNormal";
    EXPECT_EQ(policy[0], SCHED_OTHER);
    EXPECT_EQ(policy[3], SCHED_IDLE);
    EXPECT_EQ(threads[3]->Priority(), sys::tpIdle);
}

TEST(ThreadTest, PriorityChangesWhileRunningAndBeforeStart) {
    sys::TEvent release(true, false);
    auto thread = sys::StartThread([&] { release.Wait(kHangGuardMs); });
    const int normal = NiceOf(thread->ThreadId());
    thread->SetPriority(sys::tpLower);
    EXPECT_GT(NiceOf(thread->ThreadId()), normal);
    thread->SetPriority(sys::tpIdle);
    EXPECT_EQ(sched_getscheduler(thread->ThreadId()), SCHED_IDLE);
    release.Set();
    thread->WaitFor();
    thread->SetPriority(sys::tpLowest);  // a finished thread only records it
    EXPECT_EQ(thread->Priority(), sys::tpLowest);
}

// Drops CAP_SYS_NICE from the calling thread only, so a raise is refused even as root.
bool DropNiceCapability() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    data[CAP_TO_INDEX(CAP_SYS_NICE)].effective &= ~CAP_TO_MASK(CAP_SYS_NICE);
    return syscall(SYS_capset, &header, data) == 0;
}

class TUnprivilegedRaiseThread : public sys::TThread {
public:
    TUnprivilegedRaiseThread() : TThread(true) {}
    ~TUnprivilegedRaiseThread() override {
        Terminate();
        WaitFor();
    }
    bool Dropped = false;
    bool Threw = false;
    bool RanOn = false;
    int NiceBefore = 0;
    int NiceAfter = 0;

protected:
    void Execute() override {
        Dropped = DropNiceCapability();
        NiceBefore = getpriority(PRIO_PROCESS, 0);
        try {
            SetPriority(sys::tpHigher);
        } catch (...) {
            Threw = true;
        }
        NiceAfter = getpriority(PRIO_PROCESS, 0);
        RanOn = true;
    }
};

TEST(ThreadTest, RefusedRaiseIsIgnored) {
    TUnprivilegedRaiseThread thread;
    thread.Start();
    thread.WaitFor();
    EXPECT_FALSE(thread.Threw);
    EXPECT_TRUE(thread.RanOn);
    EXPECT_FALSE(thread.FatalException());
    EXPECT_EQ(thread.Priority(), sys::tpHigher);
    ASSERT_TRUE(thread.Dropped);
    // Without the capability only a generous RLIMIT_NICE would still allow the raise.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NICE, &limit), 0);
    if (limit.rlim_cur < static_cast<rlim_t>(20 - thread.NiceBefore)) {
        EXPECT_EQ(thread.NiceAfter, thread.NiceBefore) << "the raise must have been refused";
    }
}

TEST(ThreadTest, CurrentThreadIdIsStablePerThread) {
    EXPECT_EQ(sys::CurrentThreadId(), sys::CurrentThreadId());
    EXPECT_EQ(sys::CurrentThreadId(), static_cast<sys::TThreadId>(getpid()))
        << "the test body runs on the process's first thread";
}

}  // namespace
