#include "store/repeat_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calendar/calendar.h"
#include "store/hooks.h"
#include "support/test_app.h"

namespace vesk {
namespace {

using test::ExpectScriptDone;
using test::ScopedTimeZone;
using test::TestApp;

std::string SlotText(const CPlannerEntry& e) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", e.year(), e.month(), e.day(), e.hour(),
                e.minute());
  return buf;
}

// The notes of the entry at a slot, or nothing when the slot is empty.
std::optional<std::string> NotesAt(const CEntryList& list, int year, int month, int day, int hour,
                                   int minute) {
  CPlannerEntry* e = list.FindAt(year, month, day, hour, minute);
  return e ? std::optional<std::string>(e->notes) : std::nullopt;
}

class RecordingViews : public ViewNotifier {
 public:
  void RepaintIfShowing(int year, int month) override { asked.emplace_back(year, month); }
  std::vector<std::pair<int, int>> asked;
};

class RepeatRulesTest : public ::testing::Test {
 protected:
  void TearDown() override { ExpectScriptDone(app.boxes); }

  // A scheduled, stored entry with a repeat rule taken from its own date.
  CPlannerEntry& Repeating(int year, int month, int day, int hour, int minute,
                           std::string_view text, int code, LocalTime until) {
    CPlannerEntry& e = app.AddEntry(year, month, day, hour, minute, text);
    e.SetRepeat(code, WeekOrdinal(day), RepeatButtonText(kEveryWeek, year, month, day), day);
    e.until = until;
    e.Schedule(true);
    return e;
  }

  // "YYYY-MM-DD hh:mm" of every entry of the series, in time order.
  std::vector<std::string> Series(LocalTime started) {
    app.ctx.entries.SortByTime();
    std::vector<std::string> out;
    for (CPlannerEntry* e : app.ctx.entries.Entries())
      if (e->started == started) out.push_back(SlotText(*e));
    return out;
  }

  bool Stored(int year, int month, int day, int hour, int minute) {
    return app.registry.OpenKey(CRegistryStore::EntryPath(year, month, day, hour, minute));
  }

  std::optional<std::string> StoredNotes(Registry& reg, int year, int month, int day, int hour,
                                         int minute) {
    auto v = reg.QueryValue(CRegistryStore::EntryPath(year, month, day, hour, minute), "notes");
    return v ? v->AsString() : std::nullopt;
  }

  int StoredEntryCount() {
    int count = 0;
    std::string monthKey, entryKey;
    for (std::size_t m = 0;
         app.registry.EnumSubKey(kAppointmentsKey, m, monthKey) == EnumResult::Ok; ++m) {
      std::string path = JoinKey(kAppointmentsKey, monthKey);
      for (std::size_t e = 0; app.registry.EnumSubKey(path, e, entryKey) == EnumResult::Ok; ++e)
        ++count;
    }
    return count;
  }

  ScopedTimeZone tz{"America/New_York"};
  TestApp app{2000, 1, 1, 8, 0};
};

