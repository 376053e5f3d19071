#pragma once
// The system clock of the desktop program, with the monotonic clock Qt's
// timers run on and the wake-up report from logind.
#include <memory>

#include "platform/clock.h"

namespace vesk {

class QtSleepWatcher;

class QtClock : public Clock {
 public:
  QtClock();
  ~QtClock() override;
  QtClock(const QtClock&) = delete;
  QtClock& operator=(const QtClock&) = delete;

  std::int64_t Now() const override;
  std::int64_t NowMs() const override;
  std::int64_t MonotonicMs() const override;
  void Pause(int ms) override;
  // Listens on the system bus while a handler is set (needs a QCoreApplication).
  void SetResumeHandler(std::function<void()> handler) override;

 private:
  std::unique_ptr<QtSleepWatcher> watcher_;
};

}  // namespace vesk
