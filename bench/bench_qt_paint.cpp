// The Qt backend (offscreen) with 100,000 stored entries: one paint of the
// month view (the drawing into the window's retained image and its copy to
// the screen), and a crowded four-week view printed to a PDF file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/qt/qt_print.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/qt_window.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "view_app.h"
#include "views/month_view.h"
#include "views/view_week.h"

namespace vesk::bench {
namespace {

struct QtViewApp {
  QtViewApp() : app(CopyOfFullStore("qt-paint.db")) {
    app.ctx->ui = &ui;
    view = StartMonthView(*app.ctx, frame);
    QApplication::processEvents();
  }
  App app;
  QtUi ui;
  Window frame{ui};
  std::unique_ptr<CVeskCalView> view;
};

// Made on first use; main releases it while the QApplication still exists.
std::unique_ptr<QtViewApp> viewApp;

void BM_QtMonthPaint(benchmark::State& state) {
  if (!viewApp) viewApp = std::make_unique<QtViewApp>();
  QtViewApp& v = *viewApp;
  QWidget* client = v.ui.NativeOf(v.view.get())->clientWidget();
  for (auto _ : state) {
    v.view->Invalidate(false);
    client->repaint();
  }
}
BENCHMARK(BM_QtMonthPaint)->Unit(benchmark::kMicrosecond);

// Every page of four weeks of about 28 entries a day, through the print job
// the print dialog would start, into a PDF file.
void BM_QtPrintFourWeeksToPdf(benchmark::State& state) {
  if (!viewApp) viewApp = std::make_unique<QtViewApp>();
  QtViewApp& v = *viewApp;
  AppContext& ctx = *v.app.ctx;
  if (ctx.weekWindows[0] == nullptr) {
    OpenWeekWindow(ctx, 0, kNowYear, kNowMonth, kNowDay);
    ctx.weekWindows[0]->OnCommand(res::kIdFourWeeks);
    QApplication::processEvents();
  }
  ViewWeek& week = *ctx.weekWindows[0];
  const std::filesystem::path pdf = DataDir() / "four-weeks.pdf";
  int pages = 0;
  for (auto _ : state) {
    pages = week.PrintPageCount();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    QtPrintJob job(printer, 1, pages);
    for (int page = 1; page <= pages; ++page) {
      week.PrintPage(job.BeginPage(), page);
      job.EndPage();
    }
    if (!job.End()) state.SkipWithError("the PDF could not be written");
  }
  state.counters["pages"] = pages;
  state.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}
BENCHMARK(BM_QtPrintFourWeeksToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qapp(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  vesk::bench::viewApp.reset();
  return 0;
}
