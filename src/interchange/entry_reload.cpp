#include "interchange/entry_reload.h"

#include <set>
#include <utility>

#include "calendar/local_time.h"
#include "store/app_context.h"
#include "store/repeat_rules.h"

namespace vesk {

void ReloadEntries(AppContext& ctx) {
  CEntryList& list = ctx.entries;
  std::set<std::pair<int, int>> months;
  for (CPlannerEntry* e : list.Entries()) {
    months.emplace(e->year(), e->month());
    if (e->timer != 0) ctx.timers.KillTimer(e->timer);
    list.Discard(*e);
  }
  // Months a window holds stay marked as read: they are read again here, the
  // others when next asked about.
  list.RereadMonths();
  for (const auto& [year, month] : months)
    if (list.IsMonthLoaded(year, month)) ctx.store.ReadMonth(list, year, month);
  const DateTime today = BreakLocalTime(ctx.clock.Now());
  list.EnsureMonth(today.year, today.month);
  list.EnsureDueSoon();
  ExtendSeries(list, today.year, today.month);
  list.SortByTime();
}

}  // namespace vesk
