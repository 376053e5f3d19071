// The calendar views' figures with 100,000 stored entries: one paint of the
// month, of a crowded four-week view and of the year, and the hover frames and
// day popups of moving the mouse across every day of the month and the year.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>

#include "res/command_ids.h"
#include "store/app_context.h"
#include "view_app.h"
#include "views/view_week.h"
#include "views/view_year.h"

namespace vesk::bench {
namespace {

ViewApp& Loaded() {
  static ViewApp app("views.db");
  return app;
}

// The slowest of a series of mouse moves, in processor time (what the program
// spends) and in wall time (which also holds whatever else the machine was
// doing).
class SlowestMove {
 public:
  template <class Move>
  void Time(Move&& move) {
    const Clock::time_point start = Clock::now();
    const double cpuStart = ThreadCpuMs();
    move();
    wallMs_ =
        std::max(wallMs_, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    cpuMs_ = std::max(cpuMs_, ThreadCpuMs() - cpuStart);
  }
  void Report(benchmark::State& state) const {
    state.counters["slowest_move_ms"] = wallMs_;
    state.counters["slowest_move_cpu_ms"] = cpuMs_;
  }

 private:
  using Clock = std::chrono::steady_clock;
  static double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
  }
  double wallMs_ = 0;
  double cpuMs_ = 0;
};

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
// and opens or replaces the day popup. Reports the slowest single move.
void BM_HoverAcrossTheMonth(benchmark::State& state) {
  ViewApp& v = Loaded();
  SlowestMove slowest;
  for (auto _ : state) {
    // The twin keeps every frame drawn at once; dropping them keeps its log
    // from growing into the figures.
    HeadlessUi::Record(*v.view)->immediate.clear();
    const MonthLayout layout = v.view->layout();
    for (int day = 1; day <= layout.daysInMonth; ++day) {
      const Rect r = layout.days[day];
      slowest.Time([&] {
        v.ui.MouseMove(*v.view, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        v.ui.Pump();
      });
    }
  }
  slowest.Report(state);
}
BENCHMARK(BM_HoverAcrossTheMonth)->Unit(benchmark::kMillisecond);

// The week view of the benchmarks' now, four weeks of about 28 entries a day.
ViewWeek& FourWeeks() {
  ViewApp& v = Loaded();
  if (v.app.ctx->weekWindows[0] == nullptr) {
    OpenWeekWindow(*v.app.ctx, 0, kNowYear, kNowMonth, kNowDay);
    v.app.ctx->weekWindows[0]->OnCommand(res::kIdFourWeeks);
    v.ui.Paint(*v.app.ctx->weekWindows[0]);
  }
  return *v.app.ctx->weekWindows[0];
}

ViewYear& Year() {
  ViewApp& v = Loaded();
  if (v.app.ctx->yearWindow == nullptr) {
    OpenYearWindow(*v.app.ctx);
    v.ui.Paint(*v.app.ctx->yearWindow);
  }
  return *v.app.ctx->yearWindow;
}

void BM_WeekPaintFourWeeks(benchmark::State& state) {
  ViewApp& v = Loaded();
  ViewWeek& week = FourWeeks();
  std::size_t operations = 0;
  for (auto _ : state) benchmark::DoNotOptimize(operations = v.ui.Paint(week).size());
  state.counters["drawing_operations"] = static_cast<double>(operations);
}
BENCHMARK(BM_WeekPaintFourWeeks)->Unit(benchmark::kMicrosecond);

void BM_YearPaint(benchmark::State& state) {
  ViewApp& v = Loaded();
  ViewYear& year = Year();
  std::size_t operations = 0;
  for (auto _ : state) benchmark::DoNotOptimize(operations = v.ui.Paint(year).size());
  state.counters["drawing_operations"] = static_cast<double>(operations);
}
BENCHMARK(BM_YearPaint)->Unit(benchmark::kMicrosecond);

// The mouse crosses every day of the year: each move opens or replaces the
// tinted day popup. Reports the slowest single move, as the month's does.
void BM_HoverAcrossTheYear(benchmark::State& state) {
  ViewApp& v = Loaded();
  ViewYear& year = Year();
  v.ui.Activate(year);
  SlowestMove slowest;
  for (auto _ : state) {
    const YearLayout layout = year.layout();
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= layout.daysInMonth[month]; ++day) {
        const Rect r = layout.days[month][day];
        slowest.Time([&] {
          v.ui.MouseMove(year, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
          v.ui.Pump();
        });
      }
    }
  }
  slowest.Report(state);
}
BENCHMARK(BM_HoverAcrossTheYear)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk::bench

BENCHMARK_MAIN();
