// The day planner's figures with 100,000 stored entries: opening a planner
// with its first paint, and leaving a typed line (the commit is durable).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_data.h"
#include "calendar/local_time.h"
#include "planner/day_planner.h"
#include "planner/day_planner_table.h"
#include "planner/entry_edit.h"
#include "store/planner_entry.h"
#include "platform/headless/headless_ui.h"
#include "views/month_view.h"

namespace vesk::bench {
namespace {

// The month view in a plain frame on the headless twin, on the full store,
// with every entry loaded as at start-up.
struct PlannerApp {
  PlannerApp() : app(CopyOfFullStore("planner.db")), ui(app.boxes) {
    app.ctx->ui = &ui;
    view = std::make_unique<CVeskCalView>(*app.ctx);
    view->Initialize();
    WindowSpec frameSpec;
    frameSpec.title = "VeskCal";
    frameSpec.rect = {200, 150, 500, 450};
    frameSpec.visible = true;
    frame.Create(frameSpec);
    WindowSpec viewSpec;
    viewSpec.style = {.caption = false, .systemMenu = false};
    viewSpec.parent = &frame;
    viewSpec.rect = frame.ClientRect();
    viewSpec.visible = true;
    view->Create(viewSpec);
    ui.Paint(*view);
  }
  ~PlannerApp() {
    CloseAllDayPlanners(*app.ctx);
    ui.Pump();
  }
  App app;
  HeadlessUi ui;
  Window frame{ui};
  std::unique_ptr<CVeskCalView> view;
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
