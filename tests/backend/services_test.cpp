#include <unistd.h>

#include <QDeadlineTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <fstream>

#include "backend_fixture.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_common_dialogs.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_help.h"
#include "platform/qt/qt_print.h"
#include "platform/qt/qt_timers.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

TEST(FileFilterTest, DesktopFiltersBecomeQtFilters) {
  EXPECT_EQ(ToQtFileFilter("Wave files (*.wav)|*.wav||"), "Wave files (*.wav)");
  EXPECT_EQ(ToQtFileFilter("Sounds|*.wav;*.au|All files (*.*)|*.*||"),
            "Sounds (*.wav *.au);;All files (*.*)");
  EXPECT_EQ(ToQtFileFilter(""), "");
}

TEST(FontTest, RecordsBecomeFontsAndBack) {
  FontRecord record;
  record.faceName = "DejaVu Sans";
  record.height = -17;
  record.weight = 700;
  record.italic = 1;
  const QFont font = ToQFont(record, QFont());
  EXPECT_EQ(font.pixelSize(), 17);
  EXPECT_EQ(font.weight(), QFont::Bold);
  EXPECT_TRUE(font.italic());
  EXPECT_EQ(ToFontRecord(font, record), record);
  // Nothing of the record's own sizes: the fallback's size stays.
  QFont fallback;
  fallback.setPixelSize(11);
  EXPECT_EQ(ToQFont(FontRecord{}, fallback).pixelSize(), 11);
}

TEST(FontTest, FaceNamesKeepWholeCharactersWithinTheRecord) {
  QFont font;
  font.setFamily(QString::fromUtf8("\xC3\xA9") + QString(40, 'x'));
  font.setPixelSize(12);
  const FontRecord record = ToFontRecord(font, FontRecord{});
  EXPECT_EQ(record.faceName, "\xC3\xA9" + std::string(29, 'x'));
}

TEST_F(QtBackendTest, ComicSansFallsBackToComicNeue) {
  if (!QFontDatabase::hasFamily("Comic Neue")) GTEST_SKIP() << "fonts-comic-neue is missing";
  if (QFontDatabase::hasFamily("Comic Sans MS")) GTEST_SKIP() << "the real face is installed";
  const QFont font = ToQFont(FontRecord::DefaultMain(), QFont());
  EXPECT_EQ(QFontInfo(font).family(), "Comic Neue");
}

TEST(TimersTest, ATimerRepeatsUntilKilledAndMayKillItself) {
  QtTimers timers;
  std::vector<int> fired;
  ASSERT_EQ(timers.SetTimer(7, 10,
                            [&](int id) {
                              fired.push_back(id);
                              if (fired.size() == 3) timers.KillTimer(id);
                            }),
            7);
  EXPECT_TRUE(RunUntil([&] { return fired.size() >= 3; }));
  EXPECT_FALSE(timers.IsArmed(7));
  QApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(fired, (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(timers.SetTimer(0, 10, [](int) {}), 0);
}

TEST(TimersTest, SettingAnArmedIdReplacesItsCallback) {
  QtTimers timers;
  std::vector<std::string> fired;
  timers.SetTimer(3, 10, [&](int) { fired.push_back("old"); });
  timers.SetTimer(3, 10, [&](int id) {
    fired.push_back("new");
    timers.KillTimer(id);
  });
  EXPECT_TRUE(RunUntil([&] { return !timers.IsArmed(3); }));
  EXPECT_EQ(fired, std::vector<std::string>{"new"});
}

TEST(ClockTest, NowIsTheSystemTime) {
  QtClock clock;
  const std::int64_t ms = clock.NowMs();
  EXPECT_NEAR(static_cast<double>(clock.Now()), static_cast<double>(ms / 1000), 1.0);
  EXPECT_GT(clock.Now(), 1'600'000'000);
}

TEST(HelpTest, AMissingTopicShowsTheContents) {
  TempDir dir;
  std::ofstream(dir.path() + "/index.html") << "<p>Contents</p>";
  std::ofstream(dir.path() + "/topic102.html") << "<p>Day planner</p>";
  QtIcons icons({});
  QtHelpWindow help(dir.path(), icons);
  EXPECT_EQ(help.PageFor(102).filename(), "topic102.html");
  EXPECT_EQ(help.PageFor(108).filename(), "index.html");
  EXPECT_EQ(help.PageFor(0).filename(), "index.html");
  help.ShowTopic(102);
  EXPECT_TRUE(help.browser()->toPlainText().contains("Day planner"));
}

TEST(PrintTest, APrintJobToAPdfHoldsWhatWasDrawn) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
    GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  }
  TempDir dir;
  const std::string pdf = dir.path() + "/job.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf));
  QtPrintJob job(printer, 1, 2);
  EXPECT_EQ(job.FirstPage(), 1);
  EXPECT_EQ(job.LastPage(), 2);
  for (int page = job.FirstPage(); page <= job.LastPage(); ++page) {
    Canvas& canvas = job.BeginPage();
    EXPECT_TRUE(canvas.IsPrinter());
    // The default font is about 10 points at 96 units per inch.
    const Size extent = canvas.TextExtent("Things to do...");
    EXPECT_GE(extent.cy, 12);
    EXPECT_LE(extent.cy, 20);
    canvas.Rectangle(Rect::FromSize(20, 20, 700, 40), Rgb(255, 255, 0));
    canvas.SetBkMode(BkMode::Transparent);
    canvas.TextOut(22, 30, page == 1 ? "Things to do..." : "by Vesk Calendar");
    job.EndPage();
  }
  ASSERT_TRUE(job.End());
  const std::string text = PdfText(pdf);
  const auto first = text.find("Things to do...");
  const auto second = text.find("by Vesk Calendar");
  ASSERT_NE(first, std::string::npos) << text;
  ASSERT_NE(second, std::string::npos) << text;
  // Two pages, in order, separated by a form feed.
  EXPECT_NE(text.substr(first, second - first).find('\f'), std::string::npos);
}

TEST(PrintTest, AnUnwritableOutputFailsTheJob) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName("/nonexistent-dir/job.pdf");
  QtPrintJob job(printer, 1, 1);
  job.BeginPage().TextOut(0, 0, "lost");
  job.EndPage();
  EXPECT_FALSE(job.End());
}

}  // namespace
}  // namespace vesk::test
