#pragma once
// One appointment in one half-hour slot. Entries are created and owned by the
// entry list; the slot and the occurrence time are kept behind setters so the
// list's indexes stay true.
#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/local_time.h"

namespace vesk {

class CEntryList;
struct AppContext;

class CPlannerEntry {
 public:
  CPlannerEntry(const CPlannerEntry&) = delete;
  CPlannerEntry& operator=(const CPlannerEntry&) = delete;

  int year() const { return year_; }
  int month() const { return month_; }
  int day() const { return day_; }
  int hour() const { return hour_; }
  int minute() const { return minute_; }
  LocalTime time() const { return time_; }

  // Moves the entry to another date or time of day (the list re-indexes it).
  void SetDate(int year, int month, int day);
  void SetTimeOfDay(int hour, int minute);
  // Both at once, re-indexed once (loading).
  void MoveToSlot(int year, int month, int day, int hour, int minute);
  // Sets the occurrence time without touching the slot (Advance, loading).
  void SetTime(LocalTime t);

  // Sets slot and notes, then sorts the list.
  void SetSlot(int year, int month, int day, int hour, int minute, std::string_view notes);
  // Sets the repeat rule's fields, then sorts the list.
  void SetRepeat(int repeats, std::string_view nthweek, std::string_view sday, int nthday);
  // Rewrites the notes. A stored entry gets only its "notes" value written; an
  // entry that has no key yet is stored whole, so the edit is never lost.
  void UpdateNotes(std::string_view notes);
  // Recomputes time (and started when unset), saves when asked, re-arms the reminder.
  void Schedule(bool save);

  // "continued" at character index 2 or later.
  bool IsContinued() const;
  // Whether the store holds the entry (read from it or saved since).
  bool stored() const { return stored_; }
  void MarkStored() { stored_ = true; }
  // A number that identifies this entry for its whole life; never reused.
  std::uint64_t serial() const { return serial_; }
  CEntryList& list() const { return list_; }

  int nthday = 0;
  int early = 0;
  int reminder = 1;
  int xreminder = 0;
  int highlight = 0;
  std::string nthweek;
  std::string sday;
  int timer = 0;
  std::string notes;
  int repeats = 0;
  LocalTime started = 0;
  LocalTime until = 0;
  // The iCalendar UID of the event the entry came from; empty for entries
  // made here. Stored as "uid" only when set, shared by a series' copies.
  std::string uid;

 private:
  friend class CEntryList;
  CPlannerEntry(CEntryList& list, std::uint64_t serial) : list_(list), serial_(serial) {}

  CEntryList& list_;
  std::uint64_t serial_;
  int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0;
  LocalTime time_ = 0;
  std::size_t pos_ = 0;    // index in the list's array
  bool unordered_ = true;  // may stand out of time order until the next sort
  bool stored_ = false;
};

}  // namespace vesk
