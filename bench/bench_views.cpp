// The month view's figures with 100,000 stored entries: one paint, and the
// hover frames and day popups of moving the mouse across every day.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>

#include "view_app.h"

namespace vesk::bench {
namespace {

ViewApp& Loaded() {
  static ViewApp app("views.db");
  return app;
}

// One full paint of the month on display (the entry list is sorted first, as
// every paint does).
void BM_MonthPaint(benchmark::State& state) {
  ViewApp& v = Loaded();
  std::size_t operations = 0;
  for (auto _ : state) benchmark::DoNotOptimize(operations = v.ui.Paint(*v.view).size());
  state.counters["drawing_operations"] = static_cast<double>(operations);
}
BENCHMARK(BM_MonthPaint)->Unit(benchmark::kMicrosecond);

// The mouse crosses every day of the month: each move draws the hover frames
// and opens or replaces the day popup. Reports the slowest single move, in
// processor time (what the program spends) and in wall time (which also holds
// whatever else the machine was doing).
void BM_HoverAcrossTheMonth(benchmark::State& state) {
  ViewApp& v = Loaded();
  using Clock = std::chrono::steady_clock;
  double slowestMs = 0;
  double slowestCpuMs = 0;
  const auto threadCpuMs = [] {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
  };
  for (auto _ : state) {
    // The twin keeps every frame drawn at once; dropping them keeps its log
    // from growing into the figures.
    HeadlessUi::Record(*v.view)->immediate.clear();
    const MonthLayout layout = v.view->layout();
    for (int day = 1; day <= layout.daysInMonth; ++day) {
      const Rect r = layout.days[day];
      const Clock::time_point start = Clock::now();
      const double cpuStart = threadCpuMs();
      v.ui.MouseMove(*v.view, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      v.ui.Pump();
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      slowestMs = std::max(slowestMs, ms);
      slowestCpuMs = std::max(slowestCpuMs, threadCpuMs() - cpuStart);

    }
  }
  state.counters["slowest_move_ms"] = slowestMs;
  state.counters["slowest_move_cpu_ms"] = slowestCpuMs;
}
BENCHMARK(BM_HoverAcrossTheMonth)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk::bench

BENCHMARK_MAIN();
