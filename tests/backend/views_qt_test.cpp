// The week and year views on the Qt backend: both open from the main frame's
// commands, and print to a PDF file whose text reads right.
#include <QApplication>
#include <QPainter>
#include <QStandardPaths>
#include <filesystem>

#include "app/main_frame.h"
#include "app/veskcal_app.h"
#include "backend_fixture.h"
#include "planner/program_windows.h"
#include "platform/qt/qt_canvas.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "support/test_app.h"
#include "views/view_week.h"
#include "views/view_year.h"

namespace vesk::test {
namespace {

constexpr std::string_view kSoundsKey = "SOFTWARE\\Tolvard\\VeskCal\\sounds";

// The program with its real calendar windows on an in-memory store; today is
// Wednesday 15 March 2000.
class ViewsQtTest : public QtBackendTest {
 protected:
  ViewsQtTest() {
    app.ctx.ui = &ui;
    app.ctx.dataDir = temp.path();
    app.ctx.windows = &windows;
    app.registry.CreateKey(kSoundsKey);
    app.AddEntry(2000, 3, 14, 9, 0, "Dentist at nine");
    app.AddEntry(2000, 3, 17, 13, 30, "Board meeting");
    application = std::make_unique<CVeskCalApp>(app.ctx, [] {});
  }
  ~ViewsQtTest() override {
    application.reset();
    ui.ReleaseWindows();
    Flush();
  }
  void Start() {
    ASSERT_TRUE(application->InitInstance());
    Flush();
  }
  CMainFrame& frame() const { return *application->mainFrame(); }

  // Runs the window's Print command, answering the print dialog with a file.
  std::string PrintToPdf(Window& window, const std::string& name) {
    const std::string pdf = temp.path() + "/" + name;
    bool dialogSeen = false;
    AnswerPrintDialogWithPdf(ui, pdf, dialogSeen);
    window.OnCommand(res::kIdPrint);
    Flush();
    EXPECT_TRUE(dialogSeen);
    return std::filesystem::exists(pdf) ? PdfText(pdf) : std::string();
  }

  TestApp app;
  TempDir temp;
  ProgramWindows windows{app.ctx};
  std::unique_ptr<CVeskCalApp> application;
};

bool Holds(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

TEST_F(ViewsQtTest, TheWeekOpensFromItsCommandAndPrints) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
    GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  }
  Start();
  ASSERT_TRUE(frame().OnCommand(res::kIdWeek));
  Flush();
  ViewWeek* week = app.ctx.weekWindows[0];
  ASSERT_NE(week, nullptr);
  EXPECT_EQ(NativeOf(*week).Title(), "Appointments starting Sunday, March 12, 2000");
  EXPECT_TRUE(NativeOf(*week).IsVisible());

  const std::string text = PrintToPdf(*week, "week.pdf");
  EXPECT_TRUE(Holds(text, "Starting 3/12/2000")) << text;
  EXPECT_TRUE(Holds(text, "by Vesk Calendar")) << text;
  for (std::string_view day : {"Sunday, March 12", "Tuesday, March 14", "Saturday, March 18"}) {
    EXPECT_TRUE(Holds(text, day)) << day << "\n" << text;
  }
  EXPECT_TRUE(Holds(text, "9:00am")) << text;
  EXPECT_TRUE(Holds(text, "Dentist at nine")) << text;
  EXPECT_TRUE(Holds(text, "1:30pm")) << text;
  EXPECT_TRUE(Holds(text, "Board meeting")) << text;
}

TEST_F(ViewsQtTest, TheYearOpensFromItsCommandAndPrintsOnOnePage) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
    GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  }
  Start();
  ASSERT_TRUE(frame().OnCommand(res::kIdYear));
  Flush();
  ViewYear* year = app.ctx.yearWindow;
  ASSERT_NE(year, nullptr);
  EXPECT_EQ(NativeOf(*year).Title(), "2000");

  const std::string text = PrintToPdf(*year, "year.pdf");
  EXPECT_TRUE(Holds(text, "2000")) << text;
  for (std::string_view month : {"January", "June", "December"}) {
    EXPECT_TRUE(Holds(text, month)) << month << "\n" << text;
  }
  EXPECT_TRUE(Holds(text, "29")) << "February of a leap year\n" << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "one page";
}

TEST_F(ViewsQtTest, APrinterPageShrinksContentLargerThanItself) {
  QImage page(200, 400, QImage::Format_RGB32);
  QPainter painter(&page);
  QtCanvas printer(painter, true, QApplication::font());
  printer.FitOnPage({100, 300});
  EXPECT_DOUBLE_EQ(painter.worldTransform().m11(), 1.0) << "content that fits keeps its size";
  printer.FitOnPage({400, 300});
  EXPECT_DOUBLE_EQ(painter.worldTransform().m11(), 0.5);
  EXPECT_DOUBLE_EQ(painter.worldTransform().m22(), 0.5);

  QImage screenImage(200, 400, QImage::Format_RGB32);
  QPainter onScreen(&screenImage);
  QtCanvas screen(onScreen, false, QApplication::font());
  screen.FitOnPage({400, 800});
  EXPECT_DOUBLE_EQ(onScreen.worldTransform().m11(), 1.0) << "the screen ignores it";
}

}  // namespace
}  // namespace vesk::test
