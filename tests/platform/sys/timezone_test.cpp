#include "platform/sys/timezone.h"

#include <gtest/gtest.h>

#include "platform/sys/env.h"

namespace {

TEST(TimeZoneTest, StandardBiasFollowsTz) {
    struct TCase {
        const char* tz;
        int bias;
    };
    // POSIX rules, so the table needs no time-zone database; daylight parts never count.
    const TCase cases[] = {
        {"UTC0", 0},
        {"CST-8", -480},
        {"EST5EDT,M3.2.0,M11.1.0", 300},
        {"IST-5:30", -330},
        {"CET-1CEST,M3.5.0,M10.5.0/3", -60},
        {"<-03>3", 180},
    };
    const bool had = sys::HasEnv("TZ");
    const std::string old = sys::GetEnv("TZ");
    for (const TCase& c : cases) {
        sys::SetEnv("TZ", c.tz);
        EXPECT_EQ(sys::TimeZoneBiasMinutes(), c.bias) << c.tz;
    }
    if (had)
        sys::SetEnv("TZ", old);
    else
        sys::UnsetEnv("TZ");
    sys::TimeZoneBiasMinutes();
}

}  // namespace
