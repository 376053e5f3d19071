#pragma once
// The application-wide list of all entries, kept in ascending time order by
// SortByTime (equal times keep their earlier relative order). Slots of the
// array may be empty; every operation skips them. Lookups by slot and by date
// go through hash indexes, so no view scans the whole list.
#include <cstdint>
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
  // The first entry in list order whose time is greater than t.
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
  // or not armed (armed false).
  void RearmTimers(bool armed);

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
  // SortByTime for a few moved entries and no holes.
  void ReinsertMoved();
  static constexpr std::size_t kFewMoved = 32;

  AppContext& ctx_;
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
