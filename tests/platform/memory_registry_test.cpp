#include "platform/headless/memory_registry.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(MemoryRegistryTest, FailOpenFailsThatPathSoManyTimesInAnySpelling) {
  MemoryRegistry reg;
  reg.CreateKey("App\\Appointments\\2000_3");
  reg.CreateKey("App\\Appointments\\2000_4");
  reg.FailOpen("App\\Appointments\\2000_3", 2);
  EXPECT_TRUE(reg.OpenKey("App\\Appointments\\2000_4"));
  EXPECT_TRUE(reg.OpenKey("App\\Appointments"));
  EXPECT_FALSE(reg.OpenKey("APP\\appointments\\2000_3"));
  EXPECT_FALSE(reg.OpenKey("\\App\\\\Appointments\\2000_3\\"));
  EXPECT_TRUE(reg.OpenKey("App\\Appointments\\2000_3"));
  // Creating is not opening for reading, and is not affected.
  reg.FailOpen("App\\Appointments\\2000_3", 1);
  EXPECT_EQ(reg.CreateKey("App\\Appointments\\2000_3"), OpenResult::Opened);
  EXPECT_FALSE(reg.OpenKey("App\\Appointments\\2000_3"));
}

TEST(MemoryRegistryTest, FailOpenOfAMissingKeyStillCountsDown) {
  MemoryRegistry reg;
  reg.FailOpen("A", 1);
  EXPECT_FALSE(reg.OpenKey("A"));
  reg.CreateKey("A");
  EXPECT_TRUE(reg.OpenKey("A"));
}

TEST(MemoryRegistryTest, FailEnumFailsOnlyThatIndexOfThatPath) {
  MemoryRegistry reg;
  for (const char* name : {"1_9_0", "2_9_0", "3_9_0"}) reg.CreateKey(JoinKey("M", name));
  reg.CreateKey("N\\x");
  reg.CreateKey("N\\y");
  reg.FailEnum("m", 1, 2);
  std::string name;
  EXPECT_EQ(reg.EnumSubKey("M", 0, name), EnumResult::Ok);
  EXPECT_EQ(name, "1_9_0");
  EXPECT_EQ(reg.EnumSubKey("N", 1, name), EnumResult::Ok);
  EXPECT_EQ(name, "y");
  EXPECT_EQ(reg.EnumSubKey("M", 1, name), EnumResult::Error);
  EXPECT_EQ(reg.EnumSubKey("M", 2, name), EnumResult::Ok);
  EXPECT_EQ(reg.EnumSubKey("M", 1, name), EnumResult::Error);
  EXPECT_EQ(reg.EnumSubKey("M", 1, name), EnumResult::Ok);
  EXPECT_EQ(name, "2_9_0");
}

TEST(MemoryRegistryTest, CountsOutermostCommitsOnly) {
  MemoryRegistry reg;
  {
    Registry::Transaction outer(reg);
    Registry::Transaction inner(reg);
    EXPECT_TRUE(inner.Commit());
    EXPECT_EQ(reg.commits(), 0);
  }
  EXPECT_EQ(reg.commits(), 1);
  reg.BeginTransaction();
  EXPECT_TRUE(reg.CommitTransaction());
  EXPECT_EQ(reg.commits(), 2);
  EXPECT_FALSE(reg.CommitTransaction());
  EXPECT_EQ(reg.commits(), 2);
}

}  // namespace
}  // namespace vesk
