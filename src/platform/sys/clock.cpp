#include "platform/sys/clock.h"

#include <chrono>
#include <thread>

namespace sys {

namespace {

class TSystemClock final : public TClock {
public:
    int64_t NowMicros() override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

TSystemClock gSystemClock;
std::atomic<TClock*> gInstalled{nullptr};

}  // namespace

TClock& Clock() {
    TClock* clock = gInstalled.load();
    return clock ? *clock : gSystemClock;
}

void SetClock(TClock* clock) {
    gInstalled = clock;
}

void SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace sys
