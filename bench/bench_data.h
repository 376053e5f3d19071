#pragma once
// The stores the benchmarks run on, and an application context on a SQLite
// store: 100,000 entries over ten years with thirty weekly series, made once
// per run in a temporary directory, and stores of one-off appointments on
// half hours of 1,000, 100,000 and 1,000,000 entries.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/headless/scripted_message_boxes.h"
#include "platform/headless/virtual_clock.h"
#include "platform/sqlite/sqlite_registry.h"
#include "reminders/reminder_scheduler.h"
#include "store/app_context.h"

namespace vesk::bench {

inline constexpr int kEntries = 100000;
// The benchmarks' "now": 15 June 2026, 09:00 local time.
inline constexpr int kNowYear = 2026, kNowMonth = 6, kNowDay = 15;

// A context on a SQLite store; the clock stands at the benchmarks' now.
struct App {
  explicit App(const std::filesystem::path& storeFile);
  std::unique_ptr<SqliteRegistry> registry;
  VirtualClock clock;
  ScriptedMessageBoxes boxes;
  std::unique_ptr<AppContext> ctx;
  std::unique_ptr<ReminderScheduler> scheduler;
};

// The stores of one-off appointments on free half-hour slots: 1,000 and
// 100,000 over ten years, and 1,000,000 from 1970 to 2036 (one-off entries
// on half hours cannot number a million in thirty years: those hold 526,000
// slots). The million is kept between runs in the user's cache directory.
enum class DataSet { Full, OneOff1k, OneOff100k, OneOff1M };
const char* DataSetName(DataSet set);
// The store the view, planner and store benchmarks run on: VESKCAL_BENCH_SET
// names it ("1k", "100k", "1m"); the 100,000 entries with series otherwise.
DataSet SelectedDataSet();

// The directory holding the prepared stores; made on first use.
const std::filesystem::path& DataDir();
std::filesystem::path FullStore();
std::filesystem::path StoreOf(DataSet set);
// A fresh copy of a store (checkpointed, without its log), for benchmarks that change it.
std::filesystem::path CopyOfFullStore(const std::string& name);
// A copy of the selected store.
std::filesystem::path CopyOfSelectedStore(const std::string& name);
std::filesystem::path CopyOfStore(DataSet set, const std::string& name);
// Reads what the program reads at start-up: the month on display, the
// reminders due soon, this month's series continued; then sorts.
void LoadAll(App& app);

}  // namespace vesk::bench
