#include "app/backup_dialog.h"

#include "platform/window.h"
#include "res/app_dialogs.h"
#include "res/command_ids.h"

namespace vesk {

CBackupDlg::CBackupDlg(Ui& ui, Window& target)
    : Dialog(ui, res::BackupDialogTemplate()), target_(target) {}

void CBackupDlg::OnCommand(int id, int code) {
  if (id == res::kIdBackup || id == res::kIdRestore) {
    target_.OnCommand(id);
    return;
  }
  Dialog::OnCommand(id, code);
}

}  // namespace vesk