TEST_F(RepeatRulesTest, NextOccurrenceByCode) {
  struct Row {
    const char* name;
    int code, year, month, day, hour, minute;
    const char* nthweek;
    const char* sday;
    std::optional<std::tuple<int, int, int>> next;
  };
  const Row rows[] = {
      {"daily", 1, 2000, 3, 15, 10, 0, "", "", std::tuple{2000, 3, 16}},
      {"daily over the year end", 1, 1999, 12, 31, 10, 0, "", "", std::tuple{2000, 1, 1}},
      {"weekly", 2, 2000, 1, 4, 10, 0, "", "", std::tuple{2000, 1, 11}},
      {"second week", 3, 2000, 1, 4, 10, 0, "", "", std::tuple{2000, 1, 18}},
      {"month day clamped", 4, 2000, 1, 31, 10, 0, "", "", std::tuple{2000, 2, 29}},
      {"month day over the year end", 4, 2000, 12, 15, 10, 0, "", "", std::tuple{2001, 1, 15}},
      {"3rd Tuesday", 5, 2000, 3, 21, 10, 0, "3rd", "every Tuesday", std::tuple{2000, 4, 18}},
      {"1st Monday", 5, 2000, 3, 6, 10, 0, "1st", "every Monday", std::tuple{2000, 4, 3}},
      {"2nd Sunday", 5, 2000, 3, 12, 10, 0, "2nd", "every Sunday", std::tuple{2000, 4, 9}},
      {"4th Friday", 5, 2000, 3, 24, 10, 0, "4th", "every Friday", std::tuple{2000, 4, 28}},
      // April 2000 has four Wednesdays; May has five.
      {"5th Wednesday", 5, 2000, 3, 29, 10, 0, "5th", "every Wednesday", std::tuple{2000, 5, 31}},
      // No fifth Monday in February, March or April 2000.
      {"5th Monday", 5, 2000, 1, 31, 10, 0, "5th", "every Monday", std::tuple{2000, 5, 29}},
      {"unknown week ordinal", 5, 2000, 3, 21, 10, 0, "6th", "every Tuesday", std::nullopt},
      {"yearly from 29 February", 6, 2000, 2, 29, 10, 0, "", "", std::tuple{2001, 3, 1}},
      {"yearly past the 32-bit range", 6, 2037, 6, 1, 10, 0, "", "", std::nullopt},
      {"no repeat", 0, 2000, 3, 15, 10, 0, "", "", std::nullopt},
      {"code out of range", 7, 2000, 3, 15, 10, 0, "", "", std::nullopt},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    CPlannerEntry& e = app.ctx.entries.Create();
    e.SetSlot(r.year, r.month, r.day, r.hour, r.minute, "x");
    e.SetRepeat(r.code, r.nthweek, r.sday, r.day);
    LocalTime expected = 0;
    if (r.next) {
      auto [y, m, d] = *r.next;
      expected = MakeLocalTime(y, m, d, r.hour, r.minute);
    }
    EXPECT_EQ(NextOccurrence(e), expected);
    app.ctx.entries.Discard(e);
  }
}

// Adding a day's or a week's seconds across a change of daylight saving lands
// an hour off, which near midnight is another day.
TEST_F(RepeatRulesTest, NextOccurrenceKeepsTheTimeOfDayAcrossDaylightSaving) {
  struct Row {
    int code, year, month, day, hour, minute;
    int nextMonth, nextDay;
  };
  const Row rows[] = {
      {1, 2001, 10, 28, 0, 30, 10, 29},  // fall back in the morning of 28 October 2001
      {2, 2001, 10, 28, 0, 30, 11, 4},
      {1, 2001, 3, 31, 23, 30, 4, 1},  // spring forward in the morning of 1 April 2001
      {3, 2001, 3, 24, 23, 30, 4, 7},
  };
  for (const Row& r : rows) {
    CPlannerEntry& e = app.ctx.entries.Create();
    e.SetSlot(r.year, r.month, r.day, r.hour, r.minute, "x");
    e.SetRepeat(r.code, "", "", r.day);
    EXPECT_EQ(NextOccurrence(e), MakeLocalTime(r.year, r.nextMonth, r.nextDay, r.hour, r.minute))
        << r.code << " " << SlotText(e);
    app.ctx.entries.Discard(e);
  }
}

TEST_F(RepeatRulesTest, AdvanceMovesTheDateAndKeepsTheTimeOfDay) {
  CPlannerEntry& e = app.ctx.entries.Create();
  e.SetSlot(2000, 1, 31, 9, 30, "Rent");
  e.SetRepeat(kMonthlyOnDay, "5th", "every Monday", 31);
  ASSERT_TRUE(Advance(e));
  EXPECT_EQ(SlotText(e), "2000-02-29 09:30");
  EXPECT_EQ(e.time(), MakeLocalTime(2000, 2, 29, 9, 30));

  e.SetRepeat(kNoRepeat, "", "", 0);
  EXPECT_FALSE(Advance(e));
  EXPECT_EQ(SlotText(e), "2000-02-29 09:30");
}

