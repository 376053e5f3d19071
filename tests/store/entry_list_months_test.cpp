// The entry list reads months from the store when asked and lets idle ones
// go: what a user sees must be what a list holding every entry would show.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "reminders/next_appointment.h"
#include "store/backup_file.h"
#include "store/entry_list.h"
#include "store/planner_entry.h"
#include "store/repeat_rules.h"
#include "support/test_app.h"

namespace vesk {
namespace {

using test::TestApp;

constexpr std::int64_t kIdleMs = 10 * 60 * 1000;

// A second start of the program on the same store: a fresh context whose list
// holds nothing yet.
std::unique_ptr<TestApp> Restart(TestApp& first, int year, int month, int day, int hour) {
  return std::make_unique<TestApp>(first.registry, year, month, day, hour, 0);
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(EntryListMonthsTest, LookupsReadTheirMonthAndTheTooltipLooksAhead) {
  TestApp first(2000, 3, 15, 8, 0);
  first.AddEntry(2000, 3, 20, 9, 0, "March");
  first.AddEntry(2000, 7, 4, 10, 30, "Fourth of July");
  auto later = Restart(first, 2000, 3, 15, 8);
  CEntryList& list = later->ctx.entries;
  EXPECT_EQ(list.size(), 0u);

  ASSERT_NE(list.FindAt(2000, 3, 20, 9, 0), nullptr);
  EXPECT_TRUE(list.IsMonthLoaded(2000, 3));
  EXPECT_FALSE(list.IsMonthLoaded(2000, 7));
  EXPECT_TRUE(list.HasEntryOn(2000, 7, 4));
  EXPECT_EQ(list.EntriesOn(2000, 7, 4).front()->notes, "Fourth of July");

  // The next appointment after the March one lies months ahead, in months
  // nothing has read yet.
  auto tip = Restart(first, 2000, 3, 25, 8);
  EXPECT_EQ(NextAppointmentText(tip->ctx, tip->clock.Now()),
            "Tuesday, July 4 10:30am: Fourth of July ");
}

TEST(EntryListMonthsTest, TrimLetsGoOnlyOfMonthsNothingNeeds) {
  TestApp first(2000, 3, 15, 8, 0);
  first.AddEntry(2000, 5, 10, 9, 0, "Idle");
  first.AddEntry(2000, 6, 10, 9, 0, "Held");
  first.AddEntry(2000, 3, 16, 9, 0, "Due tomorrow");
  auto app = Restart(first, 2000, 3, 15, 8);
  CEntryList& list = app->ctx.entries;
  list.EnsureDueSoon();
  list.EnsureMonth(2000, 5);
  const CEntryList::MonthHold hold(list, 2000, 6);
  // An occurrence beyond the horizon lives only in memory.
  CPlannerEntry& unstored = list.Create();
  unstored.SetSlot(2001, 2, 1, 9, 0, "Beyond the horizon");

  list.Trim();  // everything was used just now
  EXPECT_TRUE(list.IsMonthLoaded(2000, 5));
  app->clock.Advance(kIdleMs);
  list.Trim();
  EXPECT_FALSE(list.IsMonthLoaded(2000, 5));
  EXPECT_TRUE(list.IsMonthLoaded(2000, 6));
  EXPECT_TRUE(list.IsMonthLoaded(2000, 3));
  EXPECT_TRUE(list.IsMonthLoaded(2001, 2));
  EXPECT_EQ(list.FindAt(2001, 2, 1, 9, 0), &unstored);
  // What went is read again, once.
  EXPECT_EQ(list.EntriesOn(2000, 5, 10).size(), 1u);
  EXPECT_EQ(list.size(), 4u);
}

TEST(EntryListMonthsTest, StartUpContinuesASeriesIntoMonthsNotYetRead) {
  test::ScopedTimeZone zone("America/New_York");
  TestApp first(2000, 1, 3, 8, 0);
  CPlannerEntry& weekly = first.AddEntry(2000, 1, 4, 10, 0, "Standup");
  weekly.SetRepeat(kEveryWeek, "1st", "every Tuesday", 4);
  weekly.until = MakeLocalTime(2001, 6, 1, 10, 0);
  weekly.Schedule(true);
  StartRepeat(weekly);
  // A stored occurrence the user changed, months ahead.
  first.ctx.entries.FindAt(2000, 5, 2, 10, 0)->UpdateNotes("Standup moved");

  // Two months later the horizon has moved; this month's series is continued.
  auto later = Restart(first, 2000, 3, 7, 8);
  ExtendSeries(later->ctx.entries, 2000, 3);
  CEntryList& list = later->ctx.entries;
  ASSERT_NE(list.FindAt(2000, 8, 29, 10, 0), nullptr);  // beyond the first run's horizon
  EXPECT_EQ(list.EntriesOn(2000, 5, 2).size(), 1u);
  EXPECT_EQ(list.FindAt(2000, 5, 2, 10, 0)->notes, "Standup moved");
  EXPECT_EQ(list.EntriesOn(2000, 7, 4).size(), 1u);
}

TEST(EntryListMonthsTest, BackupOfMonthsReadOnDemandEqualsBackupOfEveryEntry) {
  test::TempDir dir;
  TestApp first(2000, 3, 15, 8, 0);
  for (int month = 1; month <= 12; ++month)
    first.AddEntry(2000, month, month + 10, 9 + month % 3, month % 2 * 30,
                   "Entry " + std::to_string(month));
  auto everything = Restart(first, 2000, 3, 15, 8);
  everything->ctx.store.ReadAllEntries(everything->ctx.entries);
  everything->ctx.entries.SortByTime();
  everything->ctx.dataDir = dir.path();
  ASSERT_TRUE(BackupEntries(everything->ctx, dir.path() + "/all.vsk", false).ok);

  auto onDemand = Restart(first, 2000, 3, 15, 8);
  onDemand->ctx.entries.EnsureMonth(2000, 3);
  ASSERT_TRUE(BackupEntries(onDemand->ctx, dir.path() + "/months.vsk", false).ok);
  EXPECT_EQ(ReadFile(dir.path() + "/months.vsk"), ReadFile(dir.path() + "/all.vsk"));
  // The months read for the backup were let go again.
  EXPECT_FALSE(onDemand->ctx.entries.IsMonthLoaded(2000, 9));
  EXPECT_TRUE(onDemand->ctx.entries.IsMonthLoaded(2000, 3));
}

}  // namespace
}  // namespace vesk
