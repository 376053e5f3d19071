#pragma once
// Where the month calendar puts its cells, and what a point hits. Pure
// functions of the cell size and the month shown, so the hit tests always
// match the month on display.
#include <array>
#include <string_view>

#include "platform/types.h"

namespace vesk {

inline constexpr int kFirstYear = 1970;
inline constexpr int kLastYear = 2036;

// A cell is the width of "Wd" + 5 and its height + 4 in the main font.
Size CellFromText(Size wd);

// Column 0..6 of the 1st of the month: Sunday first, or Monday first with europe.
int FirstColumn(int year, int month, bool europe);

// The weekday headings, left to right.
std::array<std::string_view, 7> WeekdayHeadings(bool europe);

struct MonthLayout {
  Size cell;
  Rect previous;  // the "<<" cell
  Rect next;      // the ">>" cell
  Rect title;     // from the "Tu" column's left edge to the "Fr" column's left edge
  int daysInMonth = 0;
  std::array<Rect, 32> days{};  // index 1..daysInMonth; right = left + w, bottom = top + h

  // The day whose rectangle holds p, edges included; 0 when none.
  int DayAt(Point p) const;
  // The day whose rectangle holds p, edges excluded (hovering); 0 when none.
  int HoverDayAt(Point p) const;
};

MonthLayout LayoutMonth(int year, int month, bool europe, Size cell);

// Displayed month after a step of -1 or +1: the month wraps into the
// neighbouring year, then the year alone is clamped to 1970..2036.
struct ShownMonth {
  int year = kFirstYear;
  int month = 1;
  bool operator==(const ShownMonth&) const = default;
};
ShownMonth StepShownMonth(ShownMonth shown, int delta);

}  // namespace vesk
