#include "reminders/reminder_scheduler.h"

#include <string>

#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/planner_entry.h"

namespace vesk {

namespace {

// The main frame's timers: the sweep, its retry ids, and the start-up day popup
// (the tooltip's minute timer is in the header).
constexpr int kSweepTimerId = 3000;
constexpr int kLastSweepRetryId = 3009;
constexpr int kDayPopupTimerId = 3488;

// The lead time of the reminder that falls due within its window, in seconds
// from now; 0 when neither reminder is in range.
std::int64_t ReminderDelay(const CPlannerEntry& entry, std::int64_t now) {
  const std::int64_t t = entry.time();
  const std::int64_t normal = t - now - std::int64_t{entry.early} * 60;
  if (normal >= 1 && normal <= kOneDay - 1) return normal;
  if (entry.xreminder) {
    const std::int64_t dayEarly = t - now - kOneDay;
    if (dayEarly >= 1 && dayEarly <= kExtraWindow - 1) return dayEarly;
  }
  return 0;
}

}  // namespace

bool IsFrameTimerId(int id) {
  return (id >= kSweepTimerId && id <= kLastSweepRetryId) || id == kDayPopupTimerId ||
         id == kTrayTipTimerId;
}

int ReminderScheduler::TakeTimerId() {
  int& next = ctx_.nextReminderTimerId;
  while (IsFrameTimerId(next)) ++next;
  // Past the end of the range the ids belong to countdowns; reusing an old id
  // could let a stale callback find the wrong entry, so nothing is armed.
  if (next >= kCountdownTimerIdBase) return 0;
  return next++;
}

void ReminderScheduler::ArmReminder(CPlannerEntry& entry) {
  if (entry.timer != 0) {
    ctx_.timers.KillTimer(entry.timer);
    entry.timer = 0;
  }
  if (entry.early == -1 || !entry.reminder) return;

  const std::int64_t delay = ReminderDelay(entry, ctx_.clock.Now());
  if (delay == 0) return;

  const int id = TakeTimerId();
  if (id == 0) return;
  // The scheduler outlives every timer it arms (see the constructor), so the
  // callback may hold `this`; it finds its entry again by id, never by pointer.
  entry.timer = ctx_.timers.SetTimer(id, static_cast<unsigned>(delay * 1000),
                                     [this](int firedId) { OnReminderTimer(firedId); });
}

void ReminderScheduler::OnReminderTimer(int id) {
  ctx_.timers.KillTimer(id);
  CPlannerEntry* entry = ctx_.entries.FindByTimer(id);
  if (!entry) return;

  const std::int64_t now = ctx_.clock.Now();
  const std::int64_t t = entry->time();
  const bool normalDue = t - std::int64_t{entry->early} * 60 <= now + kFiringTolerance;
  const bool dayEarly = !normalDue && entry->xreminder && t - kOneDay <= now + kFiringTolerance;
  // Fired too early: the entry keeps its id until it is scheduled again.
  if (!normalDue && !dayEarly) return;
  entry->timer = 0;

  // Copied before the windows run: activating the frame may change the list.
  const int month = entry->month(), day = entry->day();
  const int hour = entry->hour(), minute = entry->minute();
  const std::string notes = entry->notes;

  ReminderPresenter* presenter = ctx_.presenter;
  if (!presenter) return;
  presenter->ActivateMainFrame();
  if (ctx_.options.reminders == 1) return;  // "No Reminders"
  presenter->ShowReminder(month, day, hour, minute, notes, dayEarly);
}

}  // namespace vesk
