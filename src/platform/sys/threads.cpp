#include "platform/sys/threads.h"

#include <algorithm>
#include <cerrno>

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/rtl/exception.h"

namespace sys {

namespace {

// Nice offsets from the process's own nice value, by priority; tpIdle also gets the idle policy.
constexpr int kNiceOffset[] = {
    19,   // tpIdle
    10,   // tpLowest
    5,    // tpLower
    0,    // tpNormal
    -5,   // tpHigher
    -10,  // tpHighest
    -15,  // tpTimeCritical
};

int ReadOwnNice() {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, 0);
    return errno == 0 ? nice : 0;
}

// Read during static initialisation, on the thread that starts the process.
const int kBaseNice = ReadOwnNice();

int NiceFor(TThreadPriority priority) {
    return std::clamp(kBaseNice + kNiceOffset[priority], -20, 19);
}

// Best effort by design: a raise the system refuses (EACCES, EPERM) leaves the thread where it is.
void ApplyPriority(TThreadId tid, TThreadPriority priority) {
    const pid_t id = static_cast<pid_t>(tid);
    sched_param param{};
    const int policy = sched_getscheduler(id);
    if (priority == tpIdle) {
        if (policy != SCHED_IDLE) sched_setscheduler(id, SCHED_IDLE, &param);
    } else if (policy == SCHED_IDLE) {
        sched_setscheduler(id, SCHED_OTHER, &param);
    }
    setpriority(PRIO_PROCESS, static_cast<id_t>(id), NiceFor(priority));
}

class TFunctionThread final : public TThread {
public:
    explicit TFunctionThread(std::function<void()> body) : TThread(true), FBody(std::move(body)) {}
    ~TFunctionThread() override {
        Terminate();
        WaitFor();
    }

protected:
    void Execute() override {
        if (FBody) FBody();
    }

private:
    std::function<void()> FBody;
};

}  // namespace

TThreadId CurrentThreadId() {
    thread_local const TThreadId id = static_cast<TThreadId>(gettid());
    return id;
}

TThread::TThread(bool createSuspended) {
    if (!createSuspended) Start();
}

TThread::~TThread() {
    Terminate();
    WaitFor();
}

void TThread::Start() {
    std::lock_guard join(FJoinLock);
    std::unique_lock lock(FLock);
    if (FStarted) throw rtl::Exception("Cannot call Start on a running or finished thread");
    FStarted = true;
    FThread = std::thread(&TThread::Run, this);
    FStartedCond.wait(lock, [this] { return FThreadId.load() != 0; });
}

void TThread::Run() {
    {
        std::lock_guard lock(FLock);
        FThreadId = CurrentThreadId();
        ApplyPriority(FThreadId, FPriority);
    }
    FStartedCond.notify_all();
    std::exception_ptr error;
    try {
        Execute();
    } catch (...) {
        error = std::current_exception();
    }
    std::lock_guard lock(FLock);
    FFatalException = error;
    FFinished = true;
}

void TThread::Terminate() {
    FTerminated = true;
}

void TThread::WaitFor() {
    std::lock_guard join(FJoinLock);
    if (!FThread.joinable()) return;
    if (FThread.get_id() == std::this_thread::get_id())
        throw rtl::Exception("A thread cannot wait for itself");
    FThread.join();
}

void TThread::SetPriority(TThreadPriority priority) {
    std::lock_guard lock(FLock);
    FPriority = priority;
    // Once finished the id may soon belong to another thread of the system.
    if (FThreadId != 0 && !FFinished) ApplyPriority(FThreadId, priority);
}

TThreadPriority TThread::Priority() const {
    std::lock_guard lock(FLock);
    return FPriority;
}

std::exception_ptr TThread::FatalException() const {
    std::lock_guard lock(FLock);
    return FFatalException;
}

std::unique_ptr<TThread> StartThread(std::function<void()> body, TThreadPriority priority) {
    auto thread = std::make_unique<TFunctionThread>(std::move(body));
    thread->SetPriority(priority);
    thread->Start();
    return thread;
}

}  // namespace sys
