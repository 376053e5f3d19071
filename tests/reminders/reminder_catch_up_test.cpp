// Reminders that fall due while the machine sleeps, the wall clock is set or
// the program is not running: each shows once, as soon as it can.
#include <gtest/gtest.h>

#include <vector>

#include "reminders/reminder_scheduler.h"
#include "store/entry_list.h"
#include "store/options_store.h"
#include "store/planner_entry.h"
#include "store/registry_store.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;
constexpr std::int64_t kHour = 60 * kMinute;

// A stored entry with its own lead and extra reminder.
CPlannerEntry& Stored(TestApp& app, int year, int month, int day, int hour, int minute,
                      std::string_view notes, int early = 15, int xreminder = 0) {
  CPlannerEntry& e = app.AddEntry(year, month, day, hour, minute, notes);
  e.early = early;
  e.xreminder = xreminder;
  e.Schedule(true);
  return e;
}

// What the presenter was asked to show, as "text" or "late text", and
// "[text, text]" for a list.
std::vector<std::string> Shown(const TestApp& app) {
  std::vector<std::string> shown;
  for (const ReminderNotice& n : app.presenter.notices) {
    shown.push_back((n.late ? "late " : "") + n.text + (n.dayEarly ? " (day early)" : ""));
  }
  for (const std::vector<ReminderNotice>& list : app.presenter.missed) {
    std::string line = "[";
    for (const ReminderNotice& n : list) {
      line += (line.size() > 1 ? ", " : "") + n.text + (n.dayEarly ? " (day early)" : "");
    }
    shown.push_back(line + "]");
  }
  return shown;
}

class CatchUpTest : public ::testing::Test {
 protected:
  CatchUpTest() {
    app.clock.SetResumeHandler([this] { app.scheduler.CatchUpAfterSleep(); });
    app.scheduler.CatchUpAtStart();
  }
  TestApp app{2000, 3, 15, 9, 0};
};

TEST_F(CatchUpTest, ASleepOverAReminderShowsItOnceAtTheWakeUpAndTheRestOnTime) {
  CPlannerEntry& slept = Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  CPlannerEntry& later = Stored(app, 2000, 3, 15, 12, 0, "Lunch");
  ASSERT_NE(slept.timer, 0);

  app.clock.Suspend(2 * kHour);  // 9:00 to 11:00; the timers stood still
  EXPECT_EQ(Shown(app), std::vector<std::string>{"late Dentist"});
  EXPECT_EQ(app.presenter.notices[0].hour, 10);
  EXPECT_EQ(slept.timer, 0);
  EXPECT_EQ(app.clock.RemainingMs(later.timer), 45 * kMinute);

  app.clock.Advance(45 * kMinute);
  EXPECT_EQ(Shown(app), (std::vector<std::string>{"late Dentist", "Lunch"}));
  app.clock.Advance(2 * kHour);
  EXPECT_EQ(app.presenter.notices.size(), 2u);
}

TEST_F(CatchUpTest, SeveralRemindersMissedInOneSleepShowInOneList) {
  Stored(app, 2000, 3, 15, 11, 0, "Call");
  Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  app.clock.Suspend(3 * kHour);
  EXPECT_EQ(Shown(app), std::vector<std::string>{"[Dentist, Call]"});
  ASSERT_EQ(app.presenter.missed.size(), 1u);
  EXPECT_TRUE(app.presenter.missed[0][0].late);
}

TEST_F(CatchUpTest, AWakeUpTheDesktopDoesNotReportIsFoundByTheMinuteCheck) {
  CPlannerEntry& e = Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  app.clock.Suspend(2 * kHour, false);
  EXPECT_TRUE(Shown(app).empty());
  app.scheduler.CheckClock();
  EXPECT_EQ(Shown(app), std::vector<std::string>{"late Dentist"});
  EXPECT_EQ(e.timer, 0);
  app.scheduler.CheckClock();
  EXPECT_EQ(Shown(app).size(), 1u);
}

