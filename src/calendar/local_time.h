#pragma once
// Local time as the program counts it: seconds since 1970 built from a date
// and time of day with seconds 0; the TZ environment decides daylight saving.
#include <cstdint>

#include "platform/types.h"

namespace vesk {

using LocalTime = std::int32_t;

// The C library's mktime, deterministic at daylight-saving changes: an hour
// that occurs twice gives its first occurrence, an hour skipped in spring is
// read as standard time. Fields out of range are normalised as the C library
// does (29 February 2001 becomes 1 March 2001).
LocalTime MakeLocalTime(int year, int month, int day, int hour, int minute, int second = 0);
// localtime_r of t.
DateTime BreakLocalTime(std::int64_t t);
// Weekday 1..7 of the date, taken at 01:01:01 local time.
int WeekdayOf(int year, int month, int day);

}  // namespace vesk
