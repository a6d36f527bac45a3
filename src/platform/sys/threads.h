// Threads: a base class to subclass (override Execute) and a helper for plain bodies.
//
// A thread is created suspended or running, carries a priority (mapped to the scheduler's nice
// value, tpIdle also to the idle policy) and is always joinable: no thread ever frees itself, the
// owner terminates and joins it (the destructor does both). Every call is safe from any thread
// except WaitFor and the destructor, which must not run on the thread itself.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace sys {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The kernel's id of a thread (what `ps -L` shows and what the log prints).
using TThreadId = uint32_t;

TThreadId CurrentThreadId();

class TThread {
public:
    // createSuspended = false starts the thread from this constructor, before a subclass's own
    // constructor has run; a subclass whose Execute reads its own members passes true and calls
    // Start() at the end of its constructor.
    explicit TThread(bool createSuspended);
    // Terminates and joins. A subclass whose Execute uses the subclass's members calls
    // Terminate() and WaitFor() in its own destructor, before those members go.
    virtual ~TThread();

    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts a suspended thread; returns once the thread exists (ThreadId is valid).
    // Raises rtl::Exception when the thread was started already.
    void Start();
    // Sets the flag Execute is expected to poll; never interrupts the thread.
    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    // Joins; returns at once when the thread never started or was joined already.
    void WaitFor();
    // True once Execute has returned (or thrown).
    bool Finished() const { return FFinished.load(); }

    // Applies at once to a running thread, or at start to a suspended one. A raise the system
    // refuses (no privilege) is ignored: the thread keeps running at its current value.
    void SetPriority(TThreadPriority priority);
    TThreadPriority Priority() const;
    // 0 until the thread has started.
    TThreadId ThreadId() const { return FThreadId.load(); }
    // What Execute threw, if anything; the thread catches it so the process keeps running.
    std::exception_ptr FatalException() const;

protected:
    virtual void Execute() = 0;

private:
    void Run();

    mutable std::mutex FLock;
    std::condition_variable FStartedCond;
    std::mutex FJoinLock;
    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<TThreadId> FThreadId{0};
    TThreadPriority FPriority = tpNormal;
    bool FStarted = false;
    std::exception_ptr FFatalException;
};

// Runs `body` on a new thread at `priority`. The result owns the thread; dropping it joins.
std::unique_ptr<TThread> StartThread(std::function<void()> body,
                                     TThreadPriority priority = tpNormal);

}  // namespace sys
