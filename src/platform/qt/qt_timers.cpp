#include "platform/qt/qt_timers.h"

#include <QTimer>
#include <algorithm>
#include <climits>

namespace vesk {
namespace {

// The shortest period the window system's timers honour.
constexpr unsigned kMinimumPeriodMs = 10;

int PeriodOf(unsigned ms) {
  return static_cast<int>(std::clamp<unsigned>(ms, kMinimumPeriodMs, INT_MAX));
}

}  // namespace

QtTimers::QtTimers() : owner_(std::make_unique<QObject>()) {}

QtTimers::~QtTimers() = default;

int QtTimers::SetTimer(int id, unsigned ms, Callback callback) {
  if (id == 0) return 0;
  auto it = timers_.find(id);
  if (it == timers_.end()) {
    auto* timer = new QTimer(owner_.get());
    // Coarse timers may drift by 5%: an hour on the 23-hour sweep.
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, [this, id] { Fire(id); });
    it = timers_.emplace(id, Armed{timer, {}}).first;
  }
  it->second.callback = std::move(callback);
  it->second.timer->start(PeriodOf(ms));
  return id;
}

void QtTimers::KillTimer(int id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second.timer->stop();
  it->second.timer->deleteLater();
  timers_.erase(it);
}

void QtTimers::Fire(int id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  // The callback may kill or replace this timer; it runs on its own copy.
  Callback callback = it->second.callback;
  if (callback) callback(id);
}

}  // namespace vesk
