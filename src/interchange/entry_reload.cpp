#include "interchange/entry_reload.h"

#include "calendar/local_time.h"
#include "store/app_context.h"
#include "store/repeat_rules.h"

namespace vesk {

void ReloadEntries(AppContext& ctx) {
  for (CPlannerEntry* e : ctx.entries.Entries()) {
    if (e->timer != 0) ctx.timers.KillTimer(e->timer);
    ctx.entries.Discard(*e);
  }
  ctx.store.ReadAllEntries(ctx.entries);
  const DateTime today = BreakLocalTime(ctx.clock.Now());
  ExtendSeries(ctx.entries, today.year, today.month);
  ctx.entries.SortByTime();
}

}  // namespace vesk
