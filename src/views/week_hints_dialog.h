#pragma once
// The week view's quick hints (dialog 148), with the week view's icon.
#include "platform/dialog.h"

namespace vesk {

class CWeekHintsDlg : public Dialog {
 public:
  explicit CWeekHintsDlg(Ui& ui);
  bool OnInitDialog() override;
};

}  // namespace vesk
