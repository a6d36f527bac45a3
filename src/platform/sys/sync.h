// Events and recursive critical sections, the two primitives the media threads wait on.
//
// Both are safe from any thread. A main-thread wait that must keep hand-overs and window messages
// running goes through PumpingWait / PumpingLock (main_thread.h), never through Wait / Enter.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace sys {

enum class TWaitResult { Signaled, Timeout };

constexpr int kInfinite = -1;

class TEvent {
public:
    // manualReset: Set releases every waiter and stays signalled until Reset; otherwise Set
    // releases one waiter and the event falls back to non-signalled.
    TEvent(bool manualReset, bool initialState);

    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;

    void Set();
    void Reset();
    // A negative timeout waits without limit; 0 only tests the state (and takes it when the event
    // resets itself).
    TWaitResult Wait(int timeoutMs = kInfinite);

private:
    friend class TMainWaitRegistration;

    std::mutex FLock;
    std::condition_variable FCond;
    const bool FManualReset;
    bool FState;
    // Pumping waits of the main thread; Set wakes the main loop for them.
    int FMainWaiters = 0;
};

// Recursive: the owner may enter again and leaves as often as it entered.
class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter();
    void Leave();
    // Enters when the section is free or already the caller's; false when another thread holds it.
    bool TryEnter();

private:
    friend class TMainWaitRegistration;

    std::recursive_mutex FMutex;
    // Pumping locks of the main thread; Leave wakes the main loop for them.
    std::atomic<int> FMainWaiters{0};
};

class TLockGuard {
public:
    explicit TLockGuard(TCriticalSection& section) : FSection(section) { FSection.Enter(); }
    ~TLockGuard() { FSection.Leave(); }
    TLockGuard(const TLockGuard&) = delete;
    TLockGuard& operator=(const TLockGuard&) = delete;

private:
    TCriticalSection& FSection;
};

}  // namespace sys
