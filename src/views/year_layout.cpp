#include "views/year_layout.h"

#include <algorithm>

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
  for (int m = 1; m <= 12; ++m) {
    // Each block places its days as the month calendar does, from its own corner.
    const MonthLayout month = LayoutMonth(year, m, europe, cell);
    const Point origin = layout.MonthOrigin(m);
    layout.daysInMonth[m] = month.daysInMonth;
    for (int d = 1; d <= month.daysInMonth; ++d) {
      const Rect& r = month.days[d];
      layout.days[m][d] = {origin.x + r.left, origin.y + r.top, origin.x + r.right,
                           origin.y + r.bottom};
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
