#include "platform/headless/virtual_clock.h"

#include <algorithm>

namespace vesk {
namespace {

// A repeating timer never fires more often than this, as on Windows; a timer
// set with period 0 still fires once at the next Advance.
constexpr std::int64_t kMinRepeatMs = 10;

}  // namespace

void VirtualClock::Pause(int ms) {
  pauses_.push_back(ms);
  if (ms > 0) monoMs_ += ms;
}

void VirtualClock::Suspend(std::int64_t ms, bool reportResume) {
  wallOffsetMs_ += std::max<std::int64_t>(ms, 0);
  if (!reportResume || !resume_) return;
  // The handler may replace itself; it runs from a copy.
  std::function<void()> resume = resume_;
  resume();
}

int VirtualClock::SetTimer(int id, unsigned ms, Callback callback) {
  if (failSetTimer_ > 0) {
    --failSetTimer_;
    return 0;
  }
  timers_[id] = Armed{monoMs_ + ms, ms, nextOrder_++, std::move(callback)};
  return id;
}

void VirtualClock::KillTimer(int id) { timers_.erase(id); }

void VirtualClock::Advance(std::int64_t ms) {
  const std::int64_t endMs = monoMs_ + std::max<std::int64_t>(ms, 0);
  for (;;) {
    // The earliest due timer, ties in arming order. Callbacks may set and kill
    // timers, so the table is searched afresh each time.
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.dueMs > endMs) continue;
      if (next == timers_.end() || std::pair(it->second.dueMs, it->second.order) <
                                       std::pair(next->second.dueMs, next->second.order)) {
        next = it;
      }
    }
    if (next == timers_.end()) break;
    const int id = next->first;
    Armed& armed = next->second;
    monoMs_ = std::max(monoMs_, armed.dueMs);
    armed.dueMs = monoMs_ + std::max<std::int64_t>(armed.periodMs, kMinRepeatMs);
    // The callback may kill or replace its own timer, so it runs from a copy.
    Callback callback = armed.callback;
    if (callback) callback(id);
  }
  monoMs_ = std::max(monoMs_, endMs);
}

std::int64_t VirtualClock::RemainingMs(int id) const {
  auto it = timers_.find(id);
  if (it == timers_.end()) return -1;
  return std::max<std::int64_t>(it->second.dueMs - monoMs_, 0);
}

unsigned VirtualClock::PeriodMs(int id) const {
  auto it = timers_.find(id);
  return it == timers_.end() ? 0 : it->second.periodMs;
}

std::vector<int> VirtualClock::ArmedIds() const {
  std::vector<int> ids;
  ids.reserve(timers_.size());
  for (const auto& [id, armed] : timers_) ids.push_back(id);
  return ids;
}

}  // namespace vesk
