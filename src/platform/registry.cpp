#include "platform/registry.h"

#include <algorithm>

#include "platform/value_list.h"

namespace vesk {
namespace {

// Names fold to upper case, as the Windows registry orders its keys.
char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

RegValue RegValue::FromDword(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  return {ValueType::Dword,
          {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
           static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)}};
}

RegValue RegValue::FromString(std::string_view text) {
  return {ValueType::String, std::vector<std::uint8_t>(text.begin(), text.end())};
}

RegValue RegValue::FromBinary(const void* bytes, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  return {ValueType::Binary, std::vector<std::uint8_t>(p, p + size)};
}

std::optional<std::int32_t> DwordFromBytes(std::span<const std::uint8_t> data) {
  if (data.size() != 4) return std::nullopt;
  const std::uint32_t u =
      data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
  return static_cast<std::int32_t>(u);
}

std::optional<std::int32_t> RegValue::AsDword() const {
  if (type != ValueType::Dword) return std::nullopt;
  return DwordFromBytes(data);
}

std::optional<std::string> RegValue::AsString() const {
  if (type != ValueType::String) return std::nullopt;
  return std::string(data.begin(), data.end());
}

EnumResult Registry::ReadSubKeys(std::string_view path, const SubKeyVisitor& visit) {
  std::string name;
  for (std::size_t i = 0;; ++i) {
    const EnumResult r = EnumSubKey(path, i, name);
    if (r != EnumResult::Ok) return r;
    const std::string child = JoinKey(path, name);
    if (!OpenKey(child)) {
      if (!visit(name, std::nullopt)) return EnumResult::Ok;
      continue;
    }
    ValueList packed = EmptyValueList();
    for (const auto& [valueName, value] : Values(child)) SetPackedValue(packed, valueName, value);
    if (!visit(name, PackedValues(packed))) return EnumResult::Ok;
  }
}

std::string JoinKey(std::string_view parent, std::string_view child) {
  while (!parent.empty() && parent.back() == '\\') parent.remove_suffix(1);
  while (!child.empty() && child.front() == '\\') child.remove_prefix(1);
  if (parent.empty()) return std::string(child);
  if (child.empty()) return std::string(parent);
  std::string out;
  out.reserve(parent.size() + 1 + child.size());
  out.append(parent).append(1, '\\').append(child);
  return out;
}

std::vector<std::string> SplitKey(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Fold(x) == Fold(y); });
}

bool NameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
  });
}

}  // namespace vesk
