#pragma once
// The day planner's geometry as small pure functions of the measured font:
// line rectangles, hit tests, the window's outer size and where it opens.
#include <optional>

#include "platform/canvas.h"
#include "platform/types.h"

namespace vesk {

inline constexpr int kPlannerRows = 24;         // rows laid out (hours 0..23)
inline constexpr int kPlannerVisibleRows = 11;  // rows on the screen
inline constexpr int kLastFirstHour = kPlannerRows - kPlannerVisibleRows;  // 13
inline constexpr int kDefaultFirstHour = 8;
inline constexpr int kPrintFirstHour = 6;
// Texts, fills and separators run this far right, past any window.
inline constexpr int kPlannerBandWidth = 3200;

struct PlannerMetrics {
  int timeWidth = 0;   // the time-label column
  int lineHeight = 0;  // one half-hour line
  int textWidth = 0;   // the text column
  bool operator==(const PlannerMetrics&) const = default;
};

// Measures the column widths and the line height in the canvas's selected font.
PlannerMetrics MeasurePlanner(Canvas& canvas);

// The top of row 0: 0 on the screen, two lines lower on paper for the header.
int FirstRowTop(const PlannerMetrics& m, bool printer);
// Row r's on-the-hour line and half-past line.
Rect HourLine(const PlannerMetrics& m, int row, int top);
Rect HalfLine(const PlannerMetrics& m, int row, int top);

struct LineHit {
  int row = 0;
  bool onHour = true;
  bool operator==(const LineHit&) const = default;
};
// The line under p on the screen: the on-the-hour lines of the visible rows
// are tried before the half-past lines; x counts from 2 so that a press on a
// time label selects its line. Rows below the window are never hit, so a
// press in the slack under the last row cannot select a hidden line (or an
// hour past 23).
std::optional<LineHit> HitLine(const PlannerMetrics& m, Point p);

// Outer size of the window for the metrics and the frame's border height.
Size PlannerOuterSize(const PlannerMetrics& m, int borderHeight);

// Where a new planner opens: 5 pixels right of and below the last placed one
// when there is one, else at the stored position; a coordinate off the screen
// or within 100 pixels of its far edge becomes 5.
Point PlannerPosition(Point cascade, Point stored, Size screen);

}  // namespace vesk
