#include "reminders/countdowns.h"

#include <climits>
#include <utility>

#include "reminders/reminder_scheduler.h"
#include "store/app_context.h"

namespace vesk {

namespace {

constexpr unsigned kMsPerMinute = 60000;

}  // namespace

Countdowns::~Countdowns() {
  for (const auto& [id, text] : running_) ctx_.timers.KillTimer(id);
}

int Countdowns::TakeId() {
  // Counted up through the range, wrapping round, so an id comes back only
  // after a billion others and never while its countdown runs.
  do {
    next_ = next_ < kCountdownTimerIdBase || next_ == INT_MAX ? kCountdownTimerIdBase : next_ + 1;
  } while (running_.contains(next_));
  return next_;
}

bool Countdowns::Start(int minutes, std::string text) {
  const int id = TakeId();
  const unsigned ms = static_cast<unsigned>(minutes) * kMsPerMinute;
  if (ctx_.timers.SetTimer(id, ms, [this](int firedId) { OnCountdownTimer(firedId); }) == 0) {
    return false;
  }
  running_[id] = std::move(text);
  return true;
}

void Countdowns::OnCountdownTimer(int id) {
  ctx_.timers.KillTimer(id);
  auto it = running_.find(id);
  if (it == running_.end()) return;
  const std::string text = std::move(it->second);
  running_.erase(it);
  if (ctx_.presenter != nullptr) ctx_.presenter->ShowReminder({.hour = -1, .text = text});
}

}  // namespace vesk
