#pragma once
// Pieces the program's menus and dialog templates share.
#include <span>
#include <string>

#include "platform/dialog.h"
#include "platform/menu.h"

namespace vesk::res {

// A control at x, y with size cx, cy in dialog units.
ControlTemplate Control(ControlKind kind, int id, std::string text, int x, int y, int cx, int cy);
ControlTemplate Label(std::string text, int x, int y, int cx, int cy = 8);
// The small bullet bitmap in front of a hint line.
ControlTemplate Bullet(int x, int y);

// Hint lines, each behind a bullet at x, from y down by step; the labels
// start 12 units right of the bullet. Returns the y below the last line.
int AddHintLines(DialogTemplate& t, std::span<const char* const> lines, int x, int y, int width,
                 int step);

// The Edit menu of the windows that edit a line in place (day planner, to-do list).
MenuItem LineEditingMenu();

}  // namespace vesk::res