TEST_F(RepeatRulesTest, WeeklyUntilIsInclusiveAndTheLastOccurrenceIsStored) {
  CPlannerEntry& e =
      Repeating(2000, 1, 4, 10, 0, "Choir", kEveryWeek, MakeLocalTime(2000, 2, 1, 10, 0));
  StartRepeat(e);
  EXPECT_EQ(Series(e.started),
            (std::vector<std::string>{"2000-01-04 10:00", "2000-01-11 10:00", "2000-01-18 10:00",
                                      "2000-01-25 10:00", "2000-02-01 10:00"}));
  EXPECT_TRUE(Stored(2000, 2, 1, 10, 0));
  EXPECT_EQ(StoredNotes(app.registry, 2000, 2, 1, 10, 0), "Choir");
}

TEST_F(RepeatRulesTest, UntilBeforeTheFirstRepetitionOrUnsetGeneratesNothing) {
  CPlannerEntry& early =
      Repeating(2000, 1, 4, 10, 0, "Once", kEveryWeek, MakeLocalTime(2000, 1, 11, 9, 30));
  StartRepeat(early);
  EXPECT_EQ(Series(early.started).size(), 1u);
  CPlannerEntry& unset = Repeating(2000, 1, 5, 10, 0, "Never", kEveryDay, 0);
  StartRepeat(unset);
  EXPECT_EQ(Series(unset.started).size(), 1u);
  EXPECT_EQ(app.ctx.entries.size(), 2u);
}

TEST_F(RepeatRulesTest, MonthlyOnDayReturnsToTheThirtyFirst) {
  CPlannerEntry& e =
      Repeating(2000, 1, 31, 10, 0, "Rent", kMonthlyOnDay, MakeLocalTime(2000, 6, 1, 10, 0));
  StartRepeat(e);
  EXPECT_EQ(Series(e.started),
            (std::vector<std::string>{"2000-01-31 10:00", "2000-02-29 10:00", "2000-03-31 10:00",
                                      "2000-04-30 10:00", "2000-05-31 10:00"}));
  EXPECT_TRUE(Stored(2000, 5, 31, 10, 0));
}

TEST_F(RepeatRulesTest, MonthlyOnDayNeverPassesUntilWhenTheClampIsUndone) {
  // From 29 February the next date is 29 March, moved to the 31st: past until.
  CPlannerEntry& e =
      Repeating(2000, 1, 31, 10, 0, "Rent", kMonthlyOnDay, MakeLocalTime(2000, 3, 30, 10, 0));
  StartRepeat(e);
  EXPECT_EQ(Series(e.started), (std::vector<std::string>{"2000-01-31 10:00", "2000-02-29 10:00"}));
}

TEST_F(RepeatRulesTest, MonthlyOnWeekday) {
  CPlannerEntry& third =
      Repeating(2000, 3, 21, 10, 0, "Club", kMonthlyOnWeekday, MakeLocalTime(2000, 5, 31, 10, 0));
  ASSERT_EQ(third.nthweek, "3rd");
  StartRepeat(third);
  EXPECT_EQ(Series(third.started),
            (std::vector<std::string>{"2000-03-21 10:00", "2000-04-18 10:00", "2000-05-16 10:00"}));

  CPlannerEntry& first =
      Repeating(2000, 3, 6, 11, 0, "Board", kMonthlyOnWeekday, MakeLocalTime(2000, 5, 15, 11, 0));
  ASSERT_EQ(first.nthweek, "1st");
  StartRepeat(first);
  EXPECT_EQ(Series(first.started),
            (std::vector<std::string>{"2000-03-06 11:00", "2000-04-03 11:00", "2000-05-01 11:00"}));
}

TEST_F(RepeatRulesTest, FifthWeekdayGoesToTheNextMonthThatHasOne) {
  CPlannerEntry& e = Repeating(2000, 1, 31, 10, 0, "Fifth Monday", kMonthlyOnWeekday,
                               MakeLocalTime(2000, 12, 31, 10, 0));
  ASSERT_EQ(e.nthweek, "5th");
  StartRepeat(e);
  EXPECT_EQ(Series(e.started), (std::vector<std::string>{"2000-01-31 10:00", "2000-05-29 10:00",
                                                         "2000-07-31 10:00", "2000-10-30 10:00"}));
}

