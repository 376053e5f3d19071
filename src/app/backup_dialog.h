#pragma once
// "Backup and Intelligent Restore" (dialog 153): its two buttons are the main
// frame's Backup and Restore commands, and the dialog stays open after them.
#include "platform/dialog.h"

namespace vesk {

class Window;

class CBackupDlg : public Dialog {
 public:
  // Button commands go to target's OnCommand.
  CBackupDlg(Ui& ui, Window& target);
  void OnCommand(int id, int code) override;

 private:
  Window& target_;
};

}  // namespace vesk
