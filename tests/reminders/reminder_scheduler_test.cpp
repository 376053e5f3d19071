#include "reminders/reminder_scheduler.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "support/test_app.h"

namespace vesk::test {
namespace {

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;
constexpr std::int64_t kHour = 60 * kMinute;

// A scheduled entry with its own lead and extra reminder (armed once).
CPlannerEntry& Reminded(TestApp& app, int year, int month, int day, int hour, int minute,
                        int early = 15, int xreminder = 0) {
  CPlannerEntry& e = app.ctx.entries.Create();
  e.SetSlot(year, month, day, hour, minute, "Meeting");
  e.early = early;
  e.xreminder = xreminder;
  e.Schedule(false);
  return e;
}

TEST(ReminderScheduler, FiresAtTheLeadTimeWithAPopUp) {
  TestApp app(2000, 3, 15, 9, 0);
  CPlannerEntry& e = Reminded(app, 2000, 3, 15, 10, 0);
  const int id = e.timer;
  ASSERT_NE(id, 0);
  EXPECT_EQ(app.clock.RemainingMs(id), 2700 * kSecond);

  app.clock.Advance(2700 * kSecond - 1);
  EXPECT_TRUE(app.presenter.shown.empty());
  app.clock.Advance(1);
  EXPECT_EQ(app.presenter.shown, (std::vector<ShownReminder>{{3, 15, 10, 0, "Meeting", false}}));
  EXPECT_EQ(app.presenter.activations, 1);
  EXPECT_EQ(e.timer, 0);
  EXPECT_FALSE(app.clock.IsArmed(id));

  app.clock.Advance(2 * 24 * kHour);  // one-shot: nothing fires again
  EXPECT_EQ(app.presenter.shown.size(), 1u);
}

// Delay of the armed timer, in seconds, for an entry on 16 March at 10:00 with
// lead 15 minutes (reminder due 16 March 9:45), scheduled at various times;
// 0 means nothing is armed.
struct ArmCase {
  const char* name;
  int day, hour, minute, second;
  std::int64_t delay;
};

void PrintTo(const ArmCase& c, std::ostream* os) { *os << c.name; }

class ArmWindow : public testing::TestWithParam<ArmCase> {};

TEST_P(ArmWindow, ArmsOnlyWithinTheDay) {
  const ArmCase& c = GetParam();
  TestApp app;
  app.SetLocalNow(2000, 3, c.day, c.hour, c.minute, c.second);
  CPlannerEntry& e = Reminded(app, 2000, 3, 16, 10, 0);
  if (c.delay == 0) {
    EXPECT_EQ(e.timer, 0);
    EXPECT_TRUE(app.clock.ArmedIds().empty());
    app.clock.Advance(2 * 24 * kHour);
    EXPECT_TRUE(app.presenter.shown.empty());
    EXPECT_EQ(app.presenter.activations, 0);
  } else {
    ASSERT_NE(e.timer, 0);
    EXPECT_EQ(app.clock.RemainingMs(e.timer), c.delay * kSecond);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ArmWindow,
                         testing::Values(ArmCase{"HourBefore", 16, 9, 0, 0, 2700},
                                         ArmCase{"MinuteBefore", 16, 9, 44, 0, 60},
                                         ArmCase{"SecondBefore", 16, 9, 44, 59, 1},
                                         ArmCase{"AtReminderTime", 16, 9, 45, 0, 0},
                                         ArmCase{"AfterReminderTime", 16, 9, 50, 0, 0},
                                         ArmCase{"LastSecondOfWindow", 15, 9, 45, 1, 86399},
                                         ArmCase{"ExactlyADayAhead", 15, 9, 45, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReminderScheduler, ExtraReminderTwoDaysAheadFiresADayEarlyThenArmsTheNormalOne) {
  TestApp app(2000, 3, 15, 10, 0);
  CPlannerEntry& e = Reminded(app, 2000, 3, 17, 10, 0, 15, 1);
  ASSERT_NE(e.timer, 0);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 86400 * kSecond);

  app.clock.Advance(86400 * kSecond);
  EXPECT_EQ(app.presenter.shown, (std::vector<ShownReminder>{{3, 17, 10, 0, "Meeting", true}}));
  // Armed at once rather than by a later sweep, which could come too late.
  ASSERT_NE(e.timer, 0);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), (86400 - 900) * kSecond);
  app.ctx.entries.RearmTimers(false);  // the 23-hour sweep leaves it alone
  EXPECT_EQ(app.clock.RemainingMs(e.timer), (86400 - 900) * kSecond);
  app.clock.Advance((86400 - 900) * kSecond);
  ASSERT_EQ(app.presenter.shown.size(), 2u);
  EXPECT_FALSE(app.presenter.shown[1].dayEarly);
  EXPECT_EQ(e.timer, 0);
}

TEST(ReminderScheduler, WithALongLeadTheNormalReminderStillFollowsTheDayEarlyOne) {
  // Lead 3 hours: the normal reminder (17 March 7:00) is due 21 hours after
  // the day-early one, before the sweep that follows it may come.
  TestApp app(2000, 3, 15, 9, 0);
  CPlannerEntry& e = Reminded(app, 2000, 3, 17, 10, 0, 180, 1);
  app.clock.Advance(25 * kHour);
  ASSERT_EQ(app.presenter.shown.size(), 1u);
  app.clock.Advance(21 * kHour);
  EXPECT_EQ(app.presenter.shown, (std::vector<ShownReminder>{{3, 17, 10, 0, "Meeting", true},
                                                             {3, 17, 10, 0, "Meeting", false}}));
  EXPECT_EQ(e.timer, 0);
}

TEST(ReminderScheduler, SchedulingJustBeforeTheDayEarlyReminderKeepsIt) {
  // 16 March 9:50: the day-early reminder is 10 minutes ahead, the normal one
  // (17 March 9:45) within the day.
  TestApp app(2000, 3, 16, 9, 50);
  CPlannerEntry& e = Reminded(app, 2000, 3, 17, 10, 0, 15, 1);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 10 * kMinute);
  app.clock.Advance(24 * kHour);
  EXPECT_EQ(app.presenter.shown.size(), 2u);
}

TEST(ReminderScheduler, WithoutExtraReminderTwoDaysAheadArmsNothing) {
  TestApp app(2000, 3, 15, 10, 0);
  EXPECT_EQ(Reminded(app, 2000, 3, 17, 10, 0, 15, 0).timer, 0);
}

TEST(ReminderScheduler, ExtraReminderThreeDaysAheadWaitsForASweep) {
  TestApp app(2000, 3, 15, 10, 0);
  CPlannerEntry& e = Reminded(app, 2000, 3, 18, 10, 0, 15, 1);
  EXPECT_EQ(e.timer, 0);
  app.ctx.entries.RearmTimers(false);
  EXPECT_EQ(e.timer, 0);  // still more than two days away

  app.clock.Advance(12 * kHour);
  EXPECT_TRUE(app.presenter.shown.empty());
  app.ctx.entries.RearmTimers(false);
  ASSERT_NE(e.timer, 0);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 36 * kHour);
  app.clock.Advance(36 * kHour);
  EXPECT_EQ(app.presenter.shown, (std::vector<ShownReminder>{{3, 18, 10, 0, "Meeting", true}}));
}

