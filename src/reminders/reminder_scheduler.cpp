#include "reminders/reminder_scheduler.h"

#include <algorithm>
#include <string>

#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/options_store.h"
#include "store/planner_entry.h"

namespace vesk {

namespace {

// The main frame's timers: the sweep, its retry ids, and the start-up day popup
// (the tooltip's minute timer is in the header).
constexpr int kSweepTimerId = 3000;
constexpr int kLastSweepRetryId = 3009;
constexpr int kDayPopupTimerId = 3488;

}  // namespace

ReminderNotice NoticeOf(const CPlannerEntry& entry, bool dayEarly, bool late) {
  return {.entry = entry.serial(),
          .year = entry.year(),
          .month = entry.month(),
          .day = entry.day(),
          .hour = entry.hour(),
          .minute = entry.minute(),
          .text = entry.notes,
          .dayEarly = dayEarly,
          .late = late};
}

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

bool ReminderScheduler::WasShown(const CPlannerEntry& entry, std::int64_t at) const {
  return shown_.contains({entry.serial(), at});
}

void ReminderScheduler::MarkShown(const CPlannerEntry& entry, std::int64_t at) {
  shown_.insert({entry.serial(), at});
}

std::optional<ReminderScheduler::Due> ReminderScheduler::NextDue(const CPlannerEntry& entry,
                                                                 std::int64_t now) const {
  const std::int64_t t = entry.time();
  const std::int64_t dayEarly = t - kOneDay;
  const std::int64_t normal = t - std::int64_t{entry.early} * 60;
  // The day-early reminder comes first while it is ahead, even when the
  // normal one already falls within the day: arming the later one would lose it.
  if (entry.xreminder && dayEarly - now >= 1 && dayEarly - now <= kExtraWindow - 1 &&
      !WasShown(entry, dayEarly)) {
    return Due{dayEarly, true};
  }
  if (normal - now >= 1 && normal - now <= kOneDay - 1 && !WasShown(entry, normal)) {
    return Due{normal, false};
  }
  return std::nullopt;
}

void ReminderScheduler::ArmReminder(CPlannerEntry& entry) {
  if (entry.timer != 0) {
    ctx_.timers.KillTimer(entry.timer);
    entry.timer = 0;
  }
  if (entry.early == -1 || !entry.reminder) {
    snoozed_.erase(entry.serial());
    return;
  }

  const std::int64_t now = ctx_.clock.Now();
  std::int64_t delay = 0;
  auto snooze = snoozed_.empty() ? snoozed_.end() : snoozed_.find(entry.serial());
  if (snooze != snoozed_.end()) {
    // A snooze that ran out while the machine slept comes at once.
    delay = std::max<std::int64_t>(snooze->second - now, 1);
  } else if (const std::optional<Due> due = NextDue(entry, now)) {
    delay = due->at - now;
  } else {
    return;
  }

  const int id = TakeTimerId();
  if (id == 0) return;
  // The scheduler outlives every timer it arms (see the constructor), so the
  // callback may hold `this`; it finds its entry again by id, never by pointer.
  entry.timer = ctx_.timers.SetTimer(id, static_cast<unsigned>(delay * 1000),
                                     [this](int firedId) { OnReminderTimer(firedId); });
}

void ReminderScheduler::Snooze(CPlannerEntry& entry, int minutes) {
  snoozed_[entry.serial()] = ctx_.clock.Now() + std::int64_t{minutes} * 60;
  ArmReminder(entry);
}

void ReminderScheduler::OnReminderTimer(int id) {
  ctx_.timers.KillTimer(id);
  CPlannerEntry* entry = ctx_.entries.FindByTimer(id);
  if (!entry) return;

  const std::int64_t now = ctx_.clock.Now();
  const std::int64_t t = entry->time();
  const std::int64_t normal = t - std::int64_t{entry->early} * 60;
  const bool normalDue = normal <= now + kFiringTolerance;
  const bool dayEarly = !normalDue && entry->xreminder && t - kOneDay <= now + kFiringTolerance;
  if (!normalDue && !dayEarly) {
    // Fired too early: the wall clock was set back after the timer was armed.
    // Armed again from the wall clock, the reminder still comes on time.
    ArmReminder(*entry);
    return;
  }
  entry->timer = 0;
  snoozed_.erase(entry->serial());
  const std::int64_t at = normalDue ? normal : t - kOneDay;
  MarkShown(*entry, at);
  Remember(std::max(now, at));

  // Copied before the windows run: activating the frame may change the list.
  const ReminderNotice notice = NoticeOf(*entry, dayEarly, false);
  // The normal reminder after the day-early one is armed now: a sweep could
  // come only after it was due.
  ArmReminder(*entry);

  ReminderPresenter* presenter = ctx_.presenter;
  if (!presenter) return;
  presenter->ActivateMainFrame();
  if (ctx_.options.reminders == 1) return;  // "No Reminders"
  presenter->ShowReminder(notice);
}

void ReminderScheduler::Remember(std::int64_t t) {
  if (t <= watched_) return;
  watched_ = t;
  SaveLastRun(ctx_.store, watched_);
}

}  // namespace vesk
