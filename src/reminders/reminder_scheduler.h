#pragma once
// One one-shot timer per entry whose reminder falls due within a day (or, for
// the extra one-day-early reminder, within two days), and the callback that
// decides which reminder fired and opens the pop-up.
//
// The timers run on the monotonic clock, which stands still while the machine
// sleeps and does not follow a change of the wall clock. So the scheduler also
// keeps the reminders true to the wall clock: after a wake-up or a jump of the
// wall clock it shows at once what fell due meanwhile (marked as late) and arms
// every reminder again; at start-up it shows, in one list, what fell due while
// the program did not run. A reminder is shown once: the ones shown in this run
// are remembered, and "lastrun" in the store carries the rest across restarts.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "store/hooks.h"

namespace vesk {

struct AppContext;

// One announcement of a due reminder or an expired countdown.
struct ReminderNotice {
  std::uint64_t entry = 0;  // the entry's serial; 0 for a countdown
  int year = 0, month = 0, day = 0;
  int hour = -1, minute = 0;  // hour -1: an expired countdown
  std::string text{};
  bool dayEarly = false;
  bool late = false;  // its time passed while the machine slept or the clock was set
  bool operator==(const ReminderNotice&) const = default;
};

// The announcement of the entry's reminder.
ReminderNotice NoticeOf(const CPlannerEntry& entry, bool dayEarly, bool late);

// What the scheduler asks of the windows.
class ReminderPresenter {
 public:
  virtual ~ReminderPresenter() = default;
  virtual void ActivateMainFrame() = 0;
  // A pop-up for one due reminder or expired countdown.
  virtual void ShowReminder(const ReminderNotice& notice) = 0;
  // One pop-up listing reminders that fell due unseen, in time order.
  virtual void ShowMissed(const std::vector<ReminderNotice>& missed) = 0;
};

inline constexpr std::int64_t kOneDay = 86400;
inline constexpr std::int64_t kExtraWindow = 172800;
inline constexpr std::int64_t kFiringTolerance = 60;
// A wall clock that moved this much against the monotonic clock between two
// checks was set (or the machine slept): small steps of a time server are not.
inline constexpr std::int64_t kClockJumpMs = 5000;

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
  // Kills the entry's armed timer, then arms its next reminder not shown yet
  // that falls due within its window (a day, two for the day-early one), or
  // its snoozed reminder. A timer that cannot be set leaves the entry's timer 0.
  void ArmReminder(CPlannerEntry& entry) override;
  void Snooze(CPlannerEntry& entry, int minutes) override;
  void CatchUpAtStart() override;
  void CheckClock() override;
  void CatchUpAfterSleep() override;
  // The timer callback: opens the pop-up when the entry's reminder is due.
  void OnReminderTimer(int id);

 private:
  struct Due {
    std::int64_t at;  // when the reminder falls due (seconds since 1970)
    bool dayEarly;
  };
  // The entry's next reminder not shown yet that falls within its window.
  std::optional<Due> NextDue(const CPlannerEntry& entry, std::int64_t now) const;
  // The next reminder id, never used before in this run and never one of the
  // main frame's own; 0 once the reminder range is used up.
  int TakeTimerId();
  bool WasShown(const CPlannerEntry& entry, std::int64_t at) const;
  void MarkShown(const CPlannerEntry& entry, std::int64_t at);
  // Remembers (and stores) that every reminder up to t was shown or watched for.
  void Remember(std::int64_t t);
  // The reminders due after `after` up to `upTo` not shown yet, in the time
  // order of their entries; they count as shown from now on.
  std::vector<ReminderNotice> CollectDue(std::int64_t after, std::int64_t upTo, bool late);
  // After a wake-up or a jump of the wall clock.
  void CatchUp();
  // One late reminder gets its own pop-up; more, or any at start-up, one list.
  void Present(const std::vector<ReminderNotice>& due, bool atStart);
  std::int64_t WallOffsetMs() const;

  AppContext& ctx_;
  // (entry serial, due time) of every reminder shown in this run.
  std::set<std::pair<std::uint64_t, std::int64_t>> shown_;
  // Entry serial -> when its snoozed reminder comes back.
  std::unordered_map<std::uint64_t, std::int64_t> snoozed_;
  // The wall clock minus the monotonic clock at the last check.
  std::optional<std::int64_t> wallOffsetMs_;
  // Every reminder due up to here was shown or watched for.
  std::int64_t watched_ = 0;
};

// Reminder timer ids never take these: the main frame's own timers.
bool IsFrameTimerId(int id);

}  // namespace vesk