TEST(ReminderScheduler, NormalReminderWinsOverExtraWhenDueWithinTheDay) {
  TestApp app(2000, 3, 15, 9, 0);
  CPlannerEntry& e = Reminded(app, 2000, 3, 15, 10, 0, 15, 1);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 2700 * kSecond);
  app.clock.Advance(2700 * kSecond);
  EXPECT_EQ(app.presenter.shown, (std::vector<ShownReminder>{{3, 15, 10, 0, "Meeting", false}}));
}

TEST(ReminderScheduler, NoLeadOrReminderOffNeverArmsAndDisarms) {
  TestApp app(2000, 3, 15, 9, 0);
  EXPECT_EQ(Reminded(app, 2000, 3, 15, 10, 0, -1, 1).timer, 0);
  EXPECT_EQ(Reminded(app, 2000, 3, 17, 10, 0, -1, 1).timer, 0);

  CPlannerEntry& off = Reminded(app, 2000, 3, 15, 11, 0);
  const int id = off.timer;
  ASSERT_NE(id, 0);
  off.reminder = 0;
  off.Schedule(false);
  EXPECT_EQ(off.timer, 0);
  EXPECT_FALSE(app.clock.IsArmed(id));

  app.clock.Advance(3 * 24 * kHour);
  EXPECT_TRUE(app.presenter.shown.empty());
  EXPECT_EQ(app.presenter.activations, 0);
}

TEST(ReminderScheduler, RearmingKillsTheOldTimerAndTakesANewId) {
  TestApp app(2000, 3, 15, 9, 0);
  CPlannerEntry& e = Reminded(app, 2000, 3, 15, 10, 0);
  const int first = e.timer;
  app.clock.Advance(10 * kMinute);
  e.Schedule(false);
  EXPECT_GT(e.timer, first);
  EXPECT_FALSE(app.clock.IsArmed(first));
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 2100 * kSecond);
  app.clock.Advance(kHour);
  EXPECT_EQ(app.presenter.shown.size(), 1u);
}

