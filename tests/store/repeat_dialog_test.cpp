#include "store/repeat_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_ui.h"
#include "res/command_ids.h"
#include "store/planner_entry.h"
#include "support/test_app.h"

namespace vesk {
namespace {

using test::ExpectScriptDone;
using test::TestApp;

constexpr std::array<int, 7> kRuleButtons = {
    res::kIdRepeatNone,      res::kIdRepeatDaily,     res::kIdRepeatWeekly,
    res::kIdRepeatSecondWeek, res::kIdRepeatMonthDay, res::kIdRepeatMonthWeekday,
    res::kIdRepeatYearly,
};

// The picker's value as "YYYY-MM-DD hh:mm", or "none".
std::string Shown(const HeadlessDialog& d) {
  const std::optional<DateTime> t = d.controls().GetDateTime(res::kIdRepeatUntil);
  if (!t) return "none";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", t->year, t->month, t->day, t->hour,
                t->minute);
  return buf;
}

std::vector<int> Checked(const HeadlessDialog& d) {
  std::vector<int> checked;
  for (int id : kRuleButtons)
    if (d.controls().IsChecked(id)) checked.push_back(id);
  return checked;
}

// The dialog runs on the Ui of the application it is given.
AppContext& WithUi(TestApp& app, HeadlessUi& ui) {
  app.ctx.ui = &ui;
  return app.ctx;
}

class RepeatDialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ExpectScriptDone(app.boxes);
    EXPECT_TRUE(ui.failures().empty()) << ui.failures().front();
    EXPECT_TRUE(ui.PendingDialogScripts().empty());
  }

  int Run(std::function<void(HeadlessDialog&)> script) {
    ui.ScriptDialog(res::kDlgRepeat, std::move(script));
    return dialog.DoModal(nullptr);
  }

  TestApp app;  // 15 March 2000, 8:00, New York
  HeadlessUi ui{app.boxes};
  CRepeatDlg dialog{WithUi(app, ui)};
};

struct TextsRow {
  int year, month, day;
  std::string title;
  std::array<std::string, 7> buttons;
};

TEST_F(RepeatDialogTest, ButtonTextsAndTitleFollowTheDate) {
  const std::vector<TextsRow> rows = {
      {2000, 3, 15, "Wed, March 15: Dentist",
       {"does not repeat", "everyday", "every Wednesday", "every second Wednesday",
        "every month on the 15th", "3rd Wednesday of every month", "every year on this day"}},
      {2000, 2, 29, "Tue, Feb 29: Dentist",
       {"does not repeat", "everyday", "every Tuesday", "every second Tuesday",
        "every month on the 29th", "5th Tuesday of every month", "every year on this day"}},
      {2001, 9, 1, "Sat, Sept 1: Dentist",
       {"does not repeat", "everyday", "every Saturday", "every second Saturday",
        "every month on the 1st", "1st Saturday of every month", "every year on this day"}},
      {2036, 12, 22, "Mon, Dec 22: Dentist",
       {"does not repeat", "everyday", "every Monday", "every second Monday",
        "every month on the 22nd", "4th Monday of every month", "every year on this day"}},
  };
  for (const TextsRow& row : rows) {
    SCOPED_TRACE(row.title);
    dialog.Prepare(row.year, row.month, row.day, 10, 0, 0, "Dentist");
    dialog.SetRule(0);
    EXPECT_EQ(Run([&](HeadlessDialog& d) {
                EXPECT_EQ(d.controls().title(), row.title);
                EXPECT_EQ(d.controls().icon(), res::kIconPlanner);
                for (std::size_t i = 0; i < kRuleButtons.size(); ++i)
                  EXPECT_EQ(d.controls().Text(kRuleButtons[i]), row.buttons[i]) << i;
                d.Click(kIdCancel);
              }),
              kIdCancel);
  }
}

struct MoveRow {
  int button;
  std::string until;
};

TEST_F(RepeatDialogTest, RuleClicksMoveTheUntilDateFromTheEntrysOwnDate) {
  dialog.Prepare(2000, 3, 15, 10, 30, 0, "Dentist");
  dialog.SetRule(0);
  // Each move starts from the entry's date, not from the date shown before.
  const std::vector<MoveRow> rows = {
      {res::kIdRepeatYearly, "2005-03-15 10:30"},
      {res::kIdRepeatDaily, "2000-03-29 10:30"},
      {res::kIdRepeatNone, "2000-03-29 10:30"},  // leaves the date alone
      {res::kIdRepeatWeekly, "2001-03-15 10:30"},
      {res::kIdRepeatMonthDay, "2002-03-15 10:30"},
      {res::kIdRepeatSecondWeek, "2001-03-15 10:30"},
      {res::kIdRepeatMonthWeekday, "2002-03-15 10:30"},
  };
  Run([&](HeadlessDialog& d) {
    EXPECT_EQ(Shown(d), "2000-03-15 10:30");
    for (const MoveRow& row : rows) {
      d.Click(row.button);
      EXPECT_EQ(Shown(d), row.until) << row.button;
    }
    d.Click(kIdOk);
  });
  EXPECT_EQ(dialog.Result().until, MakeLocalTime(2002, 3, 15, 10, 30));
  EXPECT_EQ(dialog.Result().code, kMonthlyOnWeekday);
}

