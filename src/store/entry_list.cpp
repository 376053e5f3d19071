#include "store/entry_list.h"

#include <algorithm>

#include "store/app_context.h"

namespace vesk {

namespace {

bool SameSlot(const CPlannerEntry& e, int year, int month, int day, int hour, int minute) {
  return e.year() == year && e.month() == month && e.day() == day && e.hour() == hour &&
         e.minute() == minute;
}

bool SameDate(const CPlannerEntry& e, int year, int month, int day) {
  return e.year() == year && e.month() == month && e.day() == day;
}

void EraseOne(std::vector<CPlannerEntry*>& bucket, const CPlannerEntry* e) {
  auto it = std::find(bucket.begin(), bucket.end(), e);
  if (it != bucket.end()) bucket.erase(it);
}

}  // namespace

CEntryList::CEntryList(AppContext& ctx) : ctx_(ctx) {}

CEntryList::~CEntryList() = default;

// Keys only narrow the search; every lookup compares the exact fields, so
// out-of-range values read from a damaged store cannot alias another slot.
CEntryList::Key CEntryList::SlotKey(int year, int month, int day, int hour, int minute) {
  return (static_cast<Key>(static_cast<std::uint32_t>(year)) << 32) ^
         (static_cast<Key>(month & 0xff) << 24) ^ (static_cast<Key>(day & 0xff) << 16) ^
         (static_cast<Key>(hour & 0xff) << 8) ^ static_cast<Key>(minute & 0xff);
}

CEntryList::Key CEntryList::DateKey(int year, int month, int day) {
  return (static_cast<Key>(static_cast<std::uint32_t>(year)) << 32) ^
         (static_cast<Key>(month & 0xffff) << 16) ^ static_cast<Key>(day & 0xffff);
}

void CEntryList::Index(CPlannerEntry& e) {
  // Whatever stands in a month stands beside the month's stored entries.
  EnsureMonth(e.year_, e.month_);
  bySlot_[SlotKey(e.year_, e.month_, e.day_, e.hour_, e.minute_)].push_back(&e);
  byDate_[DateKey(e.year_, e.month_, e.day_)].push_back(&e);
}

void CEntryList::Unindex(CPlannerEntry& e) {
  auto slot = bySlot_.find(SlotKey(e.year_, e.month_, e.day_, e.hour_, e.minute_));
  if (slot != bySlot_.end()) {
    EraseOne(slot->second, &e);
    if (slot->second.empty()) bySlot_.erase(slot);
  }
  auto date = byDate_.find(DateKey(e.year_, e.month_, e.day_));
  if (date != byDate_.end()) {
    EraseOne(date->second, &e);
    if (date->second.empty()) byDate_.erase(date);
  }
}

void CEntryList::MarkUnordered(CPlannerEntry& e) {
  if (e.unordered_) return;
  e.unordered_ = true;
  ++unorderedCount_;
}

CPlannerEntry& CEntryList::Append(std::unique_ptr<CPlannerEntry> owned) {
  CPlannerEntry& e = *owned;
  e.pos_ = slots_.size();
  e.unordered_ = true;
  ++unorderedCount_;
  slots_.push_back(std::move(owned));
  ++count_;
  Index(e);
  bySerial_.emplace(e.serial_, &e);
  return e;
}

CPlannerEntry& CEntryList::Create() {
  auto e = std::unique_ptr<CPlannerEntry>(new CPlannerEntry(*this, nextSerial_++));
  e->early = ctx_.options.early;
  return Append(std::move(e));
}

CPlannerEntry& CEntryList::CreateCopy(const CPlannerEntry& from) {
  auto e = std::unique_ptr<CPlannerEntry>(new CPlannerEntry(*this, nextSerial_++));
  e->time_ = from.time_;
  e->started = from.started;
  e->year_ = from.year_;
  e->month_ = from.month_;
  e->day_ = from.day_;
  e->hour_ = from.hour_;
  e->minute_ = from.minute_;
  e->early = from.early;
  e->repeats = from.repeats;
  e->nthday = from.nthday;
  e->nthweek = from.nthweek;
  e->sday = from.sday;
  e->notes = from.notes;
  e->xreminder = from.xreminder;
  e->until = from.until;
  e->uid = from.uid;
  return Append(std::move(e));
}

void CEntryList::Remove(CPlannerEntry& e) {
  Unindex(e);
  bySerial_.erase(e.serial_);
  if (e.unordered_) --unorderedCount_;
  --count_;
  ++holes_;
  slots_[e.pos_].reset();
}

void CEntryList::Discard(CPlannerEntry& e) { Remove(e); }

// Bubble-sort order (ascending time, equal times in their earlier relative
// order) reached by one merge: entries untouched since the last sort are still
// in order among themselves, so only the changed ones need placing.
void CEntryList::SortByTime() {
  if (IsOrdered()) return;
  if (holes_ == 0 && unorderedCount_ <= kFewMoved) {
    ReinsertMoved();
    return;
  }
  std::vector<std::unique_ptr<CPlannerEntry>> clean;
  std::vector<std::unique_ptr<CPlannerEntry>> moved;
  clean.reserve(count_);
  moved.reserve(unorderedCount_);
  for (auto& p : slots_) {
    if (!p) continue;
    (p->unordered_ ? moved : clean).push_back(std::move(p));
  }
  std::stable_sort(moved.begin(), moved.end(),
                   [](const auto& a, const auto& b) { return a->time_ < b->time_; });
  slots_.clear();
  slots_.resize(count_);
  std::merge(std::make_move_iterator(clean.begin()), std::make_move_iterator(clean.end()),
             std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()),
             slots_.begin(), [](const auto& a, const auto& b) {
               return a->time_ != b->time_ ? a->time_ < b->time_ : a->pos_ < b->pos_;
             });
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    slots_[i]->pos_ = i;
    slots_[i]->unordered_ = false;
  }
  unorderedCount_ = 0;
  holes_ = 0;
}