TEST(ReminderScheduler, NoRemindersActivatesTheFrameWithoutPopUp) {
  TestApp app(2000, 3, 15, 9, 0);
  app.ctx.options.reminders = 1;
  CPlannerEntry& e = Reminded(app, 2000, 3, 15, 10, 0);
  ASSERT_NE(e.timer, 0);  // the option does not stop arming
  app.clock.Advance(kHour);
  EXPECT_EQ(app.presenter.activations, 1);
  EXPECT_TRUE(app.presenter.shown.empty());
  EXPECT_EQ(e.timer, 0);
}

TEST(ReminderScheduler, FiringWithoutPresenterOnlyClearsTheTimer) {
  TestApp app(2000, 3, 15, 9, 0);
  app.ctx.presenter = nullptr;
  CPlannerEntry& e = Reminded(app, 2000, 3, 15, 10, 0);
  app.clock.Advance(kHour);
  EXPECT_EQ(e.timer, 0);
  EXPECT_TRUE(app.clock.ArmedIds().empty());
}

TEST(ReminderScheduler, CallbackForAnUnknownIdOnlyKillsTheTimer) {
  TestApp app(2000, 3, 15, 9, 0);
  CPlannerEntry& e = Reminded(app, 2000, 3, 15, 10, 0);
  const int armed = e.timer;
  const int stray = armed + 100;
  app.clock.SetTimer(stray, 1000, [&app](int id) { app.scheduler.OnReminderTimer(id); });
  app.clock.Advance(1000);
  EXPECT_FALSE(app.clock.IsArmed(stray));
  EXPECT_EQ(app.presenter.activations, 0);
  EXPECT_EQ(e.timer, armed);
  EXPECT_TRUE(app.clock.IsArmed(armed));
}

// A callback run at a given time for the entry of 15 March 10:00 (lead 15,
// due 9:45) or, with the extra reminder, 17 March 10:00 (day-early due 16
// March 10:00): it acts only within 60 s of the due time; one that comes too
// early (the clock was set back) is armed again for the rest of the time.
struct FiringCase {
  const char* name;
  int xreminder;
  int day, hour, minute, second;
  bool fires;
  bool dayEarly;
};

void PrintTo(const FiringCase& c, std::ostream* os) { *os << c.name; }

class FiringTolerance : public testing::TestWithParam<FiringCase> {};

