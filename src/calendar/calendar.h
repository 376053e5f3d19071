#pragma once
// Names, day arithmetic and texts of the calendar. Months are 1..12, weekdays
// 1..7 with Sunday = 1, years four digits.
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// "Jan", "Feb", "March", ... "Sept", ...; nullopt outside 1..12.
std::optional<std::string_view> MonthShortName(int month);
std::optional<std::string_view> MonthName(int month);
// "Sunday".."Saturday" for 1..7; nullopt outside.
std::optional<std::string_view> WeekdayName(int weekday);
// "Sun".."Sat" for the 0-based weekday; anything else is "Sat".
std::string_view WeekdayAbbrev(int weekday0);

// The first of "Sun", "Mon", "Tues", "Wed", "Thur", "Fri" found decides; else 7.
int WeekdayFromText(std::string_view text);
int DaysUntilWeekday(int fromWeekday, std::string_view text);
int DaysInMonth(int year, int month);

std::string FormatTime(int hour, int minute, bool use24Hour);
std::string DayOrdinal(int day);
// Week of the month of day; a day of 0 or less leaves `current` unchanged.
std::string WeekOrdinal(int day, std::string_view current = {});

struct SlotLabels {
  std::string onHour;
  std::string halfPast;
};
// The two labels of a day planner hour row; 24-hour style has no labels
// before 5:00 (both texts empty).
SlotLabels SlotLabel(int hour, bool use24Hour);

// "Wednesday, March 15, 2000"
std::string LongDateTitle(int year, int month, int day);
// " Wednesday, March 15, 2000  " or " Wednesday, 15 March, 2000  ".
std::string DayHeading(int year, int month, int day, bool europe);
// " 9:30am  Dentist  "
std::string DayListLine(int hour, int minute, std::string_view notes, bool use24Hour);

}  // namespace vesk
