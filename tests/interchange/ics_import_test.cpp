// Hand-written files, one for each way a calendar file maps onto the lines of
// this calendar: what becomes of every event, and what the report says.
#include <gtest/gtest.h>

#include "interchange/interchange_fixture.h"
#include "store/repeat_rules.h"

namespace vesk::test {
namespace {

struct FileCase {
  const char* file;
  std::vector<std::string> lines;   // the calendar's entries afterwards
  std::vector<std::string> report;  // the report, line by line
};

const FileCase kCases[] = {
    {"zones.ics",
     {"2024-06-12 10:00 Call with Berlin", "2024-06-12 16:00 UTC stand-up",
      "2024-06-13 07:30 Floating breakfast", "2024-06-13 20:00 Tokyo, built-in zone",
      "2024-06-15 10:00 Unknown zone", "2024-09-16 12:00 Berlin weekly across their clock change",
      "2024-09-23 12:00 Berlin weekly across their clock change",
      "2024-09-30 12:00 Berlin weekly across their clock change",
      "2024-10-07 12:00 Berlin weekly across their clock change",
      "2024-10-14 12:00 Berlin weekly across their clock change",
      "2024-10-21 12:00 Berlin weekly across their clock change",
      "2024-10-28 13:00 Berlin weekly across their clock change",
      "2024-11-04 12:00 Berlin weekly across their clock change"},
     {"Imported 6 events: 0 series, 5 one-off entries, 8 expanded occurrences; 0 skipped",
      "  1 repeating event with a rule the calendar cannot repeat by laid out as one-off entries",
      "  1 time in a time zone the file does not describe read as local time"}},
    {"lines.ics",
     {"2024-06-17 09:00 Design review", "2024-06-17 09:30 Design review (continued)",
      "2024-06-17 10:00 Design review (continued)", "2024-06-17 14:00 14:10 Call the garage",
      "2024-06-17 14:30 14:10 Call the garage (continued)", "2024-06-18 23:00 Party",
      "2024-06-18 23:30 Party (continued)", "2024-06-19 08:00 Holiday",
      "2024-06-20 11:00 A very long title that goes on and on about the quarterly planning "
      "meeting with every department hea",
      "2024-06-20 12:00 Lunch with Ann, Bob", "2024-06-21 09:00 Broken line below",
      "2024-06-24 08:00 Trip to Boston"},
     {"Imported 8 events: 0 series, 8 one-off entries, 0 expanded occurrences; 4 skipped",
      "  1 event without a start time skipped", "  1 cancelled event skipped",
      "  1 event outside the years 1990 to 2036 skipped", "  1 event without a title skipped",
      "  1 event starting off the half hour put on the line before, the exact time at the start "
      "of the text",
      "  3 events longer than half an hour given \"(continued)\" lines",
      "  1 event running past midnight cut at midnight", "  2 all-day events put on the 8:00 line",
      "  1 all-day event of several days kept on their first day only",
      "  1 text cut to 100 characters", "  1 text of several lines put on one line",
      "  2 descriptions and locations left out",
      "  2 lines of the file that could not be read left out",
      "  1 to-do, journal or other item left out"}},
    {"alarms.ics",
     {"2024-07-01 10:00 Fifteen minutes (15)", "2024-07-01 11:00 Four hours (180)",
      "2024-07-01 12:00 A day and ten minutes (10) +day",
      "2024-07-01 13:00 Only the day before (0) +day", "2024-07-01 14:00 After the start (0)",
      "2024-07-01 15:00 Absolute (30)", "2024-07-01 16:00 Related to the end (30)",
      "2024-07-01 16:30 Related to the end (continued)",
      "2024-07-01 17:00 17:10 Off the half hour (0)"},
     {"Imported 8 events: 0 series, 8 one-off entries, 0 expanded occurrences; 0 skipped",
      "  1 event starting off the half hour put on the line before, the exact time at the start "
      "of the text",
      "  1 event longer than half an hour given \"(continued)\" lines",
      "  1 reminder earlier than 180 minutes set to 180 minutes",
      "  2 reminders after the line's start moved to its start",
      "  1 event with only a day-before alarm also reminded at their start",
      "  2 alarms beyond a reminder and a day-before one left out"}},
};

class IcsImportTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(IcsImportTest, EveryEventLandsOnItsLinesAndTheReportSaysWhatChanged) {
  const FileCase& c = GetParam();
  TestApp app(2024, 6, 1, 9, 0);
  const Reply reply = Ask(app, Command::ImportIcs, {c.file, DataFile(c.file)});
  ASSERT_EQ(reply.status, 0) << reply.err;
  EXPECT_EQ(Lines(app), c.lines) << reply.out;
  std::vector<std::string> report;
  for (std::size_t at = 0, end; (end = reply.out.find('\n', at)) != std::string::npos; at = end + 1)
    report.push_back(reply.out.substr(at, end - at));
  EXPECT_EQ(report, c.report);
}

INSTANTIATE_TEST_SUITE_P(Files, IcsImportTest, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string name = info.param.file;
  return name.substr(0, name.find('.'));
});

TEST(IcsImportRulesTest, RulesOfTheCalendarBecomeSeriesAndOthersOneOffEntries) {
  TestApp app(2024, 6, 1, 9, 0);
  const Reply reply = Ask(app, Command::ImportIcs, {"rules.ics", DataFile("rules.ics")});
  ASSERT_EQ(reply.status, 0) << reply.err;
  std::vector<std::string> lines = Lines(app);
  const std::vector<std::string> expected = {
      "2024-05-31 08:00 Month end [r4]",
      "2024-06-03 07:00 Daily [r1]",
      "2024-06-03 08:00 Class [r1]",
      "2024-06-04 07:00 Daily [r1]",
      "2024-06-04 18:00 Weekly by count [r2]",
      "2024-06-05 07:00 Daily [r1]",
      "2024-06-05 08:00 8:15 Class in room 2 [r1]",
      "2024-06-05 12:00 Every second Wednesday [r3]",
      "2024-06-06 07:00 Daily [r1]",
      "2024-06-06 11:00 Class moved",
      "2024-06-07 07:00 Daily [r1]",
      "2024-06-10 06:30 Run",
      "2024-06-11 18:00 Weekly by count [r2]",
      "2024-06-11 19:00 Second Tuesday [r5]",
      "2024-06-12 06:30 Run",
      "2024-06-14 06:30 Run",
      "2024-06-15 08:00 Birthday [r6]",
      "2024-06-18 18:00 Weekly by count [r2]",
      "2024-06-19 12:00 Every second Wednesday [r3]",
      "2024-06-20 10:00 Lessons",
      "2024-06-27 10:00 Lessons",
      "2024-06-28 17:00 Last Friday drinks",
      "2024-06-30 08:00 Month end [r4]",
      "2024-07-03 12:00 Every second Wednesday [r3]",
      "2024-07-04 15:00 Lessons",
      "2024-07-09 19:00 Second Tuesday [r5]",
      "2024-07-17 12:00 Every second Wednesday [r3]",
      "2024-07-26 17:00 Last Friday drinks",
      "2024-07-31 08:00 Month end [r4]",
      "2024-08-13 19:00 Second Tuesday [r5]",
      "2024-08-30 17:00 Last Friday drinks",
      "2024-08-31 08:00 Month end [r4]",
      "2024-09-27 17:00 Last Friday drinks",
      "2024-09-30 08:00 Month end [r4]",
      "2024-10-25 17:00 Last Friday drinks",
      "2025-06-15 08:00 Birthday [r6]",
  };
  // The yearly birthday runs on, in memory, to the calendar's limit in 2036.
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected)
      << reply.out;
  EXPECT_EQ(lines.back(), "2036-06-15 08:00 Birthday [r6]");
  const CPlannerEntry* month = app.ctx.entries.FindAt(2024, 5, 31, 8, 0);
  EXPECT_EQ(month->nthday, 31);
  EXPECT_EQ(app.ctx.entries.FindAt(2024, 6, 11, 19, 0)->nthweek, "2nd");
  EXPECT_EQ(reply.out,
            "Imported 10 events: 7 series, 0 one-off entries, 11 expanded occurrences; 0 skipped\n"
            "  2 repeating events with a rule the calendar cannot repeat by laid out as one-off "
            "entries\n"
            "  1 repeating event imported up to 2024-11-28 only (later occurrences left out)\n"
            "  1 series ended at the calendar's limit (a year for daily, five years for weekly and "
            "monthly, twenty for yearly repeats)\n"
            "  1 event starting off the half hour put on the line before, the exact time at the "
            "start of the text\n"
            "  1 all-day event put on the 8:00 line\n");
}

