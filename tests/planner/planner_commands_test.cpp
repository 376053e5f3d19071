// The day planner's menu: stepping the date, Repeats, Reminder, Clear Day,
// Select Font, the editing commands and their item states.
#include <string>

#include "calendar/local_time.h"
#include "planner/planner_fixture.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/registry_store.h"
#include "store/repeat_rules.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

using namespace res;

class PlannerCommandsTest : public PlannerTest {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(PlannerCommandsTest, NextStepsIntoTheNewYear) {
  AppointBook2& p = Open(1999, 12, 31);
  Type(p, "Party");
  EXPECT_TRUE(ui.Command(p, kIdNext));
  EXPECT_EQ(StoredNotes(1999, 12, 31, 8, 0), "Party");
  EXPECT_EQ(p.year, 2000);
  EXPECT_EQ(p.month, 1);
  EXPECT_EQ(p.day, 1);
  EXPECT_EQ(Record(p).title, "Saturday, January 1, 2000");
  EXPECT_TRUE(Record(p).needsPaint);
  EXPECT_FALSE(Record(p).erase);
  Paint(p);
  EXPECT_EQ(Selected(p), "8:00");
  EXPECT_EQ(Editor(p).Text(), "");
  ui.Command(p, kIdPrevious);
  Paint(p);
  EXPECT_EQ(Editor(p).Text(), "Party");
}

TEST_F(PlannerCommandsTest, StepDayKeepsTheFirstHourAndCrossesDaylightSaving) {
  AppointBook2& p = Open(2000, 4, 1);  // clocks go forward on 2 April 2000
  ui.VScroll(p, kSbThumbPosition, 3);
  ui.Command(p, kIdNext);
  ui.Command(p, kIdNext);
  EXPECT_EQ(p.day, 3);
  EXPECT_EQ(p.firstHour(), 2);
  for (int i = 0; i < 3; ++i) ui.Command(p, kIdPrevious);
  EXPECT_EQ(p.month, 3);
  EXPECT_EQ(p.day, 31);
}

TEST_F(PlannerCommandsTest, StepDayOntoAnOpenDateActivatesThatWindow) {
  AppointBook2& first = Open(2000, 1, 1);
  AppointBook2& p = Open(1999, 12, 31);
  Type(p, "Kept");
  ui.Command(p, kIdNext);
  EXPECT_EQ(ui.ActiveWindow(), &first);
  EXPECT_EQ(p.day, 31) << "this window keeps its date";
  EXPECT_EQ(p.year, 1999);
  EXPECT_EQ(Editor(p).Text(), "Kept") << "and its line";
}

TEST_F(PlannerCommandsTest, TheMainFramePassesItsCommandsToTheActivePlanner) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Copy me");
  ASSERT_EQ(ui.ActiveWindow(), &p);
  EXPECT_TRUE(ui.Command(frame(), kIdSelectAll));
  EXPECT_TRUE(ui.Command(frame(), kIdCopy));
  EXPECT_EQ(ui.clipboard(), "Copy me");
  EXPECT_TRUE(ui.Accelerator('N'));
  EXPECT_EQ(p.day, 16);
  EXPECT_EQ(frame().view().displayedMonth(), 3) << "the month view did not step";
  app.boxes.Expect("Please first select a non-empty day planner entry.");
  Paint(p);
  EXPECT_TRUE(ui.Accelerator('R'));
}

TEST_F(PlannerCommandsTest, EditMenuStatesFollowTheEditor) {
  AppointBook2& p = Open(2000, 3, 15);
  auto enabled = [&](int id) { return ui.MenuState(p, id).enabled; };
  EXPECT_FALSE(enabled(kIdCopy));
  EXPECT_FALSE(enabled(kIdCut));
  EXPECT_FALSE(enabled(kIdDelete));
  EXPECT_FALSE(enabled(kIdUndo));
  EXPECT_FALSE(enabled(kIdSelectAll));
  EXPECT_TRUE(enabled(kIdPaste));
  EXPECT_TRUE(enabled(kIdReminder));
  EXPECT_TRUE(enabled(kIdRepeats));
  Type(p, "Dentist");
  EXPECT_TRUE(enabled(kIdSelectAll));
  EXPECT_TRUE(enabled(kIdUndo));
  EXPECT_FALSE(enabled(kIdCopy)) << "no selection yet";
  Editor(p).SetSel(0, 3);
  EXPECT_TRUE(enabled(kIdCopy));
  EXPECT_TRUE(enabled(kIdCut));
  EXPECT_TRUE(enabled(kIdDelete));
  ui.VScroll(p, kSbThumbTrack, 2);  // no editor until the next paint
  ASSERT_EQ(p.editor(), nullptr);
  for (int id : {kIdCopy, kIdCut, kIdDelete, kIdUndo, kIdSelectAll, kIdPaste}) {
    EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(p.OnCommand(id)) << id;
  }
}

