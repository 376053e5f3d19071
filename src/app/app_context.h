#pragma once
// The one object through which the system's code reaches the platform and the
// values the whole program shares. Every test starts from a fresh one.
#include <filesystem>

#include "app/options.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/timers.h"
#include "store/entry_list.h"
#include "store/registry_store.h"

namespace vesk {

class ReminderArmer;
class ReminderPresenter;
class ViewNotifier;

struct AppContext {
  AppContext(Registry& registry, Clock& clock, Timers& timers, MessageBoxes& messages)
      : registry(registry), clock(clock), timers(timers), messages(messages),
        store(registry, messages, clock), entries(*this) {}
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  Registry& registry;
  Clock& clock;
  Timers& timers;
  MessageBoxes& messages;

  CRegistryStore store;
  Options options;
  CEntryList entries;

  // Arms reminder timers (reminders/); none means entries arm nothing.
  ReminderArmer* armer = nullptr;
  // Opens the reminder pop-up and activates the main frame.
  ReminderPresenter* presenter = nullptr;
  // Repaint requests to the month view; none before the view exists.
  ViewNotifier* views = nullptr;

  // Where the backup files live (the data directory).
  std::filesystem::path dataDir;

  // Next reminder timer id; counted up, never reused during a run.
  int nextReminderTimerId = 3;
};

}  // namespace vesk
