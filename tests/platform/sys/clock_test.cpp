#include "platform/sys/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(ClockTest, ManualClockReplacesTheSystemClock) {
    sys::TManualClock manual(1000);
    sys::SetClock(&manual);
    EXPECT_EQ(sys::Clock().NowMicros(), 1000);
    manual.Advance(250);
    EXPECT_EQ(sys::Clock().NowMicros(), 1250);
    EXPECT_EQ(sys::Clock().NowMicros(), 1250) << "stands still between advances";
    sys::SetClock(nullptr);
    EXPECT_NE(&sys::Clock(), &manual);
}

TEST(ClockTest, SystemClockNeverGoesBack) {
    sys::SetClock(nullptr);
    int64_t last = sys::Clock().NowMicros();
    for (int i = 0; i < 3; ++i) {
        sys::SleepMs(1);
        const int64_t now = sys::Clock().NowMicros();
        EXPECT_GE(now, last);
        last = now;
    }
}

}  // namespace
