#include "platform/qt/qt_clock.h"

#include <QDateTime>
#include <QThread>
#include <chrono>
#include <utility>

#include "platform/qt/qt_sleep_watcher.h"

namespace vesk {

QtClock::QtClock() = default;

QtClock::~QtClock() = default;

std::int64_t QtClock::Now() const { return QDateTime::currentSecsSinceEpoch(); }

std::int64_t QtClock::NowMs() const { return QDateTime::currentMSecsSinceEpoch(); }

std::int64_t QtClock::MonotonicMs() const {
  // CLOCK_MONOTONIC, the clock Qt's timers run on: it stops while the machine sleeps.
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void QtClock::Pause(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void QtClock::SetResumeHandler(std::function<void()> handler) {
  watcher_.reset();
  if (handler) watcher_ = std::make_unique<QtSleepWatcher>(std::move(handler));
}

}  // namespace vesk
