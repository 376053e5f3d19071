#pragma once
// The application-wide list of entries, kept in ascending time order by
// SortByTime (equal times keep their earlier relative order). Slots of the
// array may be empty; every operation skips them. Lookups by slot and by date
// go through hash indexes, so no view scans the whole list.
//
// The list stands for every entry of the store, but holds only the months
// something asked about: a lookup of a date reads its month from the store
// first, and Trim lets go of months nothing has used for a while. A month
// with an armed reminder, an entry not stored (an occurrence beyond the
// horizon), a hold on it, or a day in the next few days is kept.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "store/planner_entry.h"

namespace vesk {

struct AppContext;

class CEntryList {
 public:
  explicit CEntryList(AppContext& ctx);
  ~CEntryList();
  CEntryList(const CEntryList&) = delete;
  CEntryList& operator=(const CEntryList&) = delete;

  AppContext& context() const { return ctx_; }

  // A new entry with the defaults of a new entry (early = the "early" option),
  // appended to the list.
  CPlannerEntry& Create();
  // A copy for the next occurrence of a series: reminder on, highlight off, no timer.
  CPlannerEntry& CreateCopy(const CPlannerEntry& from);
  // Removes the entry from the list and destroys it; nothing else is touched.
  void Discard(CPlannerEntry& entry);

  void SortByTime();
  CPlannerEntry* FindAt(int year, int month, int day, int hour, int minute,
                        const CPlannerEntry* except = nullptr) const;
  bool HasEntryOn(int year, int month, int day) const;
  CPlannerEntry* FindOnDay(int year, int month, int day, bool last) const;
  // The first entry in list order whose time is greater than t; reads the
  // months from t's onward until one answers.
  CPlannerEntry* FindAfter(LocalTime t) const;
  CPlannerEntry* FindByTimer(int id) const;
  CPlannerEntry* FindBySerial(std::uint64_t serial) const;
  // Sorts, then the entry just before the given one in time order, or none.
  CPlannerEntry* PreviousEntry(CPlannerEntry& entry);

  void DeleteEntry(CPlannerEntry& entry, bool askRepeats, int* counter = nullptr);
  void DeleteRepeats(CPlannerEntry& entry);
  void DeleteDay(int year, int month, int day);
  // Folds an entry already at the generated entry's slot into it.
  void MergeOnto(CPlannerEntry& generated);
  // Schedules (without saving) every entry whose timer is armed (armed true)
  // or not armed (armed false); the months whose reminders can come due
  // within the arming windows are read first.
  void RearmTimers(bool armed);

  // Reads the month's stored entries unless the list holds them already.
  // Loading changes nothing a caller can see, so lookups that load are const.
  void EnsureMonth(int year, int month) const;
  // Reads every month with a day between the two times.
  void EnsureDays(LocalTime from, LocalTime to) const;
  // Reads the months whose reminders can come due soon, or came due lately:
  // from a day ago to three days ahead (the extra reminder's two days plus
  // the longest lead).
  void EnsureDueSoon() const;
  // Makes every month without a hold be read from the store again when next
  // asked about; entries already in the list stay and keep their slots, as a
  // start-up that reads the store into a list holding entries keeps them.
  void RereadMonths();
  // Records that the month's stored entries are in the list (ReadMonth calls it).
  void MarkMonthLoaded(int year, int month);
  bool IsMonthLoaded(int year, int month) const;
  // Lets go of the months nothing needs: not used for a while, no hold, no
  // armed reminder, every entry stored, no day among the next few.
  void Trim();
  // Lets go of the month at once unless something needs it as above; the
  // caller holds no entry of it.
  void Release(int year, int month);
  // Calls f for the entries of every month the store holds or the list
  // holds, month by month in time order; months read only for the visit are
  // let go afterwards. f must not add or remove entries.
  void VisitAllMonths(const std::function<void(const CPlannerEntry&)>& f);

