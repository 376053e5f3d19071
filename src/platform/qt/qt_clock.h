#pragma once
// The system clock of the desktop program.
#include "platform/clock.h"

namespace vesk {

class QtClock : public Clock {
 public:
  std::int64_t Now() const override;
  std::int64_t NowMs() const override;
  void Pause(int ms) override;
};

}  // namespace vesk
