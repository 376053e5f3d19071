#include "store/registry_store.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_app.h"

namespace vesk {
namespace {

using test::TestApp;
using Values = std::vector<std::pair<std::string, RegValue>>;

// The five slot values of an entry key.
Values Slot(int year, int month, int day, int hour, int minute) {
  return {{"year", RegValue::FromDword(year)},
          {"month", RegValue::FromDword(month)},
          {"day", RegValue::FromDword(day)},
          {"hour", RegValue::FromDword(hour)},
          {"minute", RegValue::FromDword(minute)}};
}

Values operator+(Values a, const Values& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

void PutKey(Registry& reg, const std::string& path, const Values& values) {
  ASSERT_NE(reg.CreateKey(path), OpenResult::Failed);
  for (const auto& [name, value] : values) ASSERT_TRUE(reg.SetValue(path, name, value));
}

// Writes a plain entry key at its own slot's path.
void PutEntry(Registry& reg, int year, int month, int day, int hour, int minute,
              const std::string& notes) {
  PutKey(reg, CRegistryStore::EntryPath(year, month, day, hour, minute),
         Slot(year, month, day, hour, minute) + Values{{"notes", RegValue::FromString(notes)}});
}

std::vector<std::string> SubKeys(Registry& reg, const std::string& path) {
  std::vector<std::string> names;
  std::string name;
  for (std::size_t i = 0; reg.EnumSubKey(path, i, name) == EnumResult::Ok; ++i)
    names.push_back(name);
  return names;
}

std::vector<std::string> Notes(const CEntryList& list) {
  std::vector<std::string> notes;
  list.ForEach([&](const CPlannerEntry& e) { notes.push_back(e.notes); });
  return notes;
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  void TearDown() override { test::ExpectScriptDone(app.boxes); }

  // Opens the entry key at the slot's path and loads it into a new entry.
  CPlannerEntry& Load(int year, int month, int day, int hour, int minute, bool& valid) {
    EXPECT_TRUE(store.OpenEntryKeyForReading(
        year, month,
        std::to_string(day) + "_" + std::to_string(hour) + "_" + std::to_string(minute)));
    CPlannerEntry& e = app.ctx.entries.Create();
    valid = store.LoadEntry(e);
    return e;
  }

  TestApp app;
  MemoryRegistry& reg = app.memory;
  CRegistryStore& store = app.ctx.store;
};

TEST_F(RegistryStoreTest, EntryOfNewYearsEveLivesAtItsSlotPath) {
  EXPECT_EQ(CRegistryStore::EntryPath(1999, 12, 31, 23, 30),
            "SOFTWARE\\Tolvard\\VeskCal\\Appointments\\1999_12\\31_23_30");
  EXPECT_EQ(CRegistryStore::EntryPath(2000, 3, 15, 9, 0),
            "SOFTWARE\\Tolvard\\VeskCal\\Appointments\\2000_3\\15_9_0");
}

TEST_F(RegistryStoreTest, SaveEntryWritesSixteenValuesInOrderInOneCommit) {
  CPlannerEntry& e = app.ctx.entries.Create();
  e.SetSlot(1999, 12, 31, 23, 30, "Party");
  e.early = 15;
  e.xreminder = 1;
  e.started = 946699200;
  e.repeats = 6;
  e.sday = "Friday";
  e.nthweek = "last";
  e.nthday = 31;
  e.until = 1262235600;
  const int before = reg.commits();
  store.SaveEntry(e);
  EXPECT_EQ(reg.commits(), before + 1);

  const Values expected =
      Slot(1999, 12, 31, 23, 30) +
      Values{{"early", RegValue::FromDword(15)},          {"reminder", RegValue::FromDword(1)},
             {"xreminder", RegValue::FromDword(1)},       {"notes", RegValue::FromString("Party")},
             {"started", RegValue::FromDword(946699200)}, {"highlight", RegValue::FromDword(0)},
             {"repeats", RegValue::FromDword(6)},         {"sday", RegValue::FromString("Friday")},
             {"nthweek", RegValue::FromString("last")},   {"nthday", RegValue::FromDword(31)},
             {"until", RegValue::FromDword(1262235600)}};
  EXPECT_EQ(reg.Values(CRegistryStore::EntryPath(1999, 12, 31, 23, 30)), expected);
}

TEST_F(RegistryStoreTest, SavedEntryLoadsBackWhole) {
  CPlannerEntry& e = app.ctx.entries.Create();
  e.SetSlot(2000, 3, 20, 14, 30, "Dentist — Zoë");
  e.early = 30;
  e.reminder = 0;
  e.xreminder = 1;
  e.highlight = 1;
  e.started = 953000000;
  e.repeats = 3;
  e.sday = "Monday";
  e.nthweek = "2nd";
  e.nthday = 20;
  e.until = 960000000;
  store.SaveEntry(e);
  app.ctx.entries.Discard(e);

  bool valid = false;
  CPlannerEntry& r = Load(2000, 3, 20, 14, 30, valid);
  EXPECT_TRUE(valid);
  EXPECT_EQ(std::tuple(r.year(), r.month(), r.day(), r.hour(), r.minute()),
            std::tuple(2000, 3, 20, 14, 30));
  EXPECT_EQ(r.notes, "Dentist — Zoë");
  EXPECT_EQ(std::tuple(r.early, r.reminder, r.xreminder, r.highlight, r.repeats, r.nthday),
            std::tuple(30, 0, 1, 1, 3, 20));
  EXPECT_EQ(std::tuple(r.started, r.until), std::tuple(953000000, 960000000));
  EXPECT_EQ(std::tuple(r.sday, r.nthweek), std::tuple("Monday", "2nd"));
}

TEST_F(RegistryStoreTest, AnImportedEntrysUidIsStoredLoadedAndCopiedToItsOccurrences) {
  CPlannerEntry& made = app.ctx.entries.Create();
  made.SetSlot(2000, 3, 20, 9, 0, "Here");
  store.SaveEntry(made);
  EXPECT_FALSE(reg.QueryValue(CRegistryStore::EntryPath(2000, 3, 20, 9, 0), "uid"));

  CPlannerEntry& e = app.ctx.entries.Create();
  e.SetSlot(2000, 3, 21, 9, 0, "Imported");
  e.uid = "abc@example.com";
  store.SaveEntry(e);
  EXPECT_EQ(app.ctx.entries.CreateCopy(e).uid, "abc@example.com");
  bool valid = false;
  EXPECT_EQ(Load(2000, 3, 21, 9, 0, valid).uid, "abc@example.com");
}

TEST_F(RegistryStoreTest, MonthKeyNamesParseOnlyInTheFormTheStoreWrites) {
  struct Row {
    std::string_view name;
    std::optional<YearMonth> expected;
  };
  const Row rows[] = {
      {"2001_1", YearMonth{2001, 1}},
      {"2001_11", YearMonth{2001, 11}},
      {"2000_12", YearMonth{2000, 12}},
      {"1999_9", YearMonth{1999, 9}},
      {"abc", std::nullopt},
      {"2000_x", std::nullopt},
      {"1999", std::nullopt},
      {"2000_03", std::nullopt},
      {"2000_3 ", std::nullopt},
      {"20001_1", std::nullopt},
      {"", std::nullopt},
      {"_", std::nullopt},
      {"2000__3", std::nullopt},
      {"99999999999_1", std::nullopt},
  };
  for (const Row& row : rows)
    EXPECT_EQ(CRegistryStore::ParseMonthKey(row.name), row.expected) << row.name;
}

TEST_F(RegistryStoreTest, MonthKeysWrittenAnotherWayAreReadAndMovedOthersAreNamedOnce) {
  const std::string months(kAppointmentsKey);
  const auto notes = [](const char* text) { return Values{{"notes", RegValue::FromString(text)}}; };
  PutEntry(reg, 2001, 1, 5, 9, 0, "January");
  // "2001_01" holds an entry of its own and one for a slot "2001_1" holds already.
  PutKey(reg, months + "\\2001_01\\5_10_0", Slot(2001, 1, 5, 10, 0) + notes("Ten"));
  PutKey(reg, months + "\\2001_01\\5_9_0", Slot(2001, 1, 5, 9, 0) + notes("Twin"));
  PutKey(reg, months + "\\02002_7\\1_8_0", Slot(2002, 7, 1, 8, 0) + notes("July"));
  for (const char* junk : {"abc", "2000_x", "1999", "2000_00"})
    PutKey(reg, months + "\\" + junk + "\\5_11_0", Slot(2001, 1, 5, 11, 0) + notes(junk));
  const std::string unreadable =
      "Some months of appointments could not be read and were left in the store as they are: "
      "1999, 2000_00, 2000_x, abc.";
  app.boxes.Expect(unreadable);

  store.ReadAllEntries(app.ctx.entries);

  CEntryList& list = app.ctx.entries;
  EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(list.FindAt(2001, 1, 5, 9, 0)->notes, "January");
  ASSERT_NE(list.FindAt(2001, 1, 5, 10, 0), nullptr);
  ASSERT_NE(list.FindAt(2002, 7, 1, 8, 0), nullptr);
  EXPECT_EQ(list.FindAt(2001, 1, 5, 11, 0), nullptr);
  // What was read moved to its own key; what was not stays where it was.
  EXPECT_TRUE(reg.OpenKey(CRegistryStore::EntryPath(2001, 1, 5, 10, 0)));
  EXPECT_TRUE(reg.OpenKey(CRegistryStore::EntryPath(2002, 7, 1, 8, 0)));
  EXPECT_EQ(SubKeys(reg, months + "\\2001_01"), std::vector<std::string>{"5_9_0"});
  EXPECT_FALSE(reg.OpenKey(months + "\\02002_7"));
  EXPECT_TRUE(reg.OpenKey(months + "\\abc\\5_11_0"));

  // Deleted, a moved entry stays deleted at the next start.
  list.DeleteEntry(*list.FindAt(2001, 1, 5, 10, 0), true);
  TestApp restarted(reg);
  restarted.boxes.Expect(unreadable);
  restarted.ctx.store.ReadAllEntries(restarted.ctx.entries);
  EXPECT_EQ(Notes(restarted.ctx.entries), (std::vector<std::string>{"January", "July"}));
  test::ExpectScriptDone(restarted.boxes);
}

TEST_F(RegistryStoreTest, ReminderDefaultsOnAndIsForcedOffWithoutLead) {
  // Values in another order than the store writes them are found all the same.
  PutKey(reg, CRegistryStore::EntryPath(2000, 4, 1, 10, 0),
         Values{{"early", RegValue::FromDword(15)}} + Slot(2000, 4, 1, 10, 0));
  PutKey(reg, CRegistryStore::EntryPath(2000, 4, 1, 11, 0),
         Slot(2000, 4, 1, 11, 0) +
             Values{{"early", RegValue::FromDword(-1)}, {"reminder", RegValue::FromDword(1)}});
  PutKey(reg, CRegistryStore::EntryPath(2000, 4, 1, 12, 0), Slot(2000, 4, 1, 12, 0));

  bool valid = false;
  CPlannerEntry& lead = Load(2000, 4, 1, 10, 0, valid);
  EXPECT_TRUE(valid);
  EXPECT_EQ(std::tuple(lead.day(), lead.hour(), lead.early, lead.reminder),
            std::tuple(1, 10, 15, 1));
  CPlannerEntry& none = Load(2000, 4, 1, 11, 0, valid);
  EXPECT_EQ(std::pair(none.early, none.reminder), std::pair(-1, 0));
  // A missing "early" reads 0, not the option's default lead.
  app.ctx.options.early = 25;
  CPlannerEntry& bare = Load(2000, 4, 1, 12, 0, valid);
  EXPECT_TRUE(valid);
  EXPECT_EQ(std::pair(bare.early, bare.reminder), std::pair(0, 1));
  EXPECT_TRUE(bare.notes.empty());
}

TEST_F(RegistryStoreTest, ValuesOfAnotherTypeReadAsMissing) {
  PutKey(reg, CRegistryStore::EntryPath(2000, 4, 2, 9, 0),
         Slot(2000, 4, 2, 9, 0) + Values{{"reminder", RegValue::FromString("0")},
                                         {"notes", RegValue::FromDword(7)},
                                         {"early", RegValue::FromBinary("\x05\0", 2)}});
  PutKey(reg, CRegistryStore::EntryPath(2000, 4, 2, 10, 0),
         Values{{"year", RegValue::FromString("2000")}, {"month", RegValue::FromDword(4)}});

  bool valid = false;
  CPlannerEntry& e = Load(2000, 4, 2, 9, 0, valid);
  EXPECT_TRUE(valid);
  EXPECT_EQ(std::tuple(e.reminder, e.early, e.notes), std::tuple(1, 0, ""));
  Load(2000, 4, 2, 10, 0, valid);
  EXPECT_FALSE(valid);

  std::int32_t n = 99;
  EXPECT_FALSE(store.GetInt("year", n));
  EXPECT_EQ(n, 0);
  std::string text = "kept";
  EXPECT_FALSE(store.GetString("month", text));
  EXPECT_EQ(text, "kept");
}

TEST_F(RegistryStoreTest, LongTextsReadBackWhole) {
  for (std::size_t length : {255u, 256u, 300u, 5000u}) {
    std::string text(length, 'x');
    text.back() = '!';
    CPlannerEntry& e = app.ctx.entries.Create();
    e.SetSlot(2000, 5, 1, 9, 0, text);
    store.SaveEntry(e);
    app.ctx.entries.Discard(e);

    bool valid = false;
    CPlannerEntry& r = Load(2000, 5, 1, 9, 0, valid);
    EXPECT_EQ(r.notes, text) << length;
    std::string direct;
    EXPECT_TRUE(store.GetString("notes", direct));
    EXPECT_EQ(direct.size(), length);
    app.ctx.entries.Discard(r);
  }
}

TEST_F(RegistryStoreTest, UnopenableEntryKeyStopsTheMonthAfterOneMessage) {
  PutEntry(reg, 2000, 6, 1, 9, 0, "a");
  PutEntry(reg, 2000, 6, 2, 9, 0, "b");
  PutEntry(reg, 2000, 6, 3, 9, 0, "c");
  const std::string month = CRegistryStore::MonthPath(2000, 6);
  const auto names = SubKeys(reg, month);
  ASSERT_EQ(names.size(), 3u);
  reg.FailOpen(month + "\\" + names[1], 1);
  app.boxes.Expect("failed to read day planner entry");

  EXPECT_EQ(store.ReadMonth(app.ctx.entries, 2000, 6), 1);

  const auto firstNotes = reg.QueryValue(month + "\\" + names[0], "notes");
  ASSERT_TRUE(firstNotes);
  EXPECT_EQ(Notes(app.ctx.entries), std::vector<std::string>{*firstNotes->AsString()});
  EXPECT_EQ(SubKeys(reg, month), names);
}

TEST_F(RegistryStoreTest, EnumerationErrorStopsTheMonth) {
  PutEntry(reg, 2000, 6, 1, 9, 0, "a");
  PutEntry(reg, 2000, 6, 2, 9, 0, "b");
  PutEntry(reg, 2000, 7, 1, 9, 0, "july");
  reg.FailEnum(CRegistryStore::MonthPath(2000, 6), 1, 1);
  app.boxes.Expect("failed to read next registry item");

  store.ReadAllEntries(app.ctx.entries);

  // One June entry before the error, and July read after it.
  EXPECT_EQ(app.ctx.entries.size(), 2u);
  EXPECT_NE(app.ctx.entries.FindAt(2000, 7, 1, 9, 0), nullptr);
}

struct MonthOpenFailure {
  int failures;
  std::vector<std::string> messages;
  std::vector<int> pauses;
  int result;
};

class MonthOpenRetryTest : public ::testing::TestWithParam<MonthOpenFailure> {};

TEST_P(MonthOpenRetryTest, RetriesWithMessagesAndPausesThenGivesUp) {
  const MonthOpenFailure& p = GetParam();
  TestApp app;
  PutEntry(app.memory, 2000, 8, 1, 9, 0, "august");
  PutEntry(app.memory, 2000, 8, 2, 9, 0, "august too");
  PutEntry(app.memory, 2000, 9, 1, 9, 0, "september");
  app.memory.FailOpen(CRegistryStore::MonthPath(2000, 8), p.failures);
  for (const auto& text : p.messages) app.boxes.Expect(text);

  EXPECT_EQ(app.ctx.store.ReadMonth(app.ctx.entries, 2000, 8), p.result);
  EXPECT_EQ(app.clock.pauses(), p.pauses);
  EXPECT_EQ(app.ctx.entries.size(), p.result < 0 ? 0u : 2u);
  // Reading goes on with the next month either way.
  EXPECT_EQ(app.ctx.store.ReadMonth(app.ctx.entries, 2000, 9), 1);
  test::ExpectScriptDone(app.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, MonthOpenRetryTest,
    ::testing::Values(MonthOpenFailure{0, {}, {}, 2},
                      MonthOpenFailure{1, {"failed to open next registry item"}, {1000}, 2},
                      MonthOpenFailure{2,
                                       {"failed to open next registry item",
                                        "failed to open next registry item again"},
                                       {1000, 1500},
                                       2},
                      MonthOpenFailure{
                          3,
                          {"failed to open next registry item",
                           "failed to open next registry item again", "ReadMonth giving up"},
                          {1000, 1500},
                          -1}));

TEST_F(RegistryStoreTest, ReadAllEntriesSkipsAMonthThatWillNotOpen) {
  PutEntry(reg, 2000, 8, 1, 9, 0, "august");
  PutEntry(reg, 2000, 9, 1, 9, 0, "september");
  reg.FailOpen(CRegistryStore::MonthPath(2000, 8), 3);
  app.boxes.Expect("failed to open next registry item");
  app.boxes.Expect("failed to open next registry item again");
  app.boxes.Expect("ReadMonth giving up");

  store.ReadAllEntries(app.ctx.entries);

  EXPECT_EQ(Notes(app.ctx.entries), std::vector<std::string>{"september"});
}

TEST_F(RegistryStoreTest, LoadedEntriesAreScheduledNotSaved) {
  PutEntry(reg, 2000, 3, 15, 10, 30, "meeting");
  const int commits = reg.commits();
  store.ReadAllEntries(app.ctx.entries);
  CPlannerEntry* e = app.ctx.entries.FindAt(2000, 3, 15, 10, 30);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->time(), MakeLocalTime(2000, 3, 15, 10, 30));
  EXPECT_EQ(e->started, e->time());
  EXPECT_EQ(reg.commits(), commits);
  // Schedule fills "started" in memory only; the key keeps its values.
  EXPECT_FALSE(reg.QueryValue(CRegistryStore::EntryPath(2000, 3, 15, 10, 30), "started"));
}

TEST_F(RegistryStoreTest, KeysWithoutSlotOrWithATakenSlotAreDiscardedAndLeftStored) {
  // Stored under 2000_10 but its values say another slot, already held in the list.
  PutKey(reg, CRegistryStore::EntryPath(2000, 10, 1, 9, 0),
         Slot(2000, 10, 2, 9, 0) + Values{{"notes", RegValue::FromString("copy")}});
  PutEntry(reg, 2000, 10, 2, 9, 0, "original");
  PutKey(reg, CRegistryStore::EntryPath(2000, 10, 3, 9, 0),
         Values{{"notes", RegValue::FromString("no year")}});
  PutKey(reg, CRegistryStore::EntryPath(2000, 10, 4, 9, 0),
         Values{{"year", RegValue::FromDword(2000)}, {"notes", RegValue::FromString("no month")}});

  store.ReadAllEntries(app.ctx.entries);

  ASSERT_EQ(app.ctx.entries.size(), 1u);
  const CPlannerEntry* kept = app.ctx.entries.FindAt(2000, 10, 2, 9, 0);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(SubKeys(reg, CRegistryStore::MonthPath(2000, 10)).size(), 4u);
}

TEST_F(RegistryStoreTest, LoadedKeyLosesToAnEntryAlreadyAtItsSlot) {
  app.AddEntry(2000, 11, 5, 9, 0, "in the list");
  bool valid = true;
  Load(2000, 11, 5, 9, 0, valid);
  EXPECT_FALSE(valid);
  EXPECT_EQ(app.ctx.entries.FindAt(2000, 11, 5, 9, 0)->notes, "in the list");
}

TEST_F(RegistryStoreTest, WriteNotesOnlyTouchesStoredEntriesOnly) {
  CPlannerEntry& stored = app.AddEntry(2000, 12, 1, 9, 0, "old");
  const std::string path = CRegistryStore::EntryPath(2000, 12, 1, 9, 0);
  const auto earlyBefore = reg.QueryValue(path, "early");
  ASSERT_TRUE(earlyBefore);
  stored.notes = "new";
  stored.early = earlyBefore->AsDword().value() + 45;
  EXPECT_TRUE(store.WriteNotesOnly(stored));
  EXPECT_EQ(reg.QueryValue(path, "notes"), RegValue::FromString("new"));
  EXPECT_EQ(reg.QueryValue(path, "early"), earlyBefore);

  CPlannerEntry& loose = app.ctx.entries.Create();
  loose.SetSlot(2000, 12, 2, 9, 0, "never stored");
  EXPECT_FALSE(store.WriteNotesOnly(loose));
  EXPECT_TRUE(reg.Values(CRegistryStore::EntryPath(2000, 12, 2, 9, 0)).empty());
}

TEST_F(RegistryStoreTest, RemoveEntryKeyAndDeleteMonth) {
  PutEntry(reg, 2001, 2, 1, 9, 0, "a");
  PutEntry(reg, 2001, 2, 1, 9, 30, "b");
  store.RemoveEntryKey(2001, 2, 1, 9, 0);
  EXPECT_EQ(SubKeys(reg, CRegistryStore::MonthPath(2001, 2)), std::vector<std::string>{"1_9_30"});
  // Removing from a month that has no key leaves an empty month key behind.
  store.RemoveEntryKey(2001, 3, 1, 9, 0);
  EXPECT_TRUE(reg.OpenKey(CRegistryStore::MonthPath(2001, 3)));

  EXPECT_TRUE(store.DeleteMonth(2001, 2));
  EXPECT_FALSE(reg.OpenKey(CRegistryStore::MonthPath(2001, 2)));
  EXPECT_FALSE(store.DeleteMonth(2001, 2));
  EXPECT_TRUE(reg.OpenKey(CRegistryStore::MonthPath(2001, 3)));
}

TEST_F(RegistryStoreTest, WelcomeEntryIsWrittenForNineOClock) {
  store.WriteWelcomeEntry(2000, 3, 15);
  const std::string path = CRegistryStore::EntryPath(2000, 3, 15, 9, 0);
  const RegValue welcome = RegValue::FromString("Welcome to Vesk Calendar!");
  const Values expected = Slot(2000, 3, 15, 9, 0) + Values{{"early", RegValue::FromDword(0)},
                                                           {"reminder", RegValue::FromDword(0)},
                                                           {"xreminder", RegValue::FromDword(0)},
                                                           {"notes", welcome},
                                                           {"started", RegValue::FromDword(0)},
                                                           {"highlight", RegValue::FromDword(0)},
                                                           {"repeats", RegValue::FromDword(0)},
                                                           {"sday", welcome},
                                                           {"nthweek", welcome},
                                                           {"nthday", RegValue::FromDword(0)},
                                                           {"until", RegValue::FromDword(0)}};
  EXPECT_EQ(reg.Values(path), expected);
  EXPECT_TRUE(app.ctx.entries.Entries().empty());

  store.ReadAllEntries(app.ctx.entries);
  const CPlannerEntry* e = app.ctx.entries.FindAt(2000, 3, 15, 9, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->notes, "Welcome to Vesk Calendar!");
  EXPECT_EQ(e->reminder, 0);
}

TEST_F(RegistryStoreTest, FontRecordsAreSixtyBytesAtMost) {
  const std::string fontKey = std::string(kAppKey) + "\\font";
  EXPECT_FALSE(store.LoadFont("font2"));  // nothing stored

  FontBytes record{};
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i + 1);
  store.SaveFont("font", record);
  EXPECT_EQ(reg.QueryValue(fontKey, "font"), RegValue::FromBinary(record.data(), 60));
  EXPECT_EQ(store.LoadFont("font"), record);

  std::vector<std::uint8_t> big(64, 7);
  reg.SetValue(fontKey, "font", RegValue::FromBinary(big.data(), big.size()));
  EXPECT_FALSE(store.LoadFont("font"));

  const std::uint8_t shortRecord[4] = {0xF4, 0xFF, 0xFF, 0xFF};  // height -12
  reg.SetValue(fontKey, "font", RegValue::FromBinary(shortRecord, 4));
  FontBytes expected{};
  std::copy(std::begin(shortRecord), std::end(shortRecord), expected.begin());
  EXPECT_EQ(store.LoadFont("font"), expected);

  reg.SetValue(fontKey, "font", RegValue::FromString("Arial"));
  EXPECT_FALSE(store.LoadFont("font"));
}

TEST_F(RegistryStoreTest, WindowPositions) {
  store.SaveWindowPos("dayposition", 120, -40);
  const WindowPos pos = store.LoadWindowPos("dayposition");
  EXPECT_EQ(std::tuple(pos.left, pos.top, pos.topRead), std::tuple(120, -40, true));

  PutKey(reg, std::string(kAppKey) + "\\weekposition", {{"left", RegValue::FromDword(5)}});
  const WindowPos half = store.LoadWindowPos("weekposition");
  EXPECT_EQ(std::tuple(half.left, half.top, half.topRead), std::tuple(5, 0, false));
}

TEST_F(RegistryStoreTest, ToDoLines) {
  store.SaveToDoLine(19, "buy milk");
  EXPECT_EQ(reg.QueryValue(std::string(kAppKey) + "\\ToDo\\19", "notes"),
            RegValue::FromString("buy milk"));
  EXPECT_EQ(store.LoadToDoLine(19), "buy milk");
  EXPECT_EQ(store.LoadToDoLine(0), "");
  store.SaveToDoLine(19, "");
  EXPECT_EQ(reg.QueryValue(std::string(kAppKey) + "\\ToDo\\19", "notes"), RegValue::FromString(""));
}

TEST_F(RegistryStoreTest, SectionsReportCreatedThenOpened) {
  EXPECT_FALSE(store.OpenSectionForReading("sounds"));
  EXPECT_FALSE(reg.OpenKey(std::string(kAppKey) + "\\sounds"));
  EXPECT_EQ(store.OpenSection("sounds"), OpenResult::Created);
  EXPECT_EQ(store.currentPath(), "SOFTWARE\\Tolvard\\VeskCal\\sounds");
  EXPECT_EQ(store.OpenSection("sounds"), OpenResult::Opened);
  EXPECT_TRUE(store.OpenSectionForReading("sounds"));
}

}  // namespace
}  // namespace vesk
