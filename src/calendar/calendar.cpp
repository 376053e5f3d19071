#include "calendar/calendar.h"

#include <array>
#include <cstdio>

#include "calendar/local_time.h"

namespace vesk {
namespace {

constexpr std::array<std::string_view, 12> kShortMonths = {
    "Jan", "Feb", "March", "April", "May", "June", "July", "Aug", "Sept", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kWeekdays = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 7> kWeekdayAbbrevs = {"Sun", "Mon", "Tue", "Wed",
                                                             "Thu", "Fri", "Sat"};

template <class... Args>
std::string Format(const char* fmt, Args... args) {
  char buf[256];
  int n = std::snprintf(buf, sizeof buf, fmt, args...);
  if (n < static_cast<int>(sizeof buf)) return std::string(buf, n > 0 ? n : 0);
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), fmt, args...);
  out.resize(n);
  return out;
}

std::string_view Name(std::optional<std::string_view> name) { return name.value_or(""); }

}  // namespace

std::optional<std::string_view> MonthShortName(int month) {
  if (month < 1 || month > 12) return std::nullopt;
  return kShortMonths[month - 1];
}

std::optional<std::string_view> MonthName(int month) {
  if (month < 1 || month > 12) return std::nullopt;
  return kMonths[month - 1];
}

std::optional<std::string_view> WeekdayName(int weekday) {
  if (weekday < 1 || weekday > 7) return std::nullopt;
  return kWeekdays[weekday - 1];
}

std::string_view WeekdayAbbrev(int weekday0) {
  if (weekday0 < 0 || weekday0 > 6) weekday0 = 6;
  return kWeekdayAbbrevs[weekday0];
}

int WeekdayFromText(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, int>, 6> kKeys = {{
      {"Sun", 1}, {"Mon", 2}, {"Tues", 3}, {"Wed", 4}, {"Thur", 5}, {"Fri", 6}}};
  for (const auto& [key, weekday] : kKeys)
    if (text.find(key) != std::string_view::npos) return weekday;
  return 7;
}

int DaysUntilWeekday(int fromWeekday, std::string_view text) {
  int w = WeekdayFromText(text);
  return w >= fromWeekday ? w - fromWeekday : w - fromWeekday + 7;
}

int DaysInMonth(int year, int month) {
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
      return 31;
    case 4: case 6: case 9: case 11:
      return 30;
    case 2:
      return year % 4 == 0 ? 29 : 28;
    default:
      return 30;
  }
}

std::string FormatTime(int hour, int minute, bool use24Hour) {
  if (use24Hour) return Format("%d:%02d", hour, minute);
  if (hour == 0) return Format("12:%02dam", minute);
  if (hour < 12) return Format("%d:%02dam", hour, minute);
  if (hour == 12) return Format("12:%02dpm", minute);
  return Format("%d:%02dpm", hour - 12, minute);
}

std::string DayOrdinal(int day) {
  switch (day) {
    case 1: case 21: case 31:
      return Format("%dst", day);
    case 2: case 22:
      return Format("%dnd", day);
    case 3: case 23:
      return Format("%drd", day);
    default:
      return Format("%dth", day);
  }
}

std::string WeekOrdinal(int day, std::string_view current) {
  std::string out(current);
  if (day > 0) out = "1st";
  if (day > 7) out = "2nd";
  if (day > 14) out = "3rd";
  if (day > 21) out = "4th";
  if (day > 28) out = "5th";
  return out;
}

SlotLabels SlotLabel(int hour, bool use24Hour) {
  if (hour < 0 || hour > 23) return {};
  if (use24Hour) {
    if (hour < 5) return {};
    return {Format("%d:00", hour), Format("%d:30", hour)};
  }
  int shown = hour % 12 == 0 ? 12 : hour % 12;
  return {Format("%d:00%s", shown, hour < 12 ? "am" : "pm"), Format("%d:30", shown)};
}

std::string LongDateTitle(int year, int month, int day) {
  return Format("%s, %s %d, %d", Name(WeekdayName(WeekdayOf(year, month, day))).data(),
                Name(MonthName(month)).data(), day, year);
}

std::string DayHeading(int year, int month, int day, bool europe) {
  std::string_view weekday = Name(WeekdayName(WeekdayOf(year, month, day)));
  std::string_view shortMonth = Name(MonthShortName(month));
  if (europe)
    return Format(" %s, %d %s, %d  ", weekday.data(), day, shortMonth.data(), year);
  return Format(" %s, %s %d, %d  ", weekday.data(), shortMonth.data(), day, year);
}

std::string DayListLine(int hour, int minute, std::string_view notes, bool use24Hour) {
  return " " + FormatTime(hour, minute, use24Hour) + "  " + std::string(notes) + "  ";
}

}  // namespace vesk
