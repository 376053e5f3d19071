#pragma once
// "Version & Contact Info" (dialog 100).
#include "platform/dialog.h"

namespace vesk {

class CAboutDlg : public Dialog {
 public:
  explicit CAboutDlg(Ui& ui);
  bool OnInitDialog() override;
};

}  // namespace vesk
