// Reminders that fall due while the machine sleeps, the wall clock is set or
// the program is not running: each shows once, as soon as it can.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "reminders/reminder_scheduler.h"
#include "store/entry_list.h"
#include "store/options_store.h"
#include "store/planner_entry.h"
#include "store/registry_store.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

constexpr std::int64_t kMinute = 60 * 1000;
constexpr std::int64_t kHour = 60 * kMinute;
using Texts = std::vector<std::string>;

// A stored entry with its own lead and extra reminder.
CPlannerEntry& Stored(TestApp& app, int month, int day, int hour, int minute,
                      std::string_view notes, int early = 15, int xreminder = 0) {
  CPlannerEntry& e = app.AddEntry(2000, month, day, hour, minute, notes);
  e.early = early;
  e.xreminder = xreminder;
  e.Schedule(true);
  return e;
}

// What was shown: "text" or "late text" a pop-up, "[text, text]" a list.
Texts Shown(const TestApp& app) {
  Texts shown;
  for (const ReminderNotice& n : app.presenter.notices)
    shown.push_back((n.late ? "late " : "") + n.text);
  for (const std::vector<ReminderNotice>& list : app.presenter.missed) {
    std::string line;
    for (const ReminderNotice& n : list) {
      line += (line.empty() ? "" : ", ") + n.text + (n.dayEarly ? " (day early)" : "");
    }
    shown.push_back("[" + line + "]");
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

// At 9:00 a dentist is due at 9:45 and a lunch at 11:45; then the clock does
// something. Whatever it does, each shows once, the lunch on time.
TEST_F(CatchUpTest, SleepsAndClockChangesShowEachReminderOnce) {
  struct Row {
    const char* what;
    std::function<void(TestApp&)> act;
    Texts shown;                // right after it
    std::int64_t lunchArmedMs;  // how far off the lunch's reminder is then
  };
  const Row rows[] = {
      {"a sleep to 11:00",
       [](TestApp& a) { a.clock.Suspend(2 * kHour); },
       {"late Dentist"},
       45 * kMinute},
      {"a sleep the desktop did not report, found by the minute check",
       [](TestApp& a) {
         a.clock.Suspend(2 * kHour, false);
         a.scheduler.CheckClock();
         a.scheduler.CheckClock();
       },
       {"late Dentist"},
       45 * kMinute},
      {"the clock set forward to 11:00",
       [](TestApp& a) {
         a.SetLocalNow(2000, 3, 15, 11, 0);
         a.scheduler.CheckClock();
       },
       {"late Dentist"},
       45 * kMinute},
      {"the clock set back to 8:45 after the dentist",
       [](TestApp& a) {
         a.clock.Advance(45 * kMinute);
         a.SetLocalNow(2000, 3, 15, 8, 45);
         a.scheduler.CheckClock();
       },
       {"Dentist"},
       3 * kHour},
      {"a time server's steps of a few seconds",
       [](TestApp& a) {
         a.clock.SetNow(a.clock.Now() + 3);
         a.scheduler.CheckClock();
         a.clock.SetNow(a.clock.Now() - 4);
         a.scheduler.CheckClock();
       },
       {},
       2 * kHour + 45 * kMinute},
  };
  for (const Row& row : rows) {
    TestApp a(2000, 3, 15, 9, 0);
    a.clock.SetResumeHandler([&a] { a.scheduler.CatchUpAfterSleep(); });
    a.scheduler.CatchUpAtStart();
    Stored(a, 3, 15, 10, 0, "Dentist");
    const CPlannerEntry& lunch = Stored(a, 3, 15, 12, 0, "Lunch");
    row.act(a);
    EXPECT_EQ(Shown(a), row.shown) << row.what;
    EXPECT_EQ(a.clock.RemainingMs(lunch.timer), row.lunchArmedMs) << row.what;
    a.clock.Advance(4 * kHour);
    EXPECT_EQ(Shown(a).back(), "Lunch") << row.what;
    EXPECT_EQ(Shown(a).size(), 2u) << row.what;
  }
}

TEST_F(CatchUpTest, SeveralRemindersMissedInOneSleepShowInOneList) {
  Stored(app, 3, 15, 11, 0, "Call");
  Stored(app, 3, 15, 10, 0, "Dentist");
  app.clock.Suspend(3 * kHour);
  EXPECT_EQ(Shown(app), Texts{"[Dentist, Call]"});
  EXPECT_TRUE(app.presenter.missed[0][0].late);
}

TEST_F(CatchUpTest, ASleepAcrossTheSpringChangeCountsRealTime) {
  ScopedTimeZone zone("America/New_York");
  app.SetLocalNow(2000, 4, 2, 1, 30);      // EST; at 2:00 the clocks go to 3:00 EDT
  app.scheduler.CheckClock();              // the clock was set: nothing falls in the span
  Stored(app, 4, 2, 3, 0, "Early train");  // due 1:45 EST
  const CPlannerEntry& later = Stored(app, 4, 2, 4, 0, "Breakfast");  // due 3:45 EDT
  EXPECT_EQ(app.clock.RemainingMs(later.timer), 75 * kMinute);

  app.clock.Suspend(kHour);  // to 3:30 EDT
  EXPECT_EQ(Shown(app), Texts{"late Early train"});
  EXPECT_EQ(app.clock.RemainingMs(later.timer), 15 * kMinute);
}

TEST_F(CatchUpTest, ASnoozeKeepsTheLeadAndItsTimeThroughASleep) {
  CPlannerEntry& e = Stored(app, 3, 15, 10, 0, "Dentist");
  app.clock.Advance(45 * kMinute);
  app.scheduler.Snooze(e, 5);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 5 * kMinute);
  EXPECT_EQ(e.early, 15);
  EXPECT_EQ(app.registry.QueryValue(CRegistryStore::EntryPath(2000, 3, 15, 10, 0), "early"),
            RegValue::FromDword(15));
  app.clock.Suspend(2 * kMinute);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 3 * kMinute);
  app.clock.Suspend(10 * kMinute);  // ran out asleep: it comes at once
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 1000);
  app.clock.Advance(kHour);
  EXPECT_EQ(Shown(app), (Texts{"Dentist", "Dentist"}));

  // A snoozed reminder switched off stays away.
  app.scheduler.Snooze(e, 5);
  e.reminder = 0;
  e.Schedule(false);
  e.reminder = 1;
  e.Schedule(false);
  app.clock.Advance(kHour);
  EXPECT_EQ(Shown(app).size(), 2u);
}

