// The desktop program: the Qt backend and the SQLite store wired into the
// application, plus the few things a Linux program answers on the terminal.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSessionManager>
#include <QSocketNotifier>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/main_frame.h"
#include "app/veskcal_app.h"
#include "planner/program_windows.h"
#include "platform/data_dir.h"
#include "platform/data_dir_lock.h"
#include "platform/qt/first_paint_report.h"
#include "platform/qt/installed_data.h"
#include "platform/qt/instance_guard.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_timers.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/store_check.h"
#include "platform/sqlite/sqlite_registry.h"
#include "reminders/reminder_scheduler.h"
#include "res/command_ids.h"
#include "res/icons.h"
#include "store/app_context.h"
#include "store/registry_export.h"

namespace vesk {
namespace {

constexpr std::string_view kVersionText = "Vesk Calendar 3.2";
constexpr std::string_view kUsageText =
    "Usage: veskcal [--help | --version | --export-registry FILE | --import-registry FILE]\n"
    "\n"
    "Without options the calendar starts (or brings the running one forward).\n"
    "  --export-registry FILE  write the whole calendar store to FILE as a REGEDIT4 text\n"
    "  --import-registry FILE  merge a REGEDIT4 file into the store (the calendar must not run)\n"
    "  --help                  show this text\n"
    "  --version               show the version\n"
    "\n"
    "The data directory is $VESKCAL_HOME, else $XDG_DATA_HOME/veskcal or ~/.local/share/veskcal.\n";
constexpr std::string_view kAlreadyRunning = "Vesk Calendar is already running.";
// The whole-file check of the store waits this long after start-up.
constexpr int kStoreCheckDelayMs = 3000;

struct CommandLine {
  enum class Action { Run, Help, Version, Export, Import, Missing, Unknown } action = Action::Run;
  std::filesystem::path file;
  std::string option;  // the option that lacks its file, or the unknown argument
};

// Qt's own options, which QApplication takes off the command line; the first
// group takes a value.
constexpr std::string_view kQtValueOptions[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "name",          "title",   "qmljsdebugger"};
constexpr std::string_view kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb",
                                               "sync"};

// How many arguments a Qt option takes up (itself and its value), 0 when arg is none.
int QtOptionLength(std::string_view arg, bool hasNext) {
  if (!arg.starts_with('-')) return 0;
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  const std::size_t equals = arg.find('=');
  const std::string_view name = arg.substr(0, equals);
  for (std::string_view option : kQtValueOptions) {
    if (name == option) return equals != std::string_view::npos ? 1 : hasNext ? 2 : 0;
  }
  for (std::string_view option : kQtFlagOptions) {
    if (arg == option) return 1;
  }
  return 0;
}

// Options of our own and Qt's; anything else is refused. The first request
// of ours decides what the program does.
CommandLine ParseCommandLine(int argc, char** argv) {
  CommandLine line;
  bool chosen = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (const int used = QtOptionLength(arg, i + 1 < argc); used > 0) {
      i += used - 1;
      continue;
    }
    CommandLine request;
    if (arg == "--help" || arg == "-h") {
      request.action = CommandLine::Action::Help;
    } else if (arg == "--version") {
      request.action = CommandLine::Action::Version;
    } else if (arg == "--export-registry" || arg == "--import-registry") {
      if (i + 1 >= argc) return {CommandLine::Action::Missing, {}, std::string(arg)};
      request = {
          arg == "--export-registry" ? CommandLine::Action::Export : CommandLine::Action::Import,
          argv[++i],
          {}};
    } else {
      return {CommandLine::Action::Unknown, {}, std::string(arg)};
    }
    if (!chosen) line = request;
    chosen = true;
  }
  return line;
}

// The name of the single-instance socket: one running copy per data directory,
// so that a second profile (VESKCAL_HOME) runs beside the first.
std::string InstanceName(const std::filesystem::path& dataDir) {
  char hash[24];
  std::snprintf(hash, sizeof hash, "%zx", std::hash<std::string>{}(dataDir.string()));
  return std::string("veskcal-") + hash;
}

// The data directory, made safe for the store; what was changed on the way
// is said on the terminal.
std::expected<std::filesystem::path, std::string> PrepareDataDirectory() {
  std::vector<std::string> notices;
  auto dir = EnsureDataDirectory(&notices);
  for (const std::string& notice : notices) std::fprintf(stderr, "veskcal: %s\n", notice.c_str());
  return dir;
}

// The store, opened without reading it whole: the running program checks it
// once its window is up.
std::expected<std::unique_ptr<SqliteRegistry>, std::string> OpenStore(
    const std::filesystem::path& dir) {
  return SqliteRegistry::Open(dir / kStoreFileName, SqliteRegistry::kDefaultBusyTimeoutMs,
                              SqliteRegistry::Check::Deferred);
}

