#pragma once
// The registry held in memory, with injected faults for tests.
#include <map>
#include <string>

#include "platform/key_tree.h"
#include "platform/registry.h"

namespace vesk {

class MemoryRegistry : public Registry {
 public:
  OpenResult CreateKey(std::string_view path) override;
  bool OpenKey(std::string_view path) override;
  EnumResult EnumSubKey(std::string_view path, std::size_t index, std::string& name) override;
  std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) override;
  bool SetValue(std::string_view path, std::string_view name, const RegValue& value) override;
  std::vector<std::pair<std::string, RegValue>> Values(std::string_view path) override;
  bool DeleteTree(std::string_view path) override;
  void BeginTransaction() override { ++depth_; }
  bool CommitTransaction() override;

  // The next `times` OpenKey calls on exactly this path fail.
  void FailOpen(std::string_view path, int times);
  // The next `times` EnumSubKey calls on this path at this index report an error.
  void FailEnum(std::string_view path, std::size_t index, int times);
  // Number of outermost commits made so far.
  int commits() const { return commits_; }

 private:
  KeyTree tree_;
  std::map<std::string, int, NameLess> failOpen_;
  std::map<std::pair<std::string, std::size_t>, int> failEnum_;
  int depth_ = 0;
  int commits_ = 0;
};

}  // namespace vesk
