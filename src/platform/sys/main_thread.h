// The hand-over to the main thread, and waits of the main thread that keep it running.
//
// Worker threads hand calls to the main thread: CallInMainThread waits for the call,
// QueueInMainThread does not; both run in the order they were handed over when the main thread
// calls CheckSynchronize. The message loop polls MainThreadWakeFd() beside its own input and calls
// CheckSynchronize when it turns readable (it may also turn readable with nothing pending).
// The main thread is the one that started the process unless SetMainThread names another.
// A termination request (signals.h) runs there the same way, before the hand-overs.
//
// A main thread that waits for a worker must keep running hand-overs, or a worker blocked in
// CallInMainThread never returns: PumpingWait and PumpingLock do that. PumpingWait also runs the
// window layer's message pump (SetMessagePump); PumpingLock runs only hand-overs.
#pragma once

#include <functional>

#include "platform/sys/sync.h"

namespace sys {

// The calling thread becomes the main thread.
void SetMainThread();
bool IsMainThread();

// On the main thread runs `call` at once; on another thread hands it to the main thread and
// returns after the main thread ran it. What `call` throws is rethrown here.
void CallInMainThread(std::function<void()> call);
// Hands `call` to the main thread and returns at once, also on the main thread (the call then
// runs at its next CheckSynchronize). Calls from one thread run in the order they were queued.
// What a queued call throws leaves the CheckSynchronize that ran it.
void QueueInMainThread(std::function<void()> call);
// Main thread only (rtl::Exception elsewhere). Waits up to timeoutMs for a hand-over when none is
// pending, then runs the hand-overs pending at that moment; true when any ran.
bool CheckSynchronize(int timeoutMs = 0);
// Readable while hand-overs are pending; owned by this module, never close it.
int MainThreadWakeFd();
// Makes MainThreadWakeFd() readable, for the window layer's cross-thread posts.
void WakeMainThread();

// What the window layer runs to dispatch the window messages pending at the moment; called by
// PumpingWait on the main thread. Empty by default.
void SetMessagePump(std::function<void()> pump);

// Off the main thread a plain Wait. On it, waits for the event while running hand-overs and the
// message pump.
TWaitResult PumpingWait(TEvent& event, int timeoutMs = kInfinite);
// Off the main thread a plain Enter. On it, tries to enter and runs hand-overs (never window
// messages) between tries.
void PumpingLock(TCriticalSection& section);

}  // namespace sys
