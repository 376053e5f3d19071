#include "platform/sqlite/sqlite_registry.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/headless/memory_registry.h"
#include "platform/registry_dump.h"
#include "support/test_app.h"

namespace vesk {
namespace {

class SqliteRegistryTest : public testing::Test {
 protected:
  std::unique_ptr<SqliteRegistry> Open(int busyTimeoutMs = SqliteRegistry::kDefaultBusyTimeoutMs) {
    auto opened = SqliteRegistry::Open(file, busyTimeoutMs);
    if (!opened) {
      ADD_FAILURE() << opened.error();
      return nullptr;
    }
    return std::move(*opened);
  }

  test::TempDir dir;
  std::filesystem::path file = std::filesystem::path(dir.path()) / "veskcal.db";
};

// Random writes of every kind, applied alike to the store and to the
// in-memory twin; the two must hold the same tree, also after a reopen.
TEST_F(SqliteRegistryTest, HoldsWhatTheMemoryTwinHoldsAcrossReopen) {
  auto store = Open();
  ASSERT_NE(store, nullptr);
  MemoryRegistry twin;
  std::mt19937 rng(20000315);
  const char* names[] = {"App",  "app", "Appointments", "2000_3", "2000_12", "15_9_30",
                         "ToDo", "0",   "19",           "Colors", "COLORS",  "x"};
  const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  const auto randomPath = [&] {
    std::string path;
    for (std::size_t depth = 1 + pick(4); depth > 0; --depth) path = JoinKey(path, names[pick(12)]);
    return path;
  };
  const auto randomValue = [&] {
    switch (pick(3)) {
      case 0:
        return RegValue::FromDword(static_cast<std::int32_t>(rng()));
      case 1:
        return RegValue::FromString(std::string(pick(40), static_cast<char>('a' + pick(26))));
      default: {
        std::vector<std::uint8_t> bytes(pick(70));
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
        return RegValue{ValueType::Binary, bytes};
      }
    }
  };
  for (int step = 0; step < 3000; ++step) {
    Registry* regs[] = {store.get(), &twin};
    const std::size_t op = pick(20);
    const std::string path = randomPath();
    if (op == 0) {
      for (Registry* r : regs) r->BeginTransaction();
    } else if (op == 1) {
      EXPECT_EQ(store->CommitTransaction(), twin.CommitTransaction());
    } else if (op == 2) {
      EXPECT_EQ(store->DeleteTree(path), twin.DeleteTree(path)) << path;
    } else if (op < 8) {
      EXPECT_EQ(store->CreateKey(path), twin.CreateKey(path)) << path;
    } else {
      const RegValue value = randomValue();
      const std::string name = names[pick(12)];
      EXPECT_EQ(store->SetValue(path, name, value), twin.SetValue(path, name, value)) << path;
    }
  }
  while (twin.CommitTransaction()) ASSERT_TRUE(store->CommitTransaction());
  const std::string expected = test::Dump(twin);
  ASSERT_GT(expected.size(), 1000u);
  EXPECT_EQ(test::Dump(*store), expected);
  store.reset();
  store = Open();
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(test::Dump(*store), expected);
}

TEST_F(SqliteRegistryTest, NamesKeepTheirSpellingAndMatchInAnyCaseAfterReopen) {
  auto store = Open();
  ASSERT_NE(store, nullptr);
  ASSERT_EQ(store->CreateKey("SOFTWARE\\Tolvard\\VeskCal\\Colors"), OpenResult::Created);
  ASSERT_TRUE(store->SetValue("SOFTWARE\\Tolvard\\VeskCal\\Colors", "hasAppoint",
                              RegValue::FromDword(255)));
  store.reset();
  store = Open();
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->CreateKey("software\\TOLVARD\\veskcal\\COLORS"), OpenResult::Opened);
  std::string name;
  ASSERT_EQ(store->EnumSubKey("software\\tolvard\\veskcal", 0, name), EnumResult::Ok);
  EXPECT_EQ(name, "Colors");
  EXPECT_EQ(store->QueryValue("Software\\Tolvard\\VeskCal\\colors", "HASAPPOINT"),
            RegValue::FromDword(255));
  EXPECT_EQ(store->Values("SOFTWARE\\Tolvard\\VeskCal\\Colors")[0].first, "hasAppoint");
}

TEST_F(SqliteRegistryTest, ACommittedTransactionIsWholeAfterReopenAndAnUnfinishedOneIsGone) {
  const char* kEntry = "App\\Appointments\\2000_3\\15_9_30";
  auto store = Open();
  ASSERT_NE(store, nullptr);
  {
    Registry::Transaction group(*store);
    ASSERT_EQ(store->CreateKey(kEntry), OpenResult::Created);
    for (int i = 0; i < 16; ++i) {
      ASSERT_TRUE(store->SetValue(kEntry, "v" + std::to_string(i), RegValue::FromDword(i)));
    }
    EXPECT_TRUE(group.Commit());
  }
  store->BeginTransaction();
  ASSERT_EQ(store->CreateKey("App\\Unfinished"), OpenResult::Created);
  ASSERT_TRUE(store->SetValue(kEntry, "v0", RegValue::FromDword(100)));
  store.reset();  // ends with the transaction open

  store = Open();
  ASSERT_NE(store, nullptr);
  EXPECT_FALSE(store->OpenKey("App\\Unfinished"));
  const auto values = store->Values(kEntry);
  ASSERT_EQ(values.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(values[i].first, "v" + std::to_string(i));
    EXPECT_EQ(values[i].second, RegValue::FromDword(i));
  }
}

TEST_F(SqliteRegistryTest, DeletedTreesStayDeletedAfterReopen) {
  auto store = Open();
  ASSERT_NE(store, nullptr);
  for (int day = 1; day <= 20; ++day) {
    ASSERT_EQ(store->CreateKey("A\\2000_3\\" + std::to_string(day) + "_9_0"), OpenResult::Created);
  }
  ASSERT_EQ(store->CreateKey("A\\2000_4\\1_9_0"), OpenResult::Created);
  ASSERT_TRUE(store->DeleteTree("A\\2000_3"));
  store.reset();
  store = Open();
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(test::Dump(*store), "A\nA\\2000_4\nA\\2000_4\\1_9_0\n");
}

TEST_F(SqliteRegistryTest, AKeyChangedAndDeletedInOneGroupIsGoneAfterReopen) {
  auto store = Open();
  ASSERT_NE(store, nullptr);
  {
    Registry::Transaction group(*store);
    ASSERT_EQ(store->CreateKey("A\\Gone\\Child"), OpenResult::Created);
    ASSERT_EQ(store->CreateKey("A\\Kept"), OpenResult::Created);
    ASSERT_TRUE(store->SetValue("A\\Gone\\Child", "v", RegValue::FromDword(1)));
    ASSERT_TRUE(store->SetValue("A\\Kept", "v", RegValue::FromDword(2)));
    ASSERT_TRUE(store->DeleteTree("A\\Gone"));
    ASSERT_TRUE(store->SetValue("A\\Kept", "w", RegValue::FromDword(3)));
    EXPECT_TRUE(group.Commit());
  }
  store.reset();
  store = Open();
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(test::Dump(*store), "A\nA\\Kept\nA\\Kept [v] 4:02000000\nA\\Kept [w] 4:03000000\n");
}

// A reader walking the tree by index while another program adds keys neither
// skips nor repeats one inside its snapshot, and sees the new keys after it.
TEST_F(SqliteRegistryTest, AReadSnapshotHoldsStillWhileAnotherProgramWrites) {
  auto reader = Open();
  auto writer = Open();
  ASSERT_TRUE(reader && writer);
  for (const char* day : {"App\\10", "App\\12", "App\\14"})
    ASSERT_EQ(writer->CreateKey(day), OpenResult::Created);
  const auto walk = [&](bool insertMidway) {
    std::vector<std::string> seen;
    std::string name;
    for (std::size_t i = 0; reader->EnumSubKey("App", i, name) == EnumResult::Ok; ++i) {
      seen.push_back(name);
      reader->OpenKey("App\\" + name);  // as an export goes into each key
      reader->EnumSubKey("App\\" + name, 0, name);
      if (insertMidway && i == 0) EXPECT_EQ(writer->CreateKey("App\\0"), OpenResult::Created);
    }
    return seen;
  };
  ASSERT_TRUE(reader->BeginRead());
  EXPECT_EQ(walk(true), (std::vector<std::string>{"10", "12", "14"}));
  reader->EndRead();
  EXPECT_EQ(walk(false), (std::vector<std::string>{"0", "10", "12", "14"}));
}

TEST_F(SqliteRegistryTest, AWriteRefusedByTheFileLeavesMemoryAsTheFileIs) {
  auto store = Open(0);
  ASSERT_NE(store, nullptr);
  ASSERT_EQ(store->CreateKey("App"), OpenResult::Created);
  ASSERT_TRUE(store->SetValue("App", "v", RegValue::FromDword(1)));
  auto other = Open(0);
  ASSERT_NE(other, nullptr);

  // The other connection holds the write lock: every write fails at once.
  other->BeginTransaction();
  EXPECT_FALSE(store->SetValue("App", "v", RegValue::FromDword(2)));
  EXPECT_EQ(store->CreateKey("App\\New"), OpenResult::Failed);
  EXPECT_FALSE(store->DeleteTree("App"));
  EXPECT_EQ(store->QueryValue("App", "v"), RegValue::FromDword(1));
  EXPECT_FALSE(store->OpenKey("App\\New"));
  EXPECT_TRUE(store->OpenKey("App"));
  // The other connection's key is read from the file, so this one finds it
  // instead of making it a second time.
  ASSERT_EQ(other->CreateKey("App\\Taken"), OpenResult::Created);
  ASSERT_TRUE(other->SetValue("App\\Taken", "by", RegValue::FromString("other")));
  ASSERT_TRUE(other->CommitTransaction());
  store->BeginTransaction();
  ASSERT_TRUE(store->SetValue("App", "v", RegValue::FromDword(3)));
  EXPECT_EQ(store->CreateKey("APP\\TAKEN"), OpenResult::Opened);
  EXPECT_EQ(store->QueryValue("App", "v"), RegValue::FromDword(3));
  EXPECT_EQ(store->QueryValue("App\\Taken", "by"), RegValue::FromString("other"));
  EXPECT_TRUE(store->CommitTransaction());

  // Writes after the group reach the file.
  EXPECT_TRUE(store->SetValue("App", "v", RegValue::FromDword(5)));
  store.reset();
  other.reset();
  store = Open();
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->QueryValue("App", "v"), RegValue::FromDword(5));
  EXPECT_EQ(store->QueryValue("App\\Taken", "by"), RegValue::FromString("other"));
}

TEST_F(SqliteRegistryTest, AGroupWhoseBeginIsRefusedFailsWhole) {
  auto store = Open(0);
  auto other = Open(0);
  ASSERT_TRUE(store && other);
  ASSERT_EQ(store->CreateKey("App"), OpenResult::Created);
  other->BeginTransaction();
  store->BeginTransaction();
  other->CommitTransaction();
  EXPECT_FALSE(store->SetValue("App", "v", RegValue::FromDword(1)));
  EXPECT_EQ(store->CreateKey("App\\x"), OpenResult::Failed);
  EXPECT_FALSE(store->CommitTransaction());
  EXPECT_TRUE(store->Values("App").empty());
  EXPECT_TRUE(store->SetValue("App", "v", RegValue::FromDword(1)));
}

}  // namespace
}  // namespace vesk
