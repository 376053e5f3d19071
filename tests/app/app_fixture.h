#pragma once
// The whole application on the headless twin: the start-up of CVeskCalApp
// with its main frame and month view over the test's registry and clock, and
// a data directory of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/veskcal_app.h"
#include "planner/program_windows.h"
#include "platform/headless/headless_notifier.h"
#include "platform/headless/headless_ui.h"
#include "support/test_app.h"
#include "views/calendar_windows.h"

namespace vesk::test {

// The headless Ui, also recording the dialog colours it is given.
class AppUi : public HeadlessUi {
 public:
  using HeadlessUi::HeadlessUi;
  void SetDialogColors(Color back, Color fore) override { dialogColors.push_back({back, fore}); }
  std::vector<std::pair<Color, Color>> dialogColors;
};

// Calendar windows that record what was asked of them.
class FakeCalendarWindows : public CalendarWindows {
 public:
  bool Available(CalendarWindow) const override { return available; }
  void OpenDayPlanner(int year, int month, int day) override;
  void OpenToDoList() override { calls.push_back("todo"); }
  void CloseAllDayPlanners() override { calls.push_back("close planners"); }
  void OpenWeekWindow(int slot, int year, int month, int day) override;
  void OpenYearWindow() override { calls.push_back("year"); }

  bool available = true;
  std::vector<std::string> calls;
};

// A top-level window standing in for a calendar window of a later module:
// it records the commands passed to it.
class FakeCalendarWindow : public Window {
 public:
  FakeCalendarWindow(Ui& ui, std::string runtimeClass)
      : Window(ui), class_(std::move(runtimeClass)) {}
  std::string_view RuntimeClass() const override { return class_; }
  bool OnCommand(int id) override {
    commands.push_back(id);
    return true;
  }
  std::vector<int> commands;

 private:
  std::string class_;
};

inline constexpr std::string_view kSoundsKey = "SOFTWARE\\Tolvard\\VeskCal\\sounds";

class AppTest : public ::testing::Test {
 protected:
  // Today is Wednesday 15 March 2000, 8:00.
  AppTest() : AppTest(2000, 3, 15, 8, 0) {}
  AppTest(int year, int month, int day, int hour, int minute);
  ~AppTest() override;

  // Runs the start-up; the test fails when it does not succeed.
  void Start();
  // The store as after an earlier run: the "sounds" key exists without sounds.
  void MarkNotFirstRun();
  // The program's own calendar windows instead of the recording fake: day
  // planners and the to-do list really open.
  void UseProgramWindows() { app.ctx.windows = &programWindows; }
  CMainFrame& frame() const { return *application->mainFrame(); }
  WindowRecord& frameRecord() const { return *HeadlessUi::Record(frame()); }
  Size CalendarSize() const;
  std::filesystem::path DataFile(std::string_view name) const { return dataDir / name; }
  void TearDown() override;

  TestApp app;
  AppUi ui{app.boxes};
  HeadlessNotifier notifier;
  FakeCalendarWindows windows;
  ProgramWindows programWindows{app.ctx};
  TempDir temp;
  std::filesystem::path dataDir;
  int ended = 0;  // how many times the program was told to end
  std::unique_ptr<CVeskCalApp> application;
};

}  // namespace vesk::test
