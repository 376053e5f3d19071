#include "platform/value_list.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

ValueList ListOf(std::initializer_list<std::pair<const char*, RegValue>> values) {
  ValueList list = EmptyValueList();
  for (const auto& [name, value] : values) SetPackedValue(list, name, value);
  return list;
}

TEST(ValueListTest, EncodesCountThenNameTypeAndDataWithVarintLengths) {
  const ValueList list = ListOf({{"ab", RegValue::FromDword(1)}, {"", RegValue::FromString("")}});
  EXPECT_EQ(list, (ValueList{2, 0, 0, 0,                     // count
                             2, 'a', 'b', 4, 4, 1, 0, 0, 0,  // "ab" DWORD 1
                             0, 1, 0}));                     // "" empty string
  // A 200-byte value needs a two-byte length.
  const ValueList big = ListOf({{"b", RegValue{ValueType::Binary, ValueList(200, 9)}}});
  ASSERT_EQ(big.size(), 4u + 1 + 1 + 1 + 2 + 200);
  EXPECT_EQ(big[7], 0xc8);
  EXPECT_EQ(big[8], 0x01);
  EXPECT_TRUE(IsValidValueList(big));
  EXPECT_EQ(UnpackValues(big)[0].second.data.size(), 200u);
}

TEST(ValueListTest, ReplacingAValueGrowsOrShrinksItInPlace) {
  ValueList list = ListOf({{"year", RegValue::FromDword(2000)},
                           {"notes", RegValue::FromString("short")},
                           {"until", RegValue::FromDword(0)}});
  SetPackedValue(list, "NOTES", RegValue::FromString(std::string(300, 'x')));
  SetPackedValue(list, "Year", RegValue::FromString(""));
  ASSERT_TRUE(IsValidValueList(list));
  ValuePairs values = UnpackValues(list);
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0], (std::pair<std::string, RegValue>{"year", RegValue::FromString("")}));
  EXPECT_EQ(values[1].first, "notes");
  EXPECT_EQ(values[1].second.AsString(), std::string(300, 'x'));
  EXPECT_EQ(values[2], (std::pair<std::string, RegValue>{"until", RegValue::FromDword(0)}));
  SetPackedValue(list, "notes", RegValue::FromString("s"));
  EXPECT_EQ(FindPackedValue(list, "notes")->ToRegValue(), RegValue::FromString("s"));
  EXPECT_EQ(FindPackedValue(list, "until")->ToRegValue(), RegValue::FromDword(0));
  EXPECT_TRUE(IsValidValueList(list));
}

TEST(ValueListTest, MalformedListsAreRecognised) {
  const ValueList good = ListOf({{"a", RegValue::FromDword(1)}, {"b", RegValue::FromString("x")}});
  ASSERT_TRUE(IsValidValueList(good));
  ASSERT_TRUE(IsValidValueList(EmptyValueList()));
  struct Row {
    const char* what;
    ValueList bytes;
  };
  ValueList trailing = good;
  trailing.push_back(0);
  ValueList countHigh = good;
  countHigh[0] = 3;
  ValueList countLow = good;
  countLow[0] = 1;
  ValueList badType = good;
  badType[6] = 2;  // type byte of "a"
  ValueList longName = good;
  longName[4] = 0x7f;
  ValueList cut = good;
  cut.pop_back();
  ValueList endlessVarint = {1, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
  const ValueList twins = ListOf({{"a", RegValue::FromDword(1)}});
  ValueList caseTwins = twins;
  caseTwins[0] = 2;
  caseTwins.insert(caseTwins.end(), {1, 'A', 4, 4, 2, 0, 0, 0});
  const Row rows[] = {{"empty", {}},
                      {"short count", {0, 0}},
                      {"trailing", trailing},
                      {"count too high", countHigh},
                      {"count too low", countLow},
                      {"unknown type", badType},
                      {"name past end", longName},
                      {"data cut", cut},
                      {"endless varint", endlessVarint},
                      {"names differ in case only", caseTwins}};
  for (const Row& row : rows) EXPECT_FALSE(IsValidValueList(row.bytes)) << row.what;
}

}  // namespace
}  // namespace vesk
