#pragma once
#include <cstdint>

namespace vesk {

// Wall-clock time. Nothing outside the platform layer reads the system clock.
class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1 January 1970 (UTC epoch; local time is built by calendar/).
  virtual std::int64_t Now() const = 0;
  // Milliseconds since the epoch, for sub-second ordering.
  virtual std::int64_t NowMs() const = 0;
  // Blocks the caller for ms milliseconds (the headless twin only moves its clock).
  virtual void Pause(int ms) = 0;
};

}  // namespace vesk
