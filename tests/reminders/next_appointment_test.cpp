#include "reminders/next_appointment.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/test_app.h"

namespace vesk::test {
namespace {

// The clock stands at Wednesday 15 March 2000, 8:00; one entry is in the list.
struct FormCase {
  const char* name;
  int year, month, day, hour, minute;
  bool a24hour;
  const char* expected;
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class TooltipForm : public testing::TestWithParam<FormCase> {};

TEST_P(TooltipForm, Text) {
  const FormCase& c = GetParam();
  TestApp app;
  app.ctx.options.a24hour = c.a24hour;
  app.AddEntry(c.year, c.month, c.day, c.hour, c.minute, "Dentist");
  EXPECT_EQ(NextAppointmentText(app.ctx, app.clock.Now()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TooltipForm,
    testing::Values(
        FormCase{"Today", 2000, 3, 15, 14, 5, false, "2:05pm: Dentist "},
        FormCase{"Tomorrow", 2000, 3, 16, 14, 5, false, " Tomorrow at 2:05pm: Dentist "},
        FormCase{"TomorrowMidnight", 2000, 3, 16, 0, 30, false, " Tomorrow at 0:30am: Dentist "},
        FormCase{"Noon", 2000, 3, 15, 12, 0, false, "12:00pm: Dentist "},
        FormCase{"WithinAWeek", 2000, 3, 18, 9, 30, false, "Saturday 9:30am: Dentist "},
        FormCase{"LastMinuteOfTheWeek", 2000, 3, 22, 7, 59, false, "Wednesday 7:59am: Dentist "},
        FormCase{"AWeekAhead", 2000, 3, 22, 8, 0, false, "Wednesday, March 22 8:00am: Dentist "},
        FormCase{"Later", 2000, 4, 3, 13, 30, false, "Monday, April 3 1:30pm: Dentist "},
        FormCase{"SameDayNextYear", 2001, 3, 15, 9, 30, false, "9:30am: Dentist "},
        FormCase{"Today24", 2000, 3, 15, 14, 5, true, "14:05: Dentist "},
        FormCase{"Tomorrow24", 2000, 3, 16, 0, 30, true, " Tomorrow at 0:30: Dentist "},
        FormCase{"Later24", 2000, 4, 3, 13, 30, true, "Monday, April 3 13:30: Dentist "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NextAppointmentText, NoneAfterNow) {
  TestApp app;
  EXPECT_EQ(NextAppointmentText(app.ctx, app.clock.Now()), kNoAppointments);
  app.AddEntry(2000, 3, 14, 9, 0, "Yesterday");
  app.AddEntry(2000, 3, 15, 8, 0, "Now");  // not later than now
  EXPECT_EQ(NextAppointmentText(app.ctx, app.clock.Now()), kNoAppointments);
}

TEST(NextAppointmentText, PicksTheEarliestEntryAfterNow) {
  TestApp app;
  // The entry scheduled last is still out of order in the list.
  app.AddEntry(2000, 3, 14, 9, 0, "Past");
  app.AddEntry(2000, 3, 16, 9, 0, "Next");
  app.AddEntry(2000, 3, 20, 9, 0, "Later");
  EXPECT_EQ(NextAppointmentText(app.ctx, app.clock.Now()), " Tomorrow at 9:00am: Next ");
}

// "2:05pm: " takes 8 characters and the trailing blank 1, so notes of 53
// characters make the longest text that is kept whole.
struct LengthCase {
  const char* name;
  std::string notes;
  std::string expected;
};

std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.name; }

class TooltipLength : public testing::TestWithParam<LengthCase> {};

TEST_P(TooltipLength, CutsAtCharacters) {
  const LengthCase& c = GetParam();
  TestApp app;
  app.AddEntry(2000, 3, 15, 14, 5, c.notes);
  EXPECT_EQ(NextAppointmentText(app.ctx, app.clock.Now()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TooltipLength,
    testing::Values(
        LengthCase{"Hundred", Repeat("x", 100), "2:05pm: " + Repeat("x", 52) + "..."},
        LengthCase{"SixtyTwo", Repeat("x", 53), "2:05pm: " + Repeat("x", 53) + " "},
        LengthCase{"SixtyThree", Repeat("x", 54), "2:05pm: " + Repeat("x", 52) + "..."},
        LengthCase{"TwoByteKeptWhole", Repeat("é", 53), "2:05pm: " + Repeat("é", 53) + " "},
        LengthCase{"TwoByteCut", Repeat("é", 100), "2:05pm: " + Repeat("é", 52) + "..."},
        LengthCase{"MixedCut", "a" + Repeat("日", 99), "2:05pm: a" + Repeat("日", 51) + "..."}),
    [](const auto& info) { return std::string(info.param.name); });

// Across a daylight-saving change now + 24 hours is not the next calendar
// day: in spring it skips Sunday, in autumn it is still Sunday.
struct DstCase {
  const char* name;
  int month, day, hour, minute;  // now
  int entryDay, entryHour;
};

void PrintTo(const DstCase& c, std::ostream* os) { *os << c.name; }

class TomorrowAcrossDst : public testing::TestWithParam<DstCase> {};

TEST_P(TomorrowAcrossDst, IsTheNextCalendarDay) {
  const DstCase& c = GetParam();
  ScopedTimeZone tz("America/New_York");
  TestApp app(2000, c.month, c.day, c.hour, c.minute);
  app.AddEntry(2000, c.month, c.entryDay, c.entryHour, 0, "Dentist");
  EXPECT_EQ(NextAppointmentText(app.ctx, app.clock.Now()),
            " Tomorrow at " + std::to_string(c.entryHour) + ":00am: Dentist ");
}

INSTANTIATE_TEST_SUITE_P(Cases, TomorrowAcrossDst,
                         testing::Values(DstCase{"SpringForward", 4, 1, 23, 30, 2, 10},
                                         DstCase{"FallBack", 10, 29, 0, 30, 30, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TooltipText, RebuildsAtMostOncePerSecond) {
  TestApp app;
  TooltipText tip;
  const std::int64_t now = app.clock.Now();
  EXPECT_EQ(tip.Update(app.ctx, now), kNoAppointments);
  EXPECT_EQ(tip.Update(app.ctx, now), std::nullopt);
  app.AddEntry(2000, 3, 15, 14, 5, "Dentist");
  EXPECT_EQ(tip.Update(app.ctx, now), std::nullopt);
  EXPECT_EQ(tip.Update(app.ctx, now + 1), "2:05pm: Dentist ");
}

}  // namespace
}  // namespace vesk::test
