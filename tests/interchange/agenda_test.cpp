// The agenda, what is next and adding an entry: on a running calendar's
// entries, and on a store read the way a command reads it alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "interchange/interchange_fixture.h"
#include "interchange/requests.h"
#include "platform/sqlite/sqlite_registry.h"
#include "store/backup_file.h"
#include "store/registry_export.h"

namespace vesk::test {
namespace {

class AgendaTest : public ::testing::Test {
 protected:
  // Saturday 1 June 2024, 9:00.
  AgendaTest() : app(2024, 6, 1, 9, 0) {
    Type(app, 2024, 6, 1, 8, 0, "Breakfast");
    Type(app, 2024, 6, 1, 14, 30, "Call \"Mum\"");
    Type(app, 2024, 6, 2, 10, 0, "Brunch").reminder = 0;
    Type(app, 2024, 6, 3, 9, 0, "Standup");
    Repeat(app, *app.ctx.entries.FindAt(2024, 6, 3, 9, 0), 2, 2024, 6, 17);
    Type(app, 2024, 7, 1, 9, 0, "July");
  }

  TestApp app;
};

TEST_F(AgendaTest, TheAgendaListsTheDaysInTimeOrder) {
  EXPECT_EQ(Ask(app, Command::Agenda, {"", "", "0"}).out,
            "2024-06-01 08:00  Breakfast\n2024-06-01 14:30  Call \"Mum\"\n");
  EXPECT_EQ(Ask(app, Command::Agenda, {"2024-06-02", "9", "0"}).out,
            "2024-06-02 10:00  Brunch\n2024-06-03 09:00  Standup\n2024-06-10 09:00  Standup\n");
  EXPECT_EQ(
      Ask(app, Command::Agenda, {"2024-06-02", "2", "1"}).out,
      "[\n"
      "  {\"date\": \"2024-06-02\", \"time\": \"10:00\", \"text\": \"Brunch\", \"repeat\": 0, "
      "\"reminder\": null},\n"
      "  {\"date\": \"2024-06-03\", \"time\": \"09:00\", \"text\": \"Standup\", \"repeat\": 2, "
      "\"reminder\": 2}\n"
      "]\n");
  EXPECT_EQ(Ask(app, Command::Agenda, {"2024-06-05", "1", "1"}).out, "[]\n");
  for (const auto& [date, days] : {std::pair{"2024-02-30", ""},
                                   {"1989-12-31", ""},
                                   {"tomorrow", ""},
                                   {"2024-06-01", "0"},
                                   {"2024-06-01", "x"}}) {
    const Reply r = Ask(app, Command::Agenda, {date, days, "0"});
    EXPECT_EQ(r.status, kRefused) << date << " " << days;
    EXPECT_TRUE(r.out.empty());
  }
}

TEST_F(AgendaTest, NextSaysWhatTheTooltipSays) {
  EXPECT_EQ(Ask(app, Command::Next, {"0"}).out, "2:30pm: Call \"Mum\" \n");
  EXPECT_EQ(Ask(app, Command::Next, {"1"}).out,
            "{\"date\": \"2024-06-01\", \"time\": \"14:30\", \"text\": \"Call \\\"Mum\\\"\", "
            "\"repeat\": 0, \"reminder\": 2}\n");
  app.SetLocalNow(2024, 8, 1, 0, 0);
  EXPECT_EQ(Ask(app, Command::Next, {"0"}).out, "Vesk Calendar: no appointments are scheduled\n");
  EXPECT_EQ(Ask(app, Command::Next, {"1"}).out, "null\n");
}

TEST_F(AgendaTest, AddMakesATypedLineAndRefusesWhatALineCannotHold) {
  const Reply added = Ask(app, Command::Add, {"2024-06-04 13:30", "Haircut", "45"});
  EXPECT_EQ(added.status, 0);
  EXPECT_EQ(added.out, "Added 2024-06-04 13:30  Haircut\n");
  const CPlannerEntry* e = app.ctx.entries.FindAt(2024, 6, 4, 13, 30);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(std::pair(e->early, e->reminder), std::pair(45, 1));
  EXPECT_TRUE(app.registry.OpenKey(CRegistryStore::EntryPath(2024, 6, 4, 13, 30)));
  EXPECT_EQ(Ask(app, Command::Add, {"2024-06-04 14:00", "Default reminder", ""}).status, 0);
  EXPECT_EQ(app.ctx.entries.FindAt(2024, 6, 4, 14, 0)->early, app.ctx.options.early);

  const struct {
    std::vector<std::string> args;
    std::string message;
  } refused[] = {
      {{"2024-06-04 14:10", "x", ""}, "an entry starts on the hour or the half hour, not at 14:10"},
      {{"2024-02-30 09:00", "x", ""},
       "\"2024-02-30 09:00\" is not a date and time of the years 1990 to 2036 (\"YYYY-MM-DD "
       "HH:MM\")"},
      {{"2024-06-04 24:00", "x", ""},
       "\"2024-06-04 24:00\" is not a date and time of the years 1990 to 2036 (\"YYYY-MM-DD "
       "HH:MM\")"},
      {{"2024-06-10 09:00", "Clash", ""}, "there is already an entry at 2024-06-10 09:00: Standup"},
      {{"2024-06-04 15:00", "", ""}, "the text is empty"},
      {{"2024-06-04 15:00", std::string(101, 'a'), ""}, "the text is longer than 100 characters"},
      {{"2024-06-04 15:00", "two\nlines", ""}, "the text must be one line"},
      {{"2024-06-04 15:00", "x", "181"}, "a reminder is 0 to 180 minutes early"},
  };
  const std::size_t before = app.ctx.entries.size();
  for (const auto& row : refused) {
    const Reply r = Ask(app, Command::Add, row.args);
    EXPECT_EQ(r.status, kRefused);
    EXPECT_EQ(r.err, "veskcal: " + row.message + "\n");
  }
  EXPECT_EQ(app.ctx.entries.size(), before);
}

TEST_F(AgendaTest, AStoreReadAloneAnswersAsTheRunningCalendar) {
  TempDir dir;
  const std::filesystem::path file = std::filesystem::path(dir.path()) / "veskcal.db";
  {
    auto store = SqliteRegistry::Open(file);
    ASSERT_TRUE(store) << store.error();
    TestApp writer(**store, 2024, 6, 1, 9, 0);
    Type(writer, 2024, 6, 1, 14, 30, "Call \"Mum\"");
    Type(writer, 2024, 6, 2, 10, 0, "Brunch");
    Type(writer, 2024, 9, 2, 10, 0, "September");
  }
  for (const auto& [command, args, expected] :
       {std::tuple{Command::Agenda, std::vector<std::string>{"2024-05-31", "3", "0"},
                   "2024-06-01 14:30  Call \"Mum\"\n2024-06-02 10:00  Brunch\n"},
        {Command::Next, {"0"}, " Tomorrow at 10:00am: Brunch \n"}}) {
    auto store = SqliteRegistry::Open(file, SqliteRegistry::kDefaultBusyTimeoutMs,
                                      SqliteRegistry::Check::Deferred);
    ASSERT_TRUE(store) << store.error();
    TestApp alone(**store, 2024, 6, 1, 15, 0);
    const Request request{command, args};
    LoadForRequest(alone.ctx, request);
    EXPECT_EQ(RunRequest(alone.ctx, request).out, expected);
    // Only the months asked about were read.
    EXPECT_FALSE(alone.ctx.entries.IsMonthLoaded(2024, 9));
  }
}

}  // namespace
}  // namespace vesk::test

