#pragma once
// One one-shot timer per entry whose reminder falls due within a day (or, for
// the extra one-day-early reminder, within two days), and the callback that
// decides which reminder fired and opens the pop-up.
#include <cstdint>
#include <string>
#include <string_view>

#include "store/hooks.h"

namespace vesk {

struct AppContext;

// What the scheduler asks of the windows.
class ReminderPresenter {
 public:
  virtual ~ReminderPresenter() = default;
  virtual void ActivateMainFrame() = 0;
  virtual void ShowReminder(int month, int day, int hour, int minute, std::string_view text,
                            bool dayEarly) = 0;
};

inline constexpr std::int64_t kOneDay = 86400;
inline constexpr std::int64_t kExtraWindow = 172800;
inline constexpr std::int64_t kFiringTolerance = 60;

// Timer ids of the one timer table are shared out in ranges: the main frame
// owns 3000..3009 and 3488, reminder ids count up from 3 and stay below
// kCountdownTimerIdBase, countdown timers take ids from kCountdownTimerIdBase on.
inline constexpr int kCountdownTimerIdBase = 0x40000000;
// The main frame's minute timer that rebuilds the tray tooltip: inside the
// reminder range, so reminder ids skip it too.
inline constexpr int kTrayTipTimerId = 0x3FFFFFF0;

class ReminderScheduler : public ReminderArmer {
 public:
  // The timers it arms call back into this object, so it must live as long as
  // the context whose timers it uses (the application owns both).
  explicit ReminderScheduler(AppContext& ctx) : ctx_(ctx) {}
  // Kills the entry's armed timer, then arms the reminder that falls due within
  // its window, if any. A timer that cannot be set leaves the entry's timer 0.
  void ArmReminder(CPlannerEntry& entry) override;
  // The timer callback: opens the pop-up when the entry's reminder is due.
  void OnReminderTimer(int id);

 private:
  // The next reminder id, never used before in this run and never one of the
  // main frame's own; 0 once the reminder range is used up.
  int TakeTimerId();
  AppContext& ctx_;
};

// Reminder timer ids never take these: the main frame's own timers.
bool IsFrameTimerId(int id);

}  // namespace vesk
