#include "platform/sys/sync.h"

#include <chrono>

#include "platform/sys/main_thread.h"

namespace sys {

TEvent::TEvent(bool manualReset, bool initialState)
    : FManualReset(manualReset), FState(initialState) {}

void TEvent::Set() {
    bool wakeMain;
    {
        std::lock_guard lock(FLock);
        FState = true;
        wakeMain = FMainWaiters > 0;
    }
    if (FManualReset)
        FCond.notify_all();
    else
        FCond.notify_one();
    if (wakeMain) WakeMainThread();
}

void TEvent::Reset() {
    std::lock_guard lock(FLock);
    FState = false;
}

TWaitResult TEvent::Wait(int timeoutMs) {
    std::unique_lock lock(FLock);
    const auto signalled = [this] { return FState; };
    if (timeoutMs < 0)
        FCond.wait(lock, signalled);
    else if (!FCond.wait_for(lock, std::chrono::milliseconds(timeoutMs), signalled))
        return TWaitResult::Timeout;
    if (!FManualReset) FState = false;
    return TWaitResult::Signaled;
}

void TCriticalSection::Enter() {
    FMutex.lock();
}

void TCriticalSection::Leave() {
    FMutex.unlock();
    if (FMainWaiters.load() > 0) WakeMainThread();
}

bool TCriticalSection::TryEnter() {
    return FMutex.try_lock();
}

}  // namespace sys
