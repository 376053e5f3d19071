// What a typed line becomes when it is left, in every way a line can be left.
#include <functional>
#include <string>

#include "planner/planner_fixture.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/entry_list.h"

namespace vesk::test {
namespace {

class CommitLineTest : public PlannerTest {
 protected:
  void SetUp() override {
    Start();
    app.ctx.options.early = 15;
  }
};

// Each way of leaving the 8:00 line after typing on it; the text must be stored.
struct LeaveWay {
  const char* name;
  std::function<void(AppointBook2&)> leave;
};

TEST_F(CommitLineTest, EveryWayOfLeavingALineStoresItsText) {
  const std::vector<LeaveWay> ways{
      {"click on another line", [this](AppointBook2& p) { ClickLine(p, 3, true); }},
      {"Tab", [this](AppointBook2& p) { Key(p, kVkTab); }},
      {"Enter", [this](AppointBook2& p) { Key(p, kVkReturn); }},
      {"Down", [this](AppointBook2& p) { Key(p, kVkDown); }},
      {"Up", [this](AppointBook2& p) { Key(p, kVkUp); }},
      {"wheel", [this](AppointBook2& p) { ui.Wheel(p, -120); }},
      {"scroll bar", [this](AppointBook2& p) { ui.VScroll(p, kSbLineDown, 0); }},
      {"page key", [this](AppointBook2& p) { Key(p, kVkNext); }},
      {"next day", [this](AppointBook2& p) { ui.Command(p, res::kIdNext); }},
      {"font change",
       [this](AppointBook2& p) {
         FontRecord f = FontRecord::DefaultMain();
         f.height = -10;
         ui.AnswerFont(f);
         ui.Command(p, res::kIdSelectFont);
       }},
      {"close", [this](AppointBook2& p) { ui.Close(p); }},
      {"Esc", [this](AppointBook2& p) { Key(p, kVkEscape); }},
      {"all planners closed", [this](AppointBook2&) { windows.CloseAllDayPlanners(); }},
  };
  int day = 1;
  for (const LeaveWay& way : ways) {
    SCOPED_TRACE(way.name);
    AppointBook2& planner = Open(2000, 4, day);
    ASSERT_EQ(Selected(planner), "8:00");
    Type(planner, "Dentist");
    EXPECT_EQ(StoredNotes(2000, 4, day, 8, 0), std::nullopt) << "nothing is stored while typing";
    way.leave(planner);
    EXPECT_EQ(StoredNotes(2000, 4, day, 8, 0), "Dentist");
    const CPlannerEntry* e = At(2000, 4, day, 8, 0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->notes, "Dentist");
    EXPECT_EQ(e->reminder, 1);
    EXPECT_EQ(e->early, 15);
    windows.CloseAllDayPlanners();
    ui.Pump();
    ++day;
  }
}

TEST_F(CommitLineTest, ClearDayStoresTheLineBeforeClearingTheDate) {
  AppointBook2& planner = Open(2000, 4, 3);
  Type(planner, "Dentist");
  app.boxes.Expect("Are you sure you wish to delete all day planner entries for April 3, 2000?",
                   MbResult::No);
  ui.Command(planner, res::kIdClearDay);
  EXPECT_EQ(StoredNotes(2000, 4, 3, 8, 0), std::nullopt) << "No leaves the line being typed";
  app.boxes.Expect("Are you sure you wish to delete all day planner entries for April 3, 2000?",
                   MbResult::Yes);
  ui.Command(planner, res::kIdClearDay);
  EXPECT_EQ(At(2000, 4, 3, 8, 0), nullptr);
  EXPECT_EQ(StoredNotes(2000, 4, 3, 8, 0), std::nullopt);
}

TEST_F(CommitLineTest, AChangedTextRewritesOnlyTheNotes) {
  CPlannerEntry& e = app.AddEntry(2000, 3, 15, 9, 0, "Gym");
  e.early = 40;  // in memory only: a rewrite of the whole entry would store it
  AppointBook2& planner = Open(2000, 3, 15);
  ClickLine(planner, 1, true);
  EXPECT_EQ(Editor(planner).Text(), "Gym");
  EXPECT_EQ(planner.editText(), "Gym");
  Key(planner, kVkEnd);
  Type(planner, " and swim");
  ClickLine(planner, 2, true);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 9, 0), "Gym and swim");
  EXPECT_EQ(StoredInt(2000, 3, 15, 9, 0, "early"), 15);
  EXPECT_EQ(At(2000, 3, 15, 9, 0), &e);
}

TEST_F(CommitLineTest, AQuoteTypedOverAnEntryIsItsNewText) {
  app.AddEntry(2000, 3, 15, 8, 0, "Lunch");
  app.AddEntry(2000, 3, 15, 8, 30, "Call");
  AppointBook2& planner = Open(2000, 3, 15);
  ClickLine(planner, 0, false);
  Editor(planner).SetSel(0, -1);
  ui.Key(planner, kVkDelete);
  Type(planner, "'");
  Key(planner, kVkReturn);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 8, 30), "'");
}

TEST_F(CommitLineTest, SpacesOnlyStoreNothingOnAnEmptyLine) {
  AppointBook2& planner = Open(2000, 3, 15);
  Type(planner, "   ");
  Key(planner, kVkReturn);
  EXPECT_EQ(At(2000, 3, 15, 8, 0), nullptr);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 8, 0), std::nullopt);
  EXPECT_EQ(app.ctx.entries.size(), 0u);
}

