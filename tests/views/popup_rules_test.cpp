#include <gtest/gtest.h>

#include "calendar/local_time.h"
#include "store/registry_store.h"
#include "support/test_app.h"
#include "views/day_popup.h"
#include "views/month_purge.h"

namespace vesk {
namespace {

constexpr Size kScreen{1024, 768};

TEST(PlaceDayPopup, Rules) {
  struct Row {
    const char* why;
    Rect anchor;
    int widest, lines;
    Point position;
    bool fits;
  } rows[] = {
      // 3 lines of 17: 51 high, centred on the anchor's 200.
      {"left of the anchor", {300, 200, 500, 400}, 150, 3, {147, 275}, true},
      {"near the left edge: right of it", {50, 100, 250, 300}, 150, 3, {250, 175}, true},
      {"right edge just left of the rightmost fifth",
       {50, 100, 819, 300},
       150,
       3,
       {819, 175},
       true},
      {"right edge in the rightmost fifth: stays left",
       {50, 100, 820, 300},
       150,
       3,
       {-103, 175},
       true},
      {"taller than the anchor: top aligned", {300, 100, 500, 120}, 150, 3, {147, 100}, true},
      {"would run off the bottom", {300, 730, 500, 760}, 150, 3, {147, 712}, true},
      {"anchor beyond the right edge", {1100, 100, 1300, 300}, 150, 3, {866, 712}, true},
      {"anchor left edge at W + 1 is not beyond", {1025, 100, 1300, 300}, 150, 3, {872, 175}, true},
      {"taller than the screen", {300, 100, 500, 300}, 150, 50, {147, 0}, false},
      {"exactly the screen's height fits", {300, 0, 500, 10}, 150, 48, {147, 0}, true},
  };
  for (const Row& r : rows) {
    const int lineHeight = r.lines >= 46 ? 16 : 17;
    const PopupPlacement p = PlaceDayPopup(r.anchor, kScreen, r.widest, r.lines, lineHeight);
    EXPECT_EQ(p.position, r.position) << r.why;
    EXPECT_EQ(p.fits, r.fits) << r.why;
  }
}

TEST(DayPopupLifetime, ByLineCount) {
  struct Row {
    int lines, ms;
  } rows[] = {{1, 7000}, {2, 7000}, {3, 6000}, {4, 8000}, {20, 40000}, {21, 40000}, {25, 40000}};
  for (const Row& r : rows) EXPECT_EQ(DayPopupLifetimeMs(r.lines), r.ms) << r.lines << " lines";
}

TEST(DayPopupLifetime, NoPopupIsSevenSeconds) {
  test::TestApp app;
  EXPECT_EQ(DayPopupLifetime(app.ctx), 7000);
}

TEST(ShrinkPopupFont, FivePercentTruncatedTowardZero) {
  FontRecord f = FontRecord::DefaultMain();
  f.width = 7;
  const FontRecord once = ShrinkPopupFont(f);
  EXPECT_EQ(once.height, -12) << "-12.35";
  EXPECT_EQ(once.width, 6) << "6.65";
  EXPECT_EQ(once.faceName, f.faceName);
  FontRecord g = f;
  g.height = -20;
  EXPECT_EQ(ShrinkPopupFont(g).height, -19);
}

TEST(DayPopupLines, FollowTheDateUntilAnotherDate) {
  test::TestApp app;
  app.AddEntry(2000, 3, 16, 8, 0, "Tomorrow");
  app.AddEntry(2000, 3, 15, 13, 30, "Lunch");
  CPlannerEntry& first = app.AddEntry(2000, 3, 15, 9, 0, "Dentist");
  app.AddEntry(2000, 3, 14, 9, 0, "Yesterday");
  app.ctx.entries.SortByTime();
  EXPECT_EQ(DayPopupLines(app.ctx.entries, first, 2000, 3, 15, false, false),
            (std::vector<std::string>{" Wednesday, March 15, 2000  ", " 9:00am  Dentist  ",
                                      " 1:30pm  Lunch  "}));
  EXPECT_EQ(DayPopupLines(app.ctx.entries, first, 2000, 3, 15, true, true),
            (std::vector<std::string>{" Wednesday, 15 March, 2000  ", " 9:00  Dentist  ",
                                      " 13:30  Lunch  "}));
}

TEST(MonthPurge, AgeSixtyOnAKnownDate) {
  const std::int64_t now = MakeLocalTime(2000, 3, 15, 8, 0);
  const std::array<YearMonth, 6> expected = {YearMonth{1995, 3}, {1995, 2},  {1995, 1},
                                             {1994, 12},         {1994, 11}, {1994, 10}};
  EXPECT_EQ(MonthsToPurge(now, 60), expected);
}

TEST(MonthPurge, ThirtyDaySeconds_StepAcrossDaylightSaving) {
  // 61 x 30 days before lands at 00:30 on 1 May 1995 (daylight time); 30 days
  // earlier is 23:30 on 31 March standard time, so April is not visited.
  const std::int64_t now = MakeLocalTime(2000, 5, 4, 0, 30);
  const std::array<YearMonth, 6> expected = {YearMonth{1995, 5}, {1995, 3},  {1995, 3},
                                             {1995, 1},          {1994, 12}, {1994, 12}};
  EXPECT_EQ(MonthsToPurge(now, 60), expected);
}

TEST(MonthPurge, DeletesThoseMonthsOnly) {
  test::TestApp app;
  app.AddEntry(1995, 3, 12, 9, 0, "purged");
  app.AddEntry(1994, 10, 1, 9, 0, "purged too");
  app.AddEntry(1995, 4, 1, 9, 0, "kept");
  app.AddEntry(1994, 9, 30, 9, 0, "kept too");
  PurgeOldMonths(app.ctx.store, MakeLocalTime(2000, 3, 15, 8, 0), 60);
  EXPECT_FALSE(app.registry.OpenKey(CRegistryStore::MonthPath(1995, 3)));
  EXPECT_FALSE(app.registry.OpenKey(CRegistryStore::MonthPath(1994, 10)));
  EXPECT_TRUE(app.registry.OpenKey(CRegistryStore::MonthPath(1995, 4)));
  EXPECT_TRUE(app.registry.OpenKey(CRegistryStore::MonthPath(1994, 9)));
}

}  // namespace
}  // namespace vesk
