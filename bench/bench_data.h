#pragma once
// A store of 100,000 entries spread over ten years, made once per run in a
// temporary directory, and an application context on the SQLite store.
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

// The directory holding the prepared store "full.db"; made on first use.
const std::filesystem::path& DataDir();
std::filesystem::path FullStore();
// A fresh copy of the full store, for benchmarks that change it.
std::filesystem::path CopyOfFullStore(const std::string& name);
// Loads every entry as the program does at start-up.
void LoadAll(App& app);

}  // namespace vesk::bench
