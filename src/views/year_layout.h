#pragma once
// Where the year view puts its twelve month blocks and their days, and what
// a point hits: pure functions of the cell size, the year and the week start.
#include <array>
#include <optional>

#include "platform/types.h"

namespace vesk {

inline constexpr int kYearColumns = 4;  // month blocks across
inline constexpr int kYearRows = 3;     // and down
// A stored left beyond this is taken as 0.
inline constexpr int kYearMaxStoredLeft = 1500;

// A cell is "We" + 5 by its height + 4 on the screen; on paper, in the
// printer's font, + 7 by + 5.
Size YearCellFromText(Size we, bool printer);

struct YearDate {
  int month = 0, day = 0;
  bool operator==(const YearDate&) const = default;
};

struct YearLayout {
  Size cell;
  int topOffset = 0;
  std::array<int, 13> daysInMonth{};            // index 1..12
  std::array<std::array<Rect, 32>, 13> days{};  // [month][day], days 1..daysInMonth
  // The top-left corner of a month's block.
  Point MonthOrigin(int month) const;
  // The date whose cell holds p, edges included; none between and past the dates.
  std::optional<YearDate> HitTest(Point p) const;
};

// Months four across and three down, each 7 cells wide and 8 high: name,
// weekday headings, then up to six week rows; on paper everything starts one
// cell lower, under the year.
YearLayout LayoutYear(int year, bool europe, Size cell, int topOffset = 0);

// The window's outer size for the cell and the main frame's border height.
Size YearOuterSize(Size cell, int borderHeight);
// Whether a window of that outer size fits on the screen.
bool YearFitsScreen(Size window, Size screen);
// The stored position with a left outside 0..1500 taken as 0; a position of
// 0, 0 centres the window on the screen.
Point YearPosition(Point stored, Size screen, Size window);

}  // namespace vesk
