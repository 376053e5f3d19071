#pragma once
// Window timers on the Qt event loop: one QTimer per id, repeating until killed.
#include <map>
#include <memory>

#include "platform/timers.h"

class QObject;
class QTimer;

namespace vesk {

class QtTimers : public Timers {
 public:
  QtTimers();
  ~QtTimers() override;
  QtTimers(const QtTimers&) = delete;
  QtTimers& operator=(const QtTimers&) = delete;

  int SetTimer(int id, unsigned ms, Callback callback) override;
  void KillTimer(int id) override;
  bool IsArmed(int id) const { return timers_.count(id) != 0; }

 private:
  struct Armed {
    QTimer* timer;  // a child of owner_; killed ones go with deleteLater (one may be firing)
    Callback callback;
  };
  void Fire(int id);

  std::unique_ptr<QObject> owner_;
  std::map<int, Armed> timers_;
};

}  // namespace vesk