TEST_F(CatchUpTest, SettingTheClockForwardShowsWhatWasSkippedAndRearmsTheRest) {
  Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  CPlannerEntry& later = Stored(app, 2000, 3, 15, 12, 0, "Lunch");
  app.SetLocalNow(2000, 3, 15, 11, 0);
  app.scheduler.CheckClock();
  EXPECT_EQ(Shown(app), std::vector<std::string>{"late Dentist"});
  EXPECT_EQ(app.clock.RemainingMs(later.timer), 45 * kMinute);
  app.clock.Advance(45 * kMinute);
  EXPECT_EQ(Shown(app), (std::vector<std::string>{"late Dentist", "Lunch"}));
}

TEST_F(CatchUpTest, SettingTheClockBackShowsNothingTwice) {
  CPlannerEntry& shown = Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  CPlannerEntry& later = Stored(app, 2000, 3, 15, 12, 0, "Lunch");
  app.clock.Advance(45 * kMinute);  // 9:45: Dentist
  ASSERT_EQ(Shown(app), std::vector<std::string>{"Dentist"});

  app.SetLocalNow(2000, 3, 15, 8, 45);
  app.scheduler.CheckClock();
  EXPECT_EQ(shown.timer, 0);
  EXPECT_EQ(app.clock.RemainingMs(later.timer), 3 * kHour);
  app.clock.Advance(4 * kHour);
  EXPECT_EQ(Shown(app), (std::vector<std::string>{"Dentist", "Lunch"}));
}

TEST_F(CatchUpTest, ATimeServersSmallStepsAreNoJump) {
  CPlannerEntry& e = Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  const int id = e.timer;
  app.clock.SetNow(app.clock.Now() + 3);
  app.scheduler.CheckClock();
  app.clock.SetNow(app.clock.Now() - 4);
  app.scheduler.CheckClock();
  EXPECT_EQ(e.timer, id);
  EXPECT_TRUE(Shown(app).empty());
}

TEST_F(CatchUpTest, ASleepAcrossTheSpringChangeCountsRealTime) {
  ScopedTimeZone zone("America/New_York");
  app.SetLocalNow(2000, 4, 2, 1, 30);            // EST; at 2:00 the clocks go to 3:00 EDT
  app.scheduler.CheckClock();                    // the clock was set: nothing falls in the span
  Stored(app, 2000, 4, 2, 3, 0, "Early train");  // due 1:45 EST
  CPlannerEntry& later = Stored(app, 2000, 4, 2, 4, 0, "Breakfast");  // due 3:45 EDT
  EXPECT_EQ(app.clock.RemainingMs(later.timer), 75 * kMinute);

  app.clock.Suspend(kHour);  // to 3:30 EDT
  EXPECT_EQ(Shown(app), std::vector<std::string>{"late Early train"});
  EXPECT_EQ(app.clock.RemainingMs(later.timer), 15 * kMinute);
}

TEST_F(CatchUpTest, SnoozeBringsTheReminderBackWithoutChangingTheLead) {
  CPlannerEntry& e = Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  app.clock.Advance(45 * kMinute);
  app.scheduler.Snooze(e, 5);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 5 * kMinute);
  EXPECT_EQ(e.early, 15);
  EXPECT_EQ(app.registry.QueryValue(CRegistryStore::EntryPath(2000, 3, 15, 10, 0), "early"),
            RegValue::FromDword(15));

  app.clock.Advance(5 * kMinute);
  EXPECT_EQ(Shown(app), (std::vector<std::string>{"Dentist", "Dentist"}));
  EXPECT_EQ(e.timer, 0);
  app.clock.Advance(kHour);
  EXPECT_EQ(Shown(app).size(), 2u);
}

TEST_F(CatchUpTest, ASnoozeKeepsItsTimeThroughASleep) {
  CPlannerEntry& e = Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  app.clock.Advance(45 * kMinute);
  app.scheduler.Snooze(e, 5);
  app.clock.Suspend(2 * kMinute);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 3 * kMinute);
  app.clock.Suspend(10 * kMinute);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), kSecond);
  app.clock.Advance(kSecond);
  EXPECT_EQ(Shown(app), (std::vector<std::string>{"Dentist", "Dentist"}));
}

