#pragma once
// The in-place edit control on the selected line of a day planner or of the
// to-do list. Movement keys and the wheel become line-by-line navigation of
// its owner; in a day planner, destroying the control commits its line.
#include "platform/edit_control.h"

namespace vesk {

class AppointBook2;
class CPlannerEntry;
class ToDo;

inline constexpr int kEntryEditLimit = 100;

class CEntryEdit : public EditControl {
 public:
  explicit CEntryEdit(Ui& ui) : EditControl(ui) {}

  // Creates the control as a hidden child of its owner with id 16150 and the
  // 100-character limit; false when the platform could not.
  bool CreateFor(Window& owner, const Rect& rect, bool multiline);

  bool OnKeyDown(int vk) override;
  bool OnMouseWheel(int delta) override;
  void OnDestroy() override;

  // Exactly one of planner and todoList is set by the owner right after construction.
  AppointBook2* planner = nullptr;
  CPlannerEntry* entry = nullptr;  // the planner line's entry; set and cleared by the planner
  ToDo* todoList = nullptr;
};

}  // namespace vesk