// A line just written moves one entry: taking the few moved entries out and
// putting each back at its place costs a pass over the array instead of a
// rebuild. Every entry keeps its position from before as the tie-breaker, so
// the order is the one the merge below gives.
void CEntryList::ReinsertMoved() {
  std::vector<std::unique_ptr<CPlannerEntry>> moved;
  moved.reserve(unorderedCount_);
  std::size_t first = slots_.size();
  std::size_t kept = 0;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i]->unordered_) {
      first = std::min(first, i);
      moved.push_back(std::move(slots_[i]));
    } else {
      if (kept != i) slots_[kept] = std::move(slots_[i]);
      ++kept;
    }
  }
  slots_.resize(kept);
  const auto before = [](const std::unique_ptr<CPlannerEntry>& a,
                         const std::unique_ptr<CPlannerEntry>& b) {
    return a->time_ != b->time_ ? a->time_ < b->time_ : a->pos_ < b->pos_;
  };
  for (auto& e : moved) {
    auto at = std::upper_bound(slots_.begin(), slots_.end(), e, before);
    first = std::min(first, static_cast<std::size_t>(at - slots_.begin()));
    e->unordered_ = false;
    slots_.insert(at, std::move(e));
  }
  for (std::size_t i = first; i < slots_.size(); ++i) slots_[i]->pos_ = i;
  unorderedCount_ = 0;
}

CPlannerEntry* CEntryList::FindAt(int year, int month, int day, int hour, int minute,
                                  const CPlannerEntry* except) const {
  EnsureMonth(year, month);
  auto it = bySlot_.find(SlotKey(year, month, day, hour, minute));
  if (it == bySlot_.end()) return nullptr;
  CPlannerEntry* best = nullptr;
  for (CPlannerEntry* e : it->second) {
    if (e == except || !SameSlot(*e, year, month, day, hour, minute)) continue;
    if (!best || e->pos_ < best->pos_) best = e;
  }
  return best;
}

