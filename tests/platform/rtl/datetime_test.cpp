#include "platform/rtl/datetime.h"

#include <cmath>
#include <ctime>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"

namespace rtl {
namespace {

struct TDateCase {
    int year, month, day, hour, minute, second, ms;
    TDateTime value;
};

TEST(TDateTime, EncodeDecodeTable) {
    const TDateCase cases[] = {
        {1899, 12, 30, 0, 0, 0, 0, 0.0},
        {1899, 12, 31, 12, 0, 0, 0, 1.5},
        {1900, 1, 1, 6, 0, 0, 0, 2.25},
        {1970, 1, 1, 0, 0, 0, 0, 25569.0},
        {2000, 2, 29, 18, 0, 0, 0, 36585.75},
        {2024, 12, 31, 23, 59, 59, 999, 45657.0 + 86399999.0 / 86400000.0},
        {1, 1, 1, 0, 0, 0, 0, -693593.0},
        {9999, 12, 31, 0, 0, 0, 0, 2958465.0},
    };
    for (const TDateCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
        TDateTime encoded =
            EncodeDate(c.year, c.month, c.day) + EncodeTime(c.hour, c.minute, c.second, c.ms);
        EXPECT_NEAR(encoded, c.value, 1e-9);
        int y, m, d, h, n, s, z;
        DecodeDate(c.value, y, m, d);
        DecodeTime(c.value, h, n, s, z);
        EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, z}),
                  (std::vector<int>{c.year, c.month, c.day, c.hour, c.minute, c.second, c.ms}));
    }
}

TEST(TDateTime, NegativeValuesCountTheTimeForward) {
    int y, m, d, h, n, s, z;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, z);
    EXPECT_EQ((std::vector<int>{y, m, d, h, n}), (std::vector<int>{1899, 12, 29, 6, 0}));
}

TEST(TDateTime, DecodeRoundsToTheMillisecond) {
    int y, m, d, h, n, s, z;
    TDateTime almostMidnight = EncodeDate(2023, 12, 31) + (86400000.0 - 0.4) / 86400000.0;
    DecodeDate(almostMidnight, y, m, d);
    DecodeTime(almostMidnight, h, n, s, z);
    EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, z}), (std::vector<int>{2024, 1, 1, 0, 0, 0, 0}));
}

TEST(TDateTime, InvalidPartsRaise) {
    const int dates[][3] = {{2023, 2, 29}, {1900, 2, 29}, {2024, 13, 1}, {2024, 0, 1},
                            {2024, 4, 31}, {0, 1, 1},     {10000, 1, 1}, {2024, 1, 0}};
    for (const auto& date : dates) {
        try {
            EncodeDate(date[0], date[1], date[2]);
            ADD_FAILURE() << date[0] << "-" << date[1] << "-" << date[2];
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    const int times[][4] = {
        {24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (const auto& time : times)
        EXPECT_THROW(EncodeTime(time[0], time[1], time[2], time[3]), EConvertError);
}

TEST(TDateTime, UnixSeconds) {
    const std::pair<int64_t, TDateTime> cases[] = {
        {0, 25569.0},
        {86400, 25570.0},
        {-86400, 25568.0},
        {951782400, 36585.0},  // 2000-02-29 UTC
        {1700000000, 25569.0 + 1700000000 / 86400.0},
    };
    for (auto [seconds, dateTime] : cases) {
        EXPECT_NEAR(UnixToDateTime(seconds), dateTime, 1e-9) << seconds;
        EXPECT_EQ(DateTimeToUnix(dateTime), seconds) << seconds;
    }
    EXPECT_EQ(DateTimeToUnix(25569.0 + 0.4 / 86400), 0);
    EXPECT_EQ(DateTimeToUnix(25569.0 + 0.6 / 86400), 1);
}

TEST(TDateTime, NowIsTheLocalClock) {
    std::time_t before = std::time(nullptr);
    TDateTime now = Now();
    std::time_t after = std::time(nullptr);
    std::tm local{};
    localtime_r(&before, &local);
    // Compare as naive local seconds; the two clock reads bracket Now.
    int64_t localBefore = before + local.tm_gmtoff;
    localtime_r(&after, &local);
    int64_t localAfter = after + local.tm_gmtoff;
    int64_t seen = DateTimeToUnix(now);
    EXPECT_GE(seen, localBefore);
    EXPECT_LE(seen, localAfter + 1);
}

TEST(TDateTime, FormatDateTimePatterns) {
    TDateTime t = EncodeDate(2009, 3, 7) + EncodeTime(8, 5, 4, 21);
    const std::pair<const char*, const char*> cases[] = {
        {"yyyy-mm-dd hh:nn:ss", "2009-03-07 08:05:04"},
        {"yy/m/d h:n:s.zzz", "09/3/7 8:5:4.021"},
        {"hh:mm", "08:05"},  // minutes after an hour
        {"YYYY\"年\"MM'月'", "2009年03月"},
        {"d.m z", "7.3 21"},
    };
    for (auto [pattern, expected] : cases) EXPECT_EQ(FormatDateTime(pattern, t), expected);
}

}  // namespace
}  // namespace rtl
