// The day planner on the Qt backend: typing through the real edit control
// reaches the SQLite store, and a printout reaches a PDF file.
#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardPaths>
#include <filesystem>

#include "app/veskcal_app.h"
#include "backend_fixture.h"
#include "planner/day_planner.h"
#include "planner/day_planner_layout.h"
#include "planner/entry_edit.h"
#include "planner/program_windows.h"
#include "platform/qt/qt_edit.h"
#include "platform/sqlite/sqlite_registry.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "store/registry_store.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

constexpr std::string_view kSoundsKey = "SOFTWARE\\Tolvard\\VeskCal\\sounds";

// The program on a SQLite store in a directory of its own, today Wednesday
// 15 March 2000, with the day planner of the 20th open.
class PlannerQtTest : public QtBackendTest {
 protected:
  ~PlannerQtTest() override { Stop(); }

  void StartOn(Registry& registry) {
    app = std::make_unique<TestApp>(registry);
    app->ctx.ui = &ui;
    app->ctx.dataDir = dir.path();
    registry.CreateKey(kSoundsKey);
    windows = std::make_unique<ProgramWindows>(app->ctx);
    app->ctx.windows = windows.get();
    application = std::make_unique<CVeskCalApp>(app->ctx, [] {});
    ASSERT_TRUE(application->InitInstance());
    Flush();
    windows->OpenDayPlanner(2000, 3, 20);
    ASSERT_NE(planner(), nullptr);
    // The editor comes to the top line once the window has painted.
    QDeadlineTimer deadline(5'000);
    while (planner()->editor() == nullptr && !deadline.hasExpired()) {
      NativeOf(*planner()).clientWidget()->repaint();
      Flush();
    }
    ASSERT_NE(planner()->editor(), nullptr);
  }
  void Stop() {
    if (!app) return;
    application.reset();
    ui.ReleaseWindows();
    windows.reset();
    app.reset();
  }
  AppointBook2* planner() const { return app->ctx.planners[0]; }
  QWidget* EditorLine() const {
    return static_cast<QtEdit*>(planner()->editor()->native())->widget();
  }
  void Key(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
  }
  void TypeText(const QString& text) {
    for (QChar c : text) Key(EditorLine(), 0, QString(c));
  }
  std::filesystem::path StoreFile() const {
    return std::filesystem::path(dir.path()) / "veskcal.db";
  }

  TempDir dir;
  std::unique_ptr<TestApp> app;
  std::unique_ptr<ProgramWindows> windows;
  std::unique_ptr<CVeskCalApp> application;
};

TEST_F(PlannerQtTest, ALineTypedAndLeftIsInTheStoreAfterARestart) {
  {
    auto registry = SqliteRegistry::Open(StoreFile());
    ASSERT_TRUE(registry.has_value()) << registry.error();
    StartOn(**registry);
    EXPECT_EQ(planner()->selRow(), 0);  // 8:00am, the top line
    TypeText("Dentist");
    Key(EditorLine(), Qt::Key_Return);
    Flush();
    EXPECT_FALSE(planner()->selOnHour());  // Enter moved on to 8:30
    // The stored line shows its text on the screen: the text column of the
    // 8:00 line holds pixels other than the line's band colour.
    Flush();
    const QImage image = Grab(*planner());
    const Rect line = HourLine(planner()->metrics(), 0, 0);
    const QRgb band = image.pixel(line.left + 3, line.top + 1);
    int inked = 0;
    for (int y = line.top + 2; y < line.bottom - 1; ++y) {
      for (int x = line.left + 7; x < line.left + 120; ++x) inked += image.pixel(x, y) != band;
    }
    EXPECT_GT(inked, 20);
    Stop();
  }
  auto reopened = SqliteRegistry::Open(StoreFile());
  ASSERT_TRUE(reopened.has_value()) << reopened.error();
  TestApp after(**reopened);
  after.ctx.store.ReadAllEntries(after.ctx.entries);
  const CPlannerEntry* e = after.ctx.entries.FindAt(2000, 3, 20, 8, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->notes, "Dentist");
}

TEST_F(PlannerQtTest, TheDayPrintsToAPdf) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
    GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  }
  auto registry = SqliteRegistry::Open(StoreFile());
  ASSERT_TRUE(registry.has_value()) << registry.error();
  StartOn(**registry);
  TypeText("Lunch with Ada");
  Key(EditorLine(), Qt::Key_Return);
  Flush();

  const std::string pdf = dir.path() + "/day.pdf";
  bool dialogSeen = false;
  AnswerPrintDialogWithPdf(ui, pdf, dialogSeen);
  planner()->OnCommand(res::kIdPrint);
  Flush();
  ASSERT_TRUE(dialogSeen);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Monday, March 20, 2000"), std::string::npos) << text;
  EXPECT_NE(text.find("by Vesk Calendar"), std::string::npos) << text;
  EXPECT_NE(text.find("Lunch with Ada"), std::string::npos) << text;
  EXPECT_NE(text.find("6:00am"), std::string::npos) << text;
  Stop();
}

}  // namespace
}  // namespace vesk::test