TEST_F(RepeatRulesTest, YearlyFromLeapDayKeepsTheNormalisedDate) {
  CPlannerEntry& e =
      Repeating(2000, 2, 29, 10, 0, "Leap", kEveryYear, MakeLocalTime(2004, 12, 31, 10, 0));
  StartRepeat(e);
  EXPECT_EQ(Series(e.started),
            (std::vector<std::string>{"2000-02-29 10:00", "2001-03-01 10:00", "2002-03-01 10:00",
                                      "2003-03-01 10:00", "2004-03-01 10:00"}));
  // The yearly horizon is 731 days from 1 January 2000.
  EXPECT_TRUE(Stored(2001, 3, 1, 10, 0));
  EXPECT_FALSE(Stored(2002, 3, 1, 10, 0));
}

TEST_F(RepeatRulesTest, DailySeriesIsCappedAndStoredOnlyWithinTheHorizon) {
  app.SetLocalNow(2000, 3, 15, 8, 0);
  CPlannerEntry& e =
      Repeating(2000, 3, 15, 10, 0, "Walk", kEveryDay, MakeLocalTime(2036, 1, 1, 0, 0));
  StartRepeat(e);
  std::vector<std::string> series = Series(e.started);
  ASSERT_EQ(series.size(), 1u + kMaxGenerated);
  CPlannerEntry* last = app.ctx.entries.FindAt(2002, 12, 12, 10, 0);  // 15 March 2000 + 1002 days
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->started, e.started);
  EXPECT_EQ(app.ctx.entries.FindAt(2002, 12, 13, 10, 0), nullptr);
  // 180 days from 15 March 08:00 EST is 11 September 09:00 EDT.
  EXPECT_TRUE(Stored(2000, 9, 10, 10, 0));
  EXPECT_FALSE(Stored(2000, 9, 11, 10, 0));
  EXPECT_EQ(StoredEntryCount(), 180);
}

TEST_F(RepeatRulesTest, DailySeriesKeepsTenOClockAcrossDaylightSaving) {
  CPlannerEntry& e =
      Repeating(2000, 3, 30, 10, 0, "Coffee", kEveryDay, MakeLocalTime(2000, 4, 5, 10, 0));
  StartRepeat(e);
  EXPECT_EQ(Series(e.started),
            (std::vector<std::string>{"2000-03-30 10:00", "2000-03-31 10:00", "2000-04-01 10:00",
                                      "2000-04-02 10:00", "2000-04-03 10:00", "2000-04-04 10:00",
                                      "2000-04-05 10:00"}));
  for (CPlannerEntry* o : app.ctx.entries.Entries())
    EXPECT_EQ(o->time(), MakeLocalTime(o->year(), o->month(), o->day(), 10, 0)) << SlotText(*o);
}

TEST_F(RepeatRulesTest, DailySeriesAfterMidnightPassesTheFallBackDayOnce) {
  app.SetLocalNow(2001, 10, 1, 8, 0);
  CPlannerEntry& e =
      Repeating(2001, 10, 26, 0, 30, "Late", kEveryDay, MakeLocalTime(2001, 10, 31, 0, 30));
  StartRepeat(e);
  EXPECT_EQ(Series(e.started),
            (std::vector<std::string>{"2001-10-26 00:30", "2001-10-27 00:30", "2001-10-28 00:30",
                                      "2001-10-29 00:30", "2001-10-30 00:30", "2001-10-31 00:30"}));
}

TEST_F(RepeatRulesTest, OccurrenceOnATakenSlotMergesTheTexts) {
  app.AddEntry(2000, 1, 7, 12, 0, "Lunch with Ann");
  CPlannerEntry& e =
      Repeating(2000, 1, 5, 12, 0, "Gym", kEveryDay, MakeLocalTime(2000, 1, 9, 12, 0));
  StartRepeat(e);
  CPlannerEntry* merged = app.ctx.entries.FindAt(2000, 1, 7, 12, 0);
  ASSERT_NE(merged, nullptr);
  EXPECT_EQ(merged->notes, "Gym Lunch with Ann");
  EXPECT_EQ(app.ctx.entries.FindAt(2000, 1, 7, 12, 0, merged), nullptr);
  EXPECT_EQ(StoredNotes(app.registry, 2000, 1, 7, 12, 0), "Gym Lunch with Ann");
  EXPECT_EQ(Series(e.started).size(), 5u);
}