// Small files with one oddity each: the lines made, and a line of the report.
struct OddFile {
  const char* name;
  const char* events;  // the VEVENTs, CRLF ends
  std::vector<std::string> lines;
  const char* reported;  // a line the report holds, or nullptr
};

const OddFile kOddFiles[] = {
    // The continued lines of a repeating event repeat with it and never
    // remind; an "END" with a parameter still ends its component.
    {"RepeatingContinuedLines",
     "BEGIN:VEVENT\r\nUID:m@example.com\r\nDTSTART:20240603T100000\r\n"
     "DTEND:20240603T110000\r\nRRULE:FREQ=WEEKLY;UNTIL=20240617T235959\r\nSUMMARY:Meeting\r\n"
     "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:x\r\n"
     "END;X-A=B:VALARM\r\nEND:VEVENT\r\n",
     {"2024-06-03 10:00 Meeting [r2] (15)", "2024-06-03 10:30 Meeting (continued) [r2]",
      "2024-06-10 10:00 Meeting [r2] (15)", "2024-06-10 10:30 Meeting (continued) [r2]",
      "2024-06-17 10:00 Meeting [r2] (15)", "2024-06-17 10:30 Meeting (continued) [r2]"},
     nullptr},
    // libical reads "2024100" as the day 0 of October.
    {"StartOnDayZero",
     "BEGIN:VEVENT\r\nUID:x@example.com\r\nDTSTART:2024100T1700000\r\nSUMMARY:Nowhere\r\n"
     "END:VEVENT\r\n",
     {},
     "1 event without a start time skipped"},
    // A version of one occurrence that cannot be placed is skipped; the
    // occurrence keeps the event's own line.
    {"VersionOutOfTheYears",
     "BEGIN:VEVENT\r\nUID:c@example.com\r\nDTSTART:20240603T080000\r\n"
     "RRULE:FREQ=DAILY;COUNT=2\r\nSUMMARY:Class\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\n"
     "UID:c@example.com\r\nRECURRENCE-ID:20240604T080000\r\nDTSTART:16010101T010000\r\n"
     "SUMMARY:Moved\r\nEND:VEVENT\r\n",
     {"2024-06-03 08:00 Class [r1]", "2024-06-04 08:00 Class [r1]"},
     "1 event outside the years 1990 to 2036 skipped"},
    // An until on a day that does not exist ends the series where libical's
    // expansion ends it, on the day it runs over into.
    {"UntilBeyondTheMonthsEnd",
     "BEGIN:VEVENT\r\nUID:t@example.com\r\nDTSTART:20240611T190000\r\n"
     "RRULE:FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2;UNTIL=20240832\r\nSUMMARY:Second Tuesday\r\n"
     "END:VEVENT\r\n",
     {"2024-06-11 19:00 Second Tuesday [r5]", "2024-07-09 19:00 Second Tuesday [r5]",
      "2024-08-13 19:00 Second Tuesday [r5]"},
     nullptr},
};

