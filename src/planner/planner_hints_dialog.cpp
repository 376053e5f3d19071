#include "planner/planner_hints_dialog.h"

#include "res/planner_menu.h"

namespace vesk {

CPlannerHintsDlg::CPlannerHintsDlg(Ui& ui) : Dialog(ui, res::PlannerHintsDialogTemplate()) {}

}  // namespace vesk
