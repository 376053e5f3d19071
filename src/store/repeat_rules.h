#pragma once
// Repeat codes, the next occurrence of a series, and its expansion into
// ordinary entries up to the until time and the storage horizon.
#include <string>

#include "calendar/local_time.h"

namespace vesk {

class CPlannerEntry;
class CEntryList;
struct AppContext;

enum RepeatCode {
  kNoRepeat = 0,
  kEveryDay = 1,
  kEveryWeek = 2,
  kEverySecondWeek = 3,
  kMonthlyOnDay = 4,
  kMonthlyOnWeekday = 5,
  kEveryYear = 6,
};

inline constexpr LocalTime kHorizonSeconds = 15552000;      // 180 days
inline constexpr LocalTime kYearlyHorizonSeconds = 63158400; // 731 days
inline constexpr int kMaxGenerated = 1002;

// The occurrence after the entry's slot, or 0 when there is none.
LocalTime NextOccurrence(const CPlannerEntry& entry);
// Moves the entry's date to its next occurrence; false when there is none.
bool Advance(CPlannerEntry& entry);
LocalTime RepeatHorizon(const CPlannerEntry& entry, LocalTime now);
void ExpandSeries(CPlannerEntry& entry);
// ExpandSeries with the given text for the occurrences instead of the entry's.
void ExpandSeriesAs(CPlannerEntry& entry, const std::string& text);
void StartRepeat(CPlannerEntry& entry);
void ExtendSeries(CEntryList& list, int year, int month);
// Stores the occurrences of the entry's series before it that have no key.
void StoreSeriesBefore(const CPlannerEntry& occurrence);

// What the repeat dialog returns on OK.
struct RepeatChoice {
  int code = 0;
  LocalTime until = 0;
  int day = 0;
  std::string nthweek;  // WeekOrdinal of the day
  std::string sday;     // "every %s" with the weekday's full name
};

// The button texts of the seven repeat codes for a date.
std::string RepeatButtonText(int code, int year, int month, int day);

inline constexpr const char* kLongRepeatMessage =
    "Your appointment repeats every single day for a long time...\n"
    "How about I set it to repeat for one year?\n";
inline constexpr const char* kYearsMessage = "Yikes! Please stick to the years 1990 - 2036.";

void ApplyRepeatChoice(CPlannerEntry& entry, const RepeatChoice& choice);

}  // namespace vesk