TEST_F(RepeatDialogTest, MovedDatesKeepTheTimeOfDayAndStayWithinThePickersYears) {
  struct Row {
    int year, month, day, hour, minute, button;
    std::string until;
  };
  const std::vector<Row> rows = {
      // Fourteen days across the end of daylight saving (29 October 2000).
      {2000, 10, 20, 10, 0, res::kIdRepeatDaily, "2000-11-03 10:00"},
      // Across its start (2 April 2000).
      {2000, 3, 25, 23, 30, res::kIdRepeatDaily, "2000-04-08 23:30"},
      // A leap day a year on is normalised as the calendar does.
      {2000, 2, 29, 9, 0, res::kIdRepeatWeekly, "2001-03-01 09:00"},
      {2035, 6, 10, 9, 0, res::kIdRepeatYearly, "2036-12-31 09:00"},
      {2036, 12, 25, 9, 0, res::kIdRepeatDaily, "2036-12-31 09:00"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.until);
    dialog.Prepare(row.year, row.month, row.day, row.hour, row.minute, 0, "x");
    dialog.SetRule(0);
    Run([&](HeadlessDialog& d) {
      d.Click(row.button);
      EXPECT_EQ(Shown(d), row.until);
      d.Click(kIdOk);
    });
    EXPECT_EQ(BreakLocalTime(dialog.Result().until).hour, row.hour);
  }
}

TEST_F(RepeatDialogTest, AChosenUntilIsShownAndRuleClicksLeaveItAlone) {
  const LocalTime until = MakeLocalTime(2000, 6, 30, 10, 0);
  dialog.Prepare(2000, 3, 15, 10, 0, until, "Dentist");
  dialog.SetRule(kEveryWeek);
  Run([&](HeadlessDialog& d) {
    EXPECT_EQ(Shown(d), "2000-06-30 10:00");
    d.Click(res::kIdRepeatYearly);
    d.Click(res::kIdRepeatDaily);
    EXPECT_EQ(Shown(d), "2000-06-30 10:00");
    d.Click(kIdOk);
  });
  EXPECT_EQ(dialog.Result().until, until);
  EXPECT_EQ(dialog.Result().code, kEveryDay);
}

TEST_F(RepeatDialogTest, PickingADateStopsRuleClicksFromMovingIt) {
  dialog.Prepare(2000, 3, 15, 10, 0, 0, "Dentist");
  dialog.SetRule(0);
  Run([&](HeadlessDialog& d) {
    d.Click(res::kIdRepeatDaily);
    d.SetDate(res::kIdRepeatUntil, BreakLocalTime(MakeLocalTime(2000, 5, 1, 10, 0)));
    d.Click(res::kIdRepeatYearly);
    EXPECT_EQ(Shown(d), "2000-05-01 10:00");
    d.Click(kIdOk);
  });
  EXPECT_EQ(dialog.Result().until, MakeLocalTime(2000, 5, 1, 10, 0));

  // A new run starts from what was prepared: nothing is chosen yet.
  dialog.Prepare(2000, 3, 16, 10, 0, 0, "Dentist");
  Run([&](HeadlessDialog& d) {
    d.Click(res::kIdRepeatDaily);
    EXPECT_EQ(Shown(d), "2000-03-30 10:00");
    d.Click(kIdCancel);
  });
}

TEST_F(RepeatDialogTest, TheEntrysCodeIsCheckedAndNoButtonCountsAsDoesNotRepeat) {
  for (int code = 0; code <= 6; ++code) {
    dialog.Prepare(2000, 3, 15, 10, 0, 0, "Dentist");
    dialog.SetRule(code);
    Run([&](HeadlessDialog& d) {
      EXPECT_EQ(Checked(d), std::vector<int>{kRuleButtons[code]}) << code;
      d.Click(kIdOk);
    });
    EXPECT_EQ(dialog.Result().code, code);
  }
  for (int code : {-1, 7, 99}) {
    dialog.Prepare(2000, 3, 15, 10, 0, 0, "Dentist");
    dialog.SetRule(code);
    Run([&](HeadlessDialog& d) {
      EXPECT_TRUE(Checked(d).empty()) << code;
      d.Click(kIdOk);
    });
    EXPECT_EQ(dialog.Result().code, kNoRepeat) << code;
  }
}

