#include "platform/headless/memory_registry.h"

#include <cctype>

namespace vesk {
namespace {

// One spelling per key for the fault tables: no empty components, upper case.
std::string FaultKey(std::string_view path) {
  std::string out;
  ForEachKeyPart(path, [&](std::string_view part) {
    if (!out.empty()) out += '\\';
    for (char c : part) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  return out;
}

// Takes one failure from the counter at key; true when the call must fail.
template <class Map, class Key>
bool TakeFault(Map& faults, const Key& key) {
  auto it = faults.find(key);
  if (it == faults.end()) return false;
  if (--it->second <= 0) faults.erase(it);
  return true;
}

}  // namespace

OpenResult MemoryRegistry::CreateKey(std::string_view path) {
  return tree_.Create(path).created.empty() ? OpenResult::Opened : OpenResult::Created;
}

bool MemoryRegistry::OpenKey(std::string_view path) {
  if (!failOpen_.empty() && TakeFault(failOpen_, FaultKey(path))) return false;
  return tree_.Find(path) != nullptr;
}

EnumResult MemoryRegistry::EnumSubKey(std::string_view path, std::size_t index, std::string& name) {
  if (!failEnum_.empty() && TakeFault(failEnum_, std::pair(FaultKey(path), index))) {
    return EnumResult::Error;
  }
  return tree_.EnumSubKey(path, index, name);
}

std::optional<RegValue> MemoryRegistry::QueryValue(std::string_view path, std::string_view name) {
  return tree_.QueryValue(path, name);
}

bool MemoryRegistry::SetValue(std::string_view path, std::string_view name, const RegValue& value) {
  KeyNode* node = tree_.Find(path);
  // The root stands for HKEY_LOCAL_MACHINE itself, which holds no values.
  if (!node || node == &tree_.root()) return false;
  node->SetValue(name, value);
  return true;
}

std::vector<std::pair<std::string, RegValue>> MemoryRegistry::Values(std::string_view path) {
  return tree_.Values(path);
}

bool MemoryRegistry::DeleteTree(std::string_view path) { return tree_.Detach(path) != nullptr; }

bool MemoryRegistry::CommitTransaction() {
  if (depth_ == 0) return false;
  if (--depth_ == 0) ++commits_;
  return true;
}

void MemoryRegistry::FailOpen(std::string_view path, int times) {
  if (times > 0) failOpen_[FaultKey(path)] = times;
}

void MemoryRegistry::FailEnum(std::string_view path, std::size_t index, int times) {
  if (times > 0) failEnum_[{FaultKey(path), index}] = times;
}

}  // namespace vesk