namespace vesk::test {
namespace {

TEST(StoreFilesTest, ARestoreAndARegistryImportReachTheCalendarAsRequests) {
  TempDir dir;
  TestApp from(2024, 6, 1, 9, 0);
  Type(from, 2024, 6, 3, 10, 0, "Dentist");
  from.ctx.dataDir = dir.path();
  const std::filesystem::path backup = std::filesystem::path(dir.path()) / "VeskAppoints.vsk";
  ASSERT_TRUE(BackupEntries(from.ctx, backup, false).ok);
  const std::filesystem::path reg = std::filesystem::path(dir.path()) / "calendar.reg";
  ASSERT_TRUE(ExportRegistry(from.registry, reg));

  TestApp restored(2024, 6, 1, 9, 0);
  EXPECT_EQ(Ask(restored, Command::Restore, {backup.string()}).out,
            "Restored 1 new entries and merged 0 texts from " + backup.string() + ".\n");
  EXPECT_EQ(Lines(restored), std::vector<std::string>{"2024-06-03 10:00 Dentist (2)"});
  EXPECT_EQ(Ask(restored, Command::Restore, {"/nonexistent/x.vsk"}).status, kFailed);

  TestApp imported(2024, 6, 1, 9, 0);
  const Reply r = Ask(imported, Command::ImportRegistry, {reg.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(imported.ctx.entries.FindAt(2024, 6, 3, 10, 0), nullptr);
}

}  // namespace
}  // namespace vesk::test