TEST_F(PlannerCommandsTest, DeleteCutsTheSelectionToTheClipboard) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Dentist at ten");
  Editor(p).SetSel(0, 8);
  ui.Command(p, kIdDelete);
  EXPECT_EQ(ui.clipboard(), "Dentist ");
  EXPECT_EQ(Editor(p).Text(), "at ten");
  EXPECT_EQ(p.editText(), "at ten");
  ui.Command(p, kIdUndo);
  EXPECT_EQ(p.editText(), "Dentist at ten");
  ui.Command(p, kIdSelectAll);
  int start = -1, end = -1;
  Editor(p).GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 14);
  ui.Command(p, kIdStandardCut);
  EXPECT_EQ(ui.clipboard(), "Dentist at ten");
  ui.Command(p, kIdPaste);
  ui.Command(p, kIdPaste);
  EXPECT_EQ(p.editText(), "Dentist at tenDentist at ten");
}

TEST_F(PlannerCommandsTest, RepeatsAndReminderNeedANonEmptyLine) {
  AppointBook2& p = Open(2000, 3, 15);
  for (int id : {kIdRepeats, kIdReminder}) {
    app.boxes.Expect("Please first select a non-empty day planner entry.");
    ui.Command(p, id);
    Type(p, "   ");
    app.boxes.Expect("Please first select a non-empty day planner entry.");
    ui.Command(p, id);
    EXPECT_EQ(ui.Focus(), p.editor());
    Editor(p).SetText("");
  }
  EXPECT_EQ(app.ctx.entries.size(), 0u);
  EXPECT_TRUE(ui.dialogRuns().empty());
  EXPECT_FALSE(app.ctx.repeatBusy);
}

TEST_F(PlannerCommandsTest, RepeatsMakesTheNewLineAnEntryAndExpandsTheSeries) {
  AppointBook2& p = Open(2000, 3, 15);
  ClickLine(p, 10, true);  // 6:00pm
  Type(p, "Gym");
  ui.ScriptDialog(kDlgRepeat, [&](HeadlessDialog& d) {
    EXPECT_FALSE(Record(p).enabled) << "the planner is disabled while the dialog runs";
    EXPECT_FALSE(Record(frame()).enabled);
    EXPECT_TRUE(app.ctx.repeatBusy);
    ASSERT_NE(At(2000, 3, 15, 18, 0), nullptr) << "stored before the dialog";
    d.Click(kIdRepeatWeekly);
    d.SetDate(kIdRepeatUntil, DateTime{2000, 4, 5, 18, 0});
    d.Click(kIdOk);
  });
  ui.Command(p, kIdRepeats);
  EXPECT_TRUE(Record(p).enabled);
  EXPECT_TRUE(Record(frame()).enabled);
  EXPECT_FALSE(app.ctx.repeatBusy);
  EXPECT_EQ(ui.ActiveWindow(), &p);
  EXPECT_EQ(ui.Focus(), p.editor());
  const CPlannerEntry* first = At(2000, 3, 15, 18, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->repeats, kEveryWeek);
  EXPECT_EQ(p.day, 15);
  for (int d : {22, 29}) EXPECT_EQ(StoredNotes(2000, 3, d, 18, 0), "Gym") << d;
  EXPECT_EQ(StoredNotes(2000, 4, 5, 18, 0), "Gym");
  const std::vector<CanvasOp> ops = Paint(p);
  const CanvasOp* plus = FindText(ops, "+");
  ASSERT_NE(plus, nullptr);
  EXPECT_EQ(plus->color, Rgb(255, 0, 0));
}

