// Dates and times as TDateTime: days since 1899-12-30 00:00 with the time of day as the
// fraction (for negative values the fraction still counts forward from midnight).
// Pure functions, safe on any thread; Now reads the system clock and time zone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {

using TDateTime = double;

// 1970-01-01 00:00 as a TDateTime.
constexpr TDateTime kUnixDateDelta = 25569.0;

// Raise EConvertError "Invalid argument to date encode" / "... time encode" outside the
// proleptic Gregorian years 1..9999, real months and days, 0..23:59:59.999.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
// Both round to the nearest millisecond first, so 23:59:59.9996 reads as the next day.
void DecodeDate(TDateTime dateTime, int& year, int& month, int& day);
void DecodeTime(TDateTime dateTime, int& hour, int& minute, int& second, int& millisecond);
bool IsLeapYear(int year);

// The local wall-clock time.
TDateTime Now();

// Unix seconds, both sides taken in UTC; the conversion rounds to the nearest second.
int64_t DateTimeToUnix(TDateTime dateTime);
TDateTime UnixToDateTime(int64_t seconds);

// Patterns: yyyy yy m mm d dd h hh n nn s ss z zzz; "m"/"mm" right after an hour means
// minutes. Text in double or single quotes is copied; every other character is copied too.
std::string FormatDateTime(std::string_view pattern, TDateTime dateTime);

}  // namespace rtl
