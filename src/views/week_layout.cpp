#include "views/week_layout.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "calendar/calendar.h"
#include "platform/window.h"

namespace vesk {

namespace {

constexpr int kDaysPerWeek = 7;
// The lines a page holds below its header: the row count stays below 58.
constexpr int kPageBodyRows = kWeekRowsPerPage - 1 - kWeekHeaderRows;
constexpr int kRightGap = 10;
constexpr int kBottomGap = 50;
constexpr int kFrameWidth = 19;
constexpr int kFrameHeight = 48;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long DaysFromCivil(CivilDate d) {
  const int y = d.year - (d.month <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

std::string Name(std::optional<std::string_view> name) { return std::string(name.value_or("")); }

}  // namespace

CivilDate AddDays(CivilDate date, int days) { return CivilFromDays(DaysFromCivil(date) + days); }

int WeekdayOfDate(CivilDate date) {
  // 1970-01-01 was a Thursday (5).
  const long days = DaysFromCivil(date);
  return static_cast<int>(((days % kDaysPerWeek) + kDaysPerWeek + 4) % kDaysPerWeek) + 1;
}

CivilDate WeekStartFor(CivilDate date, bool europe) {
  const int firstWeekday = europe ? 2 : 1;
  const int back = (WeekdayOfDate(date) - firstWeekday + kDaysPerWeek) % kDaysPerWeek;
  return AddDays(date, -back);
}

std::string WeekTitle(CivilDate start) {
  return "Appointments starting " + Name(WeekdayName(WeekdayOfDate(start))) + ", " +
         Name(MonthName(start.month)) + " " + std::to_string(start.day) + ", " +
         std::to_string(start.year);
}

std::string WeekPrintHeader(CivilDate start) {
  return "Starting " + std::to_string(start.month) + "/" + std::to_string(start.day) + "/" +
         std::to_string(start.year) + "     by Vesk Calendar";
}

std::string WeekDayHeading(CivilDate date) {
  return Name(WeekdayName(WeekdayOfDate(date))) + ", " + Name(MonthName(date.month)) + " " +
         std::to_string(date.day);
}

std::string WeekEntryTime(int hour, int minute, bool a24hour) {
  const char* suffix = "";
  if (!a24hour) suffix = hour < 12 ? "am" : "pm";
  if (!a24hour && hour > 12) hour -= 12;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d%s", hour, minute, suffix);
  return text;
}

WeekMetrics MeasureWeek(Canvas& canvas) {
  const Size time = canvas.TextExtent("08:30AM");
  return {.timeWidth = time.cx + 4,
          .lineHeight = time.cy + 4,
          .textWidth = canvas.TextExtent(std::string(70, 'h')).cx + 4};
}

int WeekNotesLeft(const WeekMetrics& m, bool paper) { return m.timeWidth + (paper ? 45 : 25); }

Size WeekOuterSize(const WeekMetrics& m) {
  return {m.textWidth + m.timeWidth + kFrameWidth, kWeekVisibleLines * m.lineHeight + kFrameHeight};
}

Point WeekPosition(Point stored, Size screen, Size window) {
  if (stored.x != 0 || stored.y != 0) return stored;
  return {std::max(0, screen.cx - window.cx - kRightGap),
          std::max(0, screen.cy - window.cy - kBottomGap)};
}

int ScrollWeekLines(int first, int code, int pos, int lineCount) {
  switch (code) {
    case kSbLineUp:
      --first;
      break;
    case kSbLineDown:
      ++first;
      break;
    case kSbPageUp:
      first -= kWeekVisibleLines;
      break;
    case kSbPageDown:
      first += kWeekVisibleLines;
      break;
    case kSbThumbPosition:
      first = pos;
      break;
    default:
      break;  // thumb tracking among them: the lines move when the thumb is released
  }
  return std::clamp(first, 1, std::max(1, lineCount - (kWeekVisibleLines - 1)));
}

int WeekTopY(int firstLine, int lineHeight) {
  return firstLine == 1 ? 1 : -(firstLine - 1) * lineHeight;
}

int WeekDayAt(std::span<const int> dayBottoms, int y) {
  for (std::size_t i = 0; i < dayBottoms.size(); ++i) {
    if (y < dayBottoms[i]) return static_cast<int>(i);
  }
  return -1;
}

std::vector<WeekPrintPage> PaginateWeek(std::span<const int> dayEntries) {
  std::vector<WeekPrintPage> pages(1);
  int used = 0;  // body rows taken on the current page
  for (std::size_t i = 0; i < dayEntries.size(); ++i) {
    const int day = static_cast<int>(i);
    int first = 0;
    int left = dayEntries[i];
    if (used > 0 && used + left + 1 > kPageBodyRows) {
      pages.emplace_back();
      used = 0;
    }
    for (;;) {
      const int count = std::min(left, kPageBodyRows - 1);
      pages.back().push_back({day, first, count, first > 0});
      used += count + 1;
      first += count;
      left -= count;
      if (left == 0) break;
      pages.emplace_back();
      used = 0;
    }
  }
  return pages;
}

}  // namespace vesk