TEST_F(PlannerCommandsTest, RepeatsUsesTheTextOnTheLineNotTheOldOne) {
  app.AddEntry(2000, 3, 15, 8, 0, "Gym");
  AppointBook2& p = Open(2000, 3, 15);
  Key(p, kVkEnd);
  Type(p, " and swim");
  ui.ScriptDialog(kDlgRepeat, [&](HeadlessDialog& d) {
    d.Click(kIdRepeatWeekly);
    d.SetDate(kIdRepeatUntil, DateTime{2000, 3, 29, 8, 0});
    d.Click(kIdOk);
  });
  ui.Command(p, kIdRepeats);
  EXPECT_EQ(StoredNotes(2000, 3, 22, 8, 0), "Gym and swim");
  EXPECT_EQ(StoredNotes(2000, 3, 15, 8, 0), "Gym and swim");
}

TEST_F(PlannerCommandsTest, RepeatsCancelledChangesNothing) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Once");
  ui.ScriptDialog(kDlgRepeat, [](HeadlessDialog& d) {
    d.Click(kIdRepeatDaily);
    d.Click(kIdCancel);
  });
  ui.Command(p, kIdRepeats);
  ASSERT_NE(At(2000, 3, 15, 8, 0), nullptr);
  EXPECT_EQ(At(2000, 3, 15, 8, 0)->repeats, 0);
  EXPECT_EQ(app.ctx.entries.size(), 1u);
  EXPECT_FALSE(app.ctx.repeatBusy);
}

TEST_F(PlannerCommandsTest, ARepeatDialogThatFailsLeavesTheEntryAsItWas) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Once");
  app.boxes.Expect("Yikes! Please stick to the years 1990 - 2036.");
  ui.ScriptDialog(kDlgRepeat, [](HeadlessDialog& d) {
    d.Click(kIdRepeatWeekly);
    d.SetDate(kIdRepeatUntil, DateTime{2040, 1, 1, 8, 0});
    d.Click(kIdOk);
  });
  ui.Command(p, kIdRepeats);
  ASSERT_NE(At(2000, 3, 15, 8, 0), nullptr);
  EXPECT_EQ(At(2000, 3, 15, 8, 0)->repeats, 0);
  EXPECT_EQ(app.ctx.entries.size(), 1u);
  EXPECT_TRUE(Record(p).enabled);
  EXPECT_FALSE(app.ctx.repeatBusy);
}

TEST_F(PlannerCommandsTest, ABusyRepeatsCommandBlocksRepeatsAndReminder) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Dentist");
  app.ctx.repeatBusy = true;
  ui.Command(p, kIdRepeats);
  ui.Command(p, kIdReminder);
  EXPECT_TRUE(ui.dialogRuns().empty());
  app.ctx.repeatBusy = false;
}

TEST_F(PlannerCommandsTest, ReminderStoresTheChosenLead) {
  app.ctx.options.early = 5;
  AppointBook2& p = Open(2000, 3, 15);
  ClickLine(p, 2, true);  // 10:00am, two hours from now
  Type(p, "Dentist");
  ui.ScriptDialog(kDlgReminder, [&](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().Text(kIdReminderMinutes), "5");
    EXPECT_TRUE(d.controls().IsChecked(kIdReminderEnabled));
    EXPECT_EQ(At(2000, 3, 15, 10, 0), nullptr) << "a new line is stored after the dialog";
    d.SetText(kIdReminderMinutes, "30");
    d.Click(kIdReminderExtra);
    d.Click(kIdOk);
  });
  ui.Command(p, kIdReminder);
  const CPlannerEntry* e = At(2000, 3, 15, 10, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->early, 30);
  EXPECT_EQ(e->xreminder, 1);
  EXPECT_EQ(e->reminder, 1);
  EXPECT_EQ(StoredInt(2000, 3, 15, 10, 0, "early"), 30);
  EXPECT_EQ(StoredInt(2000, 3, 15, 10, 0, "xreminder"), 1);
  EXPECT_NE(e->timer, 0) << "armed again";
  EXPECT_EQ(ui.ActiveWindow(), &p);
}

