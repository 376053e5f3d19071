#include "reminders/reminder_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_ui.h"
#include "res/command_ids.h"
#include "support/test_app.h"

namespace vesk {
namespace {

constexpr int kEdit = res::kIdReminderMinutes;
constexpr int kSlider = res::kIdReminderSlider;
constexpr int kEnabled = res::kIdReminderEnabled;
constexpr int kExtra = res::kIdReminderExtra;

constexpr const char* kRangeMessage = "Please enter an integer between 0 and 180.";

class ReminderDialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    test::ExpectScriptDone(ui.boxes());
    EXPECT_TRUE(ui.failures().empty()) << ui.failures().front();
    EXPECT_TRUE(ui.PendingDialogScripts().empty());
  }

  int Run(std::function<void(HeadlessDialog&)> script) {
    ui.ScriptDialog(res::kDlgReminder, std::move(script));
    return dialog.DoModal(nullptr);
  }

  static bool LeadEnabled(const HeadlessDialog& d, bool enabled) {
    return d.controls().IsEnabled(kEdit) == enabled && d.controls().IsEnabled(kSlider) == enabled &&
           d.controls().IsEnabled(kExtra) == enabled;
  }

  HeadlessUi ui;
  CReminderDlg dialog{ui};
};

TEST_F(ReminderDialogTest, OpensWithTheCallersValues) {
  dialog.minutes = 15;
  dialog.enabled = true;
  dialog.extra = true;
  Run([](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().title(), "Configure Reminder");
    EXPECT_EQ(d.controls().icon(), res::kIconPlanner);
    EXPECT_EQ(d.controls().Text(kEdit), "15");
    EXPECT_EQ(d.controls().Find(kSlider)->min, 1);
    EXPECT_EQ(d.controls().Find(kSlider)->max, 180);
    EXPECT_EQ(d.controls().Pos(kSlider), 15);
    EXPECT_TRUE(d.controls().IsChecked(kEnabled));
    EXPECT_TRUE(d.controls().IsChecked(kExtra));
    EXPECT_TRUE(LeadEnabled(d, true));
    d.Click(kIdOk);
  });
}

TEST_F(ReminderDialogTest, ReminderOffDisablesTheLeadAndTheExtraBox) {
  dialog.minutes = 0;
  dialog.enabled = false;
  Run([](HeadlessDialog& d) {
    EXPECT_FALSE(d.controls().IsChecked(kEnabled));
    EXPECT_TRUE(d.controls().IsEnabled(kEnabled));
    EXPECT_TRUE(LeadEnabled(d, false));
    // A lead of 0 shows in the edit; the slider cannot go below 1.
    EXPECT_EQ(d.controls().Text(kEdit), "0");
    EXPECT_EQ(d.controls().Pos(kSlider), 1);
    d.Click(kIdCancel);
  });
  EXPECT_EQ(dialog.minutes, 0);
  EXPECT_FALSE(dialog.enabled);
}

TEST_F(ReminderDialogTest, SwitchingTheReminderOnAndOffEnablesTheControlsAtOnce) {
  dialog.enabled = false;
  Run([&](HeadlessDialog& d) {
    d.Click(kEnabled);
    EXPECT_TRUE(d.dialog().IsRunning());
    EXPECT_TRUE(LeadEnabled(d, true));
    EXPECT_TRUE(dialog.enabled);
    d.Click(kEnabled);
    EXPECT_TRUE(LeadEnabled(d, false));
    EXPECT_FALSE(dialog.enabled);
    d.Click(kEnabled);
    d.Click(kIdCancel);
  });
  EXPECT_TRUE(dialog.enabled);
}

struct TypingRow {
  std::string typed;
  std::optional<std::string> message;
  int minutes;  // the field afterwards
  int slider;
};

