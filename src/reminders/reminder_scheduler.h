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

class ReminderScheduler : public ReminderArmer {
 public:
  explicit ReminderScheduler(AppContext& ctx) : ctx_(ctx) {}
  void ArmReminder(CPlannerEntry& entry) override;
  void OnReminderTimer(int id);

 private:
  // The next reminder id; skips the main frame's own timer ids.
  int TakeTimerId();
  AppContext& ctx_;
};

// Reminder timer ids never take these: the main frame's own timers.
bool IsFrameTimerId(int id);

}  // namespace vesk