class IcsOddFileTest : public ::testing::TestWithParam<OddFile> {};

TEST_P(IcsOddFileTest, MakesItsLinesAndSaysWhatItLeftOut) {
  const OddFile& f = GetParam();
  TestApp app(2024, 6, 1, 9, 0);
  const std::string ics =
      std::string("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n") + f.events + "END:VCALENDAR\r\n";
  const Reply reply = Ask(app, Command::ImportIcs, {"odd.ics", ics});
  ASSERT_EQ(reply.status, 0) << reply.err;
  EXPECT_EQ(Lines(app), f.lines) << reply.out;
  if (f.reported) EXPECT_NE(reply.out.find(f.reported), std::string::npos) << reply.out;
}

INSTANTIATE_TEST_SUITE_P(Files, IcsOddFileTest, ::testing::ValuesIn(kOddFiles),
                         [](const auto& info) { return std::string(info.param.name); });

// The last occurrence moved to a line of its own: the series ends at the one
// before, so the next start does not make the moved one again on its line.
TEST(IcsImportRulesTest, ASeriesWhoseLastOccurrenceMovedEndsBeforeIt) {
  TestApp app(2024, 6, 1, 9, 0);
  const std::string ics =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:c@example.com\r\n"
      "DTSTART:20240603T080000\r\nRRULE:FREQ=DAILY;COUNT=3\r\nSUMMARY:Class\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nUID:c@example.com\r\nRECURRENCE-ID:20240605T080000\r\n"
      "DTSTART:20240605T110000\r\nSUMMARY:Class moved\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  ASSERT_EQ(Ask(app, Command::ImportIcs, {"c.ics", ics}).status, 0);
  TestApp next(app.registry, 2024, 6, 1, 9, 0);
  next.ctx.store.ReadAllEntries(next.ctx.entries);
  ExtendSeries(next.ctx.entries, 2024, 6);
  const std::vector<std::string> expected = {
      "2024-06-03 08:00 Class [r1]", "2024-06-04 08:00 Class [r1]", "2024-06-05 11:00 Class moved"};
  EXPECT_EQ(Lines(next), expected);
}

