#pragma once
// The registry's key tree held in memory, as the in-memory registry keeps it.
// Sub-keys are ordered case-insensitively, as the Windows registry enumerates
// them; values keep the order they were first written in.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "platform/value_list.h"

namespace vesk {

class KeyNode {
 public:
  using Children = std::map<std::string, std::unique_ptr<KeyNode>, NameLess>;

  KeyNode(std::string name, KeyNode* parent) : name_(std::move(name)), parent_(parent) {}
  KeyNode(const KeyNode&) = delete;
  KeyNode& operator=(const KeyNode&) = delete;

  const std::string& name() const { return name_; }
  KeyNode* parent() const { return parent_; }
  const Children& children() const { return children_; }

  KeyNode* Child(std::string_view name) const;
  // The index-th sub-key in enumeration order, or nullptr past the end.
  // Walking the indexes upward costs O(1) per step.
  KeyNode* ChildAt(std::size_t index) const;
  // Adds a sub-key of that name; nullptr when one already exists.
  KeyNode* AddChild(std::string_view name);
  // Makes a parentless node a sub-key; nullptr (and the node dropped) when
  // its name is taken.
  KeyNode* AdoptChild(std::unique_ptr<KeyNode> child);
  // Detaches the named sub-key with its subtree; nullptr when there is none.
  std::unique_ptr<KeyNode> RemoveChild(std::string_view name);

  std::optional<RegValue> FindValue(std::string_view name) const;
  // Every value in the order first written.
  ValuePairs Values() const { return UnpackValues(values_); }
  // Replaces the value in place (keeping its position and the name's first
  // spelling) or appends it.
  void SetValue(std::string_view name, const RegValue& value) {
    SetPackedValue(values_, name, value);
  }
  // The values in their packed form.
  const ValueList& packedValues() const { return values_; }
  // Takes a packed list as it is; false, and nothing changed, when malformed.
  bool AdoptPackedValues(ValueList list);

 private:
  struct Cursor {
    std::size_t index = 0;
    Children::const_iterator it;
    bool valid = false;
  };

  std::string name_;
  KeyNode* parent_;
  Children children_;
  ValueList values_ = EmptyValueList();
  mutable Cursor cursor_;
};

class KeyTree {
 public:
  KeyTree() : root_(std::make_unique<KeyNode>(std::string(), nullptr)) {}

  KeyNode& root() const { return *root_; }
  // The key at path, or nullptr; the empty path is the root.
  KeyNode* Find(std::string_view path) const;

  struct CreateResult {
    KeyNode* node = nullptr;
    // The keys this call made, parents before children.
    std::vector<KeyNode*> created;
  };
  // Finds the key, creating it and any missing intermediate keys.
  CreateResult Create(std::string_view path);
  // Detaches the key at path with its subtree; nullptr when it does not exist
  // or path names the root.
  std::unique_ptr<KeyNode> Detach(std::string_view path);

  // The reading side of a registry over this tree.
  EnumResult EnumSubKey(std::string_view path, std::size_t index, std::string& name) const;
  std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) const;
  std::vector<std::pair<std::string, RegValue>> Values(std::string_view path) const;

 private:
  std::unique_ptr<KeyNode> root_;
  // The key Find gave last, until a key is detached.
  mutable std::string lastPath_;
  mutable KeyNode* lastFound_ = nullptr;
};

// Calls f on each non-empty backslash-separated component of path, in order.
template <class F>
void ForEachKeyPart(std::string_view path, F&& f) {
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) f(path.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace vesk
