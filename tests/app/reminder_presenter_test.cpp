// The reminders of the running program: pop-ups owned by the month view,
// desktop notifications beside them, the countdown command, and catching up
// after a sleep, a clock change or a late start.
#include "app/reminder_presenter.h"

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/options_store.h"
#include "store/planner_entry.h"
#include "store/sounds.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

constexpr std::int64_t kMinuteMs = 60 * 1000;
constexpr std::int64_t kHourMs = 60 * kMinuteMs;

class ReminderPresenterTest : public AppTest {
 protected:
  // Today 15 March 2000, 8:00, with a dentist at 13:30 (due 13:28).
  void StartWithDentist() {
    MarkNotFirstRun();
    WriteSound(app.ctx.store, kReminderSound, "Ring.wav");
    Start();
    dentist = &app.AddEntry(2000, 3, 15, 13, 30, "Dentist");
  }
  std::vector<ReminderWnd*> PopUps() const {
    std::vector<ReminderWnd*> popups;
    for (Window* w : ui.Windows()) {
      if (w->RuntimeClass() == "ReminderWnd") popups.push_back(static_cast<ReminderWnd*>(w));
    }
    return popups;
  }
  std::string Title(const Window& w) const { return HeadlessUi::Record(w)->title; }

  CPlannerEntry* dentist = nullptr;
};

TEST_F(ReminderPresenterTest, ADueReminderOpensAPopUpOwnedByTheMonthViewWithANotification) {
  StartWithDentist();
  ui.Command(frame(), res::kIdHide);
  app.clock.Advance((5 * 60 + 28) * kMinuteMs);  // 13:28, two minutes early

  ASSERT_EQ(PopUps().size(), 1u);
  ReminderWnd& popup = *PopUps()[0];
  EXPECT_EQ(Title(popup), "VeskCal - 1:30pm");
  EXPECT_EQ(popup.owner(), &frame().view());
  EXPECT_EQ(ui.ActiveWindow(), &popup);
  const std::vector<CanvasOp> ops = ui.Paint(popup);
  EXPECT_EQ(FillAt(ops, {5, 5})->color, frame().view().colors().dayplan2);  // 13: odd
  EXPECT_EQ(FindText(ops, "Dentist")->color, frame().view().colors().fore);
  EXPECT_EQ(ui.sounds().back(), "Ring.wav");

  ASSERT_EQ(notifier.sent().size(), 1u);
  const DesktopNotification& n = notifier.sent()[0].notification;
  EXPECT_EQ(n.summary, "VeskCal - 1:30pm");
  EXPECT_EQ(n.body, "Dentist");
  ASSERT_EQ(n.actions.size(), 2u);
  EXPECT_EQ(n.actions[0].key, "default");
  EXPECT_EQ(n.actions[1].key, "snooze");
  EXPECT_EQ(n.actions[1].label, "Snooze 5 minutes");
}

TEST_F(ReminderPresenterTest, ClosingThePopUpWithdrawsTheNotificationAndTheOtherWayRound) {
  StartWithDentist();
  app.AddEntry(2000, 3, 15, 14, 0, "Meeting");
  app.clock.Advance((5 * 60 + 28) * kMinuteMs);
  ASSERT_EQ(PopUps().size(), 1u);
  ui.Key(*PopUps()[0], kVkEscape);
  EXPECT_TRUE(PopUps().empty());
  EXPECT_TRUE(notifier.sent()[0].withdrawn);

  app.clock.Advance(30 * kMinuteMs);  // 13:58: the meeting
  ASSERT_EQ(PopUps().size(), 1u);
  notifier.Dismiss(notifier.sent()[1].id);
  EXPECT_TRUE(PopUps().empty());
}

TEST_F(ReminderPresenterTest, SnoozeBringsThePopUpBackFiveMinutesLater) {
  StartWithDentist();
  app.clock.Advance((5 * 60 + 28) * kMinuteMs);
  const int early = dentist->early;
  notifier.InvokeAction(notifier.sent()[0].id, "snooze");
  EXPECT_TRUE(PopUps().empty());
  EXPECT_EQ(app.clock.RemainingMs(dentist->timer), 5 * kMinuteMs);
  EXPECT_EQ(dentist->early, early);

  app.clock.Advance(5 * kMinuteMs);
  ASSERT_EQ(PopUps().size(), 1u);
  EXPECT_EQ(Title(*PopUps()[0]), "VeskCal - 1:30pm");
  EXPECT_EQ(notifier.Open().size(), 1u);
  EXPECT_EQ(notifier.sent().size(), 2u);
}

TEST_F(ReminderPresenterTest, ClickingTheNotificationOpensTheEntrysDayPlanner) {
  StartWithDentist();
  app.clock.Advance((5 * 60 + 28) * kMinuteMs);
  notifier.InvokeAction(notifier.sent()[0].id, "default");
  EXPECT_EQ(windows.calls, std::vector<std::string>{"planner 2000-3-15"});
  EXPECT_TRUE(PopUps().empty());
}

