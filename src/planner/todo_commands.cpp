// Menu 130 of the to-do window: printing, closing, the editing commands on
// the line's editor and the quick hints.
#include "planner/entry_edit.h"
#include "planner/todo.h"
#include "planner/todo_hints_dialog.h"
#include "platform/ui.h"
#include "res/command_ids.h"
#include "store/app_context.h"
#include "views/month_view.h"

namespace vesk {

namespace {

bool HasSelection(const CEntryEdit& editor) {
  int start = 0;
  int end = 0;
  editor.GetSel(start, end);
  return start != end;
}

}  // namespace

bool ToDo::OnCommand(int id) {
  switch (id) {
    case res::kIdPrint:
      // The printout shows what is being typed, even where the print dialog
      // takes no focus from the editor.
      SaveCurrentItem();
      if (ctx_.view != nullptr) ctx_.view->BeginPrintFrom(*this, *this, PrintKind::ToDoList);
      return true;
    case res::kIdClose:
      PostClose();
      return true;
    case res::kIdPlannerHints:
      ShowQuickHints();
      return true;
    default:
      break;
  }
  // The editing commands act on the line's editor; without one they do nothing.
  CEntryEdit* edit = editor_;
  switch (id) {
    case res::kIdUndo:
      if (edit != nullptr) edit->Undo();
      return true;
    case res::kIdCut:
      if (edit != nullptr) edit->Cut();
      return true;
    case res::kIdCopy:
      if (edit != nullptr) edit->Copy();
      return true;
    case res::kIdPaste:
      if (edit != nullptr) edit->Paste();
      return true;
    case res::kIdDelete:
      // Clears the whole line; it is stored empty when left.
      if (edit != nullptr) edit->SetText("");
      return true;
    case res::kIdSelectAll:
      if (edit != nullptr) {
        edit->SetSel(0, -1);
        edit->ScrollCaret();
      }
      return true;
    default:
      return false;
  }
}

void ToDo::OnUpdateCommand(int id, CommandState& state) {
  const CEntryEdit* edit = editor_;
  switch (id) {
    case res::kIdCopy:
    case res::kIdCut:
    case res::kIdDelete:
      state.enabled = edit != nullptr && HasSelection(*edit);
      break;
    case res::kIdPaste:
      state.enabled = edit != nullptr;
      break;
    case res::kIdUndo:
      state.enabled = edit != nullptr && edit->CanUndo();
      break;
    case res::kIdSelectAll:
      state.enabled = edit != nullptr && !edit->Text().empty();
      break;
    default:
      break;
  }
}

void ToDo::ShowQuickHints() {
  const WindowRef self = Ref();
  native()->Enable(false);
  CToDoHintsDlg(ui()).DoModal(this);
  // The dialog's loop may have let the window be closed.
  if (self.get() != nullptr) native()->Enable(true);
}

}  // namespace vesk
