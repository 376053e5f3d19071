#pragma once
// The to-do list's quick hints (dialog 150), with the to-do list's icon.
#include "platform/dialog.h"

namespace vesk {

class CToDoHintsDlg : public Dialog {
 public:
  explicit CToDoHintsDlg(Ui& ui);
  bool OnInitDialog() override;
};

}  // namespace vesk