int RunStoreCommand(const CommandLine& line) {
  const auto dir = PrepareDataDirectory();
  if (!dir) {
    std::fprintf(stderr, "veskcal: %s\n", dir.error().c_str());
    return 1;
  }
  // The running copy keeps the store in memory and would not see an import.
  DataDirLock lock;
  if (line.action == CommandLine::Action::Import) {
    const LockState state = lock.Acquire(*dir);
    if (state == LockState::Busy) {
      std::fprintf(stderr,
                   "veskcal: Vesk Calendar is running; end it (File, Exit) and import again.\n");
      return 1;
    }
    if (state == LockState::Failed) std::fprintf(stderr, "veskcal: %s\n", lock.error().c_str());
  }
  auto store = OpenStore(*dir);
  if (!store) {
    std::fprintf(stderr, "veskcal: %s\n", store.error().c_str());
    return 1;
  }
  const std::string file = line.file.string();
  if (line.action == CommandLine::Action::Export) {
    const auto counts = ExportRegistry(**store, line.file);
    if (!counts) {
      std::fprintf(stderr, "veskcal: cannot export to %s: %s\n", file.c_str(),
                   counts.error().c_str());
      return 1;
    }
    std::printf("Exported %d keys and %d values to %s.\n", counts->keys, counts->values,
                file.c_str());
    return 0;
  }
  const auto counts = ImportRegistry(**store, line.file);
  if (!counts) {
    if (counts.error().line > 0) {
      std::fprintf(stderr, "veskcal: cannot import %s, line %d: %s\n", file.c_str(),
                   counts.error().line, counts.error().message.c_str());
    } else {
      std::fprintf(stderr, "veskcal: %s\n", counts.error().message.c_str());
    }
    return 1;
  }
  std::printf("Imported %d keys and %d values from %s (%d keys outside the calendar skipped).\n",
              counts->keys, counts->values, file.c_str(), counts->skippedKeys);
  return 0;
}

enum class Claim { Ours, OtherCopyCameForward, Refused };

// How long a copy waits for another one that holds the data directory to
// answer (it may still be starting) or to let go (it may be ending).
constexpr auto kClaimWait = std::chrono::seconds(10);
constexpr auto kClaimRetry = std::chrono::milliseconds(200);

// Takes the data directory for this copy alone, so that two copies started
// together never both open the store. The other copy is asked to come forward.
Claim ClaimDataDirectory(DataDirLock& lock, InstanceGuard& guard,
                         const std::filesystem::path& dataDir, std::string& error) {
  const auto deadline = std::chrono::steady_clock::now() + kClaimWait;
  for (;;) {
    switch (lock.Acquire(dataDir)) {
      case LockState::Held:
        return Claim::Ours;
      case LockState::Failed:
        // A file system without locks: the single-instance socket still guards.
        std::fprintf(stderr, "veskcal: %s\n", lock.error().c_str());
        return Claim::Ours;
      case LockState::Busy:
        break;
    }
    if (guard.AskRunningCopy()) return Claim::OtherCopyCameForward;
    if (std::chrono::steady_clock::now() >= deadline) {
      error = "The data directory " + dataDir.string() +
              " is in use by another program, which did not let go of it.";
      return Claim::Refused;
    }
    std::this_thread::sleep_for(kClaimRetry);
  }
}

// SIGTERM, SIGINT and SIGHUP reach the event loop through a pipe, where they
// end the program as "E&xit" does.
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

bool InstallSignalHandlers() {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    if (::sigaction(sig, &action, nullptr) != 0) return false;
  }
  return true;
}

void ShowError(const std::string& text) {
  std::fprintf(stderr, "veskcal: %s\n", text.c_str());
  QMessageBox::critical(nullptr, ToQString(kAppCaption), ToQString(text));
}

// Set once the end was asked for: by a signal or the session ending.
bool endRequested = false;

// The end is asked for from wherever the program is (a dialog may be open):
// every event loop returns, and the main frame is destroyed once they have.
// exit(), not quit(): quit() would first ask every window to close, and the
// main frame's close only hides it.
void RequestEnd() {
  endRequested = true;
  QCoreApplication::exit(0);
}

