#pragma once
#include <cstdint>
#include <functional>

namespace vesk {

// Wall-clock time, the monotonic clock beside it, and the report of a wake-up
// from sleep. Nothing outside the platform layer reads the system clock.
class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1 January 1970 (UTC epoch; local time is built by calendar/).
  virtual std::int64_t Now() const = 0;
  // Milliseconds since the epoch, for sub-second ordering.
  virtual std::int64_t NowMs() const = 0;
  // Milliseconds on the clock the timers run on: it never jumps when the wall
  // clock is set, and it stands still while the machine sleeps. Only
  // differences of two readings mean anything.
  virtual std::int64_t MonotonicMs() const = 0;
  // Blocks the caller for ms milliseconds (the headless twin only moves its clock).
  virtual void Pause(int ms) = 0;
  // handler runs on the user-interface thread each time the machine has woken
  // from sleep, where the desktop reports it; an empty handler stops the reports.
  virtual void SetResumeHandler(std::function<void()> handler) = 0;
};

}  // namespace vesk
