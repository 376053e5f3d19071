#include "planner/program_windows.h"

#include "planner/day_planner_table.h"
#include "planner/todo_open.h"
#include "store/app_context.h"
#include "views/month_view.h"

namespace vesk {

bool ProgramWindows::Available(CalendarWindow kind) const {
  return kind == CalendarWindow::DayPlanner || kind == CalendarWindow::ToDoList;
}

void ProgramWindows::OpenDayPlanner(int year, int month, int day) {
  if (ctx_.ui == nullptr) return;
  const Font* fallback = ctx_.view != nullptr ? ctx_.view->mainFont() : nullptr;
  vesk::OpenDayPlanner(ctx_, year, month, day, fallback);
}

void ProgramWindows::OpenToDoList() {
  if (ctx_.ui == nullptr || ctx_.view == nullptr) return;
  vesk::OpenToDoList(ctx_);
}

void ProgramWindows::CloseAllDayPlanners() { vesk::CloseAllDayPlanners(ctx_); }

// Not available: the views are not part of the program yet.
void ProgramWindows::OpenWeekWindow(int, int, int, int) {}

void ProgramWindows::OpenYearWindow() {}

}  // namespace vesk