TEST_P(FiringTolerance, ActsOnlyWithinAMinuteOfTheDueTime) {
  const FiringCase& c = GetParam();
  TestApp app(2000, 3, 15, 9, 0);
  CPlannerEntry& e =
      c.xreminder ? Reminded(app, 2000, 3, 17, 10, 0, 15, 1) : Reminded(app, 2000, 3, 15, 10, 0);
  const int id = e.timer;
  ASSERT_NE(id, 0);
  app.SetLocalNow(2000, 3, c.day, c.hour, c.minute, c.second);
  app.scheduler.OnReminderTimer(id);

  EXPECT_FALSE(app.clock.IsArmed(id));  // killed either way
  if (c.fires) {
    // After the day-early reminder the normal one is armed.
    EXPECT_EQ(e.timer != 0, c.dayEarly);
    ASSERT_EQ(app.presenter.shown.size(), 1u);
    EXPECT_EQ(app.presenter.shown[0].dayEarly, c.dayEarly);
  } else {
    // Armed again from the wall clock, so that it still comes on time.
    ASSERT_NE(e.timer, 0);
    EXPECT_NE(e.timer, id);
    EXPECT_EQ(app.clock.RemainingMs(e.timer), 61 * kSecond);
    EXPECT_EQ(app.presenter.activations, 0);
    EXPECT_TRUE(app.presenter.shown.empty());
    app.clock.Advance(61 * kSecond);
    ASSERT_EQ(app.presenter.shown.size(), 1u);
    EXPECT_EQ(app.presenter.shown[0].dayEarly, c.xreminder != 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FiringTolerance,
    testing::Values(FiringCase{"NormalTooEarly", 0, 15, 9, 43, 59, false, false},
                    FiringCase{"NormalWithinTolerance", 0, 15, 9, 44, 0, true, false},
                    FiringCase{"NormalLate", 0, 15, 11, 0, 0, true, false},
                    FiringCase{"DayEarlyTooEarly", 1, 16, 9, 58, 59, false, false},
                    FiringCase{"DayEarlyWithinTolerance", 1, 16, 9, 59, 0, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Before the fix the counter ran straight into the main frame's ids, and
// setting an armed id replaces it: a reminder silently took over the sweep.
TEST(ReminderScheduler, IdsSkipTheMainFrameTimers) {
  TestApp app(2000, 3, 15, 9, 0);
  int sweeps = 0;
  app.clock.SetTimer(3000, 82'800'000, [&sweeps](int) { ++sweeps; });
  app.clock.SetTimer(3488, 7000, [](int) {});
  app.ctx.nextReminderTimerId = 2998;

  std::vector<int> ids;
  for (int i = 0; i < 4; ++i) ids.push_back(Reminded(app, 2000, 3, 15, 10, i * 10).timer);
  EXPECT_EQ(ids, (std::vector<int>{2998, 2999, 3010, 3011}));
  EXPECT_EQ(app.clock.RemainingMs(3000), 82'800'000);

  app.ctx.nextReminderTimerId = 3487;
  EXPECT_EQ(Reminded(app, 2000, 3, 15, 11, 0).timer, 3487);
  EXPECT_EQ(Reminded(app, 2000, 3, 15, 11, 10).timer, 3489);
  EXPECT_EQ(app.clock.RemainingMs(3488), 7000);

  app.clock.Advance(2 * kHour);
  EXPECT_EQ(app.presenter.shown.size(), 6u);
  EXPECT_EQ(sweeps, 0);
  EXPECT_TRUE(app.clock.IsArmed(3000));
}

TEST(ReminderScheduler, IdsStayBelowTheCountdownRange) {
  EXPECT_TRUE(IsFrameTimerId(3000));
  EXPECT_TRUE(IsFrameTimerId(3009));
  EXPECT_TRUE(IsFrameTimerId(3488));
  EXPECT_FALSE(IsFrameTimerId(3010));

  TestApp app(2000, 3, 15, 9, 0);
  app.ctx.nextReminderTimerId = kCountdownTimerIdBase - 1;
  EXPECT_EQ(Reminded(app, 2000, 3, 15, 10, 0).timer, kCountdownTimerIdBase - 1);
  EXPECT_EQ(Reminded(app, 2000, 3, 15, 11, 0).timer, 0);
  EXPECT_FALSE(app.clock.IsArmed(kCountdownTimerIdBase));
}

TEST(ReminderScheduler, FailedTimerIsRetriedBySweep) {
  TestApp app(2000, 3, 15, 9, 0);
  app.clock.FailNextSetTimer(1);
  CPlannerEntry& e = Reminded(app, 2000, 3, 15, 10, 0);
  EXPECT_EQ(e.timer, 0);
  EXPECT_TRUE(app.clock.ArmedIds().empty());
  app.ctx.entries.RearmTimers(false);
  ASSERT_NE(e.timer, 0);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), 2700 * kSecond);
}

// Armed at 20:00 the evening before a daylight-saving change in New York, for
// 8:00 the next morning with lead 15: the delay counts the real seconds.
struct DstCase {
  const char* name;
  int month, eveningDay;
  std::int64_t delay;
};

void PrintTo(const DstCase& c, std::ostream* os) { *os << c.name; }

class ReminderAcrossDst : public testing::TestWithParam<DstCase> {};

TEST_P(ReminderAcrossDst, DelayIsRealElapsedTime) {
  const DstCase& c = GetParam();
  ScopedTimeZone tz("America/New_York");
  TestApp app(2000, c.month, c.eveningDay, 20, 0);
  CPlannerEntry& e = Reminded(app, 2000, c.month, c.eveningDay + 1, 8, 0);
  ASSERT_NE(e.timer, 0);
  EXPECT_EQ(app.clock.RemainingMs(e.timer), c.delay * kSecond);
  app.clock.Advance(c.delay * kSecond - 1);
  EXPECT_TRUE(app.presenter.shown.empty());
  app.clock.Advance(1);
  EXPECT_EQ(app.presenter.shown,
            (std::vector<ShownReminder>{{c.month, c.eveningDay + 1, 8, 0, "Meeting", false}}));
  const DateTime at = BreakLocalTime(app.clock.Now());
  EXPECT_EQ(at.hour * 60 + at.minute, 7 * 60 + 45);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReminderAcrossDst,
                         testing::Values(DstCase{"SpringForward", 4, 1, 10 * 3600 + 45 * 60},
                                         DstCase{"FallBack", 10, 28, 12 * 3600 + 45 * 60}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::test
