// Termination requests: SIGTERM, SIGINT and SIGHUP turned into one call on the main thread.
//
// The handler only notes the signal, puts the default actions back and wakes the main loop (all
// async-signal-safe); the call runs in the main thread's next CheckSynchronize, which every loop
// of the window layer runs, nested ones included. With the defaults back, a second signal, while
// the call runs or before it ran, ends the process at once. A signal the process was started
// with ignored (nohup) stays ignored. Install and remove on the main thread.
#pragma once

#include <functional>

namespace sys {

void HandleTerminationSignals(std::function<void(int signal)> onSignal);
// Puts back the actions found at install; a request not yet run is dropped.
void RemoveTerminationSignals();

namespace detail {
// For CheckSynchronize: a request is waiting; runs its call (main thread), true when one ran.
bool TerminationPending();
bool RunTerminationRequest();
}  // namespace detail

}  // namespace sys
