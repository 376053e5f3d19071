#pragma once
// The whole program on the headless twin with its real calendar windows:
// the main frame and month view over the test's registry and clock, and day
// planners opened through ctx.windows as the month view opens them.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_frame.h"
#include "app/veskcal_app.h"
#include "planner/day_planner.h"
#include "planner/entry_edit.h"
#include "planner/program_windows.h"
#include "platform/headless/headless_ui.h"
#include "support/test_app.h"

namespace vesk::test {

class PlannerTest : public ::testing::Test {
 protected:
  // Today is Wednesday 15 March 2000, 8:00, in New York.
  PlannerTest();
  ~PlannerTest() override;

  // Starts the program (not its first run).
  void Start();
  // Opens the date's planner through the program's windows, paints it (menu
  // and editor on the top line) and returns it.
  AppointBook2& Open(int year, int month, int day);
  std::vector<CanvasOp> Paint(AppointBook2& planner) { return ui.Paint(planner); }
  // The planner's editor; the test fails when there is none.
  CEntryEdit& Editor(AppointBook2& planner);
  void Type(AppointBook2& planner, std::string_view text) { ui.Type(Editor(planner), text); }
  void Key(AppointBook2& planner, int vk) { ui.Key(planner, vk); }
  // A point inside the line of a visible row.
  Point LinePoint(const AppointBook2& planner, int row, bool onHour) const;
  void ClickLine(AppointBook2& planner, int row, bool onHour);
  // The selected line as the hour and minute it stands for.
  std::string Selected(const AppointBook2& planner) const;

  CPlannerEntry* At(int year, int month, int day, int hour, int minute) const;
  // A stored value of the entry's key, if any.
  std::optional<std::string> StoredNotes(int year, int month, int day, int hour, int minute) const;
  std::optional<int> StoredInt(int year, int month, int day, int hour, int minute,
                               std::string_view name) const;
  CMainFrame& frame() const { return *application->mainFrame(); }
  WindowRecord& Record(const Window& w) const { return *HeadlessUi::Record(w); }
  // Windows of the runtime class that are alive.
  int CountAlive(std::string_view runtimeClass) const;
  void TearDown() override;

  ScopedTimeZone zone{"America/New_York"};
  TestApp app;
  HeadlessUi ui{app.boxes};
  ProgramWindows windows{app.ctx};
  TempDir temp;
  std::unique_ptr<CVeskCalApp> application;
};

}  // namespace vesk::test
