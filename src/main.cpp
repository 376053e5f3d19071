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
#include <cstdlib>
#include <ctime>
#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/data_command.h"
#include "app/main_frame.h"
#include "app/request_handler.h"
#include "app/veskcal_app.h"
#include "planner/program_windows.h"
#include "platform/data_dir.h"
#include "platform/local_socket.h"
#include "platform/qt/first_paint_report.h"
#include "platform/qt/installed_data.h"
#include "platform/qt/instance_guard.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_notifier.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_timers.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/store_check.h"
#include "platform/sqlite/sqlite_registry.h"
#include "reminders/reminder_scheduler.h"
#include "res/command_ids.h"
#include "res/icons.h"
#include "store/app_context.h"
#include "store/backup_file.h"
#include "store/registry_export.h"

namespace vesk {
namespace {

constexpr std::string_view kVersionText = "Vesk Calendar 3.2";
constexpr std::string_view kUsageHead =
    "Usage: veskcal [OPTION]\n"
    "\n"
    "Without options the calendar starts (or brings the running one forward).\n"
    "  --export-registry FILE  write the whole calendar store to FILE as a REGEDIT4 text\n";
constexpr std::string_view kUsageTail =
    "  --help                  show this text\n"
    "  --version               show the version\n"
    "\n"
    "The commands on the data go through the running calendar when one runs, so its windows\n"
    "and reminders follow at once; otherwise they open the store themselves.\n"
    "The data directory is $VESKCAL_HOME, else $XDG_DATA_HOME/veskcal or ~/.local/share/veskcal.\n";

std::string UsageText() {
  return std::string(kUsageHead) + std::string(kDataUsage) + std::string(kUsageTail);
}
constexpr std::string_view kAlreadyRunning = "Vesk Calendar is already running.";
// The whole-file check of the store waits this long after start-up.
constexpr int kStoreCheckDelayMs = 3000;

struct CommandLine {
  enum class Action { Run, Help, Version, Export, Missing, Unknown } action = Action::Run;
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

// Options of our own and Qt's (the commands on the data are read before);
// anything else is refused. The first request of ours decides what the
// program does.
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
    } else if (arg == "--export-registry") {
      if (i + 1 >= argc) return {CommandLine::Action::Missing, {}, std::string(arg)};
      request = {CommandLine::Action::Export, argv[++i], {}};
    } else {
      return {CommandLine::Action::Unknown, {}, std::string(arg)};
    }
    if (!chosen) line = request;
    chosen = true;
  }
  return line;
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
std::expected<std::unique_ptr<SqliteRegistry>, std::string> OpenStore() {
  const auto dir = PrepareDataDirectory();
  if (!dir) return std::unexpected(dir.error());
  return SqliteRegistry::Open(*dir / kStoreFileName, SqliteRegistry::kDefaultBusyTimeoutMs,
                              SqliteRegistry::Check::Deferred);
}

int ExportStore(const CommandLine& line) {
  auto store = OpenStore();
  if (!store) {
    std::fprintf(stderr, "veskcal: %s\n", store.error().c_str());
    return 1;
  }
  const std::string file = line.file.string();
  // One snapshot: a running calendar may write while the tree is walked.
  (*store)->BeginRead();
  const auto counts = ExportRegistry(**store, line.file);
  (*store)->EndRead();
  if (!counts) {
    std::fprintf(stderr, "veskcal: cannot export to %s: %s\n", file.c_str(),
                 counts.error().c_str());
    return 1;
  }
  std::printf("Exported %d keys and %d values to %s.\n", counts->keys, counts->values,
              file.c_str());
  return 0;
}

// The notification centre shows the calendar's icon: the picture beside the
// help pages when there is one (a build tree), else the installed theme icon.
std::string NotificationIcon(const std::filesystem::path& installedData) {
  const std::filesystem::path picture = installedData / "veskcal.svg";
  std::error_code ec;
  return std::filesystem::is_regular_file(picture, ec) ? picture.string() : std::string("veskcal");
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
  // Held for the whole run: commands on the store go through this calendar's
  // socket from now on, and a second calendar comes no further than here. An
  // end asked for while it waits for a command ends it at once.
  auto claim = ClaimStore(dataDir, [] {
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) endRequested = true;
    return endRequested;
  });
  if (!claim) {
    ShowError(claim.error());
    return 1;
  }
  if (!*claim && endRequested) return 0;
  if (!*claim) {
    std::fprintf(stderr, "veskcal: %s\n", kAlreadyRunning.data());
    QMessageBox::information(nullptr, ToQString(kAppCaption), ToQString(kAlreadyRunning));
    return 0;
  }

