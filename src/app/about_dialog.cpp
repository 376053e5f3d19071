#include "app/about_dialog.h"

#include "res/app_dialogs.h"
#include "res/command_ids.h"

namespace vesk {

CAboutDlg::CAboutDlg(Ui& ui) : Dialog(ui, res::AboutDialogTemplate()) {}

bool CAboutDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  controls().SetIcon(res::kIconApp);
  return true;
}

}  // namespace vesk
