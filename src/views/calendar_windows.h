#pragma once
// Opening the calendar windows that live in other modules (day planner,
// to-do list, week and year views). The month view and the main frame ask
// through this interface; the program wires the real windows in, and a
// window kind that is not wired is reported unavailable, so its commands
// show disabled.

namespace vesk {

enum class CalendarWindow { DayPlanner, ToDoList, WeekView, YearView };

class CalendarWindows {
 public:
  virtual ~CalendarWindows() = default;
  virtual bool Available(CalendarWindow kind) const = 0;
  virtual void OpenDayPlanner(int year, int month, int day) = 0;
  virtual void OpenToDoList() = 0;
  virtual void CloseAllDayPlanners() = 0;
  // slot 0 or 1; a day above 31 opens nothing.
  virtual void OpenWeekWindow(int slot, int year, int month, int day) = 0;
  // Opens (or activates and restores) the year view of the current year.
  virtual void OpenYearWindow() = 0;
};

}  // namespace vesk