int RunProgram(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QGuiApplication::setDesktopFileName("veskcal");
  ReportFirstPaintWhenAsked(kMainTitle);

  // First, so that a signal during start-up is not lost: it waits in the pipe.
  if (!InstallSignalHandlers()) std::perror("veskcal: signal handlers");
  QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
  QObject::connect(&notifier, &QSocketNotifier::activated, [] {
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    RequestEnd();
  });
  QObject::connect(&qapp, &QGuiApplication::commitDataRequest,
                   [](QSessionManager&) { RequestEnd(); });

  const auto prepared = PrepareDataDirectory();
  if (!prepared) {
    ShowError(prepared.error());
    return 1;
  }
  const std::filesystem::path dataDir = *prepared;
  CVeskCalApp* running = nullptr;
  InstanceGuard guard(InstanceName(dataDir));
  DataDirLock lock;
  std::string claimError;
  switch (ClaimDataDirectory(lock, guard, dataDir, claimError)) {
    case Claim::OtherCopyCameForward:
      std::fprintf(stderr, "veskcal: %s\n", kAlreadyRunning.data());
      QMessageBox::information(nullptr, ToQString(kAppCaption), ToQString(kAlreadyRunning));
      return 0;
    case Claim::Refused:
      ShowError(claimError);
      return 1;
    case Claim::Ours:
      break;
  }
  switch (guard.Acquire([&running] {
    if (running != nullptr && running->mainFrame() != nullptr) running->mainFrame()->ComeForward();
  })) {
    case InstanceStatus::AlreadyRunning:
      QMessageBox::information(nullptr, ToQString(kAppCaption), ToQString(kAlreadyRunning));
      return 0;
    case InstanceStatus::Failed:
      // Better a second copy than no calendar at all.
      std::fprintf(stderr, "veskcal: %s\n", guard.error().c_str());
      break;
    case InstanceStatus::First:
      break;
  }

  auto store = OpenStore(dataDir);
  if (!store) {
    ShowError(store.error());
    return 1;
  }

  QtUi ui(res::ProgramUiResources());
  // A change the store could not take is said at once (the window that made
  // it still shows it); posted, since the failing write is still running.
  (*store)->SetFailureHandler([&ui, file = (*store)->file()](const std::string& reason) {
    const std::string text = "Vesk Calendar could not save a change to its store " + file.string() +
                             ": " + reason + ". The change is not stored.";
    std::fprintf(stderr, "veskcal: %s\n", text.c_str());
    ui.Post([&ui, text] { ui.Show(text, MbButtons::Ok); });
  });
  QApplication::setWindowIcon(ui.icons().AppIcon());
  QtClock clock;
  QtTimers timers;
  AppContext ctx(**store, clock, timers, ui);
  ctx.ui = &ui;
  ctx.dataDir = dataDir;
  ctx.installedDataDir = InstalledDataDirectory();
  ReminderScheduler scheduler(ctx);
  ctx.armer = &scheduler;
  ProgramWindows windows(ctx);
  ctx.windows = &windows;

  int status = 1;
  {
    CVeskCalApp application(ctx, [] { QCoreApplication::exit(0); });
    running = &application;
    // The whole file is checked once the window is up, off the user's way.
    const std::filesystem::path storeFile = (*store)->file();
    StoreCheck check(storeFile, [&ctx, storeFile](const std::string& reason) {
      ctx.storeDamaged = true;
      ShowError("The store " + storeFile.string() + " is damaged: " + reason +
                ". Vesk Calendar ends now without changing it further; an earlier backup file"
                " (backup.<month>, VeskAppoints.vsk) can be restored into a new store.");
      RequestEnd();
    });
    check.StartAfter(kStoreCheckDelayMs);
    if (application.InitInstance()) {
      // A new event loop forgets an earlier exit(), so an end asked for while
      // start-up ran a dialog of its own is honoured here.
      status = endRequested ? 0 : QApplication::exec();
      application.Exit();
    } else {
      ShowError("The main window could not be created.");
    }
    running = nullptr;
  }
  // Closed windows still waiting to be deleted use the context, which goes first.
  ui.ReleaseWindows();
  return status;
}

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
  using vesk::CommandLine;
  const CommandLine line = vesk::ParseCommandLine(argc, argv);
  switch (line.action) {
    case CommandLine::Action::Help:
      std::printf("%s\n\n%s", vesk::kVersionText.data(), vesk::kUsageText.data());
      return 0;
    case CommandLine::Action::Version:
      std::printf("%s\n", vesk::kVersionText.data());
      return 0;
    case CommandLine::Action::Missing:
      std::fprintf(stderr, "veskcal: %s needs a file name\n\n%s", line.option.c_str(),
                   vesk::kUsageText.data());
      return 2;
    case CommandLine::Action::Unknown:
      std::fprintf(stderr, "veskcal: %s %s\n\n%s",
                   line.option.starts_with('-') ? "unknown option" : "unexpected argument",
                   line.option.c_str(), vesk::kUsageText.data());
      return 2;
    case CommandLine::Action::Export:
    case CommandLine::Action::Import:
      return vesk::RunStoreCommand(line);
    case CommandLine::Action::Run:
      break;
  }
  return vesk::RunProgram(argc, argv);
}
