// The countdown timer: its dialog and the countdowns it starts.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_ui.h"
#include "reminders/countdown_dlg.h"
#include "reminders/countdowns.h"
#include "reminders/reminder_scheduler.h"
#include "res/command_ids.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

constexpr int kMinutes = res::kIdCountdownMinutes;
constexpr int kSlider = res::kIdCountdownSlider;
constexpr int kText = res::kIdCountdownText;
constexpr std::int64_t kMinuteMs = 60000;

class CountdownTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ExpectScriptDone(app.boxes);
    for (const std::string& f : ui.failures()) ADD_FAILURE() << f;
    EXPECT_TRUE(ui.PendingDialogScripts().empty());
  }

  int Run(std::function<void(HeadlessDialog&)> script) {
    ui.ScriptDialog(res::kDlgCountdown, std::move(script));
    CCountdownDlg dialog(ui, countdowns);
    return dialog.DoModal(nullptr);
  }

  TestApp app;
  HeadlessUi ui{app.boxes};
  Countdowns countdowns{app.ctx};
};

TEST_F(CountdownTest, OpensWithOneMinuteAndNoText) {
  Run([](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().title(), "Countdown Timer");
    EXPECT_EQ(d.controls().icon(), res::kIconCountdown);
    EXPECT_EQ(d.controls().Find(kSlider)->min, 1);
    EXPECT_EQ(d.controls().Find(kSlider)->max, 300);
    EXPECT_EQ(d.controls().Pos(kSlider), 1);
    EXPECT_EQ(d.controls().Text(kMinutes), "1");
    EXPECT_EQ(d.controls().Text(kText), "");
    d.Click(kIdCancel);
  });
  EXPECT_EQ(countdowns.running(), 0u);
}

TEST_F(CountdownTest, TheSliderAndTheMinutesFollowEachOther) {
  Run([](HeadlessDialog& d) {
    d.SetText(kMinutes, "45");
    EXPECT_EQ(d.controls().Pos(kSlider), 45);
    d.Slide(kSlider, 500);
    EXPECT_EQ(d.controls().Text(kMinutes), "300");
    d.Slide(kSlider, 7);
    EXPECT_EQ(d.controls().Text(kMinutes), "7");
    d.Click(kIdOk);
  });
  ASSERT_EQ(countdowns.running(), 1u);
  EXPECT_EQ(app.clock.RemainingMs(countdowns.texts().begin()->first), 7 * kMinuteMs);
}

TEST_F(CountdownTest, EachInvalidValueIsReportedAsItIsTyped) {
  struct Row {
    int control;
    std::string typed;
    const char* message;
    int slider;  // where the slider is afterwards (it was at 20)
  };
  const Row rows[] = {
      {kMinutes, "abc", "Please enter an integer.", 20},
      {kMinutes, "", "Please enter an integer.", 20},
      {kMinutes, "500", "Please enter an integer between 1 and 300.", 300},
      {kMinutes, "0", "Please enter an integer between 1 and 300.", 1},
      {kText, std::string(61, 'x'), "Please enter no more than 60 characters.", 20},
  };
  for (const Row& row : rows) {
    app.boxes.Expect(row.message);
    Run([&row](HeadlessDialog& d) {
      d.SetText(kMinutes, "20");
      d.SetText(row.control, row.typed);
      EXPECT_EQ(d.controls().Pos(kSlider), row.slider) << row.typed;
      EXPECT_EQ(d.controls().focus(), row.control) << row.typed;
      d.Click(kIdCancel);
    });
  }
  EXPECT_EQ(countdowns.running(), 0u);
}

TEST_F(CountdownTest, OkOnAnInvalidValueStartsNothingAndOneValidOkStartsOne) {
  app.boxes.Expect("Please enter an integer between 1 and 300.");
  app.boxes.Expect("Please enter an integer between 1 and 300.");
  const int result = Run([this](HeadlessDialog& d) {
    d.SetText(kMinutes, "500");
    d.Click(kIdOk);
    EXPECT_TRUE(d.dialog().IsRunning());
    EXPECT_EQ(countdowns.running(), 0u);
    d.SetText(kMinutes, "3");
    d.SetText(kText, "Tea");
    d.Click(kIdOk);
  });
  EXPECT_EQ(result, kIdOk);
  ASSERT_EQ(countdowns.running(), 1u);
  EXPECT_EQ(countdowns.texts().begin()->second, "Tea");
}

TEST_F(CountdownTest, OkWithTheFirstValuesShowsTheExpiryAfterAMinute) {
  Run([](HeadlessDialog& d) { d.Click(kIdOk); });
  app.clock.Advance(kMinuteMs - 1);
  EXPECT_TRUE(app.presenter.notices.empty());
  app.clock.Advance(1);
  EXPECT_EQ(app.presenter.notices, std::vector<ReminderNotice>{ReminderNotice{.hour = -1}});
  EXPECT_EQ(countdowns.running(), 0u);
  EXPECT_TRUE(app.clock.ArmedIds().empty());
}

TEST_F(CountdownTest, TwoCountdownsEachExpireWithTheirOwnText) {
  for (const auto& [minutes, text] : {std::pair("5", "Tea"), std::pair("2", "Eggs")}) {
    Run([&](HeadlessDialog& d) {
      d.SetText(kMinutes, minutes);
      d.SetText(kText, text);
      d.Click(kIdOk);
    });
  }
  ASSERT_EQ(countdowns.running(), 2u);
  for (const auto& [id, text] : countdowns.texts()) {
    EXPECT_GE(id, kCountdownTimerIdBase);
    EXPECT_FALSE(IsFrameTimerId(id));
  }
  app.clock.Advance(5 * kMinuteMs);
  ASSERT_EQ(app.presenter.shown.size(), 2u);
  EXPECT_EQ(app.presenter.shown[0].text, "Eggs");
  EXPECT_EQ(app.presenter.shown[1].text, "Tea");
  EXPECT_EQ(app.presenter.shown[1].hour, -1);
}

TEST_F(CountdownTest, IdsCountUpThroughTheirOwnRange) {
  ASSERT_TRUE(countdowns.Start(10, "long"));
  EXPECT_EQ(countdowns.texts().begin()->first, kCountdownTimerIdBase);
  // An id is not taken again after its countdown ended.
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(countdowns.Start(1, "short"));
    app.clock.Advance(kMinuteMs);
  }
  EXPECT_EQ(countdowns.running(), 1u);
  EXPECT_EQ(app.presenter.shown.size(), 3u);
  ASSERT_TRUE(countdowns.Start(1, "next"));
  EXPECT_EQ(countdowns.texts().rbegin()->first, kCountdownTimerIdBase + 4);
}

TEST_F(CountdownTest, ATimerThatCannotBeSetIsReportedAndTheDialogStays) {
  app.boxes.Expect(kCountdownNotStarted);
  app.clock.FailNextSetTimer(1);
  Run([](HeadlessDialog& d) {
    d.Click(kIdOk);
    EXPECT_TRUE(d.dialog().IsRunning());
    d.Click(kIdOk);
  });
  EXPECT_EQ(countdowns.running(), 1u);
}

TEST_F(CountdownTest, CountdownsEndWithTheirOwner) {
  {
    Countdowns shortLived{app.ctx};
    shortLived.Start(1, "gone");
  }
  app.clock.Advance(kMinuteMs);
  EXPECT_TRUE(app.clock.ArmedIds().empty());
  EXPECT_TRUE(app.presenter.shown.empty());
}

}  // namespace
}  // namespace vesk::test
