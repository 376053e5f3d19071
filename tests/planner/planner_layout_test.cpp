// The planner's geometry without a window.
#include <gtest/gtest.h>

#include <optional>

#include "planner/day_planner_layout.h"

namespace vesk::test {
namespace {

const PlannerMetrics kMetrics{74, 20, 494};

TEST(PlannerLayout, LinesOfARow) {
  EXPECT_EQ(HourLine(kMetrics, 0, 0), (Rect{74, 0, 568, 20}));
  EXPECT_EQ(HalfLine(kMetrics, 0, 0), (Rect{74, 20, 568, 40}));
  EXPECT_EQ(HourLine(kMetrics, 3, 0), (Rect{74, 120, 568, 140}));
  EXPECT_EQ(HalfLine(kMetrics, 17, FirstRowTop(kMetrics, true)), (Rect{74, 740, 568, 760}));
  EXPECT_EQ(FirstRowTop(kMetrics, false), 0);
}

TEST(PlannerLayout, HitTestTriesOnTheHourLinesFirst) {
  struct Row {
    Point p;
    std::optional<LineHit> hit;
  } rows[] = {
      {{2, 0}, LineHit{0, true}},        // a time label
      {{1, 5}, std::nullopt},            // left of every line
      {{568, 5}, LineHit{0, true}},      // the right edge is inside
      {{569, 5}, std::nullopt},
      {{100, 20}, LineHit{0, true}},     // shared edge: the on-the-hour line wins
      {{100, 21}, LineHit{0, false}},
      {{100, 40}, LineHit{1, true}},
      {{100, 439}, LineHit{10, false}},
      {{100, 440}, LineHit{10, false}},  // the bottom edge of the last visible line
      {{100, 441}, std::nullopt},        // below the window's rows
  };
  for (const Row& r : rows) {
    EXPECT_EQ(HitLine(kMetrics, r.p), r.hit) << r.p.x << "," << r.p.y;
  }
}

TEST(PlannerLayout, OuterSizeAndPlacement) {
  EXPECT_EQ(PlannerOuterSize(kMetrics, 45), (Size{587, 485}));
  const Size screen{1024, 768};
  struct Row {
    Point cascade, stored, want;
  } rows[] = {
      {{0, 0}, {200, 100}, {200, 100}},
      {{200, 100}, {0, 0}, {205, 105}},
      {{0, 0}, {925, 669}, {5, 5}},
      {{920, 600}, {0, 0}, {5, 605}},
      {{0, 0}, {-1, -1}, {5, 5}},
      {{0, 0}, {0, 0}, {0, 0}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(PlannerPosition(r.cascade, r.stored, screen), r.want)
        << r.cascade.x << "," << r.cascade.y << " " << r.stored.x << "," << r.stored.y;
  }
}

}  // namespace
}  // namespace vesk::test