TEST_F(CommitLineTest, SpacesOverAnEntryDeleteItWithItsContinuedLines) {
  app.AddEntry(2000, 3, 15, 9, 0, "Meeting");
  app.AddEntry(2000, 3, 15, 9, 30, "Meeting (continued)");
  app.AddEntry(2000, 3, 15, 10, 0, "Meeting (continued)");
  app.AddEntry(2000, 3, 15, 11, 0, "Other");
  AppointBook2& planner = Open(2000, 3, 15);
  ClickLine(planner, 1, true);
  Editor(planner).SetSel(0, -1);
  ui.Command(planner, res::kIdCut);
  Type(planner, "   ");
  const int before = Record(planner).invalidations;
  Key(planner, kVkTab);
  EXPECT_EQ(At(2000, 3, 15, 9, 0), nullptr);
  EXPECT_EQ(At(2000, 3, 15, 9, 30), nullptr) << "the editor moved onto a line that was removed";
  EXPECT_EQ(At(2000, 3, 15, 10, 0), nullptr);
  EXPECT_NE(At(2000, 3, 15, 11, 0), nullptr);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 10, 0), std::nullopt);
  EXPECT_GT(Record(planner).invalidations, before) << "the removed lines are repainted";
}

TEST_F(CommitLineTest, ClearingARepeatingEntryAsksAboutTheOthersFirst) {
  std::vector<CPlannerEntry*> series;
  for (int d : {15, 22, 29}) {
    CPlannerEntry& e = app.AddEntry(2000, 3, d, 18, 0, "Gym");
    e.repeats = 2;
    e.Schedule(true);
    series.push_back(&e);
  }
  AppointBook2& planner = Open(2000, 3, 15);
  ui.VScroll(planner, kSbThumbPosition, 11);  // first hour 10
  Paint(planner);
  ClickLine(planner, 8, true);
  ASSERT_EQ(Editor(planner).Text(), "Gym");
  Editor(planner).SetSel(0, -1);
  ui.Command(planner, res::kIdCut);
  app.boxes.Expect(
      "You have deleted a datebook entry which repeats.\n Delete the other \"Gym\" repeating "
      "entries in this time slot as well?",
      MbResult::Yes);
  ClickLine(planner, 0, true);
  EXPECT_EQ(app.ctx.entries.size(), 0u);
  EXPECT_EQ(StoredNotes(2000, 3, 29, 18, 0), std::nullopt);
}

TEST_F(CommitLineTest, ClosingWhileTypingStoresTheText) {
  AppointBook2& planner = Open(2000, 3, 15);
  ClickLine(planner, 4, false);
  Type(planner, "Half-typed");
  ui.Close(planner);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 12, 30), "Half-typed");
  EXPECT_EQ(app.ctx.planners[0], nullptr);
  EXPECT_EQ(CountAlive("AppointBook2"), 0);
}

TEST_F(CommitLineTest, EveryCommitRebuildsTheTrayTip) {
  AppointBook2& planner = Open(2000, 3, 15);
  ClickLine(planner, 2, true);
  Type(planner, "Dentist");
  Key(planner, kVkReturn);
  ASSERT_NE(ui.tray(), nullptr);
  EXPECT_NE(ui.tray()->Tip().find("Dentist"), std::string::npos) << ui.tray()->Tip();
}

TEST_F(CommitLineTest, UnchangedTextWritesNothing) {
  app.AddEntry(2000, 3, 15, 8, 0, "Lunch");
  AppointBook2& planner = Open(2000, 3, 15);
  // A registry value changed behind the program's back shows whether the
  // planner wrote the notes again.
  app.registry.SetValue(CRegistryStore::EntryPath(2000, 3, 15, 8, 0), "notes",
                        RegValue::FromString("marker"));
  Key(planner, kVkReturn);
  EXPECT_EQ(StoredNotes(2000, 3, 15, 8, 0), "marker");
}

}  // namespace
}  // namespace vesk::test

namespace vesk::test {
namespace {

// A planner far from today keeps its month in memory while it is open, so the
// line being edited still belongs to its entry after the list let idle months go.
TEST_F(CommitLineTest, AnOpenPlannersMonthOutlivesIdleTimeAndTheEditStaysOnItsEntry) {
  app.AddEntry(2000, 3, 20, 9, 0, "Next on the tray tip");
  app.AddEntry(2000, 9, 12, 9, 0, "Dentist");
  AppointBook2& planner = Open(2000, 9, 12);
  ClickLine(planner, 1, true);
  Key(planner, kVkEnd);
  Type(planner, " at ten");
  app.clock.Advance(15 * 60 * 1000);  // the tray tip's minute timer trims meanwhile
  app.ctx.entries.Trim();
  ASSERT_TRUE(app.ctx.entries.IsMonthLoaded(2000, 9));
  Key(planner, kVkTab);
  EXPECT_EQ(app.ctx.entries.EntriesOn(2000, 9, 12).size(), 1u);
  EXPECT_EQ(StoredNotes(2000, 9, 12, 9, 0), "Dentist at ten");
  planner.Destroy();
  ui.Pump();
  app.clock.Advance(15 * 60 * 1000);
  app.ctx.entries.Trim();
  EXPECT_FALSE(app.ctx.entries.IsMonthLoaded(2000, 9));
}

}  // namespace
}  // namespace vesk::test
