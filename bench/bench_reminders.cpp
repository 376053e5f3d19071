// The reminders' figures with 100,000 stored entries: the 23-hour sweep, the
// catch-up after a wake-up (every reminder armed again from the wall clock),
// each with the months read at start-up (argument 0) and with every month (1),
// and showing one reminder pop-up on the Qt backend (offscreen) from its
// creation to its first paint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "bench_data.h"
#include "calendar/local_time.h"
#include "platform/font.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/qt_window.h"
#include "reminders/reminder_wnd.h"

namespace vesk::bench {
namespace {

// A store of 100,000 entries opened as at start-up (the month on screen and
// the reminders due soon read), or with every month read.
App& Loaded(bool everyMonth) {
  static App started(CopyOfFullStore("reminders.db"));
  static App whole(CopyOfFullStore("reminders-whole.db"));
  static const bool ready = [] {
    LoadAll(started);
    LoadAll(whole);
    whole.ctx->entries.EnsureDays(MakeLocalTime(kNowYear - 6, 1, 1, 0, 0),
                                  MakeLocalTime(kNowYear + 6, 12, 31, 0, 0));
    return true;
  }();
  (void)ready;
  return everyMonth ? whole : started;
}

// The sweep of timer 3000: every entry without an armed reminder is scheduled.
void BM_ReminderSweep(benchmark::State& state) {
  App& app = Loaded(state.range(0) != 0);
  for (auto _ : state) app.ctx->entries.RearmTimers(false);
  state.counters["entries_in_memory"] = static_cast<double>(app.ctx->entries.size());
}
BENCHMARK(BM_ReminderSweep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A wake-up: the reminders that fell due are collected, every entry is
// scheduled again, and the time is stored.
void BM_CatchUpAfterSleep(benchmark::State& state) {
  App& app = Loaded(state.range(0) != 0);
  for (auto _ : state) app.scheduler->CatchUpAfterSleep();
  state.counters["entries_in_memory"] = static_cast<double>(app.ctx->entries.size());
}
BENCHMARK(BM_CatchUpAfterSleep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

struct QtPopups {
  QtPopups() : app(CopyOfFullStore("popup.db")) {
    app.ctx->ui = &ui;
    WindowSpec spec;
    spec.rect = Rect::FromSize(300, 300, 200, 100);
    spec.visible = true;
    owner.Create(spec);
    font = ui.CreateFont(FontRecord::DefaultMain());
  }
  App app;
  QtUi ui;
  Window owner{ui};
  std::unique_ptr<Font> font;
};

// Made on first use; main releases it while the QApplication still exists.
std::unique_ptr<QtPopups> popups;

void Flush() {
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// ShowReminder: the window made, the font chosen, the text measured, the
// window placed and shown, then its first paint (with the reminder sound).
void BM_ShowReminderPopup(benchmark::State& state) {
  if (!popups) popups = std::make_unique<QtPopups>();
  QtPopups& p = *popups;
  const ColorSet colors = YellowScheme();
  const PopupLooks looks{&p.owner, p.font.get(), &colors};
  for (auto _ : state) {
    ReminderWnd* popup = ShowReminder(
        *p.app.ctx, looks,
        ContentOf({.hour = 13, .minute = 30, .text = "Dentist with Dr Ames, bring the forms"}));
    p.ui.NativeOf(popup)->clientWidget()->repaint();
    state.PauseTiming();
    popup->Destroy();
    p.app.ctx->reminderCascade = {50, 70};
    Flush();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ShowReminderPopup)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qapp(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  vesk::bench::popups.reset();
  return 0;
}
