#include "bench_data.h"

#include <cstdlib>
#include <ctime>
#include <random>
#include <stdexcept>

#include "calendar/local_time.h"
#include "store/repeat_rules.h"

namespace vesk::bench {

App::App(const std::filesystem::path& storeFile) {
  auto opened = SqliteRegistry::Open(storeFile);
  if (!opened) throw std::runtime_error(opened.error());
  registry = std::move(*opened);
  clock.SetNow(MakeLocalTime(kNowYear, kNowMonth, kNowDay, 9, 0));
  ctx = std::make_unique<AppContext>(*registry, clock, clock, boxes);
  scheduler = std::make_unique<ReminderScheduler>(*ctx);
  ctx->armer = scheduler.get();
  ctx->dataDir = storeFile.parent_path();
}

namespace {

// One-off entries on random free slots from June 2021 to June 2031, and thirty
// weekly series whose occurrences are stored up to the horizon.
void Populate(const std::filesystem::path& file) {
  App app(file);
  CEntryList& list = app.ctx->entries;
  std::mt19937 rng(20261208);
  LocalTime first = MakeLocalTime(kNowYear - 5, kNowMonth, 1, 0, 0);
  const int days = 3652;
  Registry::Transaction tx(*app.registry);
  int series = 0;
  for (int s = 0; s < 30; ++s) {
    DateTime d = BreakLocalTime(MakeLocalTime(kNowYear - 1, kNowMonth, 1 + s, 12, 0));
    CPlannerEntry& e = list.Create();
    e.SetSlot(d.year, d.month, d.day, 7, 0, "Weekly review " + std::to_string(s));
    e.repeats = kEveryWeek;
    e.sday = "every Monday";
    e.until = MakeLocalTime(kNowYear + 1, kNowMonth, 1, 7, 0);
    e.Schedule(true);
    ExpandSeries(e);
  }
  series = static_cast<int>(list.size());
  std::uniform_int_distribution<int> day(0, days - 1), hour(8, 21), half(0, 1);
  while (static_cast<int>(list.size()) < kEntries) {
    DateTime d = BreakLocalTime(first + static_cast<LocalTime>(day(rng)) * 86400 + 43200);
    int h = hour(rng), m = half(rng) * 30;
    if (list.FindAt(d.year, d.month, d.day, h, m)) continue;
    CPlannerEntry& e = list.Create();
    e.SetDate(d.year, d.month, d.day);
    e.SetTimeOfDay(h, m);
    e.notes = "Appointment " + std::to_string(list.size() - series);
    e.Schedule(true);
  }
  tx.Commit();
}

}  // namespace

const std::filesystem::path& DataDir() {
  static const std::filesystem::path dir = [] {
    std::string tmpl = (std::filesystem::temp_directory_path() / "veskcal-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary directory");
    std::filesystem::path d = tmpl;
    Populate(d / "full.db");
    std::atexit([] { std::filesystem::remove_all(DataDir()); });
    return d;
  }();
  return dir;
}

std::filesystem::path FullStore() { return DataDir() / "full.db"; }

std::filesystem::path CopyOfFullStore(const std::string& name) {
  std::filesystem::path to = DataDir() / name;
  std::filesystem::remove(to);
  std::filesystem::remove(to.string() + "-wal");
  std::filesystem::remove(to.string() + "-shm");
  {
    // Opening and closing checkpoints the WAL into the main file, which is then copied whole.
    App settle(FullStore());
  }
  std::filesystem::copy_file(FullStore(), to);
  return to;
}

void LoadAll(App& app) {
  app.ctx->store.ReadAllEntries(app.ctx->entries);
  ExtendSeries(app.ctx->entries, kNowYear, kNowMonth);
  app.ctx->entries.SortByTime();
}

}  // namespace vesk::bench
