// Keeping the reminders true to the wall clock: the catch-up at start-up,
// after a wake-up from sleep and after a jump of the wall clock.
#include <algorithm>
#include <cstdlib>

#include "reminders/reminder_scheduler.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/options_store.h"
#include "store/planner_entry.h"

namespace vesk {

std::int64_t ReminderScheduler::WallOffsetMs() const {
  return ctx_.clock.NowMs() - ctx_.clock.MonotonicMs();
}

std::vector<ReminderNotice> ReminderScheduler::CollectDue(std::int64_t after, std::int64_t upTo,
                                                          bool late) {
  // The months of every entry whose reminder can fall in the last day.
  ctx_.entries.EnsureDueSoon();
  std::vector<std::pair<LocalTime, ReminderNotice>> due;
  ctx_.entries.ForEach([&](const CPlannerEntry& e) {
    if (e.early == -1 || !e.reminder) return;
    const std::int64_t normal = e.time() - std::int64_t{e.early} * 60;
    const std::int64_t dayEarly = e.time() - kOneDay;
    std::optional<Due> d;
    if (normal > after && normal <= upTo) {
      d = Due{normal, false};
    } else if (e.xreminder && dayEarly > after && dayEarly <= upTo) {
      d = Due{dayEarly, true};
    }
    if (!d || WasShown(e, d->at)) return;
    MarkShown(e, d->at);
    due.push_back({e.time(), NoticeOf(e, d->dayEarly, late)});
  });
  std::stable_sort(due.begin(), due.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ReminderNotice> notices;
  notices.reserve(due.size());
  for (auto& [time, notice] : due) notices.push_back(std::move(notice));
  return notices;
}

void ReminderScheduler::Present(const std::vector<ReminderNotice>& due, bool atStart) {
  ReminderPresenter* presenter = ctx_.presenter;
  if (due.empty() || presenter == nullptr) return;
  presenter->ActivateMainFrame();
  if (ctx_.options.reminders == 1) return;  // "No Reminders"
  if (due.size() == 1 && !atStart) {
    presenter->ShowReminder(due.front());
  } else {
    presenter->ShowMissed(due);
  }
}

void ReminderScheduler::CatchUpAtStart() {
  const std::int64_t now = ctx_.clock.Now();
  wallOffsetMs_ = WallOffsetMs();
  std::vector<ReminderNotice> missed;
  // A first start has nothing to catch up; a stored time ahead of now (the
  // clock was set back since) gives an empty span.
  if (const std::optional<std::int64_t> last = LoadLastRun(ctx_.store)) {
    missed = CollectDue(std::max(*last, now - kOneDay), now, false);
  }
  watched_ = now;
  SaveLastRun(ctx_.store, now);
  Present(missed, true);
}

void ReminderScheduler::CheckClock() {
  const std::int64_t offset = WallOffsetMs();
  if (wallOffsetMs_ && std::abs(offset - *wallOffsetMs_) > kClockJumpMs) {
    CatchUp();
    return;
  }
  wallOffsetMs_ = offset;
  Remember(ctx_.clock.Now());
}

void ReminderScheduler::CatchUpAfterSleep() { CatchUp(); }

void ReminderScheduler::CatchUp() {
  const std::int64_t now = ctx_.clock.Now();
  wallOffsetMs_ = WallOffsetMs();
  // Backwards (the clock was set back) the span is empty.
  const std::vector<ReminderNotice> late = CollectDue(std::max(watched_, now - kOneDay), now, true);
  // Every armed timer still counts on the monotonic clock: all are armed again
  // from the wall clock, and those that came into range meanwhile with them
  // (CollectDue read their months).
  for (CPlannerEntry* e : ctx_.entries.Entries()) e->Schedule(false);
  watched_ = now;
  SaveLastRun(ctx_.store, now);
  Present(late, false);
}

}  // namespace vesk