// Control characters cannot be written back into a file as they were read.
TEST(IcsImportRulesTest, AUidLosesItsControlCharacters) {
  TestApp app(2024, 6, 1, 9, 0);
  const std::string ics =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:a\b\x14\x7f"
      "b@example.com\r\n"
      "DTSTART:20240603T100000\r\nSUMMARY:Call\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  ASSERT_EQ(Ask(app, Command::ImportIcs, {"call.ics", ics}).status, 0);
  const CPlannerEntry* call = app.ctx.entries.FindAt(2024, 6, 3, 10, 0);
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->uid, "ab@example.com");
}

TEST(IcsImportMergeTest, EventsOnATakenLineAddTheirTextAndAReimportReplaces) {
  TestApp app(2024, 6, 1, 9, 0);
  app.AddEntry(2024, 7, 3, 10, 0, "Already typed");
  app.AddEntry(2024, 7, 3, 11, 0, "Lunch");
  const Reply first = Ask(app, Command::ImportIcs, {"merge.ics", DataFile("merge.ics")});
  EXPECT_EQ(Lines(app), (std::vector<std::string>{"2024-07-02 09:00 Dentist Pick up keys",
                                                  "2024-07-03 10:00 Already typed (2)",
                                                  "2024-07-03 11:00 Lunch Meet Zoë (2)"}));
  EXPECT_NE(first.out.find("  2 texts added to a line that already held an entry\n"
                           "  1 event already in the calendar left as they were\n"),
            std::string::npos)
      << first.out;
  // The first event made its own entry, which a second import replaces.
  const Reply second = Ask(app, Command::ImportIcs, {"merge.ics", DataFile("merge.ics")});
  EXPECT_NE(second.out.find("  1 event imported before replaced by this import\n"),
            std::string::npos)
      << second.out;
  EXPECT_EQ(Lines(app).front(), "2024-07-02 09:00 Dentist Pick up keys");
}

TEST(IcsImportMergeTest, AFileThatIsNoCalendarChangesNothing) {
  TestApp app(2024, 6, 1, 9, 0);
  app.AddEntry(2024, 7, 3, 10, 0, "Kept");
  const int commits = app.memory.commits();
  const Reply reply = Ask(app, Command::ImportIcs, {"notes.txt", DataFile("not_a_calendar.ics")});
  EXPECT_EQ(reply.status, kFailed);
  EXPECT_EQ(reply.err, "veskcal: cannot import notes.txt: the file holds no iCalendar data\n");
  EXPECT_EQ(Lines(app), std::vector<std::string>{"2024-07-03 10:00 Kept (2)"});
  EXPECT_EQ(app.memory.commits(), commits);
}

}  // namespace
}  // namespace vesk::test
