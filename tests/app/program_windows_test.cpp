// The program's own calendar windows behind the main frame's commands: Today
// opens a real day planner, the week and year commands stay disabled until
// their views exist, and Exit closes the planners with their lines stored.
#include <fstream>
#include <iterator>
#include <string>

#include "app/app_fixture.h"
#include "planner/day_planner.h"
#include "planner/entry_edit.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/registry_store.h"

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
  EXPECT_FALSE(ui.MenuState(frame(), res::kIdWeek).enabled);
  EXPECT_FALSE(ui.MenuState(frame(), res::kIdYear).enabled);
  EXPECT_TRUE(ui.MenuState(frame(), res::kIdToDoList).enabled);
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