TEST_F(CatchUpTest, ASnoozedReminderSwitchedOffStaysAway) {
  CPlannerEntry& e = Stored(app, 2000, 3, 15, 10, 0, "Dentist");
  app.clock.Advance(45 * kMinute);
  app.scheduler.Snooze(e, 5);
  e.reminder = 0;
  e.Schedule(false);
  e.reminder = 1;
  e.Schedule(false);
  app.clock.Advance(kHour);
  EXPECT_EQ(Shown(app).size(), 1u);
}

// Start-ups on one store: the first run of the day, then the next ones.
class LateStartTest : public ::testing::Test {
 protected:
  // A program started at the given time on the shared store, its entries read.
  std::unique_ptr<TestApp> StartAt(int day, int hour, int minute) {
    auto started = std::make_unique<TestApp>(first.memory, 2000, 3, day, hour, minute);
    started->ctx.store.ReadAllEntries(started->ctx.entries);
    started->scheduler.CatchUpAtStart();
    return started;
  }
  TestApp first{2000, 3, 14, 8, 0};
};

TEST_F(LateStartTest, AFirstStartShowsNothingAndRemembersIt) {
  Stored(first, 2000, 3, 14, 8, 10, "Just passed");
  first.SetLocalNow(2000, 3, 14, 8, 5);
  first.scheduler.CatchUpAtStart();
  EXPECT_TRUE(Shown(first).empty());
  EXPECT_EQ(LoadLastRun(first.ctx.store), first.clock.Now());
}

TEST_F(LateStartTest, WhatFellDueWhileNotRunningShowsOnceInOneList) {
  Stored(first, 2000, 3, 14, 19, 0, "Seen before the end");  // due 18:45
  Stored(first, 2000, 3, 15, 7, 0, "Gym");
  Stored(first, 2000, 3, 14, 22, 0, "Call");
  Stored(first, 2000, 3, 16, 7, 30, "Flight", 15, 1);  // a day early: 15 March 7:30
  Stored(first, 2000, 3, 16, 9, 0, "Later", 15, 1);    // a day early: after the start
  Stored(first, 2000, 3, 15, 9, 0, "Ahead");           // due 8:45, after the start
  Stored(first, 2000, 3, 15, 7, 30, "Off", -1);
  SaveLastRun(first.ctx.store, MakeLocalTime(2000, 3, 14, 20, 0));

  std::unique_ptr<TestApp> second = StartAt(15, 8, 0);
  EXPECT_EQ(Shown(*second), std::vector<std::string>{"[Call, Gym, Flight (day early)]"});
  EXPECT_EQ(second->presenter.activations, 1);
  EXPECT_EQ(LoadLastRun(second->ctx.store), second->clock.Now());
  second->clock.Advance(kHour);  // "Ahead" comes on time
  EXPECT_EQ(Shown(*second).front(), "Ahead");

  std::unique_ptr<TestApp> third = StartAt(15, 9, 30);
  EXPECT_TRUE(third->presenter.missed.empty());
}

TEST_F(LateStartTest, OnlyTheLastDayIsCaughtUp) {
  Stored(first, 2000, 3, 14, 10, 0, "Too old");  // due 30 hours before the start
  Stored(first, 2000, 3, 14, 20, 0, "Recent");   // 20 hours before
  SaveLastRun(first.ctx.store, MakeLocalTime(2000, 3, 12, 8, 0));
  EXPECT_EQ(Shown(*StartAt(15, 16, 0)), std::vector<std::string>{"[Recent]"});
}

TEST_F(LateStartTest, NothingShowsWithNoRemindersOrAClockSetBack) {
  Stored(first, 2000, 3, 15, 7, 0, "Gym");
  SaveLastRun(first.ctx.store, MakeLocalTime(2000, 3, 14, 20, 0));
  auto quiet = std::make_unique<TestApp>(first.memory, 2000, 3, 15, 8, 0);
  quiet->ctx.options.reminders = 1;
  quiet->ctx.store.ReadAllEntries(quiet->ctx.entries);
  quiet->scheduler.CatchUpAtStart();
  EXPECT_TRUE(Shown(*quiet).empty());
  EXPECT_EQ(quiet->presenter.activations, 1);

  SaveLastRun(first.ctx.store, MakeLocalTime(2000, 3, 16, 8, 0));
  EXPECT_TRUE(Shown(*StartAt(15, 8, 0)).empty());
}

}  // namespace
}  // namespace vesk::test
