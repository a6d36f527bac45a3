#include "platform/rtl/datetime.h"

#include <time.h>

#include <cmath>
#include <cstdlib>

#include <fmt/format.h>

#include "platform/rtl/exception.h"

namespace rtl {

namespace {

constexpr int64_t kMSecsPerDay = 86400000;

// Days since 1970-01-01 of a proleptic Gregorian date, and back (era-based, exact).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Whole milliseconds of the day number (towards zero) and of the time of day.
void Split(TDateTime dateTime, int64_t& days, int64_t& msOfDay) {
    auto total = static_cast<int64_t>(std::llround(dateTime * kMSecsPerDay));
    days = total / kMSecsPerDay;
    msOfDay = std::llabs(total) % kMSecsPerDay;
}

char LowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Number(int value, int digits) {
    return fmt::format("{:0{}}", value, digits);
}

}  // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<TDateTime>(DaysFromCivil(year, month, day)) + kUnixDateDelta;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<TDateTime>(ms) / kMSecsPerDay;
}

void DecodeDate(TDateTime dateTime, int& year, int& month, int& day) {
    int64_t days = 0, ms = 0;
    Split(dateTime, days, ms);
    CivilFromDays(days - static_cast<int64_t>(kUnixDateDelta), year, month, day);
}

void DecodeTime(TDateTime dateTime, int& hour, int& minute, int& second, int& millisecond) {
    int64_t days = 0, ms = 0;
    Split(dateTime, days, ms);
    millisecond = static_cast<int>(ms % 1000);
    second = static_cast<int>(ms / 1000 % 60);
    minute = static_cast<int>(ms / 60000 % 60);
    hour = static_cast<int>(ms / 3600000);
}

TDateTime Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    TDateTime date = static_cast<TDateTime>(
                         DaysFromCivil(local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday)) +
                     kUnixDateDelta;
    // A leap second (tm_sec 60) counts as the last second of the minute.
    int second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return date +
           EncodeTime(local.tm_hour, local.tm_min, second, static_cast<int>(now.tv_nsec / 1000000));
}

int64_t DateTimeToUnix(TDateTime dateTime) {
    return std::llround((dateTime - kUnixDateDelta) * 86400.0);
}

TDateTime UnixToDateTime(int64_t seconds) {
    return static_cast<TDateTime>(seconds) / 86400.0 + kUnixDateDelta;
}

std::string FormatDateTime(std::string_view pattern, TDateTime dateTime) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    DecodeDate(dateTime, year, month, day);
    DecodeTime(dateTime, hour, minute, second, ms);

    std::string out;
    bool afterHour = false;
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c == '"' || c == '\'') {
            size_t close = pattern.find(c, i + 1);
            if (close == std::string_view::npos) close = pattern.size();
            out.append(pattern.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        char lower = LowerChar(c);
        size_t run = 1;
        if (lower >= 'a' && lower <= 'z')
            while (i + run < pattern.size() && LowerChar(pattern[i + run]) == lower) ++run;
        bool two = run >= 2;
        switch (lower) {
            case 'y':
                out += run <= 2 ? Number(year % 100, 2) : Number(year, 4);
                afterHour = false;
                break;
            case 'm':
                out += Number(afterHour ? minute : month, two ? 2 : 1);
                afterHour = false;
                break;
            case 'd':
                out += Number(day, two ? 2 : 1);
                afterHour = false;
                break;
            case 'h':
                out += Number(hour, two ? 2 : 1);
                afterHour = true;
                break;
            case 'n':
                out += Number(minute, two ? 2 : 1);
                afterHour = false;
                break;
            case 's':
                out += Number(second, two ? 2 : 1);
                afterHour = false;
                break;
            case 'z':
                out += Number(ms, run >= 3 ? 3 : 1);
                afterHour = false;
                break;
            default:
                out.append(pattern.substr(i, run));
                break;
        }
        i += run;
    }
    return out;
}

}  // namespace rtl
