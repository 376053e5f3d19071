// The week view's pure geometry and texts: calendar days, week starts, times,
// scrolling, hit tests and the pages of a printout.
#include "views/week_layout.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "platform/window.h"

namespace vesk::test {
namespace {

TEST(WeekLayoutTest, WeekStartsOnSundayOrMonday) {
  struct Row {
    CivilDate date;
    bool europe;
    CivilDate start;
  };
  const Row rows[] = {
      {{2000, 3, 15}, false, {2000, 3, 12}},  // a Wednesday
      {{2000, 3, 12}, false, {2000, 3, 12}},  // a Sunday is its own start
      {{2000, 3, 12}, true, {2000, 3, 6}},    // ...but with Monday first, six days earlier
      {{2000, 3, 13}, true, {2000, 3, 13}},
      {{2000, 2, 29}, false, {2000, 2, 27}},  // the leap day's week
      {{2000, 2, 29}, true, {2000, 2, 28}},
      {{2000, 1, 1}, false, {1999, 12, 26}},  // across the year
      {{2000, 4, 2}, false, {2000, 4, 2}},    // the spring clock change
      {{2036, 12, 31}, true, {2036, 12, 29}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(WeekStartFor(r.date, r.europe), r.start)
        << r.date.year << "-" << r.date.month << "-" << r.date.day << " europe " << r.europe;
  }
  EXPECT_EQ(AddDays({2000, 2, 27}, 2), (CivilDate{2000, 2, 29}));
  EXPECT_EQ(AddDays({2001, 2, 27}, 2), (CivilDate{2001, 3, 1}));
  EXPECT_EQ(AddDays({2000, 3, 26}, 28), (CivilDate{2000, 4, 23}));
  EXPECT_EQ(WeekdayOfDate({1970, 1, 1}), 5);
}

TEST(WeekLayoutTest, EntryTimes) {
  struct Row {
    int hour, minute;
    bool a24hour;
    const char* text;
  };
  const Row rows[] = {
      {13, 5, false, "1:05pm"}, {13, 5, true, "13:05"},    {0, 30, false, "0:30am"},
      {0, 30, true, "0:30"},    {12, 0, false, "12:00pm"}, {9, 30, false, "9:30am"},
      {23, 30, true, "23:30"},
  };
  for (const Row& r : rows) EXPECT_EQ(WeekEntryTime(r.hour, r.minute, r.a24hour), r.text);
}

TEST(WeekLayoutTest, ScrollingStaysWithinTheLines) {
  struct Row {
    int first, code, pos, lineCount, expected;
  };
  const Row rows[] = {
      {1, kSbLineUp, 0, 1008, 1},
      {1, kSbLineDown, 0, 1008, 2},
      {1, kSbPageDown, 0, 1008, 23},
      {23, kSbPageUp, 0, 1008, 1},
      {980, kSbPageDown, 0, 1008, 987},
      {1, kSbThumbPosition, 1000, 1008, 987},
      {987, kSbLineDown, 0, 1008, 987},
      {5, kSbThumbTrack, 40, 1008, 5},
      {1, kSbThumbPosition, 1100, 1200, 1100},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ScrollWeekLines(r.first, r.code, r.pos, r.lineCount), r.expected)
        << "from " << r.first << " code " << r.code;
  }
  EXPECT_EQ(WeekTopY(1, 20), 1);
  EXPECT_EQ(WeekTopY(3, 20), -40);
}

TEST(WeekLayoutTest, TheDefaultCornerStaysOnTheScreen) {
  EXPECT_EQ(WeekPosition({0, 0}, {1024, 768}, {566, 488}), (Point{448, 230}));
  EXPECT_EQ(WeekPosition({0, 0}, {500, 400}, {566, 488}), (Point{0, 0}));
  EXPECT_EQ(WeekPosition({0, 7}, {1024, 768}, {566, 488}), (Point{0, 7})) << "stored";
}

int RowsOf(const WeekPrintPage& page) {
  return std::accumulate(page.begin(), page.end(), 0,
                         [](int sum, const WeekPrintBlock& b) { return sum + b.entryCount + 1; });
}

TEST(WeekLayoutTest, PagesHoldFiftyEightRowsWithTheHeader) {
  // Seven days of 10 entries: 11 rows each, four days to a page (3 + 44 = 47;
  // a fifth would reach 58).
  std::vector<int> days(7, 10);
  std::vector<WeekPrintPage> pages = PaginateWeek(days);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].size(), 4u);
  EXPECT_EQ(pages[1].front(), (WeekPrintBlock{4, 0, 10, false}));

  // 3 + 54 rows is 57: a day of 53 entries fits an empty page, one of 54 does not.
  days = {53, 0};
  pages = PaginateWeek(days);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0], (WeekPrintPage{{0, 0, 53, false}}));

  // A day longer than a page goes on over pages of its own, nothing cut.
  days = {2, 120, 1};
  pages = PaginateWeek(days);
  ASSERT_EQ(pages.size(), 4u);
  EXPECT_EQ(pages[0], (WeekPrintPage{{0, 0, 2, false}}));
  EXPECT_EQ(pages[1], (WeekPrintPage{{1, 0, 53, false}}));
  EXPECT_EQ(pages[2], (WeekPrintPage{{1, 53, 53, true}}));
  EXPECT_EQ(pages[3], (WeekPrintPage{{1, 106, 14, true}, {2, 0, 1, false}}));
  int printed = 0;
  for (const WeekPrintPage& page : pages) {
    EXPECT_LT(3 + RowsOf(page), 58);
    for (const WeekPrintBlock& b : page) printed += b.entryCount;
  }
  EXPECT_EQ(printed, 123);

  EXPECT_EQ(PaginateWeek(std::vector<int>(28, 0)).size(), 1u);
}

}  // namespace
}  // namespace vesk::test
