#include "views/week_hints_dialog.h"

#include "res/command_ids.h"
#include "res/week_resources.h"

namespace vesk {

CWeekHintsDlg::CWeekHintsDlg(Ui& ui) : Dialog(ui, res::WeekHintsDialogTemplate()) {}

bool CWeekHintsDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  controls().SetIcon(res::kIconWeek);
  return true;
}

}  // namespace vesk
