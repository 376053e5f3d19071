#pragma once
// The week view's geometry and texts as small pure functions: calendar days,
// the week's start, the window's size and place, scrolling, the day under a
// click and the division of a printout into pages.
#include <compare>
#include <span>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/types.h"

namespace vesk {

inline constexpr int kWeekLineCount = 1008;   // the scrollable height in lines, at least
inline constexpr int kWeekVisibleLines = 22;  // lines in the window, and a page's scroll
inline constexpr int kMaxDaysShown = 28;
inline constexpr int kWeekRowsPerPage = 58;  // rows of a printed page
inline constexpr int kWeekHeaderRows = 3;    // the printed header's share of every page

// A calendar date; days are counted on the calendar, never as 86400 seconds,
// so a clock change cannot shift a day.
struct CivilDate {
  int year = 1970, month = 1, day = 1;
  auto operator<=>(const CivilDate&) const = default;
};

CivilDate AddDays(CivilDate date, int days);
// 1..7, Sunday = 1.
int WeekdayOfDate(CivilDate date);
// The Sunday (Monday with europe) on or before the date.
CivilDate WeekStartFor(CivilDate date, bool europe);

// "Appointments starting Sunday, March 12, 2000": the weekday named is the
// start's own, so a week that starts on Monday says so.
std::string WeekTitle(CivilDate start);
// "Starting 3/12/2000     by Vesk Calendar", the printed header.
std::string WeekPrintHeader(CivilDate start);
// "Sunday, March 12".
std::string WeekDayHeading(CivilDate date);
// "1:05pm", "13:05", "0:30am": hours after midnight stay 0.
std::string WeekEntryTime(int hour, int minute, bool a24hour);

struct WeekMetrics {
  int timeWidth = 0;   // "08:30AM" + 4
  int lineHeight = 0;  // text height + 4
  int textWidth = 0;   // 70 letters "h" + 4
  bool operator==(const WeekMetrics&) const = default;
};
// Measures in the canvas's selected font.
WeekMetrics MeasureWeek(Canvas& canvas);
// Where an entry's text starts: further right on paper.
int WeekNotesLeft(const WeekMetrics& m, bool paper);

// The window's outer size: 22 lines visible.
Size WeekOuterSize(const WeekMetrics& m);
// A stored position is used as it is; none (both 0) places the window 10
// pixels from the right and 50 from the bottom of the screen, never above or
// left of it.
Point WeekPosition(Point stored, Size screen, Size window);

// The first line after a scroll request (kSbLineUp ...), kept within
// 1..lineCount - 21.
int ScrollWeekLines(int first, int code, int pos, int lineCount);
// The top of the first day block on the screen.
int WeekTopY(int firstLine, int lineHeight);
// The first day whose block ends below y, or -1 below the last block.
int WeekDayAt(std::span<const int> dayBottoms, int y);

// One day's share of a printed page: its heading (marked continued when the
// day began on an earlier page) and entries first .. first + count - 1.
struct WeekPrintBlock {
  int day = 0;
  int firstEntry = 0;
  int entryCount = 0;
  bool continued = false;
  bool operator==(const WeekPrintBlock&) const = default;
};
using WeekPrintPage = std::vector<WeekPrintBlock>;
// Pages of 58 rows, 3 of them the header's; a day takes its entries + 1 rows
// and a page stops before the row count reaches 58, so a day that does not
// fit starts the next page. A day too long for a page of its own fills pages
// of its own, its heading repeated as continued, so nothing is cut.
std::vector<WeekPrintPage> PaginateWeek(std::span<const int> dayEntries);

}  // namespace vesk
