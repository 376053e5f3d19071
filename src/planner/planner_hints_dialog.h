#pragma once
// "Quick hints on using the Day Planner" (dialog 133): six hint lines and OK.
#include "platform/dialog.h"

namespace vesk {

class CPlannerHintsDlg : public Dialog {
 public:
  explicit CPlannerHintsDlg(Ui& ui);
};

}  // namespace vesk
