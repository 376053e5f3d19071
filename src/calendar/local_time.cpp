#include "calendar/local_time.h"

#include <ctime>

namespace vesk {

namespace {

// mktime of the fields read as standard (isDst false) or daylight time;
// consistent is false when the C library had to move the time into the other.
std::time_t MakeAs(std::tm tm, bool isDst, bool& consistent) {
  tm.tm_isdst = isDst ? 1 : 0;
  std::time_t t = std::mktime(&tm);
  consistent = (tm.tm_isdst > 0) == isDst;
  return t;
}

}  // namespace

// mktime with tm_isdst = -1 guesses from the zone state of the previous call,
// so an hour that occurs twice (autumn) or never (spring) would depend on what
// ran before. Both readings are tried instead: a repeated hour takes its
// first occurrence, a skipped one is read as standard time (the clock shows
// the hour after the gap).
LocalTime MakeLocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  bool standardFits = false;
  bool daylightFits = false;
  std::time_t standard = MakeAs(tm, false, standardFits);
  std::time_t daylight = MakeAs(tm, true, daylightFits);
  std::time_t t = standard;
  if (daylightFits && (!standardFits || daylight < standard)) t = daylight;
  return static_cast<LocalTime>(t);
}

DateTime BreakLocalTime(std::int64_t t) {
  std::time_t tt = static_cast<std::time_t>(t);
  std::tm tm{};
  localtime_r(&tt, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
          tm.tm_wday + 1};
}

int WeekdayOf(int year, int month, int day) {
  return BreakLocalTime(MakeLocalTime(year, month, day, 1, 1, 1)).weekday;
}

}  // namespace vesk
