#include "planner/entry_edit.h"

#include "planner/day_planner.h"
#include "planner/todo.h"
#include "res/command_ids.h"

namespace vesk {

bool CEntryEdit::CreateFor(Window& owner, const Rect& rect, bool multiline) {
  EditOptions options;
  options.multiline = multiline;
  options.autoHScroll = !multiline;
  options.limit = kEntryEditLimit;
  return CreateEdit(owner, res::kIdEntryEdit, rect, options);
}

// The owner's navigation destroys this control, so each branch returns at
// once without touching it again.
bool CEntryEdit::OnKeyDown(int vk) {
  AppointBook2* const dayPlanner = planner;
  ToDo* const todo = todoList;
  if (dayPlanner == nullptr && todo == nullptr) return false;
  switch (vk) {
    case kVkTab:
    case kVkReturn:
    case kVkDown:
      if (dayPlanner != nullptr) {
        dayPlanner->NextLine();
      } else {
        todo->NextLine();
      }
      return true;
    case kVkUp:
      if (dayPlanner != nullptr) {
        dayPlanner->PreviousLine();
      } else {
        todo->PreviousLine();
      }
      return true;
    case kVkPrior:
    case kVkNext:
      if (dayPlanner != nullptr) dayPlanner->ScrollHours(vk == kVkPrior ? kSbPageUp : kSbPageDown);
      return true;
    case kVkEscape:
      if (dayPlanner != nullptr) {
        dayPlanner->PostClose();
      } else {
        todo->PostClose();
      }
      return true;
    default:
      return false;
  }
}

bool CEntryEdit::OnMouseWheel(int delta) {
  AppointBook2* const dayPlanner = planner;
  if (dayPlanner != nullptr) {
    // One line per wheel message, whatever its size.
    if (delta > 0) {
      dayPlanner->PreviousLine();
    } else if (delta < 0) {
      dayPlanner->NextLine();
    }
  }
  return true;
}

void CEntryEdit::OnDestroy() {
  // The line is stored while the control and its entry link still exist.
  if (planner != nullptr) planner->CommitLine();
}

}  // namespace vesk
