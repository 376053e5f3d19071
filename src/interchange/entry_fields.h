#pragma once
// What an entry holds that a calendar file can carry, and the few texts the
// two directions of the interchange agree on.
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "calendar/local_time.h"

namespace vesk {

class CPlannerEntry;

// A day planner line holds at most this many characters, as its edit control.
inline constexpr std::size_t kEntryTextLimit = 100;
// An entry's lines are half an hour apart.
inline constexpr int kLineMinutes = 30;
inline constexpr LocalTime kLineSeconds = 1800;
// The line an all-day event goes to: the first line a day planner shows.
inline constexpr int kAllDayHour = 8;
inline constexpr int kMaxLeadMinutes = 180;
// The PRODID of the files this calendar writes: their texts are its own and
// come back whole, however long merging made them.
inline constexpr std::string_view kProductId = "-//Vesk Calendar//Vesk Calendar 3.2//EN";

struct Slot {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  auto operator<=>(const Slot&) const = default;
  LocalTime Time() const { return MakeLocalTime(year, month, day, hour, minute); }
  // The slot k half hours later on the same date (hour and minute may run past
  // the day, which callers rule out).
  Slot Later(int lines) const;
};

Slot SlotOf(const CPlannerEntry& entry);
// The slot of the local date and time of t: the half-hour line holding it.
Slot SlotAt(LocalTime t);

struct EntryFields {
  Slot slot;
  std::string notes;
  int lead = -1;          // reminder minutes before the line; -1 for none
  bool dayEarly = false;  // the extra reminder a day before
  int repeats = 0;
  int nthday = 0;
  std::string nthweek;
  std::string sday;
  bool operator==(const EntryFields&) const = default;
};

// The reminder as it behaves: -1 unless on and set.
int LeadOf(const CPlannerEntry& entry);
EntryFields FieldsOf(const CPlannerEntry& entry);
// Sets the text, reminder and rule fields of an entry (not its slot).
void ApplyFields(CPlannerEntry& entry, const EntryFields& fields);

// The text of the lines that continue an entry of that text.
std::string ContinuedText(std::string_view headText);

// "14:10 " for a time inside a half hour, as an event's exact start is kept
// at the start of its line's text.
std::string TimePrefix(int hour, int minute);
// The exact start written at the start of a text in a line: the minutes past
// the line's start (1..29) and the text after it; none when the text does not
// start so.
struct TimedText {
  int minutesIntoLine = 0;
  std::string_view rest;
};
std::optional<TimedText> SplitTimePrefix(std::string_view text, const Slot& slot);

// A one-line text of at most limit characters; cut tells whether it was shortened.
std::string LineText(std::string_view text, bool& cut, std::size_t limit = kEntryTextLimit);

// "every Tuesday" for weekday 1..7.
std::string EveryWeekdayText(int weekday);

}  // namespace vesk
