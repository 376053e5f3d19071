// Export, then import into an empty calendar: the same entries come back, and
// libical reads every exported series as the occurrences the calendar stores.
#include <gtest/gtest.h>
#include <libical/ical.h>

#include <map>
#include <set>

#include "interchange/entry_fields.h"
#include "interchange/interchange_fixture.h"
#include "interchange/uids.h"
#include "store/repeat_rules.h"

namespace vesk::test {
namespace {

// 1 June 2024, 09:00 in New York: stored occurrences reach into late November,
// across both clock changes of 2024 (10 March and 3 November).
class RoundTripTest : public ::testing::Test {
 protected:
  RoundTripTest() : app(2024, 6, 1, 9, 0) { Build(); }

  void Build() {
    Type(app, 2024, 6, 3, 10, 0, "Dentist").early = 15;
    app.ctx.entries.FindAt(2024, 6, 3, 10, 0)->Schedule(true);
    CPlannerEntry& birthday = Type(app, 2024, 6, 5, 8, 0, "Zoë's birthday — 🎂 «party»");
    birthday.reminder = 0;
    birthday.Schedule(true);
    Type(app, 2024, 6, 6, 12, 0, "Lunch | with Ann, \"Bistro\"; 50% off\\");
    Type(app, 2024, 6, 7, 14, 0, "14:10 Call the garage");
    // A workshop of three lines.
    Type(app, 2024, 6, 10, 13, 0, "Workshop");
    Ditto(app, 2024, 6, 10, 13, 30);
    Ditto(app, 2024, 6, 10, 14, 0);
    // Merged into the Tuesday gym series below.
    Type(app, 2024, 6, 11, 18, 0, "Dentist again");

    Repeat(app, Type(app, 2024, 3, 1, 1, 30, "Night shift"), kEveryDay, 2024, 3, 20);
    Repeat(app, Type(app, 2024, 5, 20, 9, 0, "Standup"), kEveryDay, 2024, 11, 15);
    CPlannerEntry& gym = Type(app, 2024, 1, 2, 18, 0, "Gym");
    gym.xreminder = 1;
    gym.early = 30;
    Repeat(app, gym, kEveryWeek, 2024, 12, 31);
    Repeat(app, Type(app, 2024, 1, 5, 1, 30, "Payroll"), kEverySecondWeek, 2024, 12, 31);
    Repeat(app, Type(app, 2024, 1, 31, 7, 0, "Rent"), kMonthlyOnDay, 2025, 6, 30);
    Repeat(app, Type(app, 2024, 1, 17, 19, 30, "Book club"), kMonthlyOnWeekday, 2025, 1, 31);
    Repeat(app, Type(app, 2024, 3, 10, 2, 0, "Anniversary"), kEveryYear, 2030, 3, 10);
    CPlannerEntry& team = Type(app, 2024, 4, 1, 10, 0, "Team meeting");
    Repeat(app, team, kEveryWeek, 2024, 10, 28);
    Ditto(app, 2024, 4, 1, 10, 30);

    // One occurrence with a text of its own, one deleted.
    app.ctx.entries.FindAt(2024, 6, 4, 9, 0)->UpdateNotes("Standup (remote)");
    app.ctx.entries.DeleteEntry(*app.ctx.entries.FindAt(2024, 6, 25, 18, 0), false);
    app.ctx.entries.SortByTime();
  }

