#include "planner/program_windows.h"

#include "planner/day_planner_table.h"
#include "planner/todo_open.h"
#include "store/app_context.h"
#include "views/month_view.h"
#include "views/view_week.h"
#include "views/view_year.h"

namespace vesk {

bool ProgramWindows::Available(CalendarWindow) const { return true; }

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

void ProgramWindows::OpenWeekWindow(int slot, int year, int month, int day) {
  if (ctx_.view == nullptr) return;
  vesk::OpenWeekWindow(ctx_, slot, year, month, day);
}

void ProgramWindows::OpenYearWindow() { vesk::OpenYearWindow(ctx_); }

}  // namespace vesk
