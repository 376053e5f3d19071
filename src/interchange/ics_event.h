#pragma once
// One VEVENT read into the calendar's terms: its start and length in local
// time, its text, alarms and the calendar's own fields, and its occurrences up
// to the horizon. What becomes of it is decided later (import_plan).
#include <libical/ical.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calendar/local_time.h"
#include "interchange/ics_time.h"
#include "interchange/repeat_mapping.h"

namespace vesk {

// An occurrence's start as the calendar places it.
struct Start {
  LocalTime t = 0;  // seconds since 1970 (an all-day one: its line's time)
  DateTime wall;    // the local date and time of day
  bool allDay = false;
  auto operator<=>(const Start& o) const { return t <=> o.t; }
  bool operator==(const Start& o) const { return t == o.t; }
};

// The calendar's own fields, written as X-VESKCAL-* where they differ from
// what the rest of the event gives.
struct XFields {
  std::optional<int> repeats;
  std::optional<int> nthday;
  std::optional<std::string> nthweek;
  std::optional<std::string> sday;
  // The series' until, for an occurrence of one that is written as an extra
  // date: the date alone would come back as an entry that is never continued.
  std::optional<LocalTime> until;
};

inline constexpr const char* kXRepeats = "X-VESKCAL-REPEATS";
inline constexpr const char* kXNthday = "X-VESKCAL-NTHDAY";
inline constexpr const char* kXNthweek = "X-VESKCAL-NTHWEEK";
inline constexpr const char* kXSday = "X-VESKCAL-SDAY";
inline constexpr const char* kXUntil = "X-VESKCAL-UNTIL";

struct EventRecord {
  enum class Skip { None, NoStart, Cancelled, OutOfRange, NoTitle };

  std::string uid;
  std::optional<LocalTime> recurrenceId;  // an occurrence's own version
  Skip skip = Skip::None;
  Start start;
  std::int64_t duration = 0;  // seconds
  bool wallDuration = false;  // counted on the wall clock: start and end are local times
  int days = 1;               // the days an all-day event spans
  std::string summary;
  bool details = false;  // a description or location
  bool unknownZone = false;
  std::vector<std::int64_t> alarms;  // display alarms, seconds after the start (negative: before)
  int otherAlarms = 0;               // alarms of other kinds
  XFields x;
  int unreadable = 0;  // properties libical could not read

  // Recurrence (a master only).
  bool recurring = false;          // an RRULE or RDATE
  int rules = 0;                   // RRULE properties
  std::optional<SeriesRule> rule;  // the calendar's rule the RRULE stands for, if any
  std::optional<LocalTime> until;  // the rule's end; none when it runs on
  std::vector<Start> instances;    // the RRULE's occurrences up to the horizon, the first included
  std::vector<Start> rdates;       // listed occurrences, wherever they lie
  std::vector<LocalTime> exdates;
  bool beyondHorizon = false;  // the rule has occurrences after the horizon
};

// Reads a VEVENT; now decides the horizon of its occurrences.
EventRecord ReadEvent(icalcomponent* vevent, ZoneTable& zones, const std::string& localTzid,
                      LocalTime now);

// The last moment occurrences are imported for: the calendar's horizon.
LocalTime ImportHorizon(LocalTime now, bool yearly);

}  // namespace vesk