TEST_F(RepeatDialogTest, OkReturnsTheRuleUntilDayAndTheRuleParameters) {
  dialog.Prepare(2000, 3, 21, 9, 0, 0, "Book club");
  dialog.SetRule(0);
  EXPECT_EQ(Run([](HeadlessDialog& d) {
              d.Click(res::kIdRepeatMonthWeekday);
              d.Click(kIdOk);
            }),
            kIdOk);
  const RepeatChoice r = dialog.Result();
  EXPECT_EQ(r.code, kMonthlyOnWeekday);
  EXPECT_EQ(r.until, MakeLocalTime(2002, 3, 21, 9, 0));
  EXPECT_EQ(r.day, 21);
  EXPECT_EQ(r.nthweek, "3rd");
  EXPECT_EQ(r.sday, "every Tuesday");
}

TEST_F(RepeatDialogTest, ADateThePickerCannotGiveSaysSoAndCountsAsCancelled) {
  struct Row {
    std::string what;
    std::function<void(HeadlessDialog&)> spoil;
  };
  const std::vector<Row> rows = {
      {"after 2036",
       [](HeadlessDialog& d) { d.SetDate(res::kIdRepeatUntil, {2040, 1, 1, 10, 0, 0, 1}); }},
      {"before 1990",
       [](HeadlessDialog& d) { d.SetDate(res::kIdRepeatUntil, {1989, 12, 31, 10, 0, 0, 1}); }},
      {"no date at all",
       [](HeadlessDialog& d) { d.controls().Find(res::kIdRepeatUntil)->date.reset(); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    dialog.Prepare(2000, 3, 15, 10, 0, 0, "Dentist");
    dialog.SetRule(0);
    app.boxes.Expect(kYearsMessage);
    EXPECT_EQ(Run([&](HeadlessDialog& d) {
                d.Click(res::kIdRepeatWeekly);
                row.spoil(d);
                d.Click(kIdOk);
                EXPECT_FALSE(d.dialog().IsRunning());
              }),
              kIdCancel);
    EXPECT_EQ(dialog.Result().code, kNoRepeat);
    EXPECT_EQ(dialog.Result().until, 0);
  }
  ASSERT_EQ(app.boxes.shown().size(), 3u);
  EXPECT_EQ(app.boxes.shown()[0].buttons, MbButtons::Ok);
}

TEST_F(RepeatDialogTest, HelpOpensTheRepeatTopicAndKeepsTheDialogOpen) {
  dialog.Prepare(2000, 3, 15, 10, 0, 0, "Dentist");
  dialog.SetRule(0);
  Run([&](HeadlessDialog& d) {
    d.Click(res::kIdRepeatHelp);
    EXPECT_TRUE(d.dialog().IsRunning());
    d.Click(kIdCancel);
  });
  EXPECT_EQ(ui.helpTopics(), std::vector<int>{res::kHelpRepeat});
  EXPECT_EQ(res::kHelpRepeat, 108);
}

TEST_F(RepeatDialogTest, AnEverydayChoiceExpandsIntoADailySeries) {
  CPlannerEntry& entry = app.AddEntry(2000, 3, 15, 10, 0, "Standup");
  dialog.Prepare(2000, 3, 15, entry.hour(), entry.minute(), entry.until, entry.notes);
  dialog.SetRule(entry.repeats);
  ASSERT_EQ(Run([](HeadlessDialog& d) {
              d.Click(res::kIdRepeatDaily);
              d.Click(kIdOk);
            }),
            kIdOk);
  ApplyRepeatChoice(entry, dialog.Result());

  EXPECT_EQ(entry.repeats, kEveryDay);
  EXPECT_EQ(entry.until, MakeLocalTime(2000, 3, 29, 10, 0));
  for (int day = 16; day <= 29; ++day) {
    CPlannerEntry* e = app.ctx.entries.FindAt(2000, 3, day, 10, 0);
    ASSERT_NE(e, nullptr) << day;
    EXPECT_EQ(e->notes, "Standup");
    EXPECT_TRUE(app.registry.OpenKey(CRegistryStore::EntryPath(2000, 3, day, 10, 0))) << day;
  }
  EXPECT_EQ(app.ctx.entries.FindAt(2000, 3, 30, 10, 0), nullptr);
}

}  // namespace
}  // namespace vesk
