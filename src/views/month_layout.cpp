#include "views/month_layout.h"

#include <algorithm>

#include "calendar/calendar.h"
#include "calendar/local_time.h"

namespace vesk {

namespace {

constexpr int kColumns = 7;
constexpr int kTitleFromColumnSundayFirst = 2;  // "Tu"
constexpr int kTitleToColumnSundayFirst = 5;    // "Fr"

}  // namespace

Size CellFromText(Size wd) { return {wd.cx + 5, wd.cy + 4}; }

int FirstColumn(int year, int month, bool europe) {
  const int weekday0 = WeekdayOf(year, month, 1) - 1;  // 0 = Sunday
  return europe ? (weekday0 + 6) % kColumns : weekday0;
}

std::array<std::string_view, 7> WeekdayHeadings(bool europe) {
  if (europe) return {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
  return {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
}

int MonthLayout::DayAt(Point p) const {
  for (int d = 1; d <= daysInMonth; ++d) {
    if (days[d].ContainsInclusive(p)) return d;
  }
  return 0;
}

int MonthLayout::HoverDayAt(Point p) const {
  for (int d = 1; d <= daysInMonth; ++d) {
    if (days[d].ContainsStrict(p)) return d;
  }
  return 0;
}

MonthLayout LayoutMonth(int year, int month, bool europe, Size cell) {
  const int w = cell.cx;
  const int h = cell.cy;
  MonthLayout layout;
  layout.cell = cell;
  layout.previous = {0, 0, w, h};
  layout.next = {6 * w, 0, 7 * w, h};
  // Monday first moves every heading one column to the left.
  const int shift = europe ? 1 : 0;
  layout.title = {(kTitleFromColumnSundayFirst - shift) * w, 0,
                  (kTitleToColumnSundayFirst - shift) * w, h};
  layout.daysInMonth = DaysInMonth(year, month);
  int column = FirstColumn(year, month, europe);
  int y = 2 * h;
  for (int d = 1; d <= layout.daysInMonth; ++d) {
    layout.days[d] = Rect::FromSize(column * w, y, w, h);
    if (column == kColumns - 1) {
      column = 0;
      y += h;
    } else {
      ++column;
    }
  }
  return layout;
}

ShownMonth StepShownMonth(ShownMonth shown, int delta) {
  shown.month += delta;
  if (shown.month < 1) {
    shown.month = 12;
    --shown.year;
  } else if (shown.month > 12) {
    shown.month = 1;
    ++shown.year;
  }
  shown.year = std::clamp(shown.year, kFirstYear, kLastYear);
  return shown;
}

}  // namespace vesk
