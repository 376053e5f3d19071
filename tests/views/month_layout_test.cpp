#include "views/month_layout.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

constexpr Size kCell{30, 20};

// June 2003 begins on a Sunday.
TEST(MonthLayout, FirstOfMonthOnSundayStandsFirstOrLast) {
  const MonthLayout sundayFirst = LayoutMonth(2003, 6, false, kCell);
  EXPECT_EQ(sundayFirst.days[1], (Rect{0, 40, 30, 60}));
  EXPECT_EQ(sundayFirst.days[2], (Rect{30, 40, 60, 60}));

  const MonthLayout mondayFirst = LayoutMonth(2003, 6, true, kCell);
  EXPECT_EQ(mondayFirst.days[1], (Rect{180, 40, 210, 60}));
  EXPECT_EQ(mondayFirst.days[2], (Rect{0, 60, 30, 80})) << "the 2nd starts the second week row";
  EXPECT_EQ(mondayFirst.days[30], (Rect{0, 140, 30, 160})) << "June 2003 needs six week rows";
}

TEST(MonthLayout, FirstColumnFollowsTheWeekStart) {
  struct Row {
    int year, month;
    bool europe;
    int column;
  } rows[] = {
      {2000, 3, false, 3},                        // Wednesday
      {2000, 3, true, 2},   {2003, 6, false, 0},  // Sunday
      {2003, 6, true, 6},   {2001, 1, true, 0},   // Monday
      {1970, 1, false, 4},                        // Thursday
      {2036, 12, false, 1},                       // Monday
  };
  for (const Row& r : rows) {
    EXPECT_EQ(FirstColumn(r.year, r.month, r.europe), r.column)
        << r.year << "-" << r.month << " europe " << r.europe;
  }
}

TEST(MonthLayout, HeaderCellsAndTitleColumns) {
  const MonthLayout sunday = LayoutMonth(2000, 3, false, kCell);
  EXPECT_EQ(sunday.previous, (Rect{0, 0, 30, 20}));
  EXPECT_EQ(sunday.next, (Rect{180, 0, 210, 20}));
  EXPECT_EQ(sunday.title, (Rect{60, 0, 150, 20})) << "Tu..Fr is 2w..5w";
  EXPECT_EQ(LayoutMonth(2000, 3, true, kCell).title, (Rect{30, 0, 120, 20})) << "w..4w";
  EXPECT_EQ(WeekdayHeadings(false)[2], "Tu");
  EXPECT_EQ(WeekdayHeadings(true)[1], "Tu");
  EXPECT_EQ(WeekdayHeadings(true)[4], "Fr");
  EXPECT_EQ(WeekdayHeadings(true)[6], "Su");
}

TEST(MonthLayout, DayHitsAreInclusiveAndHoverIsStrict) {
  // March 2000: the 1st is a Wednesday, column 3, row y 40..60.
  const MonthLayout m = LayoutMonth(2000, 3, false, kCell);
  EXPECT_EQ(m.DayAt({90, 40}), 1) << "top-left corner";
  EXPECT_EQ(m.DayAt({119, 59}), 1);
  EXPECT_EQ(m.DayAt({120, 60}), 1) << "the bottom-right corner is shared; the earlier day wins";
  EXPECT_EQ(m.DayAt({121, 45}), 2);
  EXPECT_EQ(m.DayAt({10, 45}), 0) << "before the 1st";
  EXPECT_EQ(m.HoverDayAt({90, 45}), 0) << "on the left edge";
  EXPECT_EQ(m.HoverDayAt({91, 41}), 1);
  EXPECT_EQ(m.HoverDayAt({120, 50}), 0) << "on the shared edge of the 1st and 2nd";
}

TEST(MonthLayout, ShortMonthHasNoRectanglesPastItsEnd) {
  const MonthLayout march = LayoutMonth(2001, 3, false, kCell);
  const MonthLayout february = LayoutMonth(2001, 2, false, kCell);
  EXPECT_EQ(february.daysInMonth, 28);
  for (int d = 29; d <= 31; ++d) {
    const Rect where = march.days[d];
    const Point inside{where.left + 5, where.top + 5};
    EXPECT_EQ(february.DayAt(inside), 0) << "where March " << d << " stood";
    EXPECT_EQ(february.HoverDayAt(inside), 0);
  }
}

TEST(MonthLayout, CellMeasuresFromWd) { EXPECT_EQ(CellFromText({17, 13}), (Size{22, 17})); }

TEST(MonthLayout, SteppingWrapsMonthsAndClampsTheYear) {
  struct Row {
    ShownMonth from;
    int delta;
    ShownMonth to;
  } rows[] = {
      {{2000, 3}, -1, {2000, 2}}, {{2000, 1}, -1, {1999, 12}},
      {{2000, 12}, 1, {2001, 1}}, {{1970, 1}, -1, {1970, 12}},  // the year alone is clamped
      {{2036, 12}, 1, {2036, 1}}, {{1970, 2}, -1, {1970, 1}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(StepShownMonth(r.from, r.delta), r.to) << r.from.year << "-" << r.from.month;
  }
}

}  // namespace
}  // namespace vesk