TEST_F(RepeatRulesTest, MergeBeyondTheHorizonKeepsTheStoredTextAcrossARestart) {
  app.SetLocalNow(2000, 3, 15, 8, 0);
  app.AddEntry(2000, 10, 2, 10, 0, "Dentist");  // beyond the horizon of 11 September
  CPlannerEntry& e =
      Repeating(2000, 3, 15, 10, 0, "Gym", kEveryDay, MakeLocalTime(2000, 12, 31, 10, 0));
  StartRepeat(e);
  CEntryList& list = app.ctx.entries;
  CPlannerEntry* dentist = list.FindAt(2000, 10, 2, 10, 0);
  ASSERT_NE(dentist, nullptr);
  EXPECT_EQ(dentist->notes, "Dentist");
  EXPECT_EQ(list.FindAt(2000, 10, 2, 10, 0, dentist), nullptr);
  EXPECT_EQ(StoredNotes(app.registry, 2000, 10, 2, 10, 0), "Dentist");
  EXPECT_NE(list.FindAt(2000, 10, 3, 10, 0), nullptr);
  EXPECT_EQ(Series(e.started).size(), 291u);  // 15 March to 31 December without 2 October

  TestApp restarted(app.memory, 2000, 4, 10, 8, 0);
  restarted.ctx.store.ReadAllEntries(restarted.ctx.entries);
  ExtendSeries(restarted.ctx.entries, 2000, 4);
  CEntryList& after = restarted.ctx.entries;
  // 180 days from 10 April 08:00 reach 7 October: the slot is merged and stored now.
  CPlannerEntry* merged = after.FindAt(2000, 10, 2, 10, 0);
  ASSERT_NE(merged, nullptr);
  EXPECT_EQ(merged->notes, "Gym Dentist");
  EXPECT_EQ(StoredNotes(restarted.registry, 2000, 10, 2, 10, 0), "Gym Dentist");
  // The occurrences before and after it are all there, with the series' own text.
  for (int day = 11; day <= 30; ++day)
    EXPECT_EQ(NotesAt(after, 2000, 9, day, 10, 0), "Gym") << "September " << day;
  EXPECT_EQ(NotesAt(after, 2000, 10, 1, 10, 0), "Gym");
  EXPECT_EQ(NotesAt(after, 2000, 10, 3, 10, 0), "Gym");
  EXPECT_EQ(StoredNotes(restarted.registry, 2000, 10, 6, 10, 0), "Gym");
  ExpectScriptDone(restarted.boxes);
}

TEST_F(RepeatRulesTest, SeriesEndingOnAStoredEntryBeyondTheHorizonLeavesItAlone) {
  app.AddEntry(2000, 10, 2, 10, 0, "Dentist");
  CPlannerEntry& e =
      Repeating(2000, 9, 28, 10, 0, "Gym", kEveryDay, MakeLocalTime(2000, 10, 2, 10, 0));
  StartRepeat(e);
  EXPECT_EQ(Series(e.started), (std::vector<std::string>{"2000-09-28 10:00", "2000-09-29 10:00",
                                                         "2000-09-30 10:00", "2000-10-01 10:00"}));
  EXPECT_EQ(NotesAt(app.ctx.entries, 2000, 10, 2, 10, 0), "Dentist");
  EXPECT_EQ(app.ctx.entries.size(), 5u);
}