  // This calendar alone writes backups here now: what a killed one left goes.
  RemoveUnfinishedBackups(dataDir);
  auto store = OpenStore();
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
  QtNotifier notifications("Vesk Calendar", NotificationIcon(ctx.installedDataDir));
  ctx.notifier = &notifications;
  ReminderScheduler scheduler(ctx);
  ctx.armer = &scheduler;
  ProgramWindows windows(ctx);
  ctx.windows = &windows;

  int status = 1;
  {
    CVeskCalApp application(ctx, [] { QCoreApplication::exit(0); });
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
      // Requests are taken once the entries are loaded.
      RequestHandler handler(ctx, [&application] {
        if (application.mainFrame() != nullptr) application.mainFrame()->ComeForward();
      });
      RequestLimits limits;
      limits.maxRequest = kMaxRequestBytes;
      InstanceGuard guard(InstanceSocketPath(dataDir), limits);
      if (!guard.Listen(
              [&handler](std::string payload) { return handler.Prepare(std::move(payload)); },
              [&handler](std::string_view reason) { return handler.Refuse(reason); }))
        std::fprintf(stderr, "veskcal: %s\n", guard.error().c_str());
      // A new event loop forgets an earlier exit(), so an end asked for while
      // start-up ran a dialog of its own is honoured here.
      status = endRequested ? 0 : QApplication::exec();
      application.Exit();
    } else {
      ShowError("The main window could not be created.");
    }
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
  // The commands on the data have options of their own, which the program's
  // parser does not know.
  if (line.action == CommandLine::Action::Run || line.action == CommandLine::Action::Unknown) {
    if (auto data = vesk::ParseDataCommand(argc, argv)) {
      if (!*data) {
        std::fprintf(stderr, "veskcal: %s\n\n%s", data->error().c_str(), vesk::UsageText().c_str());
        return vesk::kRefused;
      }
      // Without TZ the C library looks at /etc/localtime again at every
      // local-time conversion, four times an imported event; a command that
      // ends in a moment need not follow a change of the system's zone.
      ::setenv("TZ", ":/etc/localtime", 0);
      ::tzset();
      vesk::QtClock clock;
      return vesk::RunDataCommand(**data, clock);
    }
  }
  switch (line.action) {
    case CommandLine::Action::Help:
      std::printf("%s\n\n%s", vesk::kVersionText.data(), vesk::UsageText().c_str());
      return 0;
    case CommandLine::Action::Version:
      std::printf("%s\n", vesk::kVersionText.data());
      return 0;
    case CommandLine::Action::Missing:
      std::fprintf(stderr, "veskcal: %s needs a file name\n\n%s", line.option.c_str(),
                   vesk::UsageText().c_str());
      return 2;
    case CommandLine::Action::Unknown:
      std::fprintf(stderr, "veskcal: %s %s\n\n%s",
                   line.option.starts_with('-') ? "unknown option" : "unexpected argument",
                   line.option.c_str(), vesk::UsageText().c_str());
      return 2;
    case CommandLine::Action::Export:
      return vesk::ExportStore(line);
    case CommandLine::Action::Run:
      break;
  }
  return vesk::RunProgram(argc, argv);
}
