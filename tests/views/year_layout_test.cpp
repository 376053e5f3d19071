// The year view's pure geometry: month blocks, the days' cells, hits and the
// window's size and place.
#include "views/year_layout.h"

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

constexpr Size kCell{19, 20};

TEST(YearLayoutTest, MonthBlocksFourAcrossThreeDown) {
  const YearLayout layout = LayoutYear(2000, false, kCell);
  EXPECT_EQ(layout.MonthOrigin(1), (Point{0, 0}));
  EXPECT_EQ(layout.MonthOrigin(4), (Point{3 * 133, 0}));
  EXPECT_EQ(layout.MonthOrigin(5), (Point{0, 160}));
  EXPECT_EQ(layout.MonthOrigin(12), (Point{3 * 133, 320}));
  EXPECT_EQ(LayoutYear(2000, false, kCell, 20).MonthOrigin(5), (Point{0, 180}));
  // 1 January 2000 is a Saturday: the last column of the first day row.
  EXPECT_EQ(layout.days[1][1], (Rect{6 * 19, 40, 7 * 19, 60}));
  EXPECT_EQ(layout.days[1][2], (Rect{0, 60, 19, 80}));
}

TEST(YearLayoutTest, MondayFirstPutsASundayFirstInTheLastColumn) {
  // October 2000 begins on a Sunday; its block is the third of row three.
  const Point o = LayoutYear(2000, true, kCell).MonthOrigin(10);
  EXPECT_EQ(LayoutYear(2000, true, kCell).days[10][1].left, o.x + 6 * 19);
  EXPECT_EQ(LayoutYear(2000, true, kCell).days[10][2], Rect::FromSize(o.x, o.y + 3 * 20, 19, 20));
  EXPECT_EQ(LayoutYear(2000, false, kCell).days[10][1].left, o.x);
}

TEST(YearLayoutTest, HitsCoverTheDatesOnly) {
  const YearLayout leap = LayoutYear(2000, false, kCell);
  const Rect feb29 = leap.days[2][29];
  const Point inside{feb29.left + 5, feb29.top + 5};
  EXPECT_EQ(leap.HitTest(inside), (YearDate{2, 29}));
  EXPECT_EQ(leap.HitTest({feb29.right, feb29.bottom}), (YearDate{2, 29})) << "edges included";
  // February 2005 also begins on a Tuesday: the same place is past its end.
  EXPECT_FALSE(LayoutYear(2005, false, kCell).HitTest(inside).has_value());
  EXPECT_FALSE(leap.HitTest({5, 5}).has_value()) << "the month's name";
  EXPECT_FALSE(LayoutYear(2000, false, {}).HitTest({0, 0}).has_value()) << "nothing measured";
}

TEST(YearLayoutTest, SizeFitAndPlace) {
  EXPECT_EQ(YearOuterSize(kCell, 45), (Size{4 * 133 + 11, 3 * 160 + 45}));
  EXPECT_TRUE(YearFitsScreen({543, 525}, {1024, 768}));
  EXPECT_FALSE(YearFitsScreen({1100, 525}, {1024, 768})) << "too wide";
  EXPECT_FALSE(YearFitsScreen({543, 800}, {1024, 768})) << "too high";
  EXPECT_EQ(YearPosition({1600, 40}, {1024, 768}, {543, 525}), (Point{0, 40}));
  EXPECT_EQ(YearPosition({-3, 40}, {1024, 768}, {543, 525}), (Point{0, 40}));
  EXPECT_EQ(YearPosition({1600, 0}, {1024, 768}, {543, 525}), (Point{240, 121})) << "centred";
  EXPECT_EQ(YearPosition({0, 0}, {400, 300}, {543, 525}), (Point{0, 0}));
  EXPECT_EQ(YearPosition({300, 10}, {1024, 768}, {543, 525}), (Point{300, 10}));
}

}  // namespace
}  // namespace vesk::test
