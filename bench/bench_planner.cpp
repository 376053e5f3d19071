// The day planner's figures with 100,000 stored entries: opening a planner
// with its first paint, and leaving a typed line (the commit is durable).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "view_app.h"
#include "calendar/local_time.h"
#include "planner/day_planner.h"
#include "planner/day_planner_table.h"
#include "planner/entry_edit.h"
#include "store/planner_entry.h"
#include "platform/headless/headless_ui.h"
#include "views/month_view.h"

namespace vesk::bench {
namespace {

// The month view on the full store; day planners open from it.
struct PlannerApp : ViewApp {
  PlannerApp() : ViewApp("planner.db") {}
  ~PlannerApp() {
    CloseAllDayPlanners(*app.ctx);
    ui.Pump();
  }
};

PlannerApp& Loaded() {
  static PlannerApp app;
  return app;
}

// Opening the planner of a busy date and its first paint, which attaches the
// menu, draws every row with its entries and opens the editor on the top line.
void BM_OpenPlannerAndFirstPaint(benchmark::State& state) {
  PlannerApp& a = Loaded();
  int n = 0;
  for (auto _ : state) {
    const DateTime d = BreakLocalTime(MakeLocalTime(kNowYear, kNowMonth, 1 + n++ % 28, 12, 0));
    AppointBook2* planner = OpenDayPlanner(*a.app.ctx, d.year, d.month, d.day, a.view->mainFont());
    benchmark::DoNotOptimize(a.ui.Paint(*planner).size());
    state.PauseTiming();
    planner->Destroy();
    a.ui.Pump();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenPlannerAndFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(100);

// A new text typed on a line, then Tab: the entry is made, stored durably and
// the editor moves on. Free dates of 2033, outside the data set.
void BM_LeaveTypedLine(benchmark::State& state) {
  PlannerApp& a = Loaded();
  AppContext& ctx = *a.app.ctx;
  // Each repetition writes lines of dates no earlier one wrote.
  static int repetition = 0;
  const DateTime start = BreakLocalTime(MakeLocalTime(2033, 1, 1 + 20 * repetition++, 12, 0));
  AppointBook2* planner = OpenDayPlanner(ctx, start.year, start.month, start.day, a.view->mainFont());
  a.ui.Paint(*planner);
  int line = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (line == 20) {  // the window's lines are used up: the next day
      planner->StepDay(true);
      a.ui.Paint(*planner);
      line = 0;
    }
    planner->OpenLineEditor(line / 2, line % 2 == 0);
    a.ui.Pump();
    a.ui.Type(*planner->editor(), "Committed line " + std::to_string(line));
    ++line;
    state.ResumeTiming();
    // Tab in the editor: the line is committed and the next one opened.
    a.ui.Key(*planner->editor(), kVkTab);
  }
  planner->Destroy();
  a.ui.Pump();
  // What the figure stands for: every typed line became a stored entry.
  int stored = 0;
  ctx.entries.ForEach([&](const CPlannerEntry& e) { stored += e.notes.starts_with("Committed line"); });
  state.counters["entries_stored"] = stored;
}
BENCHMARK(BM_LeaveTypedLine)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace vesk::bench

BENCHMARK_MAIN();
