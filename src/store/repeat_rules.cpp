#include "store/repeat_rules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "calendar/calendar.h"
#include "store/app_context.h"
#include "store/entry_list.h"
#include "store/hooks.h"
#include "store/planner_entry.h"
#include "store/registry_store.h"

namespace vesk {
namespace {

// A fifth such weekday occurs in at least four months of any twelve, so a
// year's search always finds one.
constexpr int kFifthWeekdaySearchMonths = 12;

// The until times the repeat dialog can sensibly return (12 February 2000
// 19:51:18 and 1 January 2037 07:59:00 UTC); anything else is judged as now.
constexpr LocalTime kUntilLowest = 950385078;
constexpr LocalTime kUntilHighest = 2114409540;
constexpr std::int64_t kLongDailySeconds = 15811200;  // 183 days
constexpr int kMaxWeeklyMonthlyYears = 5;
constexpr int kMaxYearlyYears = 20;
constexpr int kLastUserYear = 2036;

LocalTime SlotTime(const CPlannerEntry& e) {
  return MakeLocalTime(e.year(), e.month(), e.day(), e.hour(), e.minute());
}

void StepMonth(int& year, int& month) {
  if (++month > 12) {
    month = 1;
    ++year;
  }
}

// 1..5 for "1st".."5th", 0 for any other text.
int WeekNumber(std::string_view nthweek) {
  static constexpr std::array<std::string_view, 5> kOrdinals = {"1st", "2nd", "3rd", "4th", "5th"};
  auto it = std::find(kOrdinals.begin(), kOrdinals.end(), nthweek);
  return it == kOrdinals.end() ? 0 : static_cast<int>(it - kOrdinals.begin()) + 1;
}

// The day of the month of the week-th weekday named in sday, or 0 when the
// month has no such day.
int NthWeekdayOfMonth(int year, int month, std::string_view sday, int week) {
  int day = 1 + DaysUntilWeekday(WeekdayOf(year, month, 1), sday) + 7 * (week - 1);
  return day <= DaysInMonth(year, month) ? day : 0;
}

LocalTime NextMonthlyOnWeekday(const CPlannerEntry& e) {
  int week = WeekNumber(e.nthweek);
  if (week == 0) return 0;
  int year = e.year(), month = e.month();
  int months = week == 5 ? kFifthWeekdaySearchMonths : 1;
  for (int i = 0; i < months; ++i) {
    StepMonth(year, month);
    if (int day = NthWeekdayOfMonth(year, month, e.sday, week))
      return MakeLocalTime(year, month, day, e.hour(), e.minute());
  }
  return 0;
}

// The next occurrence is built from its date at the entry's hour and minute,
// not by adding seconds: across a daylight-saving change a sum of seconds
// lands an hour off, which near midnight moves the occurrence to another day.
LocalTime NextOccurrenceTime(const CPlannerEntry& e) {
  switch (e.repeats) {
    case kEveryDay:
      return MakeLocalTime(e.year(), e.month(), e.day() + 1, e.hour(), e.minute());
    case kEveryWeek:
      return MakeLocalTime(e.year(), e.month(), e.day() + 7, e.hour(), e.minute());
    case kEverySecondWeek:
      return MakeLocalTime(e.year(), e.month(), e.day() + 14, e.hour(), e.minute());
    case kMonthlyOnDay: {
      int year = e.year(), month = e.month();
      StepMonth(year, month);
      return MakeLocalTime(year, month, std::min(e.day(), DaysInMonth(year, month)), e.hour(),
                           e.minute());
    }
    case kMonthlyOnWeekday:
      return NextMonthlyOnWeekday(e);
    case kEveryYear:
      return MakeLocalTime(e.year() + 1, e.month(), e.day(), e.hour(), e.minute());
    default:
      return 0;
  }
}

// Whether a stored entry other than `generated` holds its slot.
bool SlotHoldsStoredEntry(CEntryList& list, const CPlannerEntry& generated) {
  CPlannerEntry* p = list.FindAt(generated.year(), generated.month(), generated.day(),
                                 generated.hour(), generated.minute(), &generated);
  return p && list.context().registry.OpenKey(CRegistryStore::EntryPath(
                  p->year(), p->month(), p->day(), p->hour(), p->minute()));
}

}  // namespace

LocalTime NextOccurrence(const CPlannerEntry& entry) {
  LocalTime next = NextOccurrenceTime(entry);
  // Every occurrence must lie after its predecessor; a date past the range of
  // the 32-bit count ends the series.
  return next > SlotTime(entry) ? next : 0;
}

bool Advance(CPlannerEntry& entry) {
  LocalTime next = NextOccurrence(entry);
  if (next == 0) return false;
  DateTime d = BreakLocalTime(next);
  entry.SetDate(d.year, d.month, d.day);
  entry.SetTime(next);
  return true;
}

LocalTime RepeatHorizon(const CPlannerEntry& entry, LocalTime now) {
  std::int64_t ahead = entry.repeats == kEveryYear ? kYearlyHorizonSeconds : kHorizonSeconds;
  return static_cast<LocalTime>(
      std::min<std::int64_t>(now + ahead, std::numeric_limits<LocalTime>::max()));
}

void ExpandSeries(CPlannerEntry& entry) { ExpandSeriesAs(entry, entry.notes); }

void ExpandSeriesAs(CPlannerEntry& entry, const std::string& text) {
  CEntryList& list = entry.list();
  AppContext& ctx = list.context();
  const LocalTime until = entry.until;
  const LocalTime horizon = RepeatHorizon(entry, static_cast<LocalTime>(ctx.clock.Now()));
  // An occurrence at exactly until belongs to the series like any other; were
  // it left unstored, it would be gone after the next start.
  auto storable = [&](LocalTime t) { return t < horizon && t <= until; };
  const std::string notes = text;
  const int nthday = entry.nthday;
  if (until < 1) return;

  Registry::Transaction transaction(ctx.registry);
  CPlannerEntry* prev = &entry;
  // An occurrence that stays out of the list; it lives only as the template
  // of the one after it.
  CPlannerEntry* skipped = nullptr;
  for (int generated = 1;; ++generated) {
    CPlannerEntry& next = list.CreateCopy(*prev);
    if (skipped) {
      list.Discard(*skipped);
      skipped = nullptr;
    }
    next.nthday = nthday;
    if (!Advance(next)) {
      list.Discard(next);
      break;
    }
    // Undo an earlier month-end clamp before judging the time against until,
    // and keep the time true to the slot for occurrences that are not stored.
    if (next.repeats == kMonthlyOnDay && nthday > next.day()) {
      next.SetDate(next.year(), next.month(),
                   std::min(DaysInMonth(next.year(), next.month()), nthday));
      next.SetTime(SlotTime(next));
    }
    if (next.time() > until) {
      list.Discard(next);
      break;
    }
    next.notes = notes;
    if (storable(next.time())) {
      list.MergeOnto(next);
      next.Schedule(true);
    } else if (SlotHoldsStoredEntry(list, next)) {
      // Merging would delete the stored entry's key while the merged text stays
      // unstored, so the text would be lost at the next start. The stored entry
      // keeps its slot; a later start merges there once it is within the horizon.
      skipped = &next;
    } else {
      list.MergeOnto(next);
    }
    if (generated >= kMaxGenerated || next.time() >= until) break;
    prev = &next;
  }
  if (skipped) list.Discard(*skipped);
}

void StartRepeat(CPlannerEntry& entry) {
  if (entry.repeats == kNoRepeat) return;
  entry.SetTime(SlotTime(entry));
  ExpandSeries(entry);
  if (ViewNotifier* views = entry.list().context().views)
    views->RepaintIfShowing(entry.year(), entry.month());
}

namespace {

// Reads the months where later occurrences of the month's series can stand:
// up to the horizon of the run that stored them (at most now's), never past
// their until time. A yearly series keeps its month (or the next, after a
// 29 February), so only those months of the next two years are read.
void ReadSeriesMonths(CEntryList& list, int year, int month, LocalTime now) {
  list.EnsureMonth(year, month);
  LocalTime monthlyReach = 0;
  LocalTime yearlyReach = 0;
  list.ForEach([&](const CPlannerEntry& e) {
    if (e.repeats == kNoRepeat || e.year() != year || e.month() != month) return;
    LocalTime& reach = e.repeats == kEveryYear ? yearlyReach : monthlyReach;
    reach = std::max(reach, std::min(e.until, RepeatHorizon(e, now)));
  });
  const LocalTime monthStart = MakeLocalTime(year, month, 1, 0, 0);
  if (monthlyReach > monthStart) list.EnsureDays(monthStart, monthlyReach);
  for (int later = 1; later <= 2; ++later) {
    for (int m = month; m <= (month == 2 ? 3 : month); ++m) {
      if (MakeLocalTime(year + later, m, 1, 0, 0) <= yearlyReach) list.EnsureMonth(year + later, m);
    }
  }
}

}  // namespace

void ExtendSeries(CEntryList& list, int year, int month) {
  AppContext& ctx = list.context();
  const LocalTime now = static_cast<LocalTime>(ctx.clock.Now());
  ReadSeriesMonths(list, year, month, now);

  using Slot = std::tuple<int, int, int, int, int>;
  struct Series {
    std::uint64_t latest;
    Slot slot;
    bool inMonth = false;
    // Each text of the series with how many occurrences carry it and the
    // earliest of them: an occurrence the user changed is not the series.
    std::map<std::string, std::pair<int, Slot>> texts;

    const std::string& Text() const {
      auto best = texts.begin();
      for (auto it = texts.begin(); it != texts.end(); ++it) {
        const auto& [count, first] = it->second;
        if (count > best->second.first ||
            (count == best->second.first && first < best->second.second))
          best = it;
      }
      return best->first;
    }
  };
  // One pass builds every series' latest occurrence (by slot), and the order in
  // which series with an occurrence in the month are met.
  std::unordered_map<LocalTime, Series> series;
  std::vector<LocalTime> toExtend;
  list.ForEach([&](CPlannerEntry& e) {
    if (e.repeats == kNoRepeat) return;
    Slot slot{e.year(), e.month(), e.day(), e.hour(), e.minute()};
    auto [it, added] = series.try_emplace(e.started, Series{e.serial(), slot, false, {}});
    Series& s = it->second;
    if (!added && slot >= s.slot) {
      s.latest = e.serial();
      s.slot = slot;
    }
    auto& [count, first] = s.texts.try_emplace(e.notes, 0, slot).first->second;
    ++count;
    first = std::min(first, slot);
    if (!s.inMonth && e.year() == year && e.month() == month) {
      s.inMonth = true;
      toExtend.push_back(e.started);
    }
  });

  Registry::Transaction transaction(ctx.registry);
  for (LocalTime started : toExtend) {
    // An expansion before may have merged this latest occurrence away. A
    // latest beyond the horizon is an occurrence stored for its edited text,
    // with the series before it: the occurrences after it are generated too,
    // with the series' own text.
    const Series& s = series.at(started);
    if (CPlannerEntry* latest = list.FindBySerial(s.latest)) ExpandSeriesAs(*latest, s.Text());
  }
}

void StoreSeriesBefore(const CPlannerEntry& occurrence) {
  CEntryList& list = occurrence.list();
  CRegistryStore& store = list.context().store;
  list.ForEach([&](CPlannerEntry& e) {
    if (&e == &occurrence || e.stored() || e.started != occurrence.started ||
        e.repeats != occurrence.repeats || e.time() >= occurrence.time())
      return;
    store.SaveEntry(e);
    e.MarkStored();
  });
}

std::string RepeatButtonText(int code, int year, int month, int day) {
  const std::string weekday(WeekdayName(WeekdayOf(year, month, day)).value_or(""));
  switch (code) {
    case kNoRepeat:
      return "does not repeat";
    case kEveryDay:
      return "everyday";
    case kEveryWeek:
      return "every " + weekday;
    case kEverySecondWeek:
      return "every second " + weekday;
    case kMonthlyOnDay:
      return "every month on the " + DayOrdinal(day);
    case kMonthlyOnWeekday:
      return WeekOrdinal(day) + " " + weekday + " of every month";
    case kEveryYear:
      return "every year on this day";
    default:
      return {};
  }
}

void ApplyRepeatChoice(CPlannerEntry& entry, const RepeatChoice& choice) {
  AppContext& ctx = entry.list().context();
  const std::int64_t now = ctx.clock.Now();
  const std::int64_t u =
      kUntilLowest < choice.until && choice.until < kUntilHighest ? choice.until : now;
  const DateTime today = BreakLocalTime(now);
  auto yearsFromNow = [&](int year) {
    return MakeLocalTime(year, today.month, today.day, today.hour, today.minute);
  };

  LocalTime until = choice.until;
  switch (choice.code) {
    case kEveryDay:
      if (u > now + kLongDailySeconds) {
        until = yearsFromNow(today.year + 1);
        ctx.messages.Show(kLongRepeatMessage, MbButtons::Ok);
      }
      break;
    case kEveryWeek:
    case kEverySecondWeek:
    case kMonthlyOnDay:
    case kMonthlyOnWeekday:
      if (BreakLocalTime(u).year > today.year + kMaxWeeklyMonthlyYears)
        until = yearsFromNow(today.year + kMaxWeeklyMonthlyYears);
      break;
    case kEveryYear:
      if (BreakLocalTime(u).year > today.year + kMaxYearlyYears)
        until = yearsFromNow(std::min(today.year + kMaxYearlyYears, kLastUserYear));
      break;
    default:
      break;
  }

  Registry::Transaction transaction(ctx.registry);
  entry.SetRepeat(choice.code, choice.nthweek, choice.sday, choice.day);
  entry.until = until;
  entry.Schedule(true);
  StartRepeat(entry);
}

}  // namespace vesk
