#pragma once
#include <functional>

namespace vesk {

// Window timers of the one user-interface thread. A timer repeats every period
// until it is killed; the program uses them one-shot by killing them in the
// handler. Setting an id that is armed replaces it.
class Timers {
 public:
  using Callback = std::function<void(int id)>;
  virtual ~Timers() = default;
  // Returns id, or 0 when the timer could not be set.
  virtual int SetTimer(int id, unsigned ms, Callback callback) = 0;
  virtual void KillTimer(int id) = 0;
};

}  // namespace vesk
