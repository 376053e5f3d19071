#include "store/options_store.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/test_app.h"

namespace vesk {
namespace {

using test::TestApp;

const std::string kOptionsKey = std::string(kAppKey) + "\\reminders";

auto Tie(const Options& o) {
  return std::tuple(o.age, o.early, o.reminders, o.splash, o.minatstart, o.fastprinting,
                    o.statusbar, o.a24hour, o.europe, o.ontop);
}

// An options record holding only the given values.
void PutOptions(Registry& reg, std::initializer_list<std::pair<const char*, int>> values) {
  ASSERT_EQ(reg.CreateKey(kOptionsKey), OpenResult::Created);
  for (const auto& [name, value] : values)
    reg.SetValue(kOptionsKey, name, RegValue::FromDword(value));
}

TEST(OptionsStoreTest, FirstLoadWritesAndReadsTheDefaults) {
  TestApp app;
  Options o;
  o.age = 12;
  o.early = 0;
  o.reminders = -1;
  o.splash = 0;
  o.fastprinting = 0;
  o.statusbar = 0;
  LoadOptions(app.ctx.store, o);
  EXPECT_EQ(Tie(o), std::tuple(60, 2, 0, 1, 0, 1, 1, 0, 0, 0));

  const std::vector<std::pair<std::string, RegValue>> expected = {
      {"age", RegValue::FromDword(60)},         {"early", RegValue::FromDword(2)},
      {"reminders", RegValue::FromDword(0)},    {"splash", RegValue::FromDword(1)},
      {"minatstart", RegValue::FromDword(0)},   {"fastprinting", RegValue::FromDword(1)},
      {"statusbar", RegValue::FromDword(1)},    {"a24hour", RegValue::FromDword(0)},
      {"europe", RegValue::FromDword(0)},       {"ontop", RegValue::FromDword(0)},
      {"notifications", RegValue::FromDword(1)}};
  EXPECT_EQ(app.registry.Values(kOptionsKey), expected);
}

TEST(OptionsStoreTest, FirstLoadKeepsTheCallersFlags) {
  TestApp app;
  Options o;
  o.minatstart = 1;
  o.europe = 1;
  LoadOptions(app.ctx.store, o);
  EXPECT_EQ(Tie(o), std::tuple(60, 2, 0, 1, 1, 1, 1, 0, 1, 0));
  EXPECT_EQ(app.registry.QueryValue(kOptionsKey, "europe"), RegValue::FromDword(1));
}

TEST(OptionsStoreTest, StoredValuesWinAndMissingOnesFallBack) {
  struct Row {
    const char* what;
    std::initializer_list<std::pair<const char*, int>> stored;
    std::tuple<int, int, int, int, int, int, int, int, int, int> expected;
  };
  const Row rows[] = {
      {"all ten",
       {{"age", 24},
        {"early", 15},
        {"reminders", 1},
        {"splash", 1},
        {"minatstart", 1},
        {"fastprinting", 1},
        {"statusbar", 0},
        {"a24hour", 1},
        {"europe", 1},
        {"ontop", 1}},
       {24, 15, 1, 1, 1, 1, 0, 1, 1, 1}},
      {"age 0 reads as 60", {{"age", 0}, {"early", 5}}, {60, 5, 0, 0, 0, 0, 1, 0, 0, 0}},
      {"empty record", {}, {60, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    TestApp app;
    PutOptions(app.registry, row.stored);
    Options o;
    LoadOptions(app.ctx.store, o);
    EXPECT_EQ(Tie(o), row.expected) << row.what;
    // An existing record is read, never rewritten.
    EXPECT_EQ(app.registry.Values(kOptionsKey).size(), row.stored.size()) << row.what;
  }
}

TEST(OptionsStoreTest, ValuesOfAnotherTypeReadAsMissing) {
  TestApp app;
  PutOptions(app.registry, {{"age", 30}});
  app.registry.SetValue(kOptionsKey, "early", RegValue::FromString("15"));
  app.registry.SetValue(kOptionsKey, "statusbar", RegValue::FromString("0"));
  const std::uint8_t two[2] = {1, 0};
  app.registry.SetValue(kOptionsKey, "ontop", RegValue::FromBinary(two, 2));
  Options o;
  LoadOptions(app.ctx.store, o);
  EXPECT_EQ(std::tuple(o.age, o.early, o.statusbar, o.ontop), std::tuple(30, 0, 1, 0));
}

TEST(OptionsStoreTest, SaveOptionsWritesTheRecordInOneCommit) {
  TestApp app;
  Options o;
  o.age = 3;
  o.ontop = 1;
  const int before = app.memory.commits();
  SaveOptions(app.ctx.store, o);
  EXPECT_EQ(app.memory.commits(), before + 1);
  Options back;
  LoadOptions(app.ctx.store, back);
  EXPECT_EQ(Tie(back), Tie(o));
}

TEST(OptionsStoreTest, StatusBarOptionIsReadWithoutCreatingTheRecord) {
  TestApp app;
  int statusbar = 7;
  EXPECT_FALSE(ReadStatusBarOption(app.ctx.store, statusbar));
  EXPECT_EQ(statusbar, 0);
  // The first LoadOptions still sees a new record and writes the defaults.
  Options o;
  LoadOptions(app.ctx.store, o);
  EXPECT_EQ(app.registry.Values(kOptionsKey).size(), 11u);

  EXPECT_TRUE(ReadStatusBarOption(app.ctx.store, statusbar));
  EXPECT_EQ(statusbar, 1);
  app.registry.SetValue(kOptionsKey, "statusbar", RegValue::FromDword(0));
  statusbar = 7;
  EXPECT_TRUE(ReadStatusBarOption(app.ctx.store, statusbar));
  EXPECT_EQ(statusbar, 0);
}

TEST(OptionsStoreTest, NotificationsAreOnUnlessStoredOff) {
  for (const auto& [stored, expected] : {std::pair(-1, 1), std::pair(0, 0), std::pair(1, 1)}) {
    TestApp app;
    PutOptions(app.registry, {{"age", 24}});
    if (stored >= 0) {
      app.registry.SetValue(kOptionsKey, "notifications", RegValue::FromDword(stored));
    }
    Options o;
    o.notifications = 7;
    LoadOptions(app.ctx.store, o);
    EXPECT_EQ(o.notifications, expected) << stored;
  }
}

TEST(OptionsStoreTest, LastRunIsMissingUntilStoredAndKeepsTimesPast2038) {
  TestApp app;
  EXPECT_EQ(LoadLastRun(app.ctx.store), std::nullopt);
  // 1 January 2040: beyond a signed 32-bit value.
  for (std::int64_t t : {std::int64_t{953110800}, std::int64_t{2208988800}}) {
    SaveLastRun(app.ctx.store, t);
    EXPECT_EQ(LoadLastRun(app.ctx.store), t);
  }
  EXPECT_EQ(app.registry.QueryValue(kOptionsKey, "lastrun")->AsDword().has_value(), true);
}

}  // namespace
}  // namespace vesk
