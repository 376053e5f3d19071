#include "platform/key_tree.h"

namespace vesk {

KeyNode* KeyNode::Child(std::string_view name) const {
  auto it = children_.find(name);
  return it == children_.end() ? nullptr : it->second.get();
}

KeyNode* KeyNode::ChildAt(std::size_t index) const {
  if (index >= children_.size()) return nullptr;
  // Enumeration asks for 0, 1, 2, ...: resume from the last position instead
  // of walking the map from its start each time.
  if (!cursor_.valid || cursor_.index > index) cursor_ = {0, children_.begin(), true};
  while (cursor_.index < index) {
    ++cursor_.it;
    ++cursor_.index;
  }
  return cursor_.it->second.get();
}

KeyNode* KeyNode::AddChild(std::string_view name) {
  auto [it, added] = children_.try_emplace(std::string(name), nullptr);
  if (!added) return nullptr;
  cursor_.valid = false;
  it->second = std::make_unique<KeyNode>(std::string(name), this);
  return it->second.get();
}

KeyNode* KeyNode::AdoptChild(std::unique_ptr<KeyNode> child) {
  auto [it, added] = children_.try_emplace(child->name(), nullptr);
  if (!added) return nullptr;
  cursor_.valid = false;
  child->parent_ = this;
  it->second = std::move(child);
  return it->second.get();
}

std::unique_ptr<KeyNode> KeyNode::RemoveChild(std::string_view name) {
  auto it = children_.find(name);
  if (it == children_.end()) return nullptr;
  cursor_.valid = false;
  std::unique_ptr<KeyNode> node = std::move(it->second);
  children_.erase(it);
  node->parent_ = nullptr;
  return node;
}

std::optional<RegValue> KeyNode::FindValue(std::string_view name) const {
  const auto found = FindPackedValue(values_, name);
  if (!found) return std::nullopt;
  return found->ToRegValue();
}

bool KeyNode::AdoptPackedValues(ValueList list) {
  if (!IsValidValueList(list)) return false;
  values_ = std::move(list);
  return true;
}

KeyNode* KeyTree::Find(std::string_view path) const {
  // Reading an entry asks for the same key several times in a row.
  if (lastFound_ != nullptr && path == lastPath_) return lastFound_;
  KeyNode* node = root_.get();
  ForEachKeyPart(path, [&](std::string_view part) {
    if (node) node = node->Child(part);
  });
  if (node != nullptr) {
    lastPath_.assign(path);
    lastFound_ = node;
  }
  return node;
}

KeyTree::CreateResult KeyTree::Create(std::string_view path) {
  CreateResult result;
  KeyNode* node = root_.get();
  ForEachKeyPart(path, [&](std::string_view part) {
    if (KeyNode* child = node->Child(part)) {
      node = child;
    } else {
      node = node->AddChild(part);
      result.created.push_back(node);
    }
  });
  result.node = node;
  return result;
}

std::unique_ptr<KeyNode> KeyTree::Detach(std::string_view path) {
  KeyNode* node = Find(path);
  if (!node || node == root_.get()) return nullptr;
  lastFound_ = nullptr;
  return node->parent()->RemoveChild(node->name());
}

EnumResult KeyTree::EnumSubKey(std::string_view path, std::size_t index,
                               std::string& name) const {
  const KeyNode* node = Find(path);
  if (!node) return EnumResult::Error;
  const KeyNode* child = node->ChildAt(index);
  if (!child) return EnumResult::NoMoreItems;
  name = child->name();
  return EnumResult::Ok;
}

std::optional<RegValue> KeyTree::QueryValue(std::string_view path, std::string_view name) const {
  const KeyNode* node = Find(path);
  if (!node) return std::nullopt;
  return node->FindValue(name);
}

std::vector<std::pair<std::string, RegValue>> KeyTree::Values(std::string_view path) const {
  const KeyNode* node = Find(path);
  if (!node) return {};
  return node->Values();
}

}  // namespace vesk
