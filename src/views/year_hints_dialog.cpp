#include "views/year_hints_dialog.h"

#include "res/command_ids.h"
#include "res/year_resources.h"

namespace vesk {

CYearHintsDlg::CYearHintsDlg(Ui& ui) : Dialog(ui, res::YearHintsDialogTemplate()) {}

bool CYearHintsDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  controls().SetIcon(res::kIconYear);
  return true;
}

}  // namespace vesk
