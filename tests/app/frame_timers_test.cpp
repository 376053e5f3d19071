// The main frame's timers: the start-up popup's lifetime (3488), the 23-hour
// sweep (3000 and its retry ids) and the tooltip's minute refresh.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "reminders/next_appointment.h"
#include "reminders/reminder_scheduler.h"
#include "store/app_context.h"
#include "store/planner_entry.h"
#include "views/day_popup.h"

namespace vesk::test {
namespace {

using FrameTimersTest = AppTest;

constexpr std::int64_t kHourMs = 3600 * 1000;

struct PopupRow {
  int entriesToday;
  int lifetimeMs;
};

class PopupLifetimeTest : public AppTest, public ::testing::WithParamInterface<PopupRow> {};

TEST_P(PopupLifetimeTest, TimerFollowsThePopupsLineCount) {
  MarkNotFirstRun();
  for (int i = 0; i < GetParam().entriesToday; ++i) {
    app.AddEntry(2000, 3, 15, 10 + i / 2, (i % 2) * 30, "entry " + std::to_string(i));
  }
  Start();
  EXPECT_EQ(app.clock.RemainingMs(kPopupTimerId), GetParam().lifetimeMs);
  EXPECT_EQ(app.ctx.dayPopup != nullptr, GetParam().entriesToday > 0);

  app.clock.Advance(GetParam().lifetimeMs);
  EXPECT_EQ(app.ctx.dayPopup, nullptr);
  EXPECT_FALSE(app.clock.IsArmed(kPopupTimerId));
}

// A popup's lines are the day's heading and one per entry.
INSTANTIATE_TEST_SUITE_P(Rows, PopupLifetimeTest,
                         ::testing::Values(PopupRow{0, 7000}, PopupRow{1, 7000}, PopupRow{2, 6000},
                                           PopupRow{24, 40000}));

TEST_F(FrameTimersTest, TheSweepRearmsItselfAndArmsRemindersThatCameIntoRange) {
  MarkNotFirstRun();
  Start();
  EXPECT_EQ(app.clock.PeriodMs(kSweepTimerId), kSweepPeriodMs);
  // Thirty hours ahead: too far for its reminder to be armed now.
  CPlannerEntry& later = app.AddEntry(2000, 3, 16, 14, 0, "Dentist");
  ASSERT_EQ(later.timer, 0);

  app.clock.Advance(kSweepPeriodMs);
  EXPECT_EQ(app.clock.RemainingMs(kSweepTimerId), kSweepPeriodMs);
  ASSERT_NE(later.timer, 0);
  // 7 hours ahead now, its reminder two minutes early.
  EXPECT_EQ(app.clock.RemainingMs(later.timer), 7 * kHourMs - 2 * 60 * 1000);
}

TEST_F(FrameTimersTest, AFailedSweepTimerIsRetriedUnderTheNextIds) {
  MarkNotFirstRun();
  // 3488 (never retried), 3000 and 3001 fail.
  app.clock.FailNextSetTimer(3);
  Start();
  EXPECT_FALSE(app.clock.IsArmed(kPopupTimerId));
  EXPECT_FALSE(app.clock.IsArmed(kSweepTimerId));
  EXPECT_FALSE(app.clock.IsArmed(3001));
  EXPECT_EQ(app.clock.PeriodMs(3002), kSweepPeriodMs);
  for (int id = 3003; id <= kLastSweepRetryId; ++id) EXPECT_FALSE(app.clock.IsArmed(id)) << id;
}

TEST_F(FrameTimersTest, ASweepUnderARetryIdEndsWithoutAction) {
  MarkNotFirstRun();
  app.clock.FailNextSetTimer(2);
  Start();
  ASSERT_TRUE(app.clock.IsArmed(3001));
  CPlannerEntry& later = app.AddEntry(2000, 3, 16, 14, 0, "Dentist");

  app.clock.Advance(kSweepPeriodMs);
  for (int id = kSweepTimerId; id <= kLastSweepRetryId; ++id) {
    EXPECT_FALSE(app.clock.IsArmed(id)) << id;
  }
  EXPECT_EQ(later.timer, 0);
}

TEST_F(FrameTimersTest, WhenEverySweepIdFailsNoneIsArmed) {
  MarkNotFirstRun();
  app.clock.FailNextSetTimer(11);  // 3488, then 3000..3009
  Start();
  for (int id = kSweepTimerId; id <= kLastSweepRetryId; ++id) {
    EXPECT_FALSE(app.clock.IsArmed(id)) << id;
  }
  // The tooltip's minute timer is set after them and works.
  EXPECT_TRUE(app.clock.IsArmed(kTrayTipTimerId));
}

TEST_F(FrameTimersTest, TheTooltipIsRebuiltAtEveryMinuteBoundary) {
  MarkNotFirstRun();
  app.SetLocalNow(2000, 3, 15, 8, 0, 30);
  Start();
  ASSERT_NE(ui.tray(), nullptr);
  EXPECT_EQ(ui.tray()->Tip(), "Vesk Calendar");
  EXPECT_EQ(app.clock.RemainingMs(kTrayTipTimerId), 30000);

  app.AddEntry(2000, 3, 15, 14, 0, "Dentist");
  app.clock.Advance(30000);
  EXPECT_EQ(ui.tray()->Tip(), NextAppointmentText(app.ctx, app.clock.Now()));
  EXPECT_NE(ui.tray()->Tip().find("Dentist"), std::string::npos);
  EXPECT_EQ(app.clock.RemainingMs(kTrayTipTimerId), 60000);

  // Past the appointment (its reminder popping up on the way) the tooltip
  // says so within a minute.
  app.clock.Advance(6 * kHourMs + 60000);
  EXPECT_EQ(ui.tray()->Tip(), kNoAppointments);
}

TEST_F(FrameTimersTest, HoveringTheTrayRebuildsTheTooltipAtMostOncePerSecond) {
  MarkNotFirstRun();
  Start();
  app.AddEntry(2000, 3, 15, 14, 0, "Dentist");
  const int before = ui.tray()->tipChanges();
  ui.TrayMouseMove();
  ui.TrayMouseMove();
  EXPECT_EQ(ui.tray()->tipChanges(), before + 1);
  EXPECT_NE(ui.tray()->Tip().find("Dentist"), std::string::npos);
  app.clock.Pause(1000);
  ui.TrayMouseMove();
  EXPECT_EQ(ui.tray()->tipChanges(), before + 2);
}

TEST_F(FrameTimersTest, ReminderIdsSkipTheTooltipTimer) {
  EXPECT_TRUE(IsFrameTimerId(kTrayTipTimerId));
  app.ctx.nextReminderTimerId = kTrayTipTimerId;
  const CPlannerEntry& soon = app.AddEntry(2000, 3, 15, 10, 0, "Soon");
  EXPECT_EQ(soon.timer, kTrayTipTimerId + 1);
}

TEST_F(FrameTimersTest, DestroyingTheFrameStopsItsTimers) {
  MarkNotFirstRun();
  Start();
  frame().Exit();
  EXPECT_EQ(ended, 1);
  for (int id : {kPopupTimerId, kSweepTimerId, kTrayTipTimerId}) {
    EXPECT_FALSE(app.clock.IsArmed(id)) << id;
  }
}

}  // namespace
}  // namespace vesk::test
