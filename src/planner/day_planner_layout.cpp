#include "planner/day_planner_layout.h"

#include <string>

namespace vesk {

namespace {

constexpr std::string_view kTimeSample = "  08:30AM ";
constexpr int kTextSampleLetters = 70;
constexpr int kMeasureSlack = 4;
// Left of the text column the window has a scroll bar and a frame.
constexpr int kOuterWidthSlack = 19;
constexpr int kLinesPerWindow = 2 * kPlannerVisibleRows;
constexpr int kCascadeStep = 5;
constexpr int kScreenMargin = 100;
constexpr int kFallbackCoordinate = 5;
constexpr int kHitLeft = 2;

}  // namespace

PlannerMetrics MeasurePlanner(Canvas& canvas) {
  const Size time = canvas.TextExtent(kTimeSample);
  const Size text = canvas.TextExtent(std::string(kTextSampleLetters, 'h'));
  return {time.cx + kMeasureSlack, time.cy + kMeasureSlack, text.cx + kMeasureSlack};
}

int FirstRowTop(const PlannerMetrics& m, bool printer) { return printer ? 2 * m.lineHeight : 0; }

Rect HourLine(const PlannerMetrics& m, int row, int top) {
  const int y = top + 2 * row * m.lineHeight;
  return {m.timeWidth, y, m.timeWidth + m.textWidth, y + m.lineHeight};
}

Rect HalfLine(const PlannerMetrics& m, int row, int top) {
  Rect r = HourLine(m, row, top);
  r.top += m.lineHeight;
  r.bottom += m.lineHeight;
  return r;
}

std::optional<LineHit> HitLine(const PlannerMetrics& m, Point p) {
  for (const bool onHour : {true, false}) {
    for (int row = 0; row < kPlannerVisibleRows; ++row) {
      const Rect line = onHour ? HourLine(m, row, 0) : HalfLine(m, row, 0);
      if (p.x >= kHitLeft && p.x <= line.right && p.y >= line.top && p.y <= line.bottom) {
        return LineHit{row, onHour};
      }
    }
  }
  return std::nullopt;
}

Size PlannerOuterSize(const PlannerMetrics& m, int borderHeight) {
  return {m.textWidth + m.timeWidth + kOuterWidthSlack,
          borderHeight + kLinesPerWindow * m.lineHeight};
}

Point PlannerPosition(Point cascade, Point stored, Size screen) {
  Point p = cascade == Point{0, 0}
                ? stored
                : Point{cascade.x + kCascadeStep, cascade.y + kCascadeStep};
  if (p.x < 0 || p.x > screen.cx - kScreenMargin) p.x = kFallbackCoordinate;
  if (p.y < 0 || p.y > screen.cy - kScreenMargin) p.y = kFallbackCoordinate;
  return p;
}

}  // namespace vesk
