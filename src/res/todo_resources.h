#pragma once
// The to-do list's resources: its title (string 32816), menu 130 and the
// quick hints dialog 150.
#include <string_view>

#include "platform/dialog.h"
#include "platform/menu.h"

namespace vesk::res {

inline constexpr std::string_view kToDoTitle = "Things to do";

// Commands (Print, Close), Edit (Undo, Cut, Copy, Paste, Delete, Select All), Help (Quick Hints).
const Menu& ToDoMenu();
// "Quick hints on using the To-Do List": four hint lines, each after a bullet.
const DialogTemplate& ToDoHintsDialogTemplate();

}  // namespace vesk::res
