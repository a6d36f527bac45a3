#include "platform/sys/signals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>

#include "platform/sys/main_thread.h"

namespace sys {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch lock-free data");
std::atomic<int> gPending{0};
std::atomic<int> gWakeFd{-1};
std::function<void(int)> gOnSignal;
struct sigaction gPrevious[kSignalCount];
bool gInstalled = false;

void SetDefaults() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i)
        if (gPrevious[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
}

extern "C" void OnTerminationSignal(int signal) {
    const int saved = errno;
    SetDefaults();
    gPending.store(signal);
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = write(gWakeFd.load(), &one, sizeof one);
    errno = saved;
}

}  // namespace

void HandleTerminationSignals(std::function<void(int signal)> onSignal) {
    if (gInstalled) RemoveTerminationSignals();
    gOnSignal = std::move(onSignal);
    gPending.store(0);
    gWakeFd.store(MainThreadWakeFd());
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], nullptr, &gPrevious[i]);
        if (gPrevious[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
    }
    gInstalled = true;
}

void RemoveTerminationSignals() {
    if (!gInstalled) return;
    for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &gPrevious[i], nullptr);
    gInstalled = false;
    gPending.store(0);
    gOnSignal = nullptr;
}

namespace detail {

bool TerminationPending() {
    return gPending.load() != 0;
}

bool RunTerminationRequest() {
    const int signal = gPending.exchange(0);
    if (signal == 0 || !gOnSignal) return false;
    // Taken out first: the call may remove the handling it runs under.
    const std::function<void(int)> call = gOnSignal;
    call(signal);
    return true;
}

}  // namespace detail

}  // namespace sys
