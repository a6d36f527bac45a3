#include "platform/sys/main_thread.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/rtl/exception.h"
#include "platform/sys/signals.h"
#include "platform/sys/threads.h"

namespace sys {

namespace {

// How long a pumping wait sleeps at most before it runs the message pump again: window input
// arrives on the window layer's own descriptors, which this module does not watch.
constexpr int kPumpSliceMs = 10;
// A safety net only: a section's Leave wakes a pumping lock at once.
constexpr int kLockSliceMs = 50;

struct THandOver {
    std::function<void()> Call;
    bool Synchronous = false;
    bool Done = false;
    std::exception_ptr Error;
};

struct TMainThreadState {
    TMainThreadState() : WakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
        if (WakeFd < 0) throw rtl::Exception("Cannot create the main thread's wake descriptor");
    }

    std::atomic<TThreadId> MainId{0};
    const int WakeFd;
    std::mutex Lock;
    std::condition_variable DoneCond;
    std::deque<std::shared_ptr<THandOver>> Pending;
    std::mutex PumpLock;
    std::function<void()> Pump;
};

TMainThreadState& State() {
    static TMainThreadState state;
    return state;
}

// The thread that runs static initialisation is the one that starts the process.
const bool kMainThreadRecorded = [] {
    State().MainId = CurrentThreadId();
    return true;
}();

void DrainWakeFd() {
    uint64_t count;
    while (read(State().WakeFd, &count, sizeof count) > 0) {
    }
}

void WaitForWake(int timeoutMs) {
    pollfd fd{State().WakeFd, POLLIN, 0};
    while (poll(&fd, 1, timeoutMs) < 0 && errno == EINTR) {
    }
}

void RunMessagePump() {
    std::function<void()> pump;
    {
        std::lock_guard lock(State().PumpLock);
        pump = State().Pump;
    }
    if (pump) pump();
}

std::shared_ptr<THandOver> PopHandOver() {
    auto& state = State();
    std::lock_guard lock(state.Lock);
    if (state.Pending.empty()) return nullptr;
    auto handOver = std::move(state.Pending.front());
    state.Pending.pop_front();
    return handOver;
}

void Push(std::shared_ptr<THandOver> handOver) {
    {
        std::lock_guard lock(State().Lock);
        State().Pending.push_back(std::move(handOver));
    }
    WakeMainThread();
}

using TSteadyClock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, or kInfinite without one.
int RemainingMs(bool limited, TSteadyClock::time_point deadline) {
    if (!limited) return kInfinite;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - TSteadyClock::now()).count();
    return static_cast<int>(std::max<int64_t>(left, 0));
}

int Slice(int remainingMs, int sliceMs) {
    return remainingMs < 0 ? sliceMs : std::min(remainingMs, sliceMs);
}

}  // namespace

// Announces a pumping wait of the main thread to the event or section it waits for, so that
// their Set or Leave wakes the main loop instead of leaving it to the next slice.
class TMainWaitRegistration {
public:
    explicit TMainWaitRegistration(TEvent& event) : FEvent(&event) {
        std::lock_guard lock(event.FLock);
        ++event.FMainWaiters;
    }
    explicit TMainWaitRegistration(TCriticalSection& section) : FSection(&section) {
        ++section.FMainWaiters;
    }
    ~TMainWaitRegistration() {
        if (FEvent) {
            std::lock_guard lock(FEvent->FLock);
            --FEvent->FMainWaiters;
        }
        if (FSection) --FSection->FMainWaiters;
    }
    TMainWaitRegistration(const TMainWaitRegistration&) = delete;
    TMainWaitRegistration& operator=(const TMainWaitRegistration&) = delete;

private:
    TEvent* FEvent = nullptr;
    TCriticalSection* FSection = nullptr;
};

void SetMainThread() {
    State().MainId = CurrentThreadId();
}

bool IsMainThread() {
    return State().MainId.load() == CurrentThreadId();
}

void CallInMainThread(std::function<void()> call) {
    if (!call) return;
    if (IsMainThread()) {
        call();
        return;
    }
    auto handOver = std::make_shared<THandOver>();
    handOver->Call = std::move(call);
    handOver->Synchronous = true;
    Push(handOver);
    auto& state = State();
    std::exception_ptr error;
    {
        std::unique_lock lock(state.Lock);
        state.DoneCond.wait(lock, [&] { return handOver->Done; });
        // Taken out so the exception dies on this thread, whichever side drops the record last.
        error = std::move(handOver->Error);
    }
    if (error) std::rethrow_exception(error);
}

void QueueInMainThread(std::function<void()> call) {
    if (!call) return;
    auto handOver = std::make_shared<THandOver>();
    handOver->Call = std::move(call);
    Push(std::move(handOver));
}

bool CheckSynchronize(int timeoutMs) {
    if (!IsMainThread())
        throw rtl::Exception("CheckSynchronize called from a thread other than the main thread");
    auto& state = State();
    bool idle;
    {
        std::lock_guard lock(state.Lock);
        idle = state.Pending.empty();
    }
    idle = idle && !detail::TerminationPending();
    if (idle && timeoutMs != 0) WaitForWake(timeoutMs);
    // Drained before the queue is read: a hand-over pushed after this point writes again.
    DrainWakeFd();
    size_t count;
    {
        std::lock_guard lock(state.Lock);
        count = state.Pending.size();
    }
    bool ran = detail::RunTerminationRequest();
    // Only what is pending now runs, so a call that queues another cannot keep us here.
    for (size_t i = 0; i < count; ++i) {
        auto handOver = PopHandOver();
        if (!handOver) break;
        ran = true;
        if (handOver->Synchronous) {
            try {
                handOver->Call();
            } catch (...) {
                handOver->Error = std::current_exception();
            }
            {
                std::lock_guard lock(state.Lock);
                handOver->Done = true;
            }
            state.DoneCond.notify_all();
            continue;
        }
        try {
            handOver->Call();
        } catch (...) {
            // The rest stays queued; make sure the loop comes back for it.
            WakeMainThread();
            throw;
        }
    }
    return ran;
}

int MainThreadWakeFd() {
    return State().WakeFd;
}

void WakeMainThread() {
    const uint64_t one = 1;
    // A full counter (never reached in practice) is still readable, so a failed write loses
    // nothing.
    [[maybe_unused]] const auto written = write(State().WakeFd, &one, sizeof one);
}

void SetMessagePump(std::function<void()> pump) {
    std::lock_guard lock(State().PumpLock);
    State().Pump = std::move(pump);
}

TWaitResult PumpingWait(TEvent& event, int timeoutMs) {
    if (!IsMainThread()) return event.Wait(timeoutMs);
    const bool limited = timeoutMs >= 0;
    const auto deadline = TSteadyClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    TMainWaitRegistration registration(event);
    for (;;) {
        if (event.Wait(0) == TWaitResult::Signaled) return TWaitResult::Signaled;
        CheckSynchronize();
        RunMessagePump();
        if (event.Wait(0) == TWaitResult::Signaled) return TWaitResult::Signaled;
        const int remaining = RemainingMs(limited, deadline);
        if (remaining == 0) return TWaitResult::Timeout;
        WaitForWake(Slice(remaining, kPumpSliceMs));
    }
}

void PumpingLock(TCriticalSection& section) {
    if (!IsMainThread()) {
        section.Enter();
        return;
    }
    if (section.TryEnter()) return;
    TMainWaitRegistration registration(section);
    for (;;) {
        if (section.TryEnter()) return;
        CheckSynchronize();
        if (section.TryEnter()) return;
        WaitForWake(kLockSliceMs);
    }
}

}  // namespace sys
