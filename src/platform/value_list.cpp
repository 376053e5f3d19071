#include "platform/value_list.h"

#include <algorithm>
#include <array>

namespace vesk {
namespace {

constexpr std::size_t kCountSize = 4;

std::uint32_t ReadCount(std::span<const std::uint8_t> list) {
  return list[0] | (list[1] << 8) | (list[2] << 16) | (static_cast<std::uint32_t>(list[3]) << 24);
}

void WriteCount(ValueList& list, std::uint32_t n) {
  for (std::size_t i = 0; i < kCountSize; ++i) list[i] = static_cast<std::uint8_t>(n >> (8 * i));
}

void PutVarint(ValueList& out, std::uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(v));
}

void PutValue(ValueList& out, std::string_view name, const RegValue& value) {
  PutVarint(out, name.size());
  out.insert(out.end(), name.begin(), name.end());
  out.push_back(static_cast<std::uint8_t>(value.type));
  PutVarint(out, value.data.size());
  out.insert(out.end(), value.data.begin(), value.data.end());
}

bool KnownType(std::uint8_t t) {
  return t == static_cast<std::uint8_t>(ValueType::Dword) ||
         t == static_cast<std::uint8_t>(ValueType::String) ||
         t == static_cast<std::uint8_t>(ValueType::Binary);
}

}  // namespace

ValueListReader::ValueListReader(std::span<const std::uint8_t> list) : list_(list) {
  if (list_.size() < kCountSize) {
    malformed_ = true;
    return;
  }
  left_ = ReadCount(list_);
  pos_ = kCountSize;
}

std::optional<std::uint64_t> ValueListReader::Varint() {
  if (pos_ < list_.size() && list_[pos_] < 0x80) return list_[pos_++];
  std::uint64_t v = 0;
  for (int shift = 0; shift < 35 && pos_ < list_.size(); shift += 7) {
    const std::uint8_t b = list_[pos_++];
    v |= static_cast<std::uint64_t>(b & 0x7f) << shift;
    if ((b & 0x80) == 0) return v;
  }
  return std::nullopt;
}

bool ValueListReader::Next(PackedValue& out) {
  if (malformed_ || left_ == 0) return false;
  const std::size_t begin = pos_;
  const auto nameSize = Varint();
  if (!nameSize || *nameSize > list_.size() - pos_) {
    malformed_ = true;
    return false;
  }
  out.name = {reinterpret_cast<const char*>(list_.data() + pos_), *nameSize};
  pos_ += *nameSize;
  if (pos_ >= list_.size() || !KnownType(list_[pos_])) {
    malformed_ = true;
    return false;
  }
  out.type = static_cast<ValueType>(list_[pos_++]);
  const auto dataSize = Varint();
  if (!dataSize || *dataSize > list_.size() - pos_) {
    malformed_ = true;
    return false;
  }
  out.data = list_.subspan(pos_, *dataSize);
  pos_ += *dataSize;
  out.begin = begin;
  out.end = pos_;
  --left_;
  return true;
}

ValueList EmptyValueList() { return ValueList(kCountSize, 0); }

bool IsValidValueList(std::span<const std::uint8_t> list) {
  // Keys hold a handful of values: their names fit on the stack while loading.
  constexpr std::size_t kInline = 32;
  std::array<std::string_view, kInline> inlineNames;
  std::vector<std::string_view> moreNames;
  std::size_t count = 0;
  ValueListReader reader(list);
  PackedValue v;
  std::size_t end = kCountSize;
  while (reader.Next(v)) {
    for (std::size_t i = 0; i < count; ++i) {
      if (NamesEqual(i < kInline ? inlineNames[i] : moreNames[i - kInline], v.name)) return false;
    }
    if (count < kInline) {
      inlineNames[count] = v.name;
    } else {
      moreNames.push_back(v.name);
    }
    ++count;
    end = v.end;
  }
  return !reader.malformed() && count == ReadCount(list) && end == list.size();
}

bool IsWellFormedValueList(std::span<const std::uint8_t> list) {
  std::size_t count = 0;
  std::size_t end = kCountSize;
  ValueListReader reader(list);
  for (PackedValue v; reader.Next(v); ++count) end = v.end;
  return !reader.malformed() && count == ReadCount(list) && end == list.size();
}

std::optional<PackedValue> FindPackedValue(std::span<const std::uint8_t> list,
                                           std::string_view name) {
  ValueListReader reader(list);
  PackedValue v;
  while (reader.Next(v)) {
    if (NamesEqual(v.name, name)) return v;
  }
  return std::nullopt;
}

void SetPackedValue(ValueList& list, std::string_view name, const RegValue& value) {
  if (list.size() < kCountSize) list = EmptyValueList();
  if (const auto old = FindPackedValue(list, name)) {
    ValueList entry;
    PutValue(entry, old->name, value);
    const auto at = list.begin() + static_cast<std::ptrdiff_t>(old->begin);
    const auto oldEnd = list.begin() + static_cast<std::ptrdiff_t>(old->end);
    // Overwrite the common part, then grow or shrink by the difference.
    const std::size_t common = std::min(entry.size(), old->end - old->begin);
    std::copy_n(entry.begin(), common, at);
    if (entry.size() > common) {
      list.insert(oldEnd, entry.begin() + static_cast<std::ptrdiff_t>(common), entry.end());
    } else {
      list.erase(at + static_cast<std::ptrdiff_t>(common), oldEnd);
    }
    return;
  }
  WriteCount(list, ReadCount(list) + 1);
  PutValue(list, name, value);
}

ValuePairs UnpackValues(std::span<const std::uint8_t> list) {
  ValuePairs values;
  ValueListReader reader(list);
  PackedValue v;
  while (reader.Next(v)) values.emplace_back(std::string(v.name), v.ToRegValue());
  return values;
}

}  // namespace vesk
