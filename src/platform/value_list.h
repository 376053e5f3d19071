#pragma once
// The values of one key in one byte string, the form in which both the memory
// tree and the SQLite store keep them: a 32-bit little-endian count, then for
// each value its name (length, bytes), its type byte and its data (length,
// bytes), lengths as unsigned LEB128 varints. Kept packed, a key of sixteen
// values costs one allocation instead of thirty-three.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace vesk {

using ValueList = std::vector<std::uint8_t>;

// One value inside a list; begin and end delimit its bytes.
struct PackedValue {
  std::string_view name;
  ValueType type = ValueType::String;
  std::span<const std::uint8_t> data;
  std::size_t begin = 0;
  std::size_t end = 0;

  RegValue ToRegValue() const { return {type, {data.begin(), data.end()}}; }
};

// Walks the values of a list in their order.
class ValueListReader {
 public:
  explicit ValueListReader(std::span<const std::uint8_t> list);
  // The next value; false at the end of the list or at malformed bytes.
  bool Next(PackedValue& out);
  // The list so far broke the format, or it ended before its count was reached.
  bool malformed() const { return malformed_; }

 private:
  std::optional<std::uint64_t> Varint();

  std::span<const std::uint8_t> list_;
  std::size_t pos_ = 0;
  std::uint32_t left_ = 0;
  bool malformed_ = false;
};

// A list without values.
ValueList EmptyValueList();
// Whether the bytes are a well-formed list: the count matches, nothing
// trails and every type is known.
bool IsWellFormedValueList(std::span<const std::uint8_t> list);
// Well-formed, and no two names differ only in case: a list that may be
// written back.
bool IsValidValueList(std::span<const std::uint8_t> list);
std::optional<PackedValue> FindPackedValue(std::span<const std::uint8_t> list,
                                           std::string_view name);
// Replaces the value in place, keeping its position and first spelling, or
// appends it.
void SetPackedValue(ValueList& list, std::string_view name, const RegValue& value);
ValuePairs UnpackValues(std::span<const std::uint8_t> list);

}  // namespace vesk