TEST_F(RepeatRulesTest, ExtendSeriesContinuesFromTheLatestOccurrenceAtStartUp) {
  app.SetLocalNow(2000, 3, 15, 8, 0);
  CPlannerEntry& e =
      Repeating(2000, 3, 15, 10, 0, "Gym", kEveryDay, MakeLocalTime(2001, 12, 31, 10, 0));
  StartRepeat(e);
  // A changed occurrence in the stored range.
  CPlannerEntry* changed = app.ctx.entries.FindAt(2000, 9, 5, 10, 0);
  ASSERT_NE(changed, nullptr);
  changed->UpdateNotes("Gym cancelled");
  ASSERT_EQ(StoredEntryCount(), 180);

  TestApp restarted(app.memory, 2000, 4, 20, 8, 0);
  restarted.ctx.store.ReadAllEntries(restarted.ctx.entries);
  ASSERT_EQ(restarted.ctx.entries.size(), 180u);
  ExtendSeries(restarted.ctx.entries, 2000, 4);

  CEntryList& list = restarted.ctx.entries;
  EXPECT_EQ(NotesAt(list, 2000, 9, 5, 10, 0), "Gym cancelled");
  EXPECT_EQ(StoredNotes(restarted.registry, 2000, 9, 5, 10, 0), "Gym cancelled");
  // 180 days from 20 April 08:00 is 17 October 08:00.
  EXPECT_TRUE(Stored(2000, 10, 16, 10, 0));
  EXPECT_FALSE(Stored(2000, 10, 17, 10, 0));
  EXPECT_EQ(NotesAt(list, 2000, 10, 17, 10, 0), "Gym");
  // 11 September 2000 to 31 December 2001 follows the 180 stored occurrences.
  EXPECT_EQ(list.size(), 180u + 477u);
  EXPECT_NE(list.FindAt(2001, 12, 31, 10, 0), nullptr);
  ExpectScriptDone(restarted.boxes);
}

TEST_F(RepeatRulesTest, AnOccurrenceEditedBeyondTheHorizonLeavesTheSeriesWhole) {
  app.SetLocalNow(2000, 3, 15, 8, 0);
  CPlannerEntry& e =
      Repeating(2000, 3, 15, 10, 0, "Gym", kEveryWeek, MakeLocalTime(2001, 3, 14, 10, 0));
  StartRepeat(e);
  // 4 October lies beyond the horizon of 11 September.
  CPlannerEntry* far = app.ctx.entries.FindAt(2000, 10, 4, 10, 0);
  ASSERT_NE(far, nullptr);
  ASSERT_FALSE(Stored(2000, 10, 4, 10, 0));
  far->UpdateNotes("Gym at six");

  // Started again in March (the edit still beyond the horizon) and in August
  // (within it), the series holds every Wednesday to 14 March 2001.
  for (const auto& [month, day] : {std::pair(3, 20), std::pair(8, 20)}) {
    SCOPED_TRACE(month);
    TestApp restarted(app.memory, 2000, month, day, 8, 0);
    CEntryList& list = restarted.ctx.entries;
    // As the month view starts: its month, the reminders due soon, the series.
    list.EnsureMonth(2000, month);
    list.EnsureDueSoon();
    ExtendSeries(list, 2000, month);
    int wednesdays = 0;
    for (int offset = 0; offset <= 364; offset += 7, ++wednesdays) {
      const DateTime d = BreakLocalTime(MakeLocalTime(2000, 3, 15 + offset, 10, 0));
      const bool edited = d.month == 10 && d.day == 4;
      EXPECT_EQ(NotesAt(list, d.year, d.month, d.day, 10, 0),
                std::string(edited ? "Gym at six" : "Gym"))
          << d.year << "-" << d.month << "-" << d.day;
    }
    EXPECT_EQ(wednesdays, 53);
    EXPECT_EQ(list.size(), 53u);
    ExpectScriptDone(restarted.boxes);
  }
}

TEST_F(RepeatRulesTest, AnOccurrenceLandingOnAnEntryKeepsItsContinuedLinesAlsoAtStartUp) {
  app.SetLocalNow(2000, 3, 15, 8, 0);
  // One appointment on a Wednesday within the horizon, one beyond it.
  for (int month : {3, 9}) {
    const int day = month == 3 ? 22 : 20;
    app.AddEntry(2000, month, day, 10, 0, "Dentist");
    app.AddEntry(2000, month, day, 10, 30, "Dentist (continued)");
  }
  CPlannerEntry& e =
      Repeating(2000, 3, 15, 10, 0, "Gym", kEveryWeek, MakeLocalTime(2000, 12, 31, 10, 0));
  StartRepeat(e);
  EXPECT_EQ(NotesAt(app.ctx.entries, 2000, 3, 22, 10, 0), "Gym Dentist");
  EXPECT_EQ(NotesAt(app.ctx.entries, 2000, 3, 22, 10, 30), "Dentist (continued)");
  EXPECT_EQ(NotesAt(app.ctx.entries, 2000, 9, 20, 10, 0), "Dentist");

  // The next start reaches 20 September: merged there too, its line kept.
  TestApp restarted(app.memory, 2000, 4, 20, 8, 0);
  CEntryList& list = restarted.ctx.entries;
  restarted.ctx.store.ReadAllEntries(list);
  ExtendSeries(list, 2000, 4);
  EXPECT_EQ(NotesAt(list, 2000, 9, 20, 10, 0), "Gym Dentist");
  EXPECT_EQ(NotesAt(list, 2000, 9, 20, 10, 30), "Dentist (continued)");
  EXPECT_EQ(StoredNotes(restarted.registry, 2000, 9, 20, 10, 30), "Dentist (continued)");
  EXPECT_EQ(NotesAt(list, 2000, 3, 22, 10, 30), "Dentist (continued)");
  ExpectScriptDone(restarted.boxes);
}

