// Asks the system to power the computer off, the end-of-run action of a conversion queue.
//
// The request is logind's PowerOff on the system bus, not forced and not interactive: logind
// decides (other sessions, inhibitors, policy), and a refusal, or no logind at all, is silence.
// The request is sent by "busctl" started from an argument vector, detached; nothing waits for
// it. Tests replace the requester with a recording one and never send the real request. Safe from
// any thread; replacing the requester is for tests, before anything asks.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sys {

using TPowerOffRequester = std::function<void()>;

// Asks with the installed requester; the system's by default.
void RequestPowerOff();
// Installs a requester and returns the previous one; an empty one puts the system's back.
TPowerOffRequester SetPowerOffRequester(TPowerOffRequester requester);
// The system's requester: PowerOffCommand(), detached; a failure to start is not reported.
void SystemRequestPowerOff();
// The argument vector of the system's request.
std::vector<std::string> PowerOffCommand();

}  // namespace sys