  TestApp app;
};

TEST_F(RoundTripTest, AnEmptyCalendarImportsTheSameEntries) {
  const Reply exported = Ask(app, Command::ExportIcs, {"0"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  ASSERT_NE(exported.document.find("BEGIN:VTIMEZONE"), std::string::npos);

  TestApp copy(2024, 6, 1, 9, 0);
  const Reply imported = Ask(copy, Command::ImportIcs, {"calendar.ics", exported.document});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(Lines(copy), Lines(app)) << imported.out << exported.document;
  EXPECT_EQ(BackupWithoutTimers(copy), BackupWithoutTimers(app));

  // Imported again, the events replace themselves.
  const Reply again = Ask(copy, Command::ImportIcs, {"calendar.ics", exported.document});
  EXPECT_NE(again.out.find("imported before replaced by this import"), std::string::npos)
      << again.out;
  EXPECT_EQ(BackupWithoutTimers(copy), BackupWithoutTimers(app));
  // And the calendar's own entries are known by the same UIDs the next time.
  EXPECT_EQ(Ask(app, Command::ExportIcs, {"0"}).document.size(), exported.document.size());
}

// The times of every occurrence libical finds for each UID's VEVENT with a
// rule, from its start up to `before`.
std::map<std::string, std::set<LocalTime>> LibicalOccurrences(const std::string& text,
                                                              LocalTime before) {
  std::map<std::string, std::set<LocalTime>> out;
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
       e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    if (!icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY)) continue;
    std::set<LocalTime>& times = out[icalcomponent_get_uid(e)];
    const icaltimetype start = icalcomponent_get_dtstart(e);
    const icaltimetype end =
        icaltime_from_timet_with_zone(before, 0, icaltimezone_get_utc_timezone());
    icalcomponent_foreach_recurrence(
        e, start, end,
        [](icalcomponent*, struct icaltime_span* span, void* data) {
          static_cast<std::set<LocalTime>*>(data)->insert(static_cast<LocalTime>(span->start));
        },
        &times);
  }
  icalcomponent_free(calendar);
  return out;
}

TEST_F(RoundTripTest, LibicalExpandsEverySeriesToTheStoredOccurrences) {
  const Reply exported = Ask(app, Command::ExportIcs, {"0"});
  const LocalTime horizon = RepeatHorizon(*app.ctx.entries.FindAt(2024, 5, 20, 9, 0),
                                          static_cast<LocalTime>(app.clock.Now()));
  auto found = LibicalOccurrences(exported.document, horizon);
  ASSERT_EQ(found.size(), 8u);  // the series, the team meeting's continuation folded in

  const std::string calendar = CalendarId(app.ctx.store);
  std::map<std::string, std::set<LocalTime>> stored;
  app.ctx.entries.ForEach([&](const CPlannerEntry& e) {
    const std::string uid = UidOf(e, calendar);
    if (found.count(uid) && e.time() < horizon &&
        app.registry.OpenKey(
            CRegistryStore::EntryPath(e.year(), e.month(), e.day(), e.hour(), e.minute())))
      stored[uid].insert(e.time());
  });
  for (const auto& [uid, times] : found) {
    SCOPED_TRACE(uid);
    EXPECT_EQ(times, stored[uid]);
  }
  // Both clock changes lie inside: the night shift runs through 10 March, the
  // standup through 3 November, and the anniversary's first 2:00 is the hour
  // that 10 March skips.
  const auto uidAt = [&](int month, int day, int hour, int minute) {
    return UidOf(*app.ctx.entries.FindAt(2024, month, day, hour, minute), calendar);
  };
  EXPECT_TRUE(stored[uidAt(3, 10, 1, 30)].count(MakeLocalTime(2024, 3, 10, 1, 30)));
  EXPECT_TRUE(stored[uidAt(11, 4, 9, 0)].count(MakeLocalTime(2024, 11, 4, 9, 0)));
  EXPECT_TRUE(found[uidAt(3, 10, 2, 0)].count(MakeLocalTime(2024, 3, 10, 2, 0)));
}

// A series whose later occurrences the rule cannot give leaves them as extra
// dates; they come back with the series' until, so a later start still knows
// where the series ends. (A file the import fuzz target found.)
TEST(RoundTripExtraDatesTest, OccurrencesOutsideTheRuleKeepTheSeriesUntil) {
  TestApp app(2024, 6, 1, 9, 0);
  ASSERT_EQ(Ask(app, Command::ImportIcs, {"x.ics", DataFile("extra_dates.ics")}).status, 0);
  const Reply exported = Ask(app, Command::ExportIcs, {"0"});
  TestApp copy(2024, 6, 1, 9, 0);
  ASSERT_EQ(Ask(copy, Command::ImportIcs, {"x.ics", exported.document}).status, 0);
  const auto series = [](TestApp& a) {
    std::vector<std::string> out;
    a.ctx.entries.SortByTime();
    a.ctx.entries.ForEach([&](const CPlannerEntry& e) {
      if (e.repeats != 0 && e.stored())
        out.push_back(std::to_string(e.time()) + " " + e.notes + " until " +
                      std::to_string(e.until));
    });
    return out;
  };
  EXPECT_EQ(series(copy), series(app)) << exported.document;
  const CPlannerEntry* last = copy.ctx.entries.FindAt(2024, 7, 2, 18, 0);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->until, MakeLocalTime(2024, 7, 2, 18, 0));
}

}  // namespace
}  // namespace vesk::test