TEST_F(PlannerCommandsTest, ReminderOffIsStoredAsNoLead) {
  CPlannerEntry& e = app.AddEntry(2000, 3, 15, 10, 0, "Dentist");
  e.early = 20;
  e.Schedule(true);
  AppointBook2& p = Open(2000, 3, 15);
  ClickLine(p, 2, true);
  ui.ScriptDialog(kDlgReminder, [](HeadlessDialog& d) {
    EXPECT_EQ(d.controls().Text(kIdReminderMinutes), "20");
    d.Click(kIdReminderEnabled);
    d.Click(kIdOk);
  });
  ui.Command(p, kIdReminder);
  EXPECT_EQ(e.early, -1);
  EXPECT_EQ(e.reminder, 0);
  EXPECT_EQ(StoredInt(2000, 3, 15, 10, 0, "early"), -1);
  EXPECT_EQ(e.timer, 0);
}

TEST_F(PlannerCommandsTest, ReminderWithoutALeadOpensSwitchedOffAndCancelChangesNothing) {
  CPlannerEntry& e = app.AddEntry(2000, 3, 15, 10, 0, "Dentist");
  e.early = -1;
  e.reminder = 0;
  e.Schedule(true);
  AppointBook2& p = Open(2000, 3, 15);
  ClickLine(p, 2, true);
  ui.ScriptDialog(kDlgReminder, [](HeadlessDialog& d) {
    EXPECT_FALSE(d.controls().IsChecked(kIdReminderEnabled));
    EXPECT_EQ(d.controls().Text(kIdReminderMinutes), "0");
    // Switched on and then cancelled: nothing the user did in the dialog counts.
    d.Click(kIdReminderEnabled);
    d.SetText(kIdReminderMinutes, "45");
    d.Click(kIdCancel);
  });
  // Unchanged values write nothing: a marker shows whether the entry was saved.
  app.registry.SetValue(CRegistryStore::EntryPath(2000, 3, 15, 10, 0), "notes",
                        RegValue::FromString("marker"));
  ui.Command(p, kIdReminder);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 10, 0), "marker");
  EXPECT_EQ(e.early, -1);
  EXPECT_EQ(e.reminder, 0);
}

TEST_F(PlannerCommandsTest, ReminderOnALineWhoseEntryAnotherPlannerDeletedStoresTheLineAgain) {
  CPlannerEntry& gym = app.AddEntry(2000, 3, 15, 18, 0, "Gym");
  gym.SetRepeat(kEveryWeek, "3rd", "every Wednesday", 15);
  gym.until = MakeLocalTime(2000, 3, 22, 18, 0);
  gym.Schedule(true);
  StartRepeat(gym);
  AppointBook2& later = Open(2000, 3, 22);
  ClickLine(later, 10, true);
  ASSERT_NE(later.EditorEntry(), nullptr);
  AppointBook2& first = Open(2000, 3, 15);
  ClickLine(first, 10, true);
  Editor(first).SetSel(0, -1);
  ui.Command(first, kIdCut);
  app.boxes.Expect(
      "You have deleted a datebook entry which repeats.\n Delete the other \"Gym\" repeating "
      "entries in this time slot as well?",
      MbResult::Yes);
  ClickLine(first, 0, true);
  ASSERT_EQ(At(2000, 3, 22, 18, 0), nullptr) << "the other planner's entry is gone";
  EXPECT_EQ(later.EditorEntry(), nullptr);
  ui.Activate(later);
  ui.ScriptDialog(kDlgReminder, [](HeadlessDialog& d) { d.Click(kIdOk); });
  ui.Command(later, kIdReminder);
  const CPlannerEntry* again = At(2000, 3, 22, 18, 0);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->notes, "Gym");
  EXPECT_EQ(again->repeats, 0);
  EXPECT_EQ(StoredNotes(2000, 3, 22, 18, 0), "Gym");
}