  // While it lives, nothing is read from the store around the entries the
  // store itself is placing (an entry key being loaded).
  class StoreReading {
   public:
    explicit StoreReading(const CEntryList& list) : list_(list) { ++list_.storeReading_; }
    ~StoreReading() { --list_.storeReading_; }
    StoreReading(const StoreReading&) = delete;
    StoreReading& operator=(const StoreReading&) = delete;

   private:
    const CEntryList& list_;
  };

  // Keeps a month in the list while it lives (a window that refers to the
  // month's entries between events holds one).
  class MonthHold {
   public:
    MonthHold(const CEntryList& list, int year, int month);
    ~MonthHold();
    MonthHold(const MonthHold&) = delete;
    MonthHold& operator=(const MonthHold&) = delete;

   private:
    const CEntryList& list_;
    std::int64_t month_;
  };

  // Number of non-empty slots.
  std::size_t size() const { return count_; }
  // Entries in list order; the snapshot stays valid only until the list changes.
  std::vector<CPlannerEntry*> Entries() const;
  // The entries of one date in list order.
  std::vector<CPlannerEntry*> EntriesOn(int year, int month, int day) const;
  // Calls f for every entry in list order; f must not add or remove entries.
  template <class F>
  void ForEach(F&& f) const {
    for (const auto& p : slots_)
      if (p) f(*p);
  }

 private:
  friend class CPlannerEntry;
  using Key = std::uint64_t;
  static Key SlotKey(int year, int month, int day, int hour, int minute);
  static Key DateKey(int year, int month, int day);

  void Index(CPlannerEntry& e);
  void Unindex(CPlannerEntry& e);
  void MarkUnordered(CPlannerEntry& e);
  CPlannerEntry& Append(std::unique_ptr<CPlannerEntry> e);
  // Empties the entry's slot in the array and destroys it.
  void Remove(CPlannerEntry& e);
  void RemoveEntryKey(CPlannerEntry& e);
  bool IsOrdered() const { return unorderedCount_ == 0 && holes_ == 0; }
  CPlannerEntry* FindAfterLoaded(LocalTime t) const;
  // Bit d set for each day d of a month not read yet that has an entry key.
  std::uint32_t StoredDayMarks(int year, int month) const;
  // The years whose months the list reads: 32-bit local times run from 1970
  // into January 2038.
  static constexpr int kFirstLoadedYear = 1970;
  static constexpr int kLastLoadedYear = 2037;
  // SortByTime for a few moved entries and no holes.
  void ReinsertMoved();
  static constexpr std::size_t kFewMoved = 32;

  static std::int64_t MonthKey(int year, int month) {
    return static_cast<std::int64_t>(year) * 16 + (month & 15);
  }
  struct MonthState {
    std::int64_t lastUseMs = 0;
    int holds = 0;
    bool loading = false;
  };
  // The loaded month's state, after marking it used now; none when not loaded.
  MonthState* UseMonth(std::int64_t key) const;
  // Whether anything keeps the month in the list; now in milliseconds.
  bool Needed(std::int64_t key, const MonthState& state, std::int64_t nowMs, bool recentToo) const;
  void Unload(std::int64_t key);
  std::vector<CPlannerEntry*> EntriesOfMonth(std::int64_t key) const;

  AppContext& ctx_;
  // The months whose stored entries are in the list; lookups mark their use.
  mutable std::map<std::int64_t, MonthState> months_;
  mutable int storeReading_ = 0;
  // The day marks of months not read, as StoredDayMarks found them.
  mutable std::unordered_map<std::int64_t, std::uint32_t> storedMarks_;
  std::vector<std::unique_ptr<CPlannerEntry>> slots_;
  std::size_t count_ = 0;
  std::size_t holes_ = 0;
  std::size_t unorderedCount_ = 0;
  std::uint64_t nextSerial_ = 1;
  std::unordered_map<Key, std::vector<CPlannerEntry*>> bySlot_;
  std::unordered_map<Key, std::vector<CPlannerEntry*>> byDate_;
  std::unordered_map<std::uint64_t, CPlannerEntry*> bySerial_;
};

}  // namespace vesk