// Start-ups on one store.
class LateStartTest : public ::testing::Test {
 protected:
  // A program started at the given time on the shared store, its entries read.
  std::unique_ptr<TestApp> StartAt(int day, int hour, int minute,
                                   const std::function<void(TestApp&)>& before = {}) {
    auto started = std::make_unique<TestApp>(first.memory, 2000, 3, day, hour, minute);
    if (before) before(*started);
    started->ctx.store.ReadAllEntries(started->ctx.entries);
    started->scheduler.CatchUpAtStart();
    return started;
  }
  TestApp first{2000, 3, 14, 8, 0};
};

TEST_F(LateStartTest, WhatFellDueWhileNotRunningShowsOnceInOneList) {
  first.scheduler.CatchUpAtStart();  // the first run ever: nothing
  EXPECT_TRUE(Shown(first).empty());
  EXPECT_EQ(LoadLastRun(first.ctx.store), first.clock.Now());

  Stored(first, 3, 14, 19, 0, "Seen before the end");  // due 18:45
  Stored(first, 3, 15, 7, 0, "Gym");
  Stored(first, 3, 14, 22, 0, "Call");
  Stored(first, 3, 16, 7, 30, "Flight", 15, 1);  // a day early: 15 March 7:30
  Stored(first, 3, 16, 9, 0, "Later", 15, 1);    // a day early: after the start
  Stored(first, 3, 15, 9, 0, "Ahead");           // due 8:45, after the start
  Stored(first, 3, 15, 7, 30, "Off", -1);
  SaveLastRun(first.ctx.store, MakeLocalTime(2000, 3, 14, 20, 0));

  std::unique_ptr<TestApp> second = StartAt(15, 8, 0);
  EXPECT_EQ(Shown(*second), Texts{"[Call, Gym, Flight (day early)]"});
  EXPECT_EQ(second->presenter.activations, 1);
  second->clock.Advance(kHour);  // "Ahead" comes on time
  EXPECT_EQ(Shown(*second).front(), "Ahead");

  EXPECT_TRUE(StartAt(15, 9, 30)->presenter.missed.empty());
}

TEST_F(LateStartTest, OnlyTheLastDayAndNothingWithNoRemindersOrTheClockSetBack) {
  Stored(first, 3, 14, 10, 0, "Too old");  // due 30 hours before the start at 16:00
  Stored(first, 3, 14, 20, 0, "Recent");   // 20 hours before
  SaveLastRun(first.ctx.store, MakeLocalTime(2000, 3, 12, 8, 0));
  const auto quiet = [](TestApp& a) { a.ctx.options.reminders = 1; };
  const std::unique_ptr<TestApp> silent = StartAt(15, 16, 0, quiet);
  EXPECT_TRUE(Shown(*silent).empty());
  EXPECT_EQ(silent->presenter.activations, 1);

  SaveLastRun(first.ctx.store, MakeLocalTime(2000, 3, 12, 8, 0));
  EXPECT_EQ(Shown(*StartAt(15, 16, 0)), Texts{"[Recent]"});
  EXPECT_TRUE(Shown(*StartAt(15, 8, 0)).empty());  // the clock set back since
}

}  // namespace
}  // namespace vesk::test
