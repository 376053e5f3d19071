#pragma once
// The whole content of a registry as text, read through the public interface
// only: one line per key (its path as enumerated) and per value, in the
// registry's own order. Two registries with the same dump hold the same tree.
#include <cstdio>
#include <string>

#include "platform/registry.h"

namespace vesk::test {

inline std::string DumpValue(const RegValue& value) {
  std::string out = std::to_string(static_cast<int>(value.type)) + ":";
  for (std::uint8_t b : value.data) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", b);
    out += hex;
  }
  return out;
}

inline void DumpKey(Registry& reg, const std::string& path, std::string& out) {
  for (const auto& [name, value] : reg.Values(path)) {
    out += path + " [" + name + "] " + DumpValue(value) + "\n";
  }
  std::string child;
  for (std::size_t i = 0; reg.EnumSubKey(path, i, child) == EnumResult::Ok; ++i) {
    const std::string sub = JoinKey(path, child);
    out += sub + "\n";
    DumpKey(reg, sub, out);
  }
}

inline std::string Dump(Registry& reg) {
  std::string out;
  DumpKey(reg, "", out);
  return out;
}

}  // namespace vesk::test
