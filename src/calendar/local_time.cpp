#include "calendar/local_time.h"

#include <ctime>

namespace vesk {

LocalTime MakeLocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return static_cast<LocalTime>(std::mktime(&tm));
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
