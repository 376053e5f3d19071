#include "views/view_fixture.h"

#include "store/app_context.h"

namespace vesk::test {

namespace {

constexpr std::string_view kSoundsPath = "SOFTWARE\\Tolvard\\VeskCal\\sounds";

std::string Date(int year, int month, int day) {
  return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day);
}

}  // namespace

void RecordingWindows::Log(std::string what) {
  calls.push_back(what + " after " + std::to_string(ui_.sounds().size()) + " clicks");
}

void RecordingWindows::OpenDayPlanner(int year, int month, int day) {
  Log("planner " + Date(year, month, day));
}

void RecordingWindows::OpenToDoList() { Log("todo"); }

void RecordingWindows::CloseAllDayPlanners() { Log("close planners"); }

void RecordingWindows::OpenWeekWindow(int slot, int year, int month, int day) {
  Log("week " + std::to_string(slot) + " " + Date(year, month, day));
}

void RecordingWindows::OpenYearWindow() { Log("year"); }

ViewTest::ViewTest() {
  app.ctx.ui = &ui;
  app.ctx.windows = &windows;
  // A click sound, so that every click is heard and counted.
  app.registry.CreateKey(kSoundsPath);
  app.registry.SetValue(kSoundsPath, "click", RegValue::FromString("Pick.wav"));
}

ViewTest::~ViewTest() {
  view.reset();
  ui.Pump();
}

void ViewTest::StartView() {
  view = std::make_unique<CVeskCalView>(app.ctx);
  view->Initialize();
  WindowSpec frameSpec;
  frameSpec.title = "VeskCal";
  frameSpec.rect = {200, 150, 500, 450};
  frameSpec.visible = true;
  ASSERT_TRUE(frame.Create(frameSpec));
  WindowSpec viewSpec;
  viewSpec.style = {.caption = false, .systemMenu = false};
  viewSpec.parent = &frame;
  viewSpec.rect = frame.ClientRect();
  viewSpec.visible = true;
  ASSERT_TRUE(view->Create(viewSpec));
  Paint();
}

Point ViewTest::DayCentre(int day) const {
  const Rect r = view->layout().days[day];
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ViewTest::TearDown() {
  ExpectScriptDone(app.boxes);
  for (const std::string& f : ui.failures()) ADD_FAILURE() << f;
}

}  // namespace vesk::test
