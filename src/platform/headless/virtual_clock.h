#pragma once
// The deterministic clock and timer wheel of the headless twin: time moves only
// when a test advances it, and due timers fire in time order as it passes them.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/clock.h"
#include "platform/timers.h"

namespace vesk {

class VirtualClock : public Clock, public Timers {
 public:
  explicit VirtualClock(std::int64_t startSeconds = 0) : nowMs_(startSeconds * 1000) {}

  std::int64_t Now() const override { return nowMs_ / 1000; }
  std::int64_t NowMs() const override { return nowMs_; }
  // Moves the clock without firing timers (a blocking pause of the program).
  void Pause(int ms) override;

  int SetTimer(int id, unsigned ms, Callback callback) override;
  void KillTimer(int id) override;

  void SetNow(std::int64_t seconds) { nowMs_ = seconds * 1000; }
  // Moves time forward by ms, firing every timer that falls due on the way,
  // each at its own due time, earliest first (ties in arming order).
  void Advance(std::int64_t ms);

  bool IsArmed(int id) const { return timers_.count(id) != 0; }
  // Milliseconds until the timer fires, or -1 when it is not armed.
  std::int64_t RemainingMs(int id) const;
  unsigned PeriodMs(int id) const;
  std::vector<int> ArmedIds() const;
  const std::vector<int>& pauses() const { return pauses_; }
  // The next n SetTimer calls fail (return 0).
  void FailNextSetTimer(int n) { failSetTimer_ = n; }

 private:
  struct Armed {
    std::int64_t dueMs;
    unsigned periodMs;
    std::uint64_t order;
    Callback callback;
  };
  std::int64_t nowMs_;
  std::map<int, Armed> timers_;
  std::uint64_t nextOrder_ = 0;
  std::vector<int> pauses_;
  int failSetTimer_ = 0;
};

}  // namespace vesk
