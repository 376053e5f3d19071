#include "bench_data.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include "calendar/local_time.h"
#include "store/repeat_rules.h"

namespace vesk::bench {

App::App(const std::filesystem::path& storeFile) {
  // As the program opens it: the whole-file check comes later, off the way.
  auto opened = SqliteRegistry::Open(storeFile, SqliteRegistry::kDefaultBusyTimeoutMs,
                                     SqliteRegistry::Check::Deferred);
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

// Writes one entry without the list reading months around it.
void WriteOneOff(App& app, int year, int month, int day, int hour, int minute, int n) {
  CEntryList& list = app.ctx->entries;
  const CEntryList::StoreReading writing(list);
  CPlannerEntry& e = list.Create();
  e.SetDate(year, month, day);
  e.SetTimeOfDay(hour, minute);
  e.notes = "Appointment " + std::to_string(n);
  app.ctx->store.SaveEntry(e);
  list.Discard(e);
}

// count one-off entries on distinct random half-hour slots of the days from
// the first of firstYear's January on.
void PopulateOneOff(const std::filesystem::path& file, int count, int firstYear, int days) {
  App app(file);
  std::mt19937 rng(20261208);
  std::vector<std::uint32_t> slots(static_cast<std::size_t>(days) * 48);
  for (std::uint32_t i = 0; i < slots.size(); ++i) slots[i] = i;
  if (static_cast<std::size_t>(count) > slots.size()) throw std::runtime_error("too many entries");
  std::shuffle(slots.begin(), slots.end(), rng);
  slots.resize(static_cast<std::size_t>(count));
  std::sort(slots.begin(), slots.end());
  const LocalTime first = MakeLocalTime(firstYear, 1, 1, 12, 0);
  int n = 0;
  std::optional<Registry::Transaction> tx;
  int txMonth = -1;
  for (std::uint32_t slot : slots) {
    const DateTime d = BreakLocalTime(first + static_cast<LocalTime>(slot / 48) * 86400);
    // One commit a month keeps the waiting writes small.
    if (d.month != txMonth) {
      tx.reset();
      tx.emplace(*app.registry);
      txMonth = d.month;
    }
    WriteOneOff(app, d.year, d.month, d.day, static_cast<int>(slot % 48) / 2,
                static_cast<int>(slot % 2) * 30, ++n);
  }
}

std::filesystem::path CacheDir() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path dir = cache && *cache ? std::filesystem::path(cache)
                              : home && *home ? std::filesystem::path(home) / ".cache"
                                              : DataDir();
  dir /= "veskcal-bench";
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace

const char* DataSetName(DataSet set) {
  switch (set) {
    case DataSet::Full:
      return "100k with series";
    case DataSet::OneOff1k:
      return "1k one-off";
    case DataSet::OneOff100k:
      return "100k one-off";
    case DataSet::OneOff1M:
      return "1M one-off";
  }
  return "";
}

DataSet SelectedDataSet() {
  const char* name = std::getenv("VESKCAL_BENCH_SET");
  const std::string set = name != nullptr ? name : "";
  if (set == "1k") return DataSet::OneOff1k;
  if (set == "100k") return DataSet::OneOff100k;
  if (set == "1m") return DataSet::OneOff1M;
  return DataSet::Full;
}

std::filesystem::path StoreOf(DataSet set) {
  const auto made = [](const std::filesystem::path& file, auto populate) {
    if (!std::filesystem::exists(file)) {
      const std::filesystem::path part = file.string() + ".part";
      std::filesystem::remove(part);
      std::filesystem::remove(part.string() + "-wal");
      populate(part);
      { App settle(part); }  // a clean close leaves no log beside it
      std::filesystem::rename(part, file);
    }
    return file;
  };
  switch (set) {
    case DataSet::Full:
      return FullStore();
    case DataSet::OneOff1k:
      return made(DataDir() / "oneoff-1k.db",
                  [](const auto& f) { PopulateOneOff(f, 1000, kNowYear - 5, 3652); });
    case DataSet::OneOff100k:
      return made(DataDir() / "oneoff-100k.db",
                  [](const auto& f) { PopulateOneOff(f, 100000, kNowYear - 5, 3652); });
    case DataSet::OneOff1M:
      return made(CacheDir() / "oneoff-1m-v1.db",
                  [](const auto& f) { PopulateOneOff(f, 1000000, 1970, 24472); });
  }
  return {};
}

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

std::filesystem::path CopyOfStore(DataSet set, const std::string& name) {
  const std::filesystem::path from = StoreOf(set);
  std::filesystem::path to = DataDir() / name;
  std::filesystem::remove(to);
  std::filesystem::remove(to.string() + "-wal");
  std::filesystem::remove(to.string() + "-shm");
  {
    // Opening and closing checkpoints the WAL into the main file, which is then copied whole.
    App settle(from);
  }
  std::filesystem::copy_file(from, to);
  return to;
}

std::filesystem::path CopyOfFullStore(const std::string& name) {
  return CopyOfStore(DataSet::Full, name);
}

std::filesystem::path CopyOfSelectedStore(const std::string& name) {
  return CopyOfStore(SelectedDataSet(), name);
}

void LoadAll(App& app) {
  CEntryList& list = app.ctx->entries;
  list.EnsureMonth(kNowYear, kNowMonth);
  list.EnsureDueSoon();
  ExtendSeries(list, kNowYear, kNowMonth);
  list.SortByTime();
}

}  // namespace vesk::bench
