#include "calendar/calendar.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "calendar/local_time.h"
#include "support/test_app.h"

namespace vesk {
namespace {

using test::ScopedTimeZone;

TEST(CalendarNames, MonthAndWeekdayTables) {
  struct Row {
    int n;
    std::optional<std::string_view> shortName, longName, weekday;
  };
  const Row rows[] = {
      {0, std::nullopt, std::nullopt, std::nullopt},
      {1, "Jan", "January", "Sunday"},
      {2, "Feb", "February", "Monday"},
      {3, "March", "March", "Tuesday"},
      {4, "April", "April", "Wednesday"},
      {5, "May", "May", "Thursday"},
      {6, "June", "June", "Friday"},
      {7, "July", "July", "Saturday"},
      {8, "Aug", "August", std::nullopt},
      {9, "Sept", "September", std::nullopt},
      {10, "Oct", "October", std::nullopt},
      {11, "Nov", "November", std::nullopt},
      {12, "Dec", "December", std::nullopt},
      {13, std::nullopt, std::nullopt, std::nullopt},
      {-1, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.n);
    EXPECT_EQ(MonthShortName(r.n), r.shortName);
    EXPECT_EQ(MonthName(r.n), r.longName);
    EXPECT_EQ(WeekdayName(r.n), r.weekday);
  }
}

TEST(CalendarNames, WeekdayAbbrevFallsBackToSaturday) {
  const std::pair<int, std::string_view> rows[] = {{0, "Sun"}, {1, "Mon"}, {2, "Tue"},
                                                   {3, "Wed"}, {4, "Thu"}, {5, "Fri"},
                                                   {6, "Sat"}, {7, "Sat"}, {-1, "Sat"}};
  for (const auto& [weekday0, abbrev] : rows)
    EXPECT_EQ(WeekdayAbbrev(weekday0), abbrev) << weekday0;
}

TEST(CalendarArithmetic, DaysInMonth) {
  struct Row {
    int year, month, days;
  };
  const Row rows[] = {
      {2000, 1, 31},  {2000, 2, 29},  {1999, 2, 28},  {2100, 2, 29}, {2000, 3, 31}, {2000, 4, 30},
      {2000, 5, 31},  {2000, 6, 30},  {2000, 7, 31},  {2000, 8, 31}, {2000, 9, 30}, {2000, 10, 31},
      {2000, 11, 30}, {2000, 12, 31}, {2000, 13, 30}, {1999, 0, 30},
  };
  for (const Row& r : rows)
    EXPECT_EQ(DaysInMonth(r.year, r.month), r.days) << r.year << "-" << r.month;
}

TEST(CalendarTexts, FormatTimeBothStyles) {
  struct Row {
    int hour, minute;
    bool use24;
    std::string_view text;
  };
  const Row rows[] = {
      {0, 0, false, "12:00am"},   {0, 15, false, "12:15am"},  {9, 5, false, "9:05am"},
      {11, 59, false, "11:59am"}, {12, 0, false, "12:00pm"},  {12, 5, false, "12:05pm"},
      {13, 0, false, "1:00pm"},   {23, 30, false, "11:30pm"}, {0, 0, true, "0:00"},
      {7, 30, true, "7:30"},      {9, 5, true, "9:05"},       {13, 0, true, "13:00"},
      {23, 30, true, "23:30"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(FormatTime(r.hour, r.minute, r.use24), r.text) << r.hour << ":" << r.minute;
}

TEST(CalendarTexts, DayOrdinal) {
  const std::pair<int, std::string_view> rows[] = {
      {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},   {11, "11th"},
      {12, "12th"}, {13, "13th"}, {21, "21st"}, {22, "22nd"}, {23, "23rd"},
      {30, "30th"}, {31, "31st"}, {0, "0th"}};
  for (const auto& [day, text] : rows) EXPECT_EQ(DayOrdinal(day), text) << day;
}

TEST(CalendarTexts, WeekOrdinal) {
  const std::pair<int, std::string_view> rows[] = {
      {1, "1st"},  {7, "1st"},  {8, "2nd"},  {14, "2nd"}, {15, "3rd"},
      {21, "3rd"}, {22, "4th"}, {28, "4th"}, {29, "5th"}, {31, "5th"}};
  for (const auto& [day, text] : rows) {
    EXPECT_EQ(WeekOrdinal(day), text) << day;
    EXPECT_EQ(WeekOrdinal(day, "2nd"), text) << day;
  }
}

TEST(CalendarTexts, WeekOrdinalOfNoDayKeepsTheCurrentText) {
  EXPECT_EQ(WeekOrdinal(0, "3rd"), "3rd");
  EXPECT_EQ(WeekOrdinal(-4, "4th"), "4th");
  EXPECT_EQ(WeekOrdinal(0), "");
}

TEST(CalendarArithmetic, WeekdayFromText) {
  const std::pair<std::string_view, int> rows[] = {
      {"every Sunday", 1},
      {"every Monday", 2},
      {"every Tuesday", 3},
      {"every Wednesday", 4},
      {"every Thursday", 5},
      {"every Friday", 6},
      {"every Saturday", 7},
      {"", 7},
      {"every tuesday", 7},
      {"Tue", 7},
      {"Thu", 7},
      {"Friday or Monday", 2},
  };
  for (const auto& [text, weekday] : rows)
    EXPECT_EQ(WeekdayFromText(text), weekday) << '"' << text << '"';
}

TEST(CalendarArithmetic, DaysUntilWeekday) {
  struct Row {
    int from;
    std::string_view text;
    int days;
  };
  const Row rows[] = {
      {3, "every Monday", 6}, {2, "every Monday", 0}, {1, "every Saturday", 6},
      {7, "every Sunday", 1}, {4, "every Friday", 2}, {7, "every Saturday", 0},
  };
  for (const Row& r : rows) EXPECT_EQ(DaysUntilWeekday(r.from, r.text), r.days) << r.from << r.text;
}

TEST(CalendarTexts, SlotLabelTwelveHourStyle) {
  struct Row {
    int hour;
    std::string_view onHour, halfPast;
  };
  const Row rows[] = {{0, "12:00am", "12:30"},  {1, "1:00am", "1:30"},  {11, "11:00am", "11:30"},
                      {12, "12:00pm", "12:30"}, {13, "1:00pm", "1:30"}, {23, "11:00pm", "11:30"}};
  for (const Row& r : rows) {
    SlotLabels labels = SlotLabel(r.hour, false);
    EXPECT_EQ(labels.onHour, r.onHour) << r.hour;
    EXPECT_EQ(labels.halfPast, r.halfPast) << r.hour;
  }
}

TEST(CalendarTexts, SlotLabelTwentyFourHourStyleStartsAtFive) {
  for (int hour = 0; hour <= 4; ++hour) {
    SlotLabels labels = SlotLabel(hour, true);
    EXPECT_EQ(labels.onHour, "") << hour;
    EXPECT_EQ(labels.halfPast, "") << hour;
  }
  struct Row {
    int hour;
    std::string_view onHour, halfPast;
  };
  const Row rows[] = {
      {5, "5:00", "5:30"}, {9, "9:00", "9:30"}, {12, "12:00", "12:30"}, {23, "23:00", "23:30"}};
  for (const Row& r : rows) {
    SlotLabels labels = SlotLabel(r.hour, true);
    EXPECT_EQ(labels.onHour, r.onHour) << r.hour;
    EXPECT_EQ(labels.halfPast, r.halfPast) << r.hour;
  }
}

TEST(CalendarTexts, DateHeaders) {
  EXPECT_EQ(LongDateTitle(2000, 3, 15), "Wednesday, March 15, 2000");
  EXPECT_EQ(LongDateTitle(2000, 2, 29), "Tuesday, February 29, 2000");
  EXPECT_EQ(DayHeading(2000, 3, 15, false), " Wednesday, March 15, 2000  ");
  EXPECT_EQ(DayHeading(2000, 3, 15, true), " Wednesday, 15 March, 2000  ");
  EXPECT_EQ(DayHeading(2001, 9, 11, false), " Tuesday, Sept 11, 2001  ");
  EXPECT_EQ(DayHeading(2001, 9, 11, true), " Tuesday, 11 Sept, 2001  ");
}

TEST(CalendarTexts, DateHeaderWeekdayOnDaylightSavingDays) {
  ScopedTimeZone tz("America/New_York");
  // The weekday is taken at 01:01:01, which exists on both change days.
  EXPECT_EQ(LongDateTitle(2000, 4, 2), "Sunday, April 2, 2000");
  EXPECT_EQ(LongDateTitle(2000, 10, 29), "Sunday, October 29, 2000");
}

TEST(CalendarTexts, DayListLine) {
  EXPECT_EQ(DayListLine(9, 30, "Dentist", false), " 9:30am  Dentist  ");
  EXPECT_EQ(DayListLine(9, 30, "Dentist", true), " 9:30  Dentist  ");
  EXPECT_EQ(DayListLine(0, 0, "", false), " 12:00am    ");
  EXPECT_EQ(DayListLine(17, 0, "Tea", true), " 17:00  Tea  ");
}

TEST(LocalTime, RoundTripAndWeekday) {
  ScopedTimeZone tz("America/New_York");
  LocalTime t = MakeLocalTime(2000, 3, 15, 9, 30);
  EXPECT_EQ(BreakLocalTime(t), (DateTime{2000, 3, 15, 9, 30, 0, 4}));
  EXPECT_EQ(WeekdayOf(2000, 1, 1), 7);
  EXPECT_EQ(WeekdayOf(2000, 1, 2), 1);
}

TEST(LocalTime, DaylightSavingChangesInNewYork) {
  ScopedTimeZone tz("America/New_York");
  // Spring forward on 2 April 2000: that day has 23 hours; 10:00 stays 10:00.
  LocalTime before = MakeLocalTime(2000, 4, 1, 10, 0);
  LocalTime after = MakeLocalTime(2000, 4, 2, 10, 0);
  EXPECT_EQ(after - before, 82800);
  EXPECT_EQ(BreakLocalTime(after), (DateTime{2000, 4, 2, 10, 0, 0, 1}));
  // Adding a whole day of seconds across the change lands an hour later.
  EXPECT_EQ(BreakLocalTime(before + 86400).hour, 11);
  // Fall back on 29 October 2000: that day has 25 hours.
  EXPECT_EQ(MakeLocalTime(2000, 10, 29, 10, 0) - MakeLocalTime(2000, 10, 28, 10, 0), 90000);
  EXPECT_EQ(BreakLocalTime(MakeLocalTime(2000, 10, 29, 10, 0)).hour, 10);
  // The same wall-clock times in UTC are a plain day apart.
  {
    ScopedTimeZone utc("UTC");
    EXPECT_EQ(MakeLocalTime(2000, 4, 2, 10, 0) - MakeLocalTime(2000, 4, 1, 10, 0), 86400);
  }
}

TEST(LocalTime, RepeatedAndSkippedHoursDoNotDependOnEarlierCalls) {
  ScopedTimeZone tz("America/New_York");
  // 1:30 occurs twice on 29 October 2000: always the first (daylight) one,
  // whether a summer or a winter time was built just before.
  const LocalTime firstOccurrence = 972797400;  // 05:30 UTC
  MakeLocalTime(2000, 12, 1, 12, 0);
  EXPECT_EQ(MakeLocalTime(2000, 10, 29, 1, 30), firstOccurrence);
  MakeLocalTime(2000, 7, 1, 12, 0);
  EXPECT_EQ(MakeLocalTime(2000, 10, 29, 1, 30), firstOccurrence);
  // 2:30 does not exist on 2 April 2000: read as standard time, it shows 3:30.
  MakeLocalTime(2000, 7, 1, 12, 0);
  LocalTime skipped = MakeLocalTime(2000, 4, 2, 2, 30);
  MakeLocalTime(2000, 1, 1, 12, 0);
  EXPECT_EQ(MakeLocalTime(2000, 4, 2, 2, 30), skipped);
  EXPECT_EQ(BreakLocalTime(skipped).hour, 3);
  EXPECT_EQ(BreakLocalTime(skipped).minute, 30);
}

TEST(LocalTime, TimesOfOneDayFollowTheZoneInForce) {
  // The same day asked for again after the zone changed gets the new zone's answer.
  LocalTime inNewYork = 0, inLondon = 0;
  {
    ScopedTimeZone tz("America/New_York");
    inNewYork = MakeLocalTime(2000, 3, 15, 9, 30);
  }
  {
    ScopedTimeZone tz("Europe/London");
    inLondon = MakeLocalTime(2000, 3, 15, 9, 30);
  }
  EXPECT_EQ(inNewYork - inLondon, 5 * 3600);
  // A day with a clock change keeps it: 10:00 on 2 April 2000 in New York
  // comes 9 hours after midnight, on the day after 10.
  ScopedTimeZone tz("America/New_York");
  EXPECT_EQ(MakeLocalTime(2000, 4, 2, 10, 0) - MakeLocalTime(2000, 4, 2, 0, 0), 9 * 3600);
  EXPECT_EQ(MakeLocalTime(2000, 4, 3, 10, 0) - MakeLocalTime(2000, 4, 3, 0, 0), 10 * 3600);
}

TEST(LocalTime, OutOfRangeFieldsAreNormalised) {
  ScopedTimeZone tz("America/New_York");
  LocalTime leap = MakeLocalTime(2001, 2, 29, 10, 0);
  EXPECT_EQ(leap, MakeLocalTime(2001, 3, 1, 10, 0));
  DateTime d = BreakLocalTime(leap);
  EXPECT_EQ(d.year, 2001);
  EXPECT_EQ(d.month, 3);
  EXPECT_EQ(d.day, 1);
  EXPECT_EQ(d.hour, 10);
  // Day 0 is the last day of the month before; month 13 is January of the next year.
  EXPECT_EQ(MakeLocalTime(2000, 3, 0, 8, 0), MakeLocalTime(2000, 2, 29, 8, 0));
  EXPECT_EQ(MakeLocalTime(1999, 13, 1, 8, 0), MakeLocalTime(2000, 1, 1, 8, 0));
}

TEST(LocalTime, SecondsAreCarried) {
  ScopedTimeZone tz("UTC");
  EXPECT_EQ(MakeLocalTime(1970, 1, 1, 0, 0), 0);
  EXPECT_EQ(MakeLocalTime(2000, 2, 12, 19, 51, 18), 950385078);
  EXPECT_EQ(BreakLocalTime(2114409540), (DateTime{2037, 1, 1, 7, 59, 0, 5}));
}

}  // namespace
}  // namespace vesk
