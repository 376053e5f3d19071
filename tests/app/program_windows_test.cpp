// The program's own calendar windows behind the main frame's commands, the
// tray and the month view: Today opens a real day planner, Week and Year the
// real views, Next and Previous reach the active view, and Exit closes the
// planners with their lines stored.
#include <fstream>
#include <iterator>
#include <string>

#include "app/app_fixture.h"
#include "planner/day_planner.h"
#include "planner/entry_edit.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/registry_store.h"
#include "views/month_view.h"
#include "views/view_week.h"
#include "views/view_year.h"

namespace vesk::test {
namespace {

class ProgramWindowsTest : public AppTest {
 protected:
  void SetUp() override {
    MarkNotFirstRun();
    UseProgramWindows();
    Start();
  }
};

TEST_F(ProgramWindowsTest, TodayOpensTheDayPlannerOfToday) {
  EXPECT_TRUE(ui.Command(frame(), res::kIdToday));
  AppointBook2* planner = app.ctx.planners[0];
  ASSERT_NE(planner, nullptr);
  EXPECT_EQ(planner->day, 15);
  EXPECT_EQ(ui.ActiveWindow(), planner);
  for (int id : {res::kIdWeek, res::kIdYear, res::kIdToDoList}) {
    EXPECT_TRUE(ui.MenuState(frame(), id).enabled) << id;
  }
}

TEST_F(ProgramWindowsTest, WeekAndYearCommandsOpenTheViewsAndNextPreviousReachThem) {
  ASSERT_TRUE(ui.Accelerator('W'));
  ViewWeek* week = app.ctx.weekWindows[0];
  ASSERT_NE(week, nullptr);
  EXPECT_EQ(week->start(), (CivilDate{2000, 3, 12}));
  EXPECT_EQ(ui.ActiveWindow(), week);
  ui.Accelerator('N');
  EXPECT_EQ(week->start(), (CivilDate{2000, 3, 19}));
  ui.Accelerator('P');
  ui.Accelerator('P');
  EXPECT_EQ(week->start(), (CivilDate{2000, 3, 5}));

  ASSERT_TRUE(ui.Accelerator('Y'));
  ViewYear* year = app.ctx.yearWindow;
  ASSERT_NE(year, nullptr);
  EXPECT_EQ(ui.ActiveWindow(), year);
  ui.Accelerator('N');
  EXPECT_EQ(year->displayedYear(), 2001);
  EXPECT_EQ(week->start(), (CivilDate{2000, 3, 5})) << "only the active view steps";

  ui.Activate(frame());
  ui.Accelerator('N');
  EXPECT_EQ(frame().view().displayedMonth(), 4);
  EXPECT_EQ(year->displayedYear(), 2001);
}

TEST_F(ProgramWindowsTest, TheTrayMenuOpensYearAndWeek) {
  ui.ChoosePopupCommand(res::kIdYear);
  ui.TrayRightDown();
  ui.ChoosePopupCommand(res::kIdWeek);
  ui.TrayRightDown();
  EXPECT_NE(app.ctx.yearWindow, nullptr);
  EXPECT_NE(app.ctx.weekWindows[0], nullptr);
}

TEST_F(ProgramWindowsTest, TheMonthViewOpensTheWeekOfADateAndTheYear) {
  CVeskCalView& month = frame().view();
  month.StepMonth(1);  // April 2000
  ui.Paint(month);
  const MonthLayout cells = month.layout();
  const Rect april25 = cells.days[25];
  ui.RightClick(month, {april25.left + 3, april25.top + 3});
  ASSERT_NE(app.ctx.weekWindows[0], nullptr);
  EXPECT_EQ(app.ctx.weekWindows[0]->start(), (CivilDate{2000, 4, 23}));

  ui.Click(month, {cells.title.left + 2, cells.title.top + 2});
  ViewYear* year = app.ctx.yearWindow;
  ASSERT_NE(year, nullptr);
  EXPECT_EQ(year->displayedYear(), 2000);

  // The year's right click moves the open week; its left click opens a planner.
  ui.Paint(*year);
  const Rect dec31 = year->layout().days[12][31];
  ui.RightClick(*year, {dec31.left + 3, dec31.top + 3});
  EXPECT_EQ(app.ctx.weekWindows[0]->start(), (CivilDate{2000, 12, 31}));
  ui.Activate(*year);
  ui.Click(*year, {dec31.left + 3, dec31.top + 3});
  ASSERT_NE(app.ctx.planners[0], nullptr);
  EXPECT_EQ(app.ctx.planners[0]->day, 31);
}

TEST_F(ProgramWindowsTest, AClosingPlannerRepaintsTheWeekItWasOpenedFrom) {
  app.AddEntry(2000, 3, 14, 9, 0, "Dentist");
  ui.Command(frame(), res::kIdWeek);
  ViewWeek* week = app.ctx.weekWindows[0];
  ASSERT_NE(week, nullptr);
  ui.Paint(*week);
  ui.Click(*week, {100, week->dayBottoms()[2] - 3});  // Tuesday's entry line
  AppointBook2* planner = app.ctx.planners[0];
  ASSERT_NE(planner, nullptr);
  EXPECT_EQ(planner->day, 14);
  const int before = HeadlessUi::Record(*week)->invalidations;
  ui.Close(*planner);
  EXPECT_GT(HeadlessUi::Record(*week)->invalidations, before);
}

TEST_F(ProgramWindowsTest, ExitStoresTheLineOfEveryOpenPlanner) {
  ui.Command(frame(), res::kIdToday);
  AppointBook2* planner = app.ctx.planners[0];
  ASSERT_NE(planner, nullptr);
  ui.Paint(*planner);
  ASSERT_NE(planner->editor(), nullptr);
  ui.Type(*planner->editor(), "Typed before exit");
  application->Exit();
  ui.Pump();
  const std::optional<RegValue> notes =
      app.registry.QueryValue(CRegistryStore::EntryPath(2000, 3, 15, 8, 0), "notes");
  ASSERT_TRUE(notes.has_value());
  EXPECT_EQ(notes->AsString(), "Typed before exit");
  // The month's automatic backup, written at exit, holds the line too.
  std::ifstream backup(DataFile("backup.March"));
  const std::string text((std::istreambuf_iterator<char>(backup)),
                         std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("|Typed before exit\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace vesk::test
