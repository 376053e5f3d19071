#pragma once
// The one object through which the system's code reaches the platform and the
// values the whole program shares. Every test starts from a fresh one.
#include <array>
#include <filesystem>

#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/timers.h"
#include "platform/types.h"
#include "store/entry_list.h"
#include "store/options.h"
#include "store/registry_store.h"

namespace vesk {

class ReminderArmer;
class ReminderPresenter;
class Notifier;
class ViewNotifier;
class Ui;
class MainWindow;
class CVeskCalView;
class CDayPopupWnd;
class AppointBook2;
class ToDo;
class ViewWeek;
class ViewYear;
class CalendarWindows;

struct AppContext {
  AppContext(Registry& registry, Clock& clock, Timers& timers, MessageBoxes& messages)
      : registry(registry),
        clock(clock),
        timers(timers),
        messages(messages),
        store(registry, messages, clock),
        entries(*this) {}
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
  // Desktop notifications beside the reminder pop-ups; none without a desktop.
  Notifier* notifier = nullptr;

  // The whole-file check after start-up found the store damaged: the
  // program ends without purging it or writing the automatic backup from it.
  bool storeDamaged = false;

  // Where the backup files live (the data directory).
  std::filesystem::path dataDir;
  // The program's installed read-only data (help pages, sounds); may be empty.
  std::filesystem::path installedDataDir;

  // Next reminder timer id; counted up, never reused during a run.
  int nextReminderTimerId = 3;

  // The windows of the desktop program; none in the store's own tests.
  Ui* ui = nullptr;
  CalendarWindows* windows = nullptr;  // opens planners, to-do, week and year windows
  MainWindow* mainWindow = nullptr;    // the frame, once it exists
  CVeskCalView* view = nullptr;
  CDayPopupWnd* dayPopup = nullptr;
  std::array<AppointBook2*, 3> planners{};  // the open day planners
  Point plannerCascade{0, 0};               // where the last day planner was placed
  bool repeatBusy = false;                  // a Repeats command is running
  ToDo* todo = nullptr;
  std::array<ViewWeek*, 2> weekWindows{};
  ViewYear* yearWindow = nullptr;
  Point reminderCascade{50, 70};  // where the next reminder pop-up goes
};

}  // namespace vesk
