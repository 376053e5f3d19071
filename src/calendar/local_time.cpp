#include "calendar/local_time.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace vesk {

namespace {

bool SameWallClock(const std::tm& a, const std::tm& b) {
  return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday &&
         a.tm_hour == b.tm_hour && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

// The last day asked for, in the zone of the time it was asked: start-up and
// series expansion build many times of the same day one after another.
struct DayCache {
  bool valid = false;
  bool zoneSet = false;  // TZ was set, to zone
  std::string zone;
  int year = 0, month = 0, day = 0;
  // The day's date was in range and it had 86400 seconds (no clock change).
  bool plain = false;
  LocalTime midnight = 0;
};

thread_local DayCache lastDay;

bool InZone(const DayCache& c) {
  const char* tz = std::getenv("TZ");
  return (tz != nullptr) == c.zoneSet && (tz == nullptr || c.zone == tz);
}

LocalTime MakeExactly(int year, int month, int day, int hour, int minute, int second);

const DayCache& Day(int year, int month, int day) {
  if (lastDay.valid && lastDay.year == year && lastDay.month == month && lastDay.day == day &&
      InZone(lastDay)) {
    return lastDay;
  }
  const char* tz = std::getenv("TZ");
  lastDay.valid = true;
  lastDay.zoneSet = tz != nullptr;
  lastDay.zone = tz != nullptr ? tz : "";
  lastDay.year = year;
  lastDay.month = month;
  lastDay.day = day;
  lastDay.midnight = MakeExactly(year, month, day, 0, 0, 0);
  const DateTime at = BreakLocalTime(lastDay.midnight);
  lastDay.plain = at.year == year && at.month == month && at.day == day && at.hour == 0 &&
                  MakeExactly(year, month, day + 1, 0, 0, 0) - lastDay.midnight == 86400;
  return lastDay;
}

}  // namespace

LocalTime MakeLocalTime(int year, int month, int day, int hour, int minute, int second) {
  const bool timeInRange = hour >= 0 && hour < 24 && minute >= 0 && minute < 60 &&
                           second >= 0 && second < 60;
  if (timeInRange) {
    const DayCache& d = Day(year, month, day);
    if (d.plain) return d.midnight + hour * 3600 + minute * 60 + second;
  }
  return MakeExactly(year, month, day, hour, minute, second);
}

namespace {

// mktime with tm_isdst = -1 guesses from the zone state of the previous call
// where a wall-clock time occurs twice (autumn) or never (spring), so its
// answer there would depend on what ran before. Those two cases are settled
// here: a repeated time takes its first occurrence, a skipped one is read as
// standard time (the clock then shows the time after the gap).
LocalTime MakeExactly(int year, int month, int day, int hour, int minute, int second) {
  std::tm asked{};
  asked.tm_year = year - 1900;
  asked.tm_mon = month - 1;
  asked.tm_mday = day;
  asked.tm_hour = hour;
  asked.tm_min = minute;
  asked.tm_sec = second;
  asked.tm_isdst = -1;
  std::tm got = asked;
  std::time_t t = std::mktime(&got);
  const bool timeInRange = hour >= 0 && hour < 24 && minute >= 0 && minute < 60 &&
                           second >= 0 && second < 60;
  if (timeInRange && (got.tm_hour != hour || got.tm_min != minute || got.tm_sec != second)) {
    std::tm standard = asked;
    standard.tm_isdst = 0;
    return static_cast<LocalTime>(std::mktime(&standard));
  }
  // The same wall-clock time an hour earlier means it occurs twice.
  const std::time_t earlier = t - 3600;
  std::tm other{};
  if (localtime_r(&earlier, &other) != nullptr && SameWallClock(other, got)) t = earlier;
  return static_cast<LocalTime>(t);
}

}  // namespace

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
