#pragma once
// A month view inside a stand-in main frame on the headless twin, with the
// calendar windows it opens recorded instead of opened.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_ui.h"
#include "support/test_app.h"
#include "views/calendar_windows.h"
#include "views/month_view.h"

namespace vesk::test {

// Records every opening as text, with the number of click sounds heard before it.
class RecordingWindows : public CalendarWindows {
 public:
  explicit RecordingWindows(const HeadlessUi& ui) : ui_(ui) {}
  bool Available(CalendarWindow) const override { return available; }
  void OpenDayPlanner(int year, int month, int day) override;
  void OpenToDoList() override;
  void CloseAllDayPlanners() override;
  void OpenWeekWindow(int slot, int year, int month, int day) override;
  void OpenYearWindow() override;

  bool available = true;
  std::vector<std::string> calls;

 private:
  void Log(std::string what);
  const HeadlessUi& ui_;
};

// The main frame as far as the view sees it: a top-level window it fills.
class FrameStandIn : public Window {
 public:
  using Window::Window;
};

class ViewTest : public ::testing::Test {
 protected:
  // Today is Wednesday 15 March 2000, 8:00 (the TestApp's clock).
  ViewTest();
  ~ViewTest() override;

  // Builds the view the way the main frame does: construct, initialise, create
  // inside the frame, then the first paint.
  void StartView();
  std::vector<CanvasOp> Paint() { return ui.Paint(*view); }
  // The centre of a day's cell in the month on display.
  Point DayCentre(int day) const;
  int clicks() const { return static_cast<int>(ui.sounds().size()); }
  WindowRecord& viewRecord() const { return *HeadlessUi::Record(*view); }
  void TearDown() override;

  TestApp app;
  HeadlessUi ui{app.boxes};
  RecordingWindows windows{ui};
  FrameStandIn frame{ui};
  std::unique_ptr<CVeskCalView> view;
};

}  // namespace vesk::test
