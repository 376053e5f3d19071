#pragma once
// The year view's quick hints (dialog 149), with the year view's icon.
#include "platform/dialog.h"

namespace vesk {

class CYearHintsDlg : public Dialog {
 public:
  explicit CYearHintsDlg(Ui& ui);
  bool OnInitDialog() override;
};

}  // namespace vesk
