#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "platform/registry.h"

namespace vesk {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(RegValueTest, DwordIsFourLittleEndianBytesWithSignedMeaning) {
  struct Row {
    std::int32_t v;
    Bytes bytes;
  };
  const Row rows[] = {{0, {0, 0, 0, 0}},
                      {0x01020304, {4, 3, 2, 1}},
                      {-1, {0xff, 0xff, 0xff, 0xff}},
                      {-2, {0xfe, 0xff, 0xff, 0xff}},
                      {INT_MIN, {0, 0, 0, 0x80}},
                      {INT_MAX, {0xff, 0xff, 0xff, 0x7f}}};
  for (const Row& row : rows) {
    const RegValue value = RegValue::FromDword(row.v);
    EXPECT_EQ(value.type, ValueType::Dword);
    EXPECT_EQ(value.data, row.bytes) << row.v;
    EXPECT_EQ(value.AsDword(), row.v);
    EXPECT_EQ(value.AsString(), std::nullopt);
  }
}

TEST(RegValueTest, StringHoldsTheBytesWithoutATerminator) {
  EXPECT_EQ(RegValue::FromString("abc").data, (Bytes{'a', 'b', 'c'}));
  EXPECT_TRUE(RegValue::FromString("").data.empty());
  EXPECT_EQ(RegValue::FromString("caf\xc3\xa9").AsString(), "caf\xc3\xa9");
  EXPECT_EQ(RegValue::FromString("").AsString(), "");
  EXPECT_EQ(RegValue::FromString("abcd").AsDword(), std::nullopt);
}

TEST(RegValueTest, BinaryKeepsEveryByte) {
  const std::uint8_t raw[] = {0, 1, 0, 255};
  const RegValue value = RegValue::FromBinary(raw, sizeof raw);
  EXPECT_EQ(value.type, ValueType::Binary);
  EXPECT_EQ(value.data, (Bytes{0, 1, 0, 255}));
  EXPECT_EQ(value.AsDword(), std::nullopt);
  EXPECT_EQ(value.AsString(), std::nullopt);
}

TEST(RegValueTest, ADwordOfAnotherSizeIsNoInteger) {
  EXPECT_EQ((RegValue{ValueType::Dword, {1, 2, 3}}.AsDword()), std::nullopt);
  EXPECT_EQ((RegValue{ValueType::Dword, {1, 0, 0, 0, 0}}.AsDword()), std::nullopt);
}

TEST(KeyPathTest, SplitIgnoresEmptyComponents) {
  using Parts = std::vector<std::string>;
  EXPECT_EQ(SplitKey("SOFTWARE\\Tolvard\\VeskCal"), (Parts{"SOFTWARE", "Tolvard", "VeskCal"}));
  EXPECT_EQ(SplitKey("\\A\\\\B\\"), (Parts{"A", "B"}));
  EXPECT_EQ(SplitKey("single"), (Parts{"single"}));
  EXPECT_TRUE(SplitKey("").empty());
  EXPECT_TRUE(SplitKey("\\\\").empty());
}

TEST(KeyPathTest, JoinPutsOneBackslashBetween) {
  EXPECT_EQ(JoinKey("A\\B", "C"), "A\\B\\C");
  EXPECT_EQ(JoinKey("A\\", "\\C"), "A\\C");
  EXPECT_EQ(JoinKey("", "C"), "C");
  EXPECT_EQ(JoinKey("A", ""), "A");
}

TEST(KeyPathTest, NamesCompareIgnoringAsciiCase) {
  EXPECT_TRUE(NamesEqual("Colors", "COLORS"));
  EXPECT_TRUE(NamesEqual("2000_3", "2000_3"));
  EXPECT_FALSE(NamesEqual("Colors", "Color"));
  EXPECT_FALSE(NamesEqual("a", "b"));
  // Only ASCII letters fold; other bytes compare exactly.
  EXPECT_FALSE(NamesEqual("\xc3\xa9", "\xc3\x89"));
  EXPECT_FALSE(NamesEqual("[", "{"));
}

TEST(KeyPathTest, OrderFoldsToUpperCaseAsTheWindowsRegistry) {
  std::vector<std::string> names = {"_x", "b", "B2", "a1", "A", "2000_3", "2000_12", "\xc3\xa9"};
  std::sort(names.begin(), names.end(), NameLess{});
  // '_' sorts after the letters once they are upper case; bytes above 127 last.
  EXPECT_EQ(names, (std::vector<std::string>{"2000_12", "2000_3", "A", "a1", "b", "B2", "_x",
                                             "\xc3\xa9"}));
  EXPECT_FALSE(NameLess{}("abc", "ABC"));
  EXPECT_FALSE(NameLess{}("ABC", "abc"));
}

}  // namespace
}  // namespace vesk
