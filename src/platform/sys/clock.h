// The one monotonic clock every timer, fade, double-click and hint pause reads.
//
// Tests install a TManualClock and advance it; nothing else in the program reads the system's
// clocks for such timing. Clock() and SetClock() are safe from any thread; the installed clock
// must outlive its installation.
#pragma once

#include <atomic>
#include <cstdint>

namespace sys {

class TClock {
public:
    virtual ~TClock() = default;
    // Microseconds from an arbitrary start; never goes back.
    virtual int64_t NowMicros() = 0;
};

// The installed clock, the system's monotonic clock by default.
TClock& Clock();
// nullptr restores the system's clock.
void SetClock(TClock* clock);

// Stands still until a test advances it.
class TManualClock : public TClock {
public:
    explicit TManualClock(int64_t startMicros = 0) : FNow(startMicros) {}
    int64_t NowMicros() override { return FNow.load(); }
    void Advance(int64_t micros) { FNow.fetch_add(micros); }

private:
    std::atomic<int64_t> FNow;
};

// Really sleeps, whatever clock is installed.
void SleepMs(int ms);

}  // namespace sys