TEST_F(ReminderPresenterTest, WithoutNotificationsThePopUpStillComes) {
  MarkNotFirstRun();
  Start();
  app.AddEntry(2000, 3, 15, 9, 0, "Switched off");
  app.AddEntry(2000, 3, 15, 10, 0, "No server");
  app.ctx.options.notifications = 0;
  app.clock.Advance(kHourMs);
  EXPECT_EQ(PopUps().size(), 1u);
  app.ctx.options.notifications = 1;
  notifier.SetAvailable(false);
  app.clock.Advance(kHourMs);
  EXPECT_EQ(PopUps().size(), 2u);
  EXPECT_TRUE(notifier.sent().empty());
}

TEST_F(ReminderPresenterTest, AReminderComesWhileADialogIsOpenAndBesideOtherPopUps) {
  StartWithDentist();
  app.AddEntry(2000, 3, 15, 13, 0, "Lunch");
  ui.ScriptDialog(res::kDlgAbout, [this](HeadlessDialog& d) {
    app.clock.Advance((5 * 60 + 28) * kMinuteMs);
    EXPECT_EQ(PopUps().size(), 2u);
    d.Click(kIdOk);
  });
  ui.Command(frame(), res::kIdAbout);
  const std::vector<ReminderWnd*> popups = PopUps();
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(HeadlessUi::Record(*popups[0])->rect.left, 50);
  EXPECT_EQ(HeadlessUi::Record(*popups[1])->rect.left, 75);
}

TEST_F(ReminderPresenterTest, TheTimerCommandRunsACountdownThatEndsInAPopUp) {
  StartWithDentist();
  ui.ScriptDialog(res::kDlgCountdown, [](HeadlessDialog& d) {
    d.SetText(res::kIdCountdownMinutes, "2");
    d.SetText(res::kIdCountdownText, "Tea");
    d.Click(kIdOk);
  });
  EXPECT_TRUE(ui.Command(frame(), res::kIdTimer));
  EXPECT_EQ(frame().countdowns().running(), 1u);
  app.clock.Advance(2 * kMinuteMs);
  ASSERT_EQ(PopUps().size(), 1u);
  EXPECT_EQ(Title(*PopUps()[0]), "VeskCal");
  EXPECT_NE(FindText(ui.Paint(*PopUps()[0]), " Timer Expired:"), nullptr);
  EXPECT_EQ(notifier.sent()[0].notification.body, "Timer Expired: Tea");
  EXPECT_TRUE(notifier.sent()[0].notification.actions.empty());
}

TEST_F(ReminderPresenterTest, AWakeUpShowsTheReminderThatFellDueAsLate) {
  StartWithDentist();
  app.clock.Advance(5 * kHourMs);  // 13:00
  app.clock.Suspend(kHourMs);      // asleep until 14:00
  ASSERT_EQ(PopUps().size(), 1u);
  EXPECT_NE(FindText(ui.Paint(*PopUps()[0]), " Reminder (late):"), nullptr);
  app.clock.Advance(kHourMs);
  EXPECT_EQ(PopUps().size(), 1u);
}

TEST_F(ReminderPresenterTest, TheMinuteTimerFindsAClockSetForward) {
  StartWithDentist();
  app.SetLocalNow(2000, 3, 15, 14, 0, 30);
  EXPECT_TRUE(PopUps().empty());
  app.clock.Advance(kMinuteMs);
  ASSERT_EQ(PopUps().size(), 1u);
  EXPECT_EQ(Title(*PopUps()[0]), "VeskCal - 1:30pm");
  EXPECT_EQ(LoadLastRun(app.ctx.store), app.clock.Now());
}

TEST_F(ReminderPresenterTest, ALateStartShowsTheMissedRemindersOnceInOneWindow) {
  MarkNotFirstRun();
  Start();  // the first run remembers 8:00
  app.AddEntry(2000, 3, 15, 9, 0, "Gym");
  app.AddEntry(2000, 3, 15, 10, 5, "Dentist");
  application.reset();
  EXPECT_TRUE(PopUps().empty());

  app.SetLocalNow(2000, 3, 15, 12, 0);
  Start();
  ASSERT_EQ(PopUps().size(), 1u);
  const ReminderWnd& missed = *PopUps()[0];
  EXPECT_EQ(Title(missed), "Missed reminders");
  EXPECT_EQ(missed.content().lines, (std::vector<std::string>{"9:00am  Gym", "10:05am  Dentist"}));
  EXPECT_EQ(notifier.sent().back().notification.body, "9:00am  Gym\n10:05am  Dentist");

  application.reset();
  Start();
  EXPECT_TRUE(PopUps().empty());
}

}  // namespace
}  // namespace vesk::test
