#pragma once
// Menus and accelerators as data; the backend turns them into real menus.
#include <string>
#include <vector>

namespace vesk {

struct MenuItem {
  std::string text;  // "&" marks the mnemonic; "\t" precedes the shortcut text
  int id = 0;        // 0 with no text and no children: a separator
  std::vector<MenuItem> children;

  static MenuItem Separator() { return {}; }
  bool IsSeparator() const { return id == 0 && text.empty() && children.empty(); }
  bool IsPopup() const { return !children.empty(); }
};

using Menu = std::vector<MenuItem>;  // the top-level bar or a pop-up's items

struct Accelerator {
  char key;  // 'A'..'Z' with Ctrl
  int command;
};

// The state of a command's menu item, filled in before the menu shows.
struct CommandState {
  bool enabled = true;
  bool checked = false;
};

}  // namespace vesk
