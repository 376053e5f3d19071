// The to-do list's geometry without a window.
#include <gtest/gtest.h>

#include "planner/todo_layout.h"

namespace vesk::test {
namespace {

TEST(ToDoLayout, TwentyLinesStackedFromTheTop) {
  const ToDoGeometry g = LayoutToDoLines({490, 16}, 34);
  EXPECT_EQ(g.textWidth, 494);
  EXPECT_EQ(g.lineHeight, 20);
  EXPECT_EQ(g.lines[0], (Rect{0, 34, 494, 54}));
  EXPECT_EQ(g.lines[19], (Rect{0, 34 + 19 * 20, 494, 34 + 20 * 20}));
  for (int n = 1; n < kToDoLineCount; ++n) EXPECT_EQ(g.lines[n].top, g.lines[n - 1].bottom);
}

TEST(ToDoLayout, HitsTheFirstLineWithEdgesIncluded) {
  const ToDoGeometry g = LayoutToDoLines({490, 16}, 0);
  struct Row {
    Point p;
    int line;
  };
  for (const Row& r : {Row{{0, 0}, 0}, Row{{494, 19}, 0}, Row{{10, 20}, 0}, Row{{10, 21}, 1},
                       Row{{10, 400}, 19}, Row{{10, 401}, -1}, Row{{495, 10}, -1},
                       Row{{-1, 10}, -1}}) {
    EXPECT_EQ(HitToDoLine(g, r.p), r.line) << r.p.x << "," << r.p.y;
  }
}

TEST(ToDoLayout, Position) {
  struct Row {
    WindowPos stored;
    Point expected;
  };
  for (const Row& r : {Row{{0, 0, false}, {0, 768 - 445 - 50}}, Row{{10, -1, true}, {10, 0}},
                       Row{{-40, 300, true}, {-40, 300}}, Row{{0, 0, true}, {0, 273}}}) {
    EXPECT_EQ(ToDoPosition(r.stored, 768, 20, 45), r.expected);
  }
  // A screen too low for the window puts it at the top.
  EXPECT_EQ(ToDoPosition({}, 400, 20, 45), (Point{0, 0}));
  EXPECT_EQ(ToDoWindowSize(494, 20, 45), (Size{505, 445}));
}

}  // namespace
}  // namespace vesk::test
