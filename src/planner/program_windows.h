#pragma once
// The calendar windows of the program as the month view and the main frame
// reach them: day planners, the to-do list, the week view and the year view.
#include "views/calendar_windows.h"

namespace vesk {

struct AppContext;

class ProgramWindows : public CalendarWindows {
 public:
  explicit ProgramWindows(AppContext& ctx) : ctx_(ctx) {}

  bool Available(CalendarWindow kind) const override;
  // The planner font, else the month view's main font.
  void OpenDayPlanner(int year, int month, int day) override;
  void OpenToDoList() override;
  void CloseAllDayPlanners() override;
  void OpenWeekWindow(int slot, int year, int month, int day) override;
  void OpenYearWindow() override;

 private:
  AppContext& ctx_;
};

}  // namespace vesk
