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

}  // namespace
}  // namespace vesk::test