TEST_F(RepeatRulesTest, ExtendSeriesContinuesOnlySeriesWithAnOccurrenceInTheMonth) {
  app.SetLocalNow(2000, 3, 15, 8, 0);
  CPlannerEntry& e =
      Repeating(2000, 3, 15, 10, 0, "Choir", kEveryWeek, MakeLocalTime(2001, 6, 30, 10, 0));
  StartRepeat(e);

  TestApp restarted(app.memory, 2000, 4, 20, 8, 0);
  CEntryList& list = restarted.ctx.entries;
  restarted.ctx.store.ReadAllEntries(list);
  ASSERT_EQ(list.size(), 26u);  // 15 March to 6 September
  ExtendSeries(list, 2000, 2);
  EXPECT_EQ(list.size(), 26u);
  ExtendSeries(list, 2000, 4);
  EXPECT_EQ(NotesAt(list, 2000, 9, 13, 10, 0), "Choir");
  EXPECT_TRUE(Stored(2000, 10, 11, 10, 0));
  EXPECT_EQ(NotesAt(list, 2001, 6, 27, 10, 0), "Choir");
  ExpectScriptDone(restarted.boxes);
}

TEST_F(RepeatRulesTest, RepeatButtonTexts) {
  const std::pair<int, std::string_view> rows[] = {
      {0, "does not repeat"},         {1, "everyday"},
      {2, "every Tuesday"},           {3, "every second Tuesday"},
      {4, "every month on the 21st"}, {5, "3rd Tuesday of every month"},
      {6, "every year on this day"},  {7, ""}};
  for (const auto& [code, text] : rows)
    EXPECT_EQ(RepeatButtonText(code, 2000, 3, 21), text) << code;
  EXPECT_EQ(RepeatButtonText(5, 2000, 3, 29), "5th Wednesday of every month");
}

class ApplyRepeatChoiceTest : public RepeatRulesTest {
 protected:
  ApplyRepeatChoiceTest() {
    app.SetLocalNow(2000, 3, 15, 8, 17, 42);
    app.ctx.views = &views;
  }

  CPlannerEntry& Apply(int code, LocalTime until) {
    CPlannerEntry& e = app.AddEntry(2000, 3, 20, 9, 0, "Standup");
    RepeatChoice choice{code, until, 20, WeekOrdinal(20),
                        RepeatButtonText(kEveryWeek, 2000, 3, 20)};
    ApplyRepeatChoice(e, choice);
    return e;
  }

  LocalTime now() const { return static_cast<LocalTime>(app.clock.Now()); }

  RecordingViews views;
};

TEST_F(ApplyRepeatChoiceTest, WeeklyStoresTheRuleAndExpands) {
  CPlannerEntry& e = Apply(kEveryWeek, MakeLocalTime(2000, 4, 10, 9, 0));
  EXPECT_EQ(e.repeats, kEveryWeek);
  EXPECT_EQ(e.nthweek, "3rd");
  EXPECT_EQ(e.sday, "every Monday");
  EXPECT_EQ(e.nthday, 20);
  EXPECT_EQ(e.until, MakeLocalTime(2000, 4, 10, 9, 0));
  std::string path = CRegistryStore::EntryPath(2000, 3, 20, 9, 0);
  EXPECT_EQ(app.registry.QueryValue(path, "repeats")->AsDword(), kEveryWeek);
  EXPECT_EQ(app.registry.QueryValue(path, "until")->AsDword(), MakeLocalTime(2000, 4, 10, 9, 0));
  EXPECT_EQ(Series(e.started), (std::vector<std::string>{"2000-03-20 09:00", "2000-03-27 09:00",
                                                         "2000-04-03 09:00", "2000-04-10 09:00"}));
  EXPECT_EQ(views.asked, (std::vector<std::pair<int, int>>{{2000, 3}}));
}