TEST_F(PlannerCommandsTest, ClearDayRemovesEveryEntryOfTheDateAfterYes) {
  CPlannerEntry& gym = app.AddEntry(2000, 3, 15, 18, 0, "Gym");
  gym.SetRepeat(kEveryWeek, "3rd", "every Wednesday", 15);
  gym.until = MakeLocalTime(2000, 3, 29, 18, 0);
  gym.Schedule(true);
  StartRepeat(gym);
  app.AddEntry(2000, 3, 15, 9, 0, "Dentist");
  app.AddEntry(2000, 3, 16, 9, 0, "Other day");
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Typed");
  const std::string question =
      "Are you sure you wish to delete all day planner entries for March 15, 2000?";
  app.boxes.Expect(question, MbResult::No);
  ui.Command(p, kIdClearDay);
  EXPECT_NE(At(2000, 3, 15, 9, 0), nullptr);
  EXPECT_NE(At(2000, 3, 15, 18, 0), nullptr);
  app.boxes.Expect(question, MbResult::Yes);
  ui.Command(p, kIdClearDay);
  EXPECT_TRUE(app.ctx.entries.EntriesOn(2000, 3, 15).empty());
  EXPECT_EQ(StoredNotes(2000, 3, 15, 18, 0), std::nullopt);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 8, 0), std::nullopt);
  EXPECT_NE(At(2000, 3, 22, 18, 0), nullptr) << "other dates keep their occurrences";
  EXPECT_NE(At(2000, 3, 16, 9, 0), nullptr);
  EXPECT_TRUE(Record(p).erase);
}

TEST_F(PlannerCommandsTest, SelectFontStoresThePlannerFontAndMovesTheWindow) {
  AppointBook2& p = Open(2000, 3, 15);
  FontRecord chosen = FontRecord::DefaultMain();
  chosen.faceName = "Planner Face";
  chosen.height = -11;
  ui.AnswerFont(chosen);
  ui.Command(p, kIdSelectFont);
  EXPECT_EQ(ui.fontCalls().back(), FontRecord::DefaultMain()) << "starts from the current font";
  EXPECT_EQ(p.font()->record(), chosen);
  EXPECT_EQ(app.ctx.store.LoadFont("font2"), chosen.ToBytes());
  EXPECT_EQ(p.metrics().lineHeight, 11 + 3 + 4);
  EXPECT_EQ(Record(p).rect.left, 10);
  EXPECT_EQ(Record(p).rect.top, 10);
  EXPECT_EQ(Record(p).rect.Height(), frame().borderHeight() + 22 * 18);
  EXPECT_TRUE(Record(p).enabled);
  Paint(p);
  EXPECT_EQ(HeadlessUi::EditOf(Editor(p))->font(), p.font());
  // The next planner opens in the new font.
  AppointBook2& next = Open(2000, 3, 16);
  EXPECT_EQ(next.font()->record().faceName, "Planner Face");
}

TEST_F(PlannerCommandsTest, SelectFontCancelledKeepsTheLineBeingTyped) {
  AppointBook2& p = Open(2000, 3, 15);
  Type(p, "Still here");
  ui.Command(p, kIdSelectFont);
  EXPECT_EQ(Editor(p).Text(), "Still here");
  EXPECT_EQ(ui.Focus(), p.editor());
  EXPECT_EQ(app.ctx.store.LoadFont("font2"), std::nullopt);
}

TEST_F(PlannerCommandsTest, CloseHelpAndHints) {
  AppointBook2& p = Open(2000, 3, 15);
  ui.Command(p, kIdPlannerHelp);
  EXPECT_EQ(ui.helpTopics().back(), 102);
  ui.ScriptDialog(kDlgPlannerHints, [](HeadlessDialog& d) { d.Click(kIdOk); });
  ui.Command(p, kIdPlannerHints);
  ASSERT_EQ(ui.dialogRuns().size(), 1u);
  EXPECT_EQ(ui.dialogRuns()[0].owner, &p);
  EXPECT_EQ(ui.dialogRuns()[0].title, "Quick hints on using the Day Planner");
  EXPECT_EQ(ui.Focus(), p.editor());
  Type(p, "Bye");
  ui.Command(p, kIdClose);
  EXPECT_EQ(CountAlive("AppointBook2"), 0);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 8, 0), "Bye");
}

}  // namespace
}  // namespace vesk::test
