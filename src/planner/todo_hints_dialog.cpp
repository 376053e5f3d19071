#include "planner/todo_hints_dialog.h"

#include "res/command_ids.h"
#include "res/todo_resources.h"

namespace vesk {

CToDoHintsDlg::CToDoHintsDlg(Ui& ui) : Dialog(ui, res::ToDoHintsDialogTemplate()) {}

bool CToDoHintsDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  controls().SetIcon(res::kIconToDo);
  return true;
}

}  // namespace vesk
