#pragma once
// The deterministic clock and timer wheel of the headless twin: time moves only
// when a test advances it, and due timers fire in time order as it passes them.
// Timers run on the monotonic clock, as the desktop's do: setting the wall
// clock (SetNow) or a sleep of the machine (Suspend) moves the wall clock
// alone, and armed timers keep their monotonic due times.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"
#include "platform/timers.h"

namespace vesk {

class VirtualClock : public Clock, public Timers {
 public:
  explicit VirtualClock(std::int64_t startSeconds = 0) : wallOffsetMs_(startSeconds * 1000) {}

  std::int64_t Now() const override { return NowMs() / 1000; }
  std::int64_t NowMs() const override { return monoMs_ + wallOffsetMs_; }
  std::int64_t MonotonicMs() const override { return monoMs_; }
  // Moves the clock without firing timers (a blocking pause of the program).
  void Pause(int ms) override;
  void SetResumeHandler(std::function<void()> handler) override { resume_ = std::move(handler); }

  int SetTimer(int id, unsigned ms, Callback callback) override;
  void KillTimer(int id) override;

  // Sets the wall clock, as the user or a time server does.
  void SetNow(std::int64_t seconds) { wallOffsetMs_ = seconds * 1000 - monoMs_; }
  // Moves time forward by ms, firing every timer that falls due on the way,
  // each at its own due time, earliest first (ties in arming order).
  void Advance(std::int64_t ms);
  // The machine sleeps for ms: the wall clock moves on while the monotonic
  // clock and the timers stand still. On waking the resume handler runs,
  // unless the desktop is one that does not report it.
  void Suspend(std::int64_t ms, bool reportResume = true);

  bool IsArmed(int id) const { return timers_.count(id) != 0; }
  // Milliseconds until the timer fires, or -1 when it is not armed.
  std::int64_t RemainingMs(int id) const;
  unsigned PeriodMs(int id) const;
  std::vector<int> ArmedIds() const;
  const std::vector<int>& pauses() const { return pauses_; }
  // The next n SetTimer calls fail (return 0).
  void FailNextSetTimer(int n) { failSetTimer_ = n; }
  bool HasResumeHandler() const { return static_cast<bool>(resume_); }

 private:
  struct Armed {
    std::int64_t dueMs;  // monotonic
    unsigned periodMs;
    std::uint64_t order;
    Callback callback;
  };
  std::int64_t monoMs_ = 0;
  std::int64_t wallOffsetMs_;  // wall clock minus monotonic clock
  std::map<int, Armed> timers_;
  std::uint64_t nextOrder_ = 0;
  std::vector<int> pauses_;
  int failSetTimer_ = 0;
  std::function<void()> resume_;
};

}  // namespace vesk
