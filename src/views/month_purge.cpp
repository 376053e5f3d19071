#include "views/month_purge.h"

#include "calendar/local_time.h"

namespace vesk {

namespace {

constexpr std::int64_t kThirtyDays = 30LL * 86400;

}  // namespace

std::array<YearMonth, kPurgedMonths> MonthsToPurge(std::int64_t now, int age) {
  std::array<YearMonth, kPurgedMonths> months{};
  std::int64_t t = now - (std::int64_t{age} + 1) * kThirtyDays;
  for (YearMonth& ym : months) {
    const DateTime date = BreakLocalTime(t);
    ym = {date.year, date.month};
    t -= kThirtyDays;
  }
  return months;
}

void PurgeOldMonths(CRegistryStore& store, std::int64_t now, int age) {
  for (const YearMonth& ym : MonthsToPurge(now, age)) store.DeleteMonth(ym.year, ym.month);
}

}  // namespace vesk
