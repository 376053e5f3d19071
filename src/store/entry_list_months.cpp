// Reading the store's months into the list when something asks about them,
// and letting them go when nothing needs them any more.
#include <algorithm>
#include <set>

#include "calendar/local_time.h"
#include "store/app_context.h"
#include "store/entry_list.h"

namespace vesk {

namespace {

// Months with a day in this window around now stay: reminders arm up to two
// days ahead (plus the longest lead), and a late start looks a day back.
constexpr LocalTime kDueSoonBefore = 86400;
constexpr LocalTime kDueSoonAfter = 3 * 86400;
// A month nothing has asked about for this long may go.
constexpr std::int64_t kIdleBeforeTrimMs = 120000;

std::int64_t NextMonthKey(std::int64_t key) {
  const std::int64_t month = key % 16;
  return month >= 12 ? (key / 16 + 1) * 16 + 1 : key + 1;
}

}  // namespace

CEntryList::MonthHold::MonthHold(const CEntryList& list, int year, int month)
    : list_(list), month_(MonthKey(year, month)) {
  list_.EnsureMonth(year, month);
  if (MonthState* state = list_.UseMonth(month_)) ++state->holds;
}

CEntryList::MonthHold::~MonthHold() {
  if (auto it = list_.months_.find(month_); it != list_.months_.end() && it->second.holds > 0)
    --it->second.holds;
}

CEntryList::MonthState* CEntryList::UseMonth(std::int64_t key) const {
  auto it = months_.find(key);
  if (it == months_.end()) return nullptr;
  it->second.lastUseMs = ctx_.clock.NowMs();
  return &it->second;
}

bool CEntryList::IsMonthLoaded(int year, int month) const {
  return months_.contains(MonthKey(year, month));
}

void CEntryList::MarkMonthLoaded(int year, int month) {
  // From now on the month answers from its entries.
  storedMarks_.erase(MonthKey(year, month));
  MonthState& state = months_[MonthKey(year, month)];
  state.lastUseMs = ctx_.clock.NowMs();
  state.loading = false;
}

void CEntryList::RereadMonths() {
  storedMarks_.clear();
  std::erase_if(months_, [](const auto& month) { return month.second.holds == 0; });
}

void CEntryList::EnsureMonth(int year, int month) const {
  if (storeReading_ > 0 || UseMonth(MonthKey(year, month)) != nullptr) return;
  if (year < kFirstLoadedYear || year > kLastLoadedYear || month < 1 || month > 12) return;
  // Loading adds entries the list stood for already, so callers that only
  // look may cause it.
  auto& self = const_cast<CEntryList&>(*this);
  const bool wasOrdered = IsOrdered();
  // Entries read from the month land in it while it loads: marked first, so
  // placing them does not load it again.
  self.months_[MonthKey(year, month)].loading = true;
  if (ctx_.store.MonthExists(year, month)) ctx_.store.ReadMonth(self, year, month);
  self.MarkMonthLoaded(year, month);
  // A sorted list stays sorted; one in the middle of a change is left for the
  // change to sort.
  if (wasOrdered) self.SortByTime();
}

void CEntryList::EnsureDays(LocalTime from, LocalTime to) const {
  const DateTime first = BreakLocalTime(from);
  const DateTime last = BreakLocalTime(to);
  for (std::int64_t key = MonthKey(first.year, first.month); key <= MonthKey(last.year, last.month);
       key = NextMonthKey(key)) {
    EnsureMonth(static_cast<int>(key / 16), static_cast<int>(key % 16));
  }
}

std::uint32_t CEntryList::StoredDayMarks(int year, int month) const {
  const std::int64_t key = MonthKey(year, month);
  if (auto it = storedMarks_.find(key); it != storedMarks_.end()) return it->second;
  const std::uint32_t marks = ctx_.store.StoredDayMarks(year, month);
  storedMarks_.emplace(key, marks);
  return marks;
}

void CEntryList::EnsureDueSoon() const {
  const LocalTime now = static_cast<LocalTime>(ctx_.clock.Now());
  EnsureDays(now - kDueSoonBefore, now + kDueSoonAfter);
}

std::vector<CPlannerEntry*> CEntryList::EntriesOfMonth(std::int64_t key) const {
  std::vector<CPlannerEntry*> out;
  const int year = static_cast<int>(key / 16);
  const int month = static_cast<int>(key % 16);
  for (int day = 1; day <= 31; ++day) {
    auto it = byDate_.find(DateKey(year, month, day));
    if (it == byDate_.end()) continue;
    for (CPlannerEntry* e : it->second)
      if (e->year() == year && e->month() == month && e->day() == day) out.push_back(e);
  }
  std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->pos_ < b->pos_; });
  return out;
}

bool CEntryList::Needed(std::int64_t key, const MonthState& state, std::int64_t nowMs,
                        bool recentToo) const {
  if (state.holds > 0 || state.loading) return true;
  if (recentToo && nowMs - state.lastUseMs < kIdleBeforeTrimMs) return true;
  const LocalTime now = static_cast<LocalTime>(nowMs / 1000);
  const DateTime soonFirst = BreakLocalTime(now - kDueSoonBefore);
  const DateTime soonLast = BreakLocalTime(now + kDueSoonAfter);
  if (key >= MonthKey(soonFirst.year, soonFirst.month) &&
      key <= MonthKey(soonLast.year, soonLast.month))
    return true;
  const std::vector<CPlannerEntry*> entries = EntriesOfMonth(key);
  return std::any_of(entries.begin(), entries.end(),
                     [](const CPlannerEntry* e) { return e->timer != 0 || !e->stored(); });
}

void CEntryList::Unload(std::int64_t key) {
  for (CPlannerEntry* e : EntriesOfMonth(key)) Remove(*e);
  months_.erase(key);
}

void CEntryList::Trim() {
  const std::int64_t nowMs = ctx_.clock.NowMs();
  std::vector<std::int64_t> idle;
  for (const auto& [key, state] : months_)
    if (!Needed(key, state, nowMs, true)) idle.push_back(key);
  for (std::int64_t key : idle) Unload(key);
  if (!idle.empty()) SortByTime();
}

void CEntryList::Release(int year, int month) {
  const std::int64_t key = MonthKey(year, month);
  auto it = months_.find(key);
  if (it == months_.end() || Needed(key, it->second, ctx_.clock.NowMs(), false)) return;
  Unload(key);
}

void CEntryList::VisitAllMonths(const std::function<void(const CPlannerEntry&)>& f) {
  std::set<std::int64_t> keys;
  for (const YearMonth& ym : ctx_.store.StoredMonths()) keys.insert(MonthKey(ym.year, ym.month));
  for (const auto& [key, state] : months_) keys.insert(key);
  // An entry may stand in a month other than the one whose key it was read from.
  for (const auto& p : slots_)
    if (p) keys.insert(MonthKey(p->year(), p->month()));
  for (std::int64_t key : keys) {
    const int year = static_cast<int>(key / 16);
    const int month = static_cast<int>(key % 16);
    const bool held = IsMonthLoaded(year, month);
    EnsureMonth(year, month);
    // Letting a month go leaves the list to be sorted again before the next
    // month's entries can be taken in time order.
    SortByTime();
    for (const CPlannerEntry* e : EntriesOfMonth(key)) f(*e);
    if (!held) Release(year, month);
  }
  SortByTime();
}

}  // namespace vesk
