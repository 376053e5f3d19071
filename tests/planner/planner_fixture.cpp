#include "planner/planner_fixture.h"

#include <stdexcept>

#include "calendar/calendar.h"
#include "store/app_context.h"
#include "store/registry_store.h"

namespace vesk::test {

namespace {

constexpr std::string_view kSoundsKey = "SOFTWARE\\Tolvard\\VeskCal\\sounds";

}  // namespace

PlannerTest::PlannerTest() {
  app.ctx.ui = &ui;
  app.ctx.windows = &windows;
  app.ctx.dataDir = temp.path();
}

PlannerTest::~PlannerTest() {
  application.reset();
  ui.Pump();
}

void PlannerTest::Start() {
  app.registry.CreateKey(kSoundsKey);
  application = std::make_unique<CVeskCalApp>(app.ctx, [] {});
  ASSERT_TRUE(application->InitInstance());
}

AppointBook2& PlannerTest::Open(int year, int month, int day) {
  windows.OpenDayPlanner(year, month, day);
  ui.Pump();
  for (AppointBook2* p : app.ctx.planners) {
    if (p != nullptr && p->year == year && p->month == month && p->day == day) {
      Paint(*p);
      return *p;
    }
  }
  ADD_FAILURE() << "no planner opened for " << year << "-" << month << "-" << day;
  throw std::runtime_error("no planner");
}

CEntryEdit& PlannerTest::Editor(AppointBook2& planner) {
  if (planner.editor() == nullptr) {
    ADD_FAILURE() << "the planner has no editor";
    throw std::runtime_error("no editor");
  }
  return *planner.editor();
}

Point PlannerTest::LinePoint(const AppointBook2& planner, int row, bool onHour) const {
  const Rect r = onHour ? HourLine(planner.metrics(), row, 0) : HalfLine(planner.metrics(), row, 0);
  return {r.left + 20, (r.top + r.bottom) / 2};
}

void PlannerTest::ClickLine(AppointBook2& planner, int row, bool onHour) {
  ui.Click(planner, LinePoint(planner, row, onHour));
}

std::string PlannerTest::Selected(const AppointBook2& planner) const {
  if (planner.selRow() < 0) return "none";
  return FormatTime(planner.firstHour() + planner.selRow(), planner.selOnHour() ? 0 : 30, true);
}

CPlannerEntry* PlannerTest::At(int year, int month, int day, int hour, int minute) const {
  return app.ctx.entries.FindAt(year, month, day, hour, minute);
}

std::optional<std::string> PlannerTest::StoredNotes(int year, int month, int day, int hour,
                                                    int minute) const {
  const std::string path = CRegistryStore::EntryPath(year, month, day, hour, minute);
  std::optional<RegValue> v = app.registry.QueryValue(path, "notes");
  if (!v) return std::nullopt;
  return v->AsString();
}

std::optional<int> PlannerTest::StoredInt(int year, int month, int day, int hour, int minute,
                                          std::string_view name) const {
  const std::string path = CRegistryStore::EntryPath(year, month, day, hour, minute);
  std::optional<RegValue> v = app.registry.QueryValue(path, name);
  if (!v) return std::nullopt;
  return v->AsDword();
}

int PlannerTest::CountAlive(std::string_view runtimeClass) const {
  int n = 0;
  for (Window* w : ui.Windows()) n += w->RuntimeClass() == runtimeClass ? 1 : 0;
  return n;
}

void PlannerTest::TearDown() {
  ExpectScriptDone(app.boxes);
  for (const std::string& f : ui.failures()) ADD_FAILURE() << f;
}

}  // namespace vesk::test
