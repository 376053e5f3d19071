// The store's figures on the selected store (100,000 entries over ten years unless
// VESKCAL_BENCH_SET names another).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_data.h"
#include "calendar/local_time.h"
#include "reminders/next_appointment.h"
#include "store/backup_file.h"
#include "store/repeat_rules.h"

namespace vesk::bench {
namespace {

// Start-up: the month on display, the reminders due soon, this month's series
// continued, first sort.
void BM_StartupLoad(benchmark::State& state) {
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto file = CopyOfSelectedStore("startup" + std::to_string(round++) + ".db");
    state.ResumeTiming();
    App app(file);
    LoadAll(app);
    benchmark::DoNotOptimize(app.ctx->entries.size());
  }
}
BENCHMARK(BM_StartupLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

App& LoadedApp() {
  static App app(CopyOfSelectedStore("loaded.db"));
  static bool loaded = (LoadAll(app), true);
  (void)loaded;
  return app;
}

// What a year view asks when it paints: HasEntryOn for every day of a year.
void BM_HasEntryOnEveryDayOfAYear(benchmark::State& state) {
  CEntryList& list = LoadedApp().ctx->entries;
  for (auto _ : state) {
    int marked = 0;
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= 31; ++day) marked += list.HasEntryOn(kNowYear, month, day);
    benchmark::DoNotOptimize(marked);
  }
}
BENCHMARK(BM_HasEntryOnEveryDayOfAYear)->Unit(benchmark::kMicrosecond);

// One new line committed: a new entry, SetSlot, Schedule with save (durable).
void BM_CommitNewLine(benchmark::State& state) {
  App& app = LoadedApp();
  CEntryList& list = app.ctx->entries;
  static int slot = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // Free slots before 8:00 on successive days of 2032, outside the data set.
    int n = slot++;
    DateTime d = BreakLocalTime(MakeLocalTime(2032, 1, 1 + n / 14, 12, 0));
    int hour = (n % 14) / 2, minute = (n % 2) * 30;
    state.ResumeTiming();
    CPlannerEntry& e = list.Create();
    e.SetSlot(d.year, d.month, d.day, hour, minute, "Committed line");
    e.Schedule(true);
  }
}
BENCHMARK(BM_CommitNewLine)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A daily series: 1002 generated occurrences, those within 180 days stored.
void BM_ExpandDailySeries(benchmark::State& state) {
  App& app = LoadedApp();
  CEntryList& list = app.ctx->entries;
  for (auto _ : state) {
    state.PauseTiming();
    CPlannerEntry& e = list.Create();
    e.SetSlot(kNowYear, kNowMonth, kNowDay, 5, 30, "Daily stretch");
    e.SetRepeat(kEveryDay, "3rd", "every Monday", kNowDay);
    e.until = MakeLocalTime(kNowYear + 4, 1, 1, 5, 30);
    e.Schedule(true);
    state.ResumeTiming();
    ExpandSeries(e);
    state.PauseTiming();
    int removed = 0;
    std::vector<std::uint64_t> generated;
    for (CPlannerEntry* other : list.Entries())
      if (other->notes == "Daily stretch") generated.push_back(other->serial());
    for (std::uint64_t serial : generated)
      if (CPlannerEntry* other = list.FindBySerial(serial))
        list.DeleteEntry(*other, false, &removed);
    state.counters["generated"] = removed - 1;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ExpandDailySeries)->Unit(benchmark::kMillisecond)->Iterations(5);

// A month not read yet, asked about for the first time (a view moves to it).
void BM_ReadMonthOnDemand(benchmark::State& state) {
  App& app = LoadedApp();
  CEntryList& list = app.ctx->entries;
  int n = 0;
  std::size_t read = 0;
  for (auto _ : state) {
    const int year = kNowYear - 4 + n / 12 % 9, month = 1 + n % 12;
    ++n;
    if (year == kNowYear) continue;
    list.EnsureMonth(year, month);
    state.PauseTiming();
    read = list.EntriesOn(year, month, 15).size();
    list.Release(year, month);
    state.ResumeTiming();
  }
  state.counters["entries_on_the_15th"] = static_cast<double>(read);
}
BENCHMARK(BM_ReadMonthOnDemand)->Unit(benchmark::kMillisecond)->Iterations(100);

// The tray tooltip: the next appointment after a moment of this month.
void BM_TrayTooltip(benchmark::State& state) {
  App& app = LoadedApp();
  LocalTime now = static_cast<LocalTime>(app.clock.Now());
  for (auto _ : state) benchmark::DoNotOptimize(NextAppointmentText(*app.ctx, now += 61));
}
BENCHMARK(BM_TrayTooltip)->Unit(benchmark::kMicrosecond);

void BM_BackupAllEntries(benchmark::State& state) {
  App& app = LoadedApp();
  for (auto _ : state) {
    BackupResult r = BackupEntries(*app.ctx, DataDir() / "bench.vsk", false);
    state.counters["written"] = r.written;
  }
}
BENCHMARK(BM_BackupAllEntries)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RestoreIntoEmptyStore(benchmark::State& state) {
  App& full = LoadedApp();
  BackupEntries(*full.ctx, DataDir() / "restore.vsk", false);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto file = DataDir() / ("empty" + std::to_string(round++) + ".db");
    App app(file);
    state.ResumeTiming();
    RestoreResult r = RestoreEntries(*app.ctx, DataDir() / "restore.vsk", false);
    state.counters["restored"] = r.restoredNew;
  }
}
BENCHMARK(BM_RestoreIntoEmptyStore)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace vesk::bench

BENCHMARK_MAIN();
