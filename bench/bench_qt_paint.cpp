// One paint of the month view on the Qt backend (offscreen), with 100,000
// stored entries: the drawing into the window's retained image and its copy
// to the screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "view_app.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/qt_window.h"
#include "views/month_view.h"

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
