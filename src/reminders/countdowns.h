#pragma once
// The running countdowns: each a one-shot timer holding its own copy of the
// text, whose expiry opens a " Timer Expired:" pop-up. None is stored; they
// end with the program.
#include <map>
#include <string>

namespace vesk {

struct AppContext;

class Countdowns {
 public:
  explicit Countdowns(AppContext& ctx) : ctx_(ctx) {}
  // Kills the timers still running: their callbacks hold this object.
  ~Countdowns();
  Countdowns(const Countdowns&) = delete;
  Countdowns& operator=(const Countdowns&) = delete;

  // Starts a countdown of minutes with its text; false when no timer could be set.
  bool Start(int minutes, std::string text);
  // The timer callback: the pop-up with the countdown's text, then the countdown ends.
  void OnCountdownTimer(int id);

  std::size_t running() const { return running_.size(); }
  // The texts of the running countdowns by timer id.
  const std::map<int, std::string>& texts() const { return running_; }

 private:
  // An id of the countdown range (kCountdownTimerIdBase and up) that no
  // running countdown holds.
  int TakeId();

  AppContext& ctx_;
  std::map<int, std::string> running_;
  int next_ = 0;
};

}  // namespace vesk
