// The program on the Qt backend: the main frame in this process, and the
// built executable run offscreen with a data directory of its own.
#include <signal.h>

#include <QAction>
#include <QDeadlineTimer>
#include <QMenu>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/main_frame.h"
#include "app/veskcal_app.h"
#include "calendar/local_time.h"
#include "main_frame_fixture.h"
#include "platform/qt/qt_clock.h"
#include "platform/sqlite/sqlite_registry.h"
#include "program_fixture.h"
#include "store/app_context.h"
#include "store/backup_file.h"
#include "support/test_app.h"
#include "views/month_view.h"

namespace vesk::test {
namespace {

QColor At(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

TEST_F(MainFrameQtTest, TheClientAreaIsTheCalendarPlusFour) {
  Start();
  const Size calendar = frame().view().GetCalendarSize();
  ASSERT_GT(calendar.cx, 0);
  const QWidget& client = ClientOf(frame());
  EXPECT_EQ(client.width(), calendar.cx + 4);
  EXPECT_EQ(client.height(), calendar.cy + 4);
  EXPECT_EQ(NativeOf(frame()).frameWidget()->windowTitle(), "VeskCal");
  EXPECT_EQ(ClientOf(frame().view()).size(), client.size());
}

TEST_F(MainFrameQtTest, TheMonthShowsItsColoursTheEntryAndToday) {
  Start();
  const QImage image = Grab(frame().view());
  const ColorSet& colors = frame().view().colors();
  const MonthLayout layout = frame().view().layout();

  // The slack below and right of the calendar shows the background.
  EXPECT_EQ(At(image, image.width() - 1, image.height() - 1), ToQColor(colors.back));
  // Today's cell wears the current-day frame inside its raised frame.
  const Rect today = layout.days[15];
  EXPECT_EQ(At(image, today.left + 1, (today.top + today.bottom) / 2), ToQColor(colors.currentday));
  EXPECT_EQ(At(image, today.left + 2, (today.top + today.bottom) / 2), ToQColor(colors.currentday));
  // The day with an entry has its number in the has-appointment colour.
  const auto countIn = [&](const Rect& r, Color c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += At(image, x, y) == ToQColor(c);
    }
    return n;
  };
  EXPECT_GT(countIn(layout.days[20], colors.hasappoint), 0);
  EXPECT_EQ(countIn(layout.days[21], colors.hasappoint), 0);
}

TEST_F(MainFrameQtTest, AnotherStartBringsTheLastActiveWindowToTheTop) {
  Start();
  RecordingWindow planner(ui);
  ASSERT_TRUE(planner.Create(
      QtBackendTest::Spec("Wednesday, March 15, 2000", Rect::FromSize(60, 60, 200, 150))));
  QWidget* plannerFrame = NativeOf(planner).frameWidget();
  plannerFrame->activateWindow();
  ClientOf(planner).setFocus();
  Flush();
  if (QApplication::activeWindow() != plannerFrame) GTEST_SKIP() << "the platform gave no focus";

  frame().ComeForward();
  Flush();
  EXPECT_EQ(QApplication::activeWindow(), plannerFrame);
  // A menu that had the focus for a moment does not count.
  QMenu menu;
  menu.addAction("x");
  menu.popup(QPoint(10, 10));
  Flush();
  menu.close();
  frame().ComeForward();
  Flush();
  EXPECT_EQ(QApplication::activeWindow(), plannerFrame);
}

TEST_F(MainFrameQtTest, TheTrayMenuHoldsItsItemsInOrder) {
  Start();
  QStringList items;
  QTimer::singleShot(0, [&items] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      items << (action->isSeparator() ? QString("-") : action->text());
    }
    menu->close();
  });
  frame().OnTrayRightDown();
  EXPECT_EQ(items, (QStringList{"&Hide", "-", "&Year", "&Week", "To &Do List", "-", "&Today"}));
}

// --- The executable ---

TEST(ProgramTest, SigtermEndsTheProgramWithTheMonthsBackup) {
  TempDir dir;
  QProcess program;
  StartProgram(program, dir.path());
  ASSERT_FALSE(std::filesystem::exists(MonthBackup(dir.path())));
  EndProgram(program, SIGTERM);
  EXPECT_NE(ReadFile(MonthBackup(dir.path())).find("|Welcome to Vesk Calendar!\n"),
            std::string::npos);
}

TEST(ProgramTest, TheStoreSurvivesARestart) {
  TempDir dir;
  {
    // An entry stored before the program ever ran.
    auto registry = SqliteRegistry::Open(std::filesystem::path(dir.path()) / "veskcal.db");
    ASSERT_TRUE(registry.has_value()) << registry.error();
    TestApp before(**registry);
    before.AddEntry(2001, 2, 3, 10, 30, "Dentist");
  }
  for (int sig : {SIGINT, SIGHUP}) {
    SCOPED_TRACE(sig);
    QProcess program;
    StartProgram(program, dir.path());
    EndProgram(program, sig);
    const std::string backup = ReadFile(MonthBackup(dir.path()));
    EXPECT_NE(backup.find("|2001|2|3|10|30|"), std::string::npos) << backup;
    EXPECT_NE(backup.find("|Dentist\n"), std::string::npos);
    // The entry and one welcome entry: the second start is not a first run.
    EXPECT_EQ(std::count(backup.begin(), backup.end(), '\n'), 2) << backup;
    EXPECT_NE(backup.find("|Welcome to Vesk Calendar!\n"), std::string::npos);
  }
}

