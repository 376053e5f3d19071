#include "views/year_layout.h"

#include <algorithm>

#include "calendar/calendar.h"
#include "views/month_layout.h"

namespace vesk {

namespace {

constexpr int kColumns = 7;
constexpr int kBlockRows = 8;
constexpr int kFrameWidth = 11;

}  // namespace

Size YearCellFromText(Size we, bool printer) {
  return printer ? Size{we.cx + 7, we.cy + 5} : Size{we.cx + 5, we.cy + 4};
}

Point YearLayout::MonthOrigin(int month) const {
  const int column = (month - 1) % kYearColumns;
  const int row = (month - 1) / kYearColumns;
  return {column * kColumns * cell.cx, topOffset + row * kBlockRows * cell.cy};
}

std::optional<YearDate> YearLayout::HitTest(Point p) const {
  if (cell.cx <= 0 || cell.cy <= 0) return std::nullopt;
  for (int m = 1; m <= 12; ++m) {
    for (int d = 1; d <= daysInMonth[m]; ++d) {
      if (days[m][d].ContainsInclusive(p)) return YearDate{m, d};
    }
  }
  return std::nullopt;
}

YearLayout LayoutYear(int year, bool europe, Size cell, int topOffset) {
  YearLayout layout;
  layout.cell = cell;
  layout.topOffset = topOffset;
  const int w = cell.cx;
  const int h = cell.cy;
  for (int m = 1; m <= 12; ++m) {
    const Point origin = layout.MonthOrigin(m);
    layout.daysInMonth[m] = DaysInMonth(year, m);
    int column = FirstColumn(year, m, europe);
    int y = origin.y + 2 * h;
    for (int d = 1; d <= layout.daysInMonth[m]; ++d) {
      layout.days[m][d] = Rect::FromSize(origin.x + column * w, y, w, h);
      if (column == kColumns - 1) {
        column = 0;
        y += h;
      } else {
        ++column;
      }
    }
  }
  return layout;
}

Size YearOuterSize(Size cell, int borderHeight) {
  return {kYearColumns * kColumns * cell.cx + kFrameWidth,
          kYearRows * kBlockRows * cell.cy + borderHeight};
}

bool YearFitsScreen(Size window, Size screen) {
  return window.cx <= screen.cx && window.cy <= screen.cy;
}

Point YearPosition(Point stored, Size screen, Size window) {
  Point at = stored;
  if (at.x < 0 || at.x > kYearMaxStoredLeft) at.x = 0;
  if (at.x == 0 && at.y == 0) {
    // A window larger than the screen keeps its caption on it.
    at = {std::max(0, (screen.cx - window.cx) / 2), std::max(0, (screen.cy - window.cy) / 2)};
  }
  return at;
}

}  // namespace vesk
