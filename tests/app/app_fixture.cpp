#include "app/app_fixture.h"

#include "store/app_context.h"
#include "views/month_view.h"

namespace vesk::test {

namespace {

std::string Date(int year, int month, int day) {
  return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day);
}

}  // namespace

void FakeCalendarWindows::OpenDayPlanner(int year, int month, int day) {
  calls.push_back("planner " + Date(year, month, day));
}

void FakeCalendarWindows::OpenWeekWindow(int slot, int year, int month, int day) {
  calls.push_back("week " + std::to_string(slot) + " " + Date(year, month, day));
}

AppTest::AppTest(int year, int month, int day, int hour, int minute)
    : app(year, month, day, hour, minute), dataDir(temp.path()) {
  app.ctx.ui = &ui;
  app.ctx.windows = &windows;
  app.ctx.notifier = &notifier;
  app.ctx.dataDir = dataDir;
}

AppTest::~AppTest() {
  application.reset();
  ui.Pump();
}

void AppTest::Start() {
  application = std::make_unique<CVeskCalApp>(app.ctx, [this] { ++ended; });
  ASSERT_TRUE(application->InitInstance());
}

void AppTest::MarkNotFirstRun() { app.registry.CreateKey(kSoundsKey); }

Size AppTest::CalendarSize() const { return frame().view().GetCalendarSize(); }

void AppTest::TearDown() {
  ExpectScriptDone(app.boxes);
  for (const std::string& f : ui.failures()) ADD_FAILURE() << f;
}

}  // namespace vesk::test