// Runs the program to its end with the arguments; its exit code, and its
// error output in `err`.
int RunToEnd(const QStringList& arguments, const std::filesystem::path& dir, std::string& err) {
  QProcess program;
  UseDataDirectory(program, dir);
  program.start(VESKCAL_BINARY, arguments);
  if (!program.waitForFinished(60'000)) return -1;
  err = program.readAllStandardError().toStdString();
  return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

TEST(ProgramTest, AnUnknownArgumentPrintsTheUsageAndEndsWithTwo) {
  TempDir dir;
  struct Case {
    QStringList arguments;
    int status;
    std::string said;
  };
  const Case cases[] = {
      {{"--bogus"}, 2, "veskcal: unknown option --bogus\n\nUsage: veskcal"},
      {{"-x"}, 2, "veskcal: unknown option -x\n\nUsage: veskcal"},
      {{"notes.txt"}, 2, "veskcal: unexpected argument notes.txt\n\nUsage: veskcal"},
      {{"--version", "--bogus"}, 2, "unknown option --bogus"},
      {{"--export-registry"}, 2, "--export-registry needs a file name\n\nUsage: veskcal"},
      // Qt's own options are Qt's.
      {{"-platform", "offscreen", "--version"}, 0, ""},
      {{"--style=Fusion", "-reverse", "--version"}, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(" ").toStdString());
    std::string err;
    EXPECT_EQ(RunToEnd(c.arguments, dir.path(), err), c.status);
    if (c.said.empty()) {
      EXPECT_EQ(err, "");
    } else {
      EXPECT_NE(err.find(c.said), std::string::npos) << err;
    }
  }
  // Nothing was created for a refused command line.
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.path()) / "veskcal.db"));
}

// Stores that cannot be used: the program says which file and why, ends with
// 1, and leaves the file as it was (on the command line and on the desktop).
TEST(ProgramTest, ABadStoreIsNamedAndKeptAndTheProgramEndsWithOne) {
  TempDir dir;
  const std::filesystem::path store = std::filesystem::path(dir.path()) / "veskcal.db";
  std::string newer;
  {
    auto made = SqliteRegistry::Open(store);
    ASSERT_TRUE(made.has_value()) << made.error();
    ASSERT_NE((*made)->CreateKey("SOFTWARE\\Tolvard\\VeskCal"), OpenResult::Failed);
  }
  newer = ReadFile(store);
  newer[63] = 2;  // the store version, as a newer program writes it
  struct Case {
    std::string bytes;
    std::string reason;
  };
  const Case cases[] = {
      {"BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n" + std::string(200, ' '), "file is not a database"},
      {newer, "written by a newer version of Vesk Calendar"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    std::ofstream(store, std::ios::binary | std::ios::trunc) << c.bytes;
    const std::string said = "veskcal: Cannot open the store " + store.string() + ": ";
    std::string err;
    EXPECT_EQ(RunToEnd({"--export-registry", QString::fromStdString(dir.path() + "/out.reg")},
                       dir.path(), err),
              1);
    EXPECT_NE(err.find(said), std::string::npos) << err;
    EXPECT_NE(err.find(c.reason), std::string::npos) << err;

    // The desktop program says it in a box as well, which an ending signal closes.
    QProcess program;
    UseDataDirectory(program, dir.path());
    program.setReadChannel(QProcess::StandardError);
    program.start(VESKCAL_BINARY, QStringList{});
    QDeadlineTimer deadline(60'000);
    std::string shown;
    while (shown.find(c.reason) == std::string::npos && !deadline.hasExpired()) {
      program.waitForReadyRead(100);
      shown += program.readAllStandardError().toStdString();
    }
    EXPECT_NE(shown.find(said), std::string::npos) << shown;
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(60'000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(ReadFile(store), c.bytes);
  }
}

// Whether the process has the file open.
bool HasOpen(qint64 pid, const std::filesystem::path& file) {
  std::error_code ec;
  for (const auto& fd :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
    if (std::filesystem::read_symlink(fd.path(), ec) == file) return true;
  }
  return false;
}

TEST(ProgramTest, CopiesStartedTogetherOpenTheStoreOnceAndTheOthersSaySo) {
  TempDir dir;
  const std::filesystem::path store = std::filesystem::path(dir.path()) / "veskcal.db";
  constexpr int kCopies = 3;
  QProcess copies[kCopies];
  for (QProcess& copy : copies) {
    UseDataDirectory(copy, dir.path());
    copy.setReadChannel(QProcess::StandardError);
  }
  for (QProcess& copy : copies) copy.start(VESKCAL_BINARY, QStringList{});
  for (QProcess& copy : copies) ASSERT_TRUE(copy.waitForStarted(10'000));

  std::string said[kCopies];
  const auto saidRunning = [&](int i) {
    return said[i].find("Vesk Calendar is already running.") != std::string::npos;
  };
  QDeadlineTimer deadline(90'000);
  int opened = 0, refused = 0;
  while (opened + refused < kCopies && !deadline.hasExpired()) {
    opened = refused = 0;
    for (int i = 0; i < kCopies; ++i) {
      copies[i].waitForReadyRead(20);
      said[i] += copies[i].readAllStandardError().toStdString();
      const bool open = HasOpen(copies[i].processId(), store);
      EXPECT_FALSE(open && saidRunning(i));
      opened += open;
      refused += saidRunning(i);
    }
    ASSERT_LE(opened, 1) << "two copies hold the store";
  }
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(refused, kCopies - 1);
  for (QProcess& copy : copies) EndProgram(copy, SIGTERM);
}

}  // namespace
}  // namespace vesk::test