bool CEntryList::HasEntryOn(int year, int month, int day) const {
  // A month not read yet answers from the names of its entry keys, without
  // reading it: a year on display asks about twelve months at once.
  if (!IsMonthLoaded(year, month) && storeReading_ == 0)
    return StoredDayMarks(year, month) >> day & 1;
  auto it = byDate_.find(DateKey(year, month, day));
  if (it == byDate_.end()) return false;
  return std::any_of(it->second.begin(), it->second.end(),
                     [&](const CPlannerEntry* e) { return SameDate(*e, year, month, day); });
}

CPlannerEntry* CEntryList::FindOnDay(int year, int month, int day, bool last) const {
  EnsureMonth(year, month);
  auto it = byDate_.find(DateKey(year, month, day));
  if (it == byDate_.end()) return nullptr;
  CPlannerEntry* best = nullptr;
  for (CPlannerEntry* e : it->second) {
    if (!SameDate(*e, year, month, day)) continue;
    if (!best || (last ? e->pos_ > best->pos_ : e->pos_ < best->pos_)) best = e;
  }
  return best;
}

CPlannerEntry* CEntryList::FindAfterLoaded(LocalTime t) const {
  if (IsOrdered()) {
    auto it = std::upper_bound(slots_.begin(), slots_.end(), t,
                               [](LocalTime v, const auto& p) { return v < p->time_; });
    return it == slots_.end() ? nullptr : it->get();
  }
  for (const auto& p : slots_)
    if (p && p->time_ > t) return p.get();
  return nullptr;
}

CPlannerEntry* CEntryList::FindAfter(LocalTime t) const {
  // Month by month from t's: the answer stands once every month up to its
  // own has been read.
  const DateTime from = BreakLocalTime(t);
  for (int year = from.year, month = from.month; year <= kLastLoadedYear;) {
    EnsureMonth(year, month);
    CPlannerEntry* found = FindAfterLoaded(t);
    if (found != nullptr && MonthKey(found->year(), found->month()) <= MonthKey(year, month))
      return found;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return FindAfterLoaded(t);
}

CPlannerEntry* CEntryList::FindByTimer(int id) const {
  for (const auto& p : slots_)
    if (p && p->timer == id) return p.get();
  return nullptr;
}

CPlannerEntry* CEntryList::FindBySerial(std::uint64_t serial) const {
  auto it = bySerial_.find(serial);
  return it == bySerial_.end() ? nullptr : it->second;
}

CPlannerEntry* CEntryList::PreviousEntry(CPlannerEntry& entry) {
  // The month before may hold the entry just before this month's first.
  EnsureMonth(entry.month_ == 1 ? entry.year_ - 1 : entry.year_,
              entry.month_ == 1 ? 12 : entry.month_ - 1);
  SortByTime();
  LocalTime t = entry.time_;
  auto it = std::upper_bound(slots_.begin(), slots_.end(), t,
                             [](LocalTime v, const auto& p) { return v < p->time_; });
  auto i = static_cast<long>(it - slots_.begin());
  long at = i - 2;
  if (at < 0 || at >= static_cast<long>(slots_.size())) return nullptr;
  return slots_[at].get();
}

std::vector<CPlannerEntry*> CEntryList::Entries() const {
  std::vector<CPlannerEntry*> out;
  out.reserve(count_);
  for (const auto& p : slots_)
    if (p) out.push_back(p.get());
  return out;
}

std::vector<CPlannerEntry*> CEntryList::EntriesOn(int year, int month, int day) const {
  EnsureMonth(year, month);
  std::vector<CPlannerEntry*> out;
  auto it = byDate_.find(DateKey(year, month, day));
  if (it == byDate_.end()) return out;
  for (CPlannerEntry* e : it->second)
    if (SameDate(*e, year, month, day)) out.push_back(e);
  std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->pos_ < b->pos_; });
  return out;
}

}  // namespace vesk