TEST_F(ApplyRepeatChoiceTest, EverydayForMoreThan183DaysIsCutToOneYear) {
  app.boxes.Expect(kLongRepeatMessage);
  CPlannerEntry& e = Apply(kEveryDay, MakeLocalTime(2001, 3, 15, 9, 0));
  EXPECT_EQ(e.until, MakeLocalTime(2001, 3, 15, 8, 17));
  ASSERT_EQ(app.boxes.shown().size(), 1u);
  EXPECT_EQ(app.boxes.shown()[0].buttons, MbButtons::Ok);
}

TEST_F(ApplyRepeatChoiceTest, EverydayUpTo183DaysKeepsItsUntil) {
  const LocalTime hundredDays = now() + 100 * 86400;
  EXPECT_EQ(Apply(kEveryDay, hundredDays).until, hundredDays);
  const LocalTime exactly183 = now() + 15811200;
  EXPECT_EQ(Apply(kEveryDay, exactly183).until, exactly183);
  EXPECT_TRUE(app.boxes.shown().empty());
}

TEST_F(ApplyRepeatChoiceTest, WeeklyAndMonthlyAreCutToFiveYears) {
  EXPECT_EQ(Apply(kEveryWeek, MakeLocalTime(2006, 1, 1, 9, 0)).until,
            MakeLocalTime(2005, 3, 15, 8, 17));
  app.ctx.entries.DeleteDay(2000, 3, 20);
  EXPECT_EQ(Apply(kMonthlyOnWeekday, MakeLocalTime(2005, 12, 31, 9, 0)).until,
            MakeLocalTime(2005, 12, 31, 9, 0));
}

TEST_F(ApplyRepeatChoiceTest, YearlyIsCutToTwentyYears) {
  CPlannerEntry& e = Apply(kEveryYear, MakeLocalTime(2036, 6, 1, 9, 0));
  EXPECT_EQ(e.until, MakeLocalTime(2020, 3, 15, 8, 17));
  // The yearly horizon stores 731 days ahead, to 16 March 2002.
  EXPECT_TRUE(Stored(2001, 3, 20, 9, 0));
  EXPECT_FALSE(Stored(2002, 3, 20, 9, 0));
  EXPECT_NE(app.ctx.entries.FindAt(2019, 3, 20, 9, 0), nullptr);
  EXPECT_EQ(app.ctx.entries.FindAt(2020, 3, 20, 9, 0), nullptr);
}

TEST_F(ApplyRepeatChoiceTest, UntilOutsideTheCalendarRangeIsKeptAsGiven) {
  // An unset until is judged as now: no cut, no message, and no occurrences.
  CPlannerEntry& e = Apply(kEveryDay, 0);
  EXPECT_EQ(e.until, 0);
  EXPECT_EQ(e.repeats, kEveryDay);
  EXPECT_EQ(app.ctx.entries.size(), 1u);
}

TEST_F(ApplyRepeatChoiceTest, DoesNotRepeatChangesOnlyTheEntry) {
  CPlannerEntry& e = Apply(kEveryWeek, MakeLocalTime(2000, 4, 10, 9, 0));
  RepeatChoice none{kNoRepeat, e.until, 20, "3rd", "every Monday"};
  ApplyRepeatChoice(e, none);
  EXPECT_EQ(e.repeats, kNoRepeat);
  EXPECT_EQ(
      app.registry.QueryValue(CRegistryStore::EntryPath(2000, 3, 20, 9, 0), "repeats")->AsDword(),
      0);
  CPlannerEntry* occurrence = app.ctx.entries.FindAt(2000, 4, 3, 9, 0);
  ASSERT_NE(occurrence, nullptr);
  EXPECT_EQ(occurrence->repeats, kEveryWeek);
  EXPECT_EQ(app.ctx.entries.size(), 4u);
}

}  // namespace
}  // namespace vesk
