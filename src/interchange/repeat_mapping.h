#pragma once
// The calendar's repeat codes as iCalendar rules, and back: which RRULE
// reproduces a code's occurrences exactly, and which code an RRULE stands for.
#include <libical/ical.h>

#include <optional>
#include <string>

namespace vesk {

// A repeat rule as the calendar holds it: the code and the fields that drive
// it (nthday for code 4, nthweek and sday's weekday for code 5).
struct SeriesRule {
  int code = 0;
  int nthday = 0;
  std::string nthweek;
  std::string sday;
};

// The RRULE text, without UNTIL, whose occurrences from a first one are the
// calendar's; none for a code that cannot be written (nthweek unknown).
std::optional<std::string> RuleText(const SeriesRule& rule);

// The first occurrence's local date.
struct FirstDate {
  int year = 0, month = 0, day = 0;
  int weekday = 1;  // 1..7, Sunday = 1
};

// The calendar's rule for an RRULE starting on first, with the fields the
// repeat dialog would set; none when no code gives the same occurrences.
// UNTIL and COUNT are the caller's.
std::optional<SeriesRule> MatchRule(const icalrecurrencetype& rule, const FirstDate& first);

}  // namespace vesk