TEST_F(ReminderDialogTest, TypingValidatesAndMovesTheSlider) {
  const std::vector<TypingRow> rows = {
      {"45", std::nullopt, 45, 45},
      {" 7 ", std::nullopt, 7, 7},
      {"0", std::nullopt, 0, 1},  // the reminder pops up at the entry's time
      {"180", std::nullopt, 180, 180},
      {"200", kRangeMessage, 15, 180},
      {"-1", kRangeMessage, 15, 1},
      {"abc", "Please enter an integer.", 15, 15},
      {"", "Please enter an integer.", 15, 15},
      {"1.5", "Please enter an integer.", 15, 15},
  };
  for (const TypingRow& row : rows) {
    SCOPED_TRACE("typed \"" + row.typed + "\"");
    dialog.minutes = 15;
    if (row.message) ui.boxes().Expect(*row.message);
    Run([&](HeadlessDialog& d) {
      d.SetText(kEdit, row.typed);
      EXPECT_EQ(dialog.minutes, row.minutes);
      EXPECT_EQ(d.controls().Pos(kSlider), row.slider);
      if (row.message) {
        EXPECT_EQ(d.controls().focus(), kEdit);
      }
      d.Click(kIdCancel);
    });
    EXPECT_EQ(dialog.minutes, row.minutes);
    test::ExpectScriptDone(ui.boxes());
    ui.boxes().Clear();
  }
}

TEST_F(ReminderDialogTest, SliderMovementWritesTheMinutesBack) {
  dialog.minutes = 10;
  Run([&](HeadlessDialog& d) {
    d.Click(kExtra);
    d.Slide(kSlider, 90);
    EXPECT_EQ(dialog.minutes, 90);
    EXPECT_EQ(d.controls().Text(kEdit), "90");
    // Writing the fields back keeps what the user ticked.
    EXPECT_TRUE(d.controls().IsChecked(kExtra));
    d.Click(kIdOk);
  });
  EXPECT_EQ(dialog.minutes, 90);
  EXPECT_TRUE(dialog.extra);
}

TEST_F(ReminderDialogTest, AfterCancelTheFieldsHoldTheLastValidValues) {
  dialog.minutes = 5;
  dialog.extra = false;
  ui.boxes().Expect(kRangeMessage);
  EXPECT_EQ(Run([](HeadlessDialog& d) {
              d.SetText(kEdit, "30");
              d.Click(kExtra);
              d.SetText(kEdit, "200");
              d.Click(kIdCancel);
            }),
            kIdCancel);
  EXPECT_EQ(dialog.minutes, 30);
  EXPECT_TRUE(dialog.enabled);
  EXPECT_TRUE(dialog.extra);
}

TEST_F(ReminderDialogTest, OkKeepsTheDialogOpenUntilTheMinutesAreValid) {
  dialog.minutes = 5;
  ui.boxes().Expect(kRangeMessage);
  ui.boxes().Expect(kRangeMessage);
  EXPECT_EQ(Run([](HeadlessDialog& d) {
              d.SetText(kEdit, "999");
              d.Click(kIdOk);
              EXPECT_TRUE(d.dialog().IsRunning());
              d.SetText(kEdit, "60");
              d.Click(kIdOk);
            }),
            kIdOk);
  EXPECT_EQ(dialog.minutes, 60);
}

TEST_F(ReminderDialogTest, CheckingTheReminderWithABadLeadStillSwitchesTheControls) {
  dialog.minutes = 20;
  dialog.enabled = true;
  ui.boxes().Expect("Please enter an integer.");
  ui.boxes().Expect("Please enter an integer.");
  Run([&](HeadlessDialog& d) {
    d.SetText(kEdit, "x");
    d.Click(kEnabled);
    EXPECT_FALSE(dialog.enabled);
    EXPECT_TRUE(LeadEnabled(d, false));
    d.Click(kIdCancel);
  });
  EXPECT_EQ(dialog.minutes, 20);
  EXPECT_FALSE(dialog.enabled);
}

}  // namespace
}  // namespace vesk
