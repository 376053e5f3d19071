// What every registry does, run on the in-memory twin and on the SQLite store.
#include <gtest/gtest.h>

#include <memory>

#include "platform/headless/memory_registry.h"
#include "platform/registry.h"
#include "platform/sqlite/sqlite_registry.h"
#include "support/test_app.h"

namespace vesk {
namespace {

struct MemoryMaker {
  std::unique_ptr<Registry> Make() { return std::make_unique<MemoryRegistry>(); }
};

struct SqliteMaker {
  test::TempDir dir;
  std::unique_ptr<Registry> Make() {
    auto opened = SqliteRegistry::Open(std::filesystem::path(dir.path()) / "store.db");
    if (!opened) ADD_FAILURE() << opened.error();
    return opened ? std::move(*opened) : nullptr;
  }
};

template <class Maker>
class RegistryContractTest : public testing::Test {
 protected:
  void SetUp() override {
    reg_ = maker_.Make();
    ASSERT_NE(reg_, nullptr);
  }
  Registry& reg() { return *reg_; }

 private:
  Maker maker_;
  std::unique_ptr<Registry> reg_;
};

using Makers = testing::Types<MemoryMaker, SqliteMaker>;
TYPED_TEST_SUITE(RegistryContractTest, Makers);

std::vector<std::string> SubKeys(Registry& reg, std::string_view path) {
  std::vector<std::string> names;
  std::string name;
  std::size_t i = 0;
  for (; reg.EnumSubKey(path, i, name) == EnumResult::Ok; ++i) names.push_back(name);
  EXPECT_EQ(reg.EnumSubKey(path, i, name), EnumResult::NoMoreItems) << path;
  return names;
}

using Strings = std::vector<std::string>;

TYPED_TEST(RegistryContractTest, CreateMakesIntermediateKeysAndTellsCreatedFromOpened) {
  Registry& reg = this->reg();
  EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Tolvard"));
  EXPECT_EQ(reg.CreateKey("SOFTWARE\\Tolvard\\VeskCal\\sounds"), OpenResult::Created);
  EXPECT_TRUE(reg.OpenKey("SOFTWARE\\Tolvard"));
  EXPECT_TRUE(reg.OpenKey("software\\TOLVARD\\veskcal"));
  EXPECT_EQ(reg.CreateKey("SOFTWARE\\Tolvard\\VeskCal"), OpenResult::Opened);
  EXPECT_EQ(reg.CreateKey("Software\\tolvard\\VESKCAL\\Sounds"), OpenResult::Opened);
  EXPECT_EQ(reg.CreateKey("SOFTWARE\\Tolvard\\VeskCal\\Colors"), OpenResult::Created);
  EXPECT_EQ(SubKeys(reg, "SOFTWARE\\TOLVARD\\VESKCAL"), (Strings{"Colors", "sounds"}));
}

TYPED_TEST(RegistryContractTest, SubKeysEnumerateInCaseInsensitiveOrder) {
  Registry& reg = this->reg();
  for (const char* name : {"2000_3", "1999_12", "2000_12", "b", "A", "_x", "a1"}) {
    ASSERT_EQ(reg.CreateKey(JoinKey("App", name)), OpenResult::Created) << name;
  }
  EXPECT_EQ(SubKeys(reg, "app"), (Strings{"1999_12", "2000_12", "2000_3", "A", "a1", "b", "_x"}));
  EXPECT_TRUE(SubKeys(reg, "App\\A").empty());
  std::string name = "untouched";
  EXPECT_EQ(reg.EnumSubKey("Nowhere", 0, name), EnumResult::Error);
  EXPECT_EQ(name, "untouched");
}

TYPED_TEST(RegistryContractTest, ValuesKeepTypeOrderAndFirstSpelling) {
  Registry& reg = this->reg();
  const std::string key = "App\\Appointments\\2000_3\\15_9_30";
  EXPECT_FALSE(reg.SetValue(key, "year", RegValue::FromDword(2000)));
  ASSERT_EQ(reg.CreateKey(key), OpenResult::Created);
  const std::uint8_t font[60] = {0xf4, 0xff, 0xff, 0xff};
  ASSERT_TRUE(reg.SetValue(key, "year", RegValue::FromDword(2000)));
  ASSERT_TRUE(reg.SetValue(key, "notes", RegValue::FromString("Dentist")));
  ASSERT_TRUE(reg.SetValue(key, "font", RegValue::FromBinary(font, sizeof font)));
  ASSERT_TRUE(reg.SetValue(key, "sday", RegValue::FromString("")));
  ASSERT_TRUE(reg.SetValue(key, "NOTES", RegValue::FromString("Dentist at 9:30")));

  EXPECT_EQ(reg.QueryValue(key, "Year"), RegValue::FromDword(2000));
  EXPECT_EQ(reg.QueryValue(key, "notes")->AsString(), "Dentist at 9:30");
  EXPECT_EQ(reg.QueryValue(key, "font"), RegValue::FromBinary(font, sizeof font));
  EXPECT_EQ(reg.QueryValue(key, "sday"), RegValue::FromString(""));
  EXPECT_EQ(reg.QueryValue(key, "month"), std::nullopt);
  EXPECT_EQ(reg.QueryValue("App\\missing", "year"), std::nullopt);

  Strings names;
  for (const auto& [name, value] : reg.Values(key)) names.push_back(name);
  EXPECT_EQ(names, (Strings{"year", "notes", "font", "sday"}));
  EXPECT_TRUE(reg.Values("App\\missing").empty());
}

TYPED_TEST(RegistryContractTest, TheRootHoldsNoValuesAndCannotBeDeleted) {
  Registry& reg = this->reg();
  EXPECT_EQ(reg.CreateKey(""), OpenResult::Opened);
  EXPECT_TRUE(reg.OpenKey(""));
  EXPECT_FALSE(reg.SetValue("", "x", RegValue::FromDword(1)));
  ASSERT_EQ(reg.CreateKey("A"), OpenResult::Created);
  EXPECT_FALSE(reg.DeleteTree(""));
  EXPECT_TRUE(reg.OpenKey("A"));
}

TYPED_TEST(RegistryContractTest, DeleteTreeTakesEveryDescendantAndNothingElse) {
  Registry& reg = this->reg();
  for (const char* path : {"App\\Appointments\\2000_3\\15_9_30", "App\\Appointments\\2000_3\\1_0_0",
                           "App\\Appointments\\2000_4\\2_10_0"}) {
    ASSERT_EQ(reg.CreateKey(path), OpenResult::Created);
    ASSERT_TRUE(reg.SetValue(path, "notes", RegValue::FromString(path)));
  }
  EXPECT_TRUE(reg.DeleteTree("APP\\appointments\\2000_3"));
  EXPECT_FALSE(reg.OpenKey("App\\Appointments\\2000_3\\15_9_30"));
  EXPECT_FALSE(reg.OpenKey("App\\Appointments\\2000_3"));
  EXPECT_EQ(SubKeys(reg, "App\\Appointments"), (Strings{"2000_4"}));
  EXPECT_FALSE(reg.DeleteTree("App\\Appointments\\2000_3"));
  // A key made again starts empty.
  EXPECT_EQ(reg.CreateKey("App\\Appointments\\2000_3\\15_9_30"), OpenResult::Created);
  EXPECT_TRUE(reg.Values("App\\Appointments\\2000_3\\15_9_30").empty());
  EXPECT_EQ(reg.QueryValue("App\\Appointments\\2000_4\\2_10_0", "notes")->AsString(),
            "App\\Appointments\\2000_4\\2_10_0");
}

TYPED_TEST(RegistryContractTest, TransactionsNestAndOnlyBalancedCommitsSucceed) {
  Registry& reg = this->reg();
  EXPECT_FALSE(reg.CommitTransaction());
  reg.BeginTransaction();
  ASSERT_EQ(reg.CreateKey("A"), OpenResult::Created);
  {
    Registry::Transaction inner(reg);
    ASSERT_TRUE(reg.SetValue("A", "v", RegValue::FromDword(1)));
    EXPECT_TRUE(inner.Commit());
  }
  ASSERT_TRUE(reg.SetValue("A", "w", RegValue::FromDword(2)));
  EXPECT_TRUE(reg.CommitTransaction());
  EXPECT_FALSE(reg.CommitTransaction());
  EXPECT_EQ(reg.QueryValue("A", "v"), RegValue::FromDword(1));
  EXPECT_EQ(reg.QueryValue("A", "w"), RegValue::FromDword(2));
}

}  // namespace
}  // namespace vesk
